#include "FontDialog.h"
#include <commdlg.h>
#include <dlgs.h>
#include "QuorvaneApp.h"
#include "resource.h"

namespace qnav {

namespace {
constexpr int kOffsetFromParent = 48;
bool IsWindows95Family() { return (GetVersion() & 0x80000000u) != 0; }
}

INT_PTR CFontDialog::DoModal(HWND parent) {
    const bool win95 = IsWindows95Family();
    LOGFONTA working = font_;
    if (win95) working.lfCharSet = 0;
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = parent;
    cf.lpLogFont = &working;
    cf.Flags = (win95 ? kFlags95 : kFlagsNT) | CF_ENABLETEMPLATE | CF_ENABLEHOOK;
    cf.hInstance = instance_;
    cf.lpTemplateName = MAKEINTRESOURCEA(win95 ? IDD_FONT_95 : IDD_FONT_NT);
    cf.lpfnHook = &CFontDialog::HookProc;
    cf.nSizeMin = 8;
    cf.nSizeMax = 24;
    if (ChooseFontA(&cf)) {
        font_ = working;
        return IDOK;
    }
    return CommDlgExtendedError() == 0 ? IDCANCEL : -1;
}

UINT_PTR CALLBACK CFontDialog::HookProc(HWND dialog, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_INITDIALOG) {
        RECT parent;
        if (HWND owner = GetWindow(dialog, GW_OWNER); owner && GetWindowRect(owner, &parent))
            SetWindowPos(dialog, nullptr, parent.left + kOffsetFromParent, parent.top + kOffsetFromParent, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return TRUE;
    }
    if (msg == WM_COMMAND && LOWORD(wp) == pshHelp) {
        App().ShowHelp(dialog, HELP_CONTEXT, HELP_MAIN);
        return TRUE;
    }
    return FALSE;
}

}  // namespace qnav
