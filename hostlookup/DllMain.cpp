// Entry points of LURRIN32.ocx: the class table and the four exports.
#include <windows.h>
#include <olectl.h>
#include "Controls.h"
#include "LURRIN32.h"
#include "resource.h"
#include "fw/ole/ServerEntry.h"

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
    return fw::ole::ServerDllMain(instance, reason, reserved, kClasses, {&LIBID_LURRIN32Lib, 4, 0});
}
