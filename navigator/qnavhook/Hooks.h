// The commands that run in the control program's process: the shell hook,
// attaching and detaching every IDE, settings pushes and the usage query.
#pragma once
#include <windows.h>
#include "HookSettings.h"

namespace qnav {

LRESULT InstallShellHook(HWND control);
LRESULT RemoveShellHook();
LRESULT RemoveAllHooks();
LRESULT UpdateSettings(const HookSettings* settings);
LRESULT AttachAll(const HookSettings* settings);
LRESULT DetachAll();
LRESULT QueryAttached(LONG* threadCount);

}  // namespace qnav
