// The hook library's two exports: the version the control program checks,
// and the one command entry through which it drives the library.
#include <windows.h>
#include "HookSettings.h"
#include "Hooks.h"
#include "IdeRegistry.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"

extern "C" DWORD WINAPI GetDLLVersion() { return qnav::kHookVersion; }

extern "C" LRESULT WINAPI QuorvaneProc(UINT command, HWND window, WPARAM /*unused*/, LPARAM pointer,
                                       LPARAM /*unused*/) {
    using namespace qnav;
    auto* settings = reinterpret_cast<const HookSettings*>(pointer);
    switch (command) {
    case QP_CHECKIDE: return CheckIdeInstallation(window);
    case QP_INSTALLSHELLHOOK: return InstallShellHook(window);
    case QP_REMOVESHELLHOOK: return RemoveShellHook();
    case QP_REMOVEALLHOOKS: return RemoveAllHooks();
    case QP_UPDATESETTINGS: return UpdateSettings(settings);
    case QP_ATTACHALL: return AttachAll(settings);
    case QP_DETACHALL: return DetachAll();
    case QP_QUERYATTACHED: return QueryAttached(reinterpret_cast<LONG*>(pointer));
    case QP_QUERYENDSESSION1:
    case QP_QUERYENDSESSION2:
        return 1;
    default:
        return 0;
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: qnav::g_process.instance = instance; break;
    case DLL_THREAD_ATTACH: qnav::CountThread(+1); break;
    case DLL_THREAD_DETACH: qnav::CountThread(-1); break;
    }
    return TRUE;
}
