// Loads the navigator's hook library by name, as the control program does,
// and prints the version its export reports.
#include <windows.h>
#include <cstdio>

int main() {
    HMODULE lib = LoadLibraryA("qnavhook.dll");
    if (!lib) {
        std::printf("qnavhook.dll: cannot load (error %lu)\n", GetLastError());
        return 1;
    }
    using Fn = DWORD(WINAPI*)();
    auto version = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "_GetDLLVersion@0")));
    if (!version) {
        std::printf("qnavhook.dll: no export _GetDLLVersion@0\n");
        return 1;
    }
    std::printf("qnavhook.dll version 0x%04lX\n", version());
    FreeLibrary(lib);
    return 0;
}
