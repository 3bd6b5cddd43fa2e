// Entry points of kvo32.ocx: the class table and the four OLE exports (the
// log exports live in logging/). Areas reach the library's own resources
// through fw::ThisModule().
#include <windows.h>
#include <olectl.h>

#include "InConnCtrl.h"
#include "KvoResource.h"
#include "LangCtrl.h"
#include "LineGroupCtrl.h"
#include "OnHookCtrl.h"
#include "OutConnCtrl.h"
#include "FrameCtrl.h"
#include "DelayCtrl.h"
#include "DialCtrl.h"
#include "GetdgCtrl.h"
#include "Greeting.h"
#include "Phrase.h"
#include "UserCtrl.h"
#include "kvo32.h"
#include "fw/ole/ServerEntry.h"

namespace {

// Voice controls show at design time only, and want their site before loading.
constexpr DWORD kControlMisc = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INVISIBLEATRUNTIME | OLEMISC_ACTIVATEWHENVISIBLE |
                               OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

using fw::ole::CreateObject;
// Only what this library builds is listed (and so registered).
const fw::ole::ClassEntry kClasses[] = {
    {&CLSID_InConn, &CreateObject<kvo::CInConnCtrl>, "Zentrovo.InconnCtrl.1", IDS_INCONN, true, kControlMisc, 0, false},
    {&CLSID_OutConn, &CreateObject<kvo::COutConnCtrl>, "Zentrovo.OutconnCtrl.1", IDS_OUTCONN, true, kControlMisc, 0,
     false},
    {&CLSID_User, &CreateObject<kvo::CUserCtrl>, "Zentrovo.UserCtrl.1", IDS_USER, true, kControlMisc, 0, false},
    {&CLSID_LineGroup, &CreateObject<kvo::CLineGroupCtrl>, "Zentrovo.LineGroupCtrl.1", IDS_LINEGROUP, true, kControlMisc,
     0, false},
    {&CLSID_OnHook, &CreateObject<kvo::COnHookCtrl>, "Zentrovo.OnHookCtrl.1", IDS_ONHOOK, true, kControlMisc, 0, false},
    {&CLSID_KVOFrame, &CreateObject<kvo::CFrameCtrl>, "Zentrovo.FrameCtrl.1", IDS_FRAME, true, kControlMisc, 0, false},
    {&CLSID_Greeting, &CreateObject<kvo::CGreeting>, "kvo.greeting", IDS_GREETING, false, 0, 0, false},
    {&CLSID_Phrase, &CreateObject<kvo::CPhrase>, "kvo.phrase", IDS_PHRASE, false, 0, 0, false},

    // Spoken values.
    {&CLSID_Lang, &CreateObject<kvo::CLangCtrl>, "Zentrovo.LangCtrl.1", IDS_LANG, true, kControlMisc, 0, false},

    // Digits, dialling and holding.
    {&CLSID_Getdg, &CreateObject<kvo::CGetdgCtrl>, "Zentrovo.GetdgCtrl.1", IDS_GETDG, true, kControlMisc, 0, false},
    {&CLSID_Dial, &CreateObject<kvo::CDialCtrl>, "Zentrovo.DialCtrl.1", IDS_DIAL, true, kControlMisc, 0, false},
    {&CLSID_Delay, &CreateObject<kvo::CDelayCtrl>, "Zentrovo.DelayCtrl.1", IDS_DELAY, true, kControlMisc, 0, false},
};

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return fw::ole::ServerDllMain(instance, reason, reserved, kClasses, {&LIBID_KVO32Lib, 4, 0});
}
