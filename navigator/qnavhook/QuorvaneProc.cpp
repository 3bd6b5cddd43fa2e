// The hook library's two exports: the version the control program checks,
// and the one command entry through which it drives the library.
#include <windows.h>
#include "SharedState.h"
#include "HookSettings.h"
#include "QuorvaneProtocol.h"

namespace qnav {

// Zero-initialised but explicitly placed: the linker marks the section shared
// so every process that maps the library sees one copy.
SharedHookState g_shared __attribute__((section(".shared"), shared)) = {};

}  // namespace qnav

namespace {
constexpr DWORD kDllVersion = qnav::kHookVersion;
}

extern "C" DWORD WINAPI GetDLLVersion() { return kDllVersion; }

extern "C" LRESULT WINAPI QuorvaneProc(UINT command, HWND /*window*/, WPARAM /*unused*/,
                                       LPARAM /*pointer*/, LPARAM /*unused*/) {
    switch (command) {
    case 17:
    case 18:
        return 1;
    default:
        return 0;
    }
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
