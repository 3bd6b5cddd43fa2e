// The command entry of the hook library and the private messages between the
// hook, the IDE windows it subclasses and the control program.
#pragma once
#include <windows.h>

namespace qnav {

// GetDLLVersion's answer; the control program refuses any other.
constexpr DWORD kHookVersion = 0x4001;

// QuorvaneProc(command, window, unused, pointer, unused) commands.
enum QuorvaneCommand : UINT {
    QP_CHECKIDE = 0,
    QP_INSTALLSHELLHOOK = 2,
    QP_REMOVESHELLHOOK = 3,
    QP_REMOVEALLHOOKS = 4,
    QP_UPDATESETTINGS = 5,
    QP_ATTACHALL = 6,
    QP_DETACHALL = 7,
    QP_QUERYATTACHED = 8,
    // Sent when the session asks to end; the library has nothing to do for them.
    QP_QUERYENDSESSION1 = 17,
    QP_QUERYENDSESSION2 = 18,
};

// Posted to the control program's window.
constexpr UINT QNM_SHOWCONTROL = 0x601;
constexpr UINT QNM_FRAMECREATED = 0x680;
constexpr UINT QNM_FRAMELOST = 0x682;
constexpr UINT QNM_QUALIFIEDCHANGED = 0x684;

// Inside the IDE process; honoured only when lParam is QNM_TAG.
constexpr LPARAM QNM_TAG = 0x1235;
constexpr UINT QNM_MENUDONE = 0x663;
constexpr UINT QNM_GOTOPENDING = 0x664;
constexpr UINT QNM_SETTINGSCHANGED = 0x665;
constexpr UINT QNM_DETACH = 0x666;
constexpr UINT QNM_ATTACHED = 0x668;
constexpr UINT QNM_SETSHIFT = 0x670;
constexpr UINT QNM_SETSUPPRESS = 0x671;

// Settings index that QNM_QUALIFIEDCHANGED carries in wParam.
constexpr WPARAM kShowQualifiedClassIndex = 30;

}  // namespace qnav
