// The entry points of a control library, all served by fw::ole::Server.
// Include in exactly one source file of the library; its DllMain calls
// ServerDllMain with the library's class table and type library.
#pragma once
#include "fw/ole/Server.h"

namespace fw::ole {

inline BOOL ServerDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved, std::span<const ClassEntry> classes,
                          TypeLibEntry typeLib) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        Server::Init(instance, classes, typeLib);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Only on FreeLibrary: when the process ends, threads that were cut
        // off may still hold window-manager locks, and the classes go anyway.
        Server::Detach();
    }
    return TRUE;
}

}  // namespace fw::ole

extern "C" {
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return fw::ole::Server::GetClassObject(clsid, iid, out);
}
STDAPI DllCanUnloadNow() { return fw::ole::Server::CanUnloadNow(); }
STDAPI DllRegisterServer() { return fw::ole::Server::Register(); }
STDAPI DllUnregisterServer() { return fw::ole::Server::Unregister(); }
}
