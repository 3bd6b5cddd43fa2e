// What tests of self-registering libraries read back: the library's own
// entry points called directly, and the keys and values registration wrote.
#pragma once
#include <windows.h>
#include <string>

namespace fw::testing {

// Calls the library's entry point `name` (DllRegisterServer, ...), loading
// the library for the call; E_NOTIMPL when it has no such entry.
HRESULT CallLibraryEntry(const std::string& libraryPath, const char* name);

bool RegistryKeyExists(HKEY root, const std::string& path);
// The text value `name` (nullptr: the default value) of a key, or
// "<missing>" when the key or value is missing or not text.
std::string RegistryText(HKEY root, const std::string& path, const char* name = nullptr);

// The same under HKEY_CLASSES_ROOT, where self-registration writes.
inline bool ClassesKeyExists(const std::string& path) { return RegistryKeyExists(HKEY_CLASSES_ROOT, path); }
inline std::string ClassesText(const std::string& path, const char* name = nullptr) {
    return RegistryText(HKEY_CLASSES_ROOT, path, name);
}

}  // namespace fw::testing
