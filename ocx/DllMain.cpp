// Entry point of kvo32.ocx: remembers the module so every area can reach the
// library's own resources.
#include <windows.h>

namespace kvo {
HINSTANCE g_module = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        kvo::g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
