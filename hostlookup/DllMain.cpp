// Entry points of LURRIN32.ocx: the class table and the four exports.
#include <windows.h>
#include <olectl.h>
#include "Controls.h"
#include "LURRIN32.h"
#include "resource.h"
#include "fw/ole/Server.h"

namespace {

constexpr DWORD kControlMisc = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_SIMPLEFRAME | OLEMISC_INVISIBLEATRUNTIME |
                               OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE;
static_assert(kControlMisc == 0x30590);

using fw::ole::CreateObject;
const fw::ole::ClassEntry kClasses[] = {
    {&CLSID_GetAdrs, &CreateObject<lurrin::CGetadrsCtrl>, "Ostrel.GetAddress", IDS_GETADRS, true,
     kControlMisc, IDB_GETADRS_TOOLBOX, false},
    {&lurrin::CLSID_GetAdrsPropPage, &CreateObject<lurrin::CGetadrsPropPage>, "Ostrel.GetAddress.PropPage",
     IDS_GETADRS_PPG, false, 0, 0, false},
    {&CLSID_GetName, &CreateObject<lurrin::CGetnameCtrl>, "Ostrel.GetName", IDS_GETNAME, true, kControlMisc,
     IDB_GETNAME_TOOLBOX, true},
    {&lurrin::CLSID_GetNamePropPage, &CreateObject<lurrin::CGetnamePropPage>, "Ostrel.GetName.PropPage",
     IDS_GETNAME_PPG, false, 0, 0, false},
};

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        fw::ole::Server::Init(instance, kClasses, {&LIBID_LURRIN32Lib, 4, 0});
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Only on FreeLibrary: when the process ends, threads that were cut
        // off may still hold window-manager locks, and the classes go anyway.
        fw::ole::Server::Detach();
    }
    return TRUE;
}

extern "C" {
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return fw::ole::Server::GetClassObject(clsid, iid, out);
}
STDAPI DllCanUnloadNow() { return fw::ole::Server::CanUnloadNow(); }
STDAPI DllRegisterServer() { return fw::ole::Server::Register(); }
STDAPI DllUnregisterServer() { return fw::ole::Server::Unregister(); }
}
