// Entry point of kvo32.ocx. Areas reach the library's own resources through
// fw::ThisModule(), so nothing is remembered here.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
