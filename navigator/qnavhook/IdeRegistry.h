// Reading the IDE's own registry values (never written by the navigator).
#pragma once
#include <windows.h>
#include <initializer_list>
#include <string>
#include "IdeWindows.h"

namespace qnav {

// Reads text value `value` of the key reached from the kind's registry root
// through `path` (key names, outermost first), at most `maxBytes` bytes.
// False if a key or the value is missing.
bool ReadIdeRegistryText(IdeKind kind, std::initializer_list<const char*> path, const char* value,
                         DWORD maxBytes, std::string& out);

// QP_CHECKIDE: 1 if a supported IDE is installed, else 0 after a message box.
LRESULT CheckIdeInstallation(HWND owner);

}  // namespace qnav
