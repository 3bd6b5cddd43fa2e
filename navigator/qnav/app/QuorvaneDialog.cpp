#include "QuorvaneDialog.h"
#include <algorithm>
#include <cstdio>
#include "ColorsDialog.h"
#include "FontDialog.h"
#include "OptionsDialog.h"
#include "QuorvaneApp.h"
#include "resource.h"

namespace qnav {

namespace {
constexpr int kLogoLeft = 10, kLogoTop = 8;
}

CQuorvaneDialog::CQuorvaneDialog(HINSTANCE instance, const HookLibrary& hook)
    : Dialog(instance, "QNAV"), hook_(hook), file_(instance) {}

bool CQuorvaneDialog::PreTranslate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_ESCAPE && msg.wParam != VK_CLEAR)) return false;
    if (!Handle() || (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd))) return false;
    SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return true;
}

INT_PTR CQuorvaneDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(static_cast<UINT>(wp & 0xFFF0));
    case WM_INITMENUPOPUP:
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp), HIWORD(lp) != 0);
        return FALSE;
    case WM_HELP:
        App().ShowHelp(Handle(), HELP_CONTEXT, App().HelpContext());
        return TRUE;
    case QNM_SHOWCONTROL:
        OnShowControl();
        return TRUE;
    case QNM_FRAMECREATED:
        OnFrameCreated();
        return TRUE;
    case QNM_FRAMELOST:
        OnFrameLost();
        return TRUE;
    case QNM_QUALIFIEDCHANGED:
        OnQualifiedChanged(wp, lp);
        return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
        OnSettingsEnvironmentChanged();
        return FALSE;
    case WM_QUERYENDSESSION:
        hook_.Call(QP_QUERYENDSESSION1);
        hook_.Call(QP_QUERYENDSESSION2);
        Reply(TRUE);
        return TRUE;
    case WM_ENDSESSION:
        OnEndSession(wp != 0);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return Dialog::OnMessage(msg, wp, lp);
    }
}

BOOL CQuorvaneDialog::OnInitDialog() {
    App().SetHelpContext(HELP_MAIN);
    RebuildSystemMenu();
    logo_.Reset(static_cast<HBITMAP>(LoadImageA(Instance(), "QUORVANE", IMAGE_BITMAP, 0, 0, 0)));
    Layout();
    RECT window;
    GetWindowRect(Handle(), &window);
    const POINT at = file_.RestoreWindowPosition(
        {window.right - window.left, window.bottom - window.top},
        {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    file_.Load(settings_);
    ShowInitialState();
    StartHook();
    return TRUE;
}

void CQuorvaneDialog::RebuildSystemMenu() {
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    if (!menu) return;
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    auto text = [&](UINT id) { return fw::LoadResString(Instance(), id); };
    AppendMenuA(menu, MF_STRING, SC_RESTORE, text(IDS_SYS_RESTORE).c_str());
    AppendMenuA(menu, MF_STRING, SC_MOVE, text(IDS_SYS_MOVE).c_str());
    AppendMenuA(menu, MF_STRING, SC_MINIMIZE, text(IDS_SYS_MINIMIZE).c_str());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_CLOSE, text(IDS_SYS_CLOSE).c_str());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, SC_TASKLIST, text(IDS_SYS_SWITCHTO).c_str());
}

void CQuorvaneDialog::Layout() {
    BITMAP bm{};
    if (logo_) GetObjectA(logo_.Get(), sizeof bm, &bm);
    logoRect_ = {kLogoLeft, kLogoTop, kLogoLeft + bm.bmWidth, kLogoTop + bm.bmHeight};

    auto clientRect = [&](int id) {
        RECT r;
        GetWindowRect(Item(id), &r);
        MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT help = clientRect(ID_DEFAULT_HELP);
    const int left = logoRect_.right + 13;
    const int width = help.right - help.left;
    help = {left, help.top, left + width, help.bottom};
    for (int id : {IDC_CONTINUE, IDC_OPTIONS, IDC_COLORS, IDC_FONT, IDC_QUIT, ID_DEFAULT_HELP}) {
        RECT r = clientRect(id);
        SetWindowPos(Item(id), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int clientWidth = help.right + 16;
    const int clientHeight = std::max<int>(logoRect_.bottom, help.bottom) + 8;
    if (help.bottom > logoRect_.bottom) {
        const int top = (clientHeight - bm.bmHeight) / 2;
        OffsetRect(&logoRect_, 0, top - logoRect_.top);
    }
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, GetWindowLongA(Handle(), GWL_STYLE), FALSE,
                       GetWindowLongA(Handle(), GWL_EXSTYLE));
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQuorvaneDialog::ShowInitialState() {
    if (App().StartupMode() && !settings_.FirstCall) {
        if (settings_.HideIcon) {
            ShowWindow(Handle(), SW_HIDE);
            hidden_ = true;
        } else {
            ShowWindow(Handle(), SW_SHOWMINIMIZED);
        }
    } else {
        ShowWindow(Handle(), SW_RESTORE);
        UpdateWindow(Handle());
    }
}

void CQuorvaneDialog::StartHook() {
    bool ok = hook_.Call(QP_CHECKIDE, Handle()) != 0;
    if (ok) {
        // Any failure from here on is ours to report; a missing IDE was
        // already reported by the hook library.
        ok = hook_.Call(QP_INSTALLSHELLHOOK, Handle()) != 0 &&
             hook_.Call(QP_ATTACHALL, Handle(), &settings_) != 0;
        if (!ok) App().Message(Handle(), IDS_INIT_FAILED);
    }
    if (!ok) PostMessageA(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CQuorvaneDialog::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    if (logo_) {
        HDC memory = CreateCompatibleDC(dc);
        {
            fw::SelectObjectScope select(memory, logo_.Get());
            BitBlt(dc, logoRect_.left, logoRect_.top, logoRect_.right - logoRect_.left,
                   logoRect_.bottom - logoRect_.top, memory, 0, 0, SRCCOPY);
        }
        DeleteDC(memory);
    }
    EndPaint(Handle(), &ps);
}

bool CQuorvaneDialog::OnSysCommand(UINT command) {
    if (settings_.HideIcon) {
        if (command == SC_MINIMIZE) {
            ShowWindow(Handle(), SW_HIDE);
            hidden_ = true;
            return true;
        }
        if (hidden_) {
            ShowWindow(Handle(), SW_SHOW);
            hidden_ = false;
        }
    }
    return false;   // the dialog manager carries the command out
}

void CQuorvaneDialog::OnInitMenuPopup(HMENU menu, bool systemMenu) {
    if (!systemMenu) return;
    EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (IsIconic(Handle()) ? MF_GRAYED : MF_ENABLED));
}

void CQuorvaneDialog::OnShowControl() {
    if (settings_.HideIcon && hidden_) {
        ShowWindow(Handle(), SW_SHOW);
        hidden_ = false;
    }
    if (IsIconic(Handle())) {
        ShowWindow(Handle(), SW_RESTORE);
    } else {
        SetForegroundWindow(Handle());
        SetActiveWindow(GetLastActivePopup(Handle()));
    }
}

void CQuorvaneDialog::OnFrameCreated() {
    if (!hook_.Call(QP_ATTACHALL, Handle(), &settings_)) PostMessageA(Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CQuorvaneDialog::OnQualifiedChanged(WPARAM index, LPARAM value) {
    if (index == kShowQualifiedClassIndex) settings_.ShowQualifiedClass = static_cast<DWORD>(value);
}

void CQuorvaneDialog::OnSettingsEnvironmentChanged() {
    if (!hook_.Call(QP_UPDATESETTINGS, nullptr, &settings_)) App().Message(Handle(), IDS_UPDATE_FAILED);
}

void CQuorvaneDialog::OnEndSession(bool ending) {
    if (!ending) return;
    hook_.Call(QP_DETACHALL);
    hook_.Call(QP_REMOVEALLHOOKS);
}

void CQuorvaneDialog::OnDestroy() {
    if (!IsIconic(Handle())) {
        RECT r;
        GetWindowRect(Handle(), &r);
        file_.StoreWindowPosition({r.left, r.top});
    }
    file_.StoreMenuOptions(settings_);
    PostQuitMessage(0);
}

bool CQuorvaneDialog::NothingAttached() {
    DWORD threads = 0;
    if (!hook_.Call(QP_QUERYATTACHED, nullptr, &threads)) return true;
    if (threads == 1) {
        App().Message(Handle(), IDS_ONE_THREAD);
    } else {
        char text[512];
        std::snprintf(text, sizeof text, fw::LoadResString(Instance(), IDS_N_THREADS).c_str(),
                      static_cast<int>(threads));
        App().MessageText(Handle(), text);
    }
    return false;
}

void CQuorvaneDialog::OnQuit() {
    if (!NothingAttached()) return;
    if (!hook_.Call(QP_DETACHALL)) {
        App().Message(Handle(), IDS_UNINSTALL_FAILED);
        return;
    }
    hook_.Call(QP_REMOVESHELLHOOK);
    hook_.Call(QP_REMOVEALLHOOKS);
    file_.StoreMenuOptions(settings_);
    DestroyWindow(Handle());
}

void CQuorvaneDialog::OnFrameLost() {
    SetForegroundWindow(Handle());
    HWND popup = GetLastActivePopup(Handle());
    if (popup && popup != Handle()) {   // a settings dialog is open: leave it to the user
        SetActiveWindow(popup);
        return;
    }
    if (!NothingAttached()) return;
    if (!hook_.Call(QP_DETACHALL)) App().Message(Handle(), IDS_UNINSTALL_FAILED);
    SetActiveWindow(Handle());
    hook_.Call(QP_REMOVEALLHOOKS);
    DestroyWindow(Handle());
}

bool CQuorvaneDialog::OnCommand(UINT id, UINT /*code*/, HWND /*control*/) {
    switch (id) {
    case IDC_CONTINUE:
        SendMessageA(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return true;
    case IDC_OPTIONS:
        OnOptions();
        return true;
    case IDC_COLORS:
        OnColors();
        return true;
    case IDC_FONT:
        OnFont();
        return true;
    case IDC_QUIT:
        OnQuit();
        return true;
    case ID_DEFAULT_HELP:
        App().ShowHelp(Handle(), HELP_FINDER, 0);
        return true;
    default:
        return false;
    }
}

void CQuorvaneDialog::ActivateAndStore(bool (SettingsFile::*store)(const HookSettings&) const) {
    if (!hook_.Call(QP_UPDATESETTINGS, nullptr, &settings_)) App().Message(Handle(), IDS_UPDATE_FAILED);
    if (!(file_.*store)(settings_)) App().Message(Handle(), IDS_WRITE_FAILED);
}

namespace {
// Runs a settings dialog under its help context; false when it could not be
// made (after the beep and message) or was cancelled.
template <class DialogT>
bool RunSettingsDialog(DialogT& dialog, HWND owner, DWORD helpContext) {
    App().SetHelpContext(helpContext);
    const INT_PTR result = dialog.DoModal(owner);
    App().SetHelpContext(HELP_MAIN);
    if (result == -1) {
        MessageBeep(MB_ICONEXCLAMATION);
        App().Message(owner, IDS_NO_DIALOG);
        return false;
    }
    return result == IDOK;
}
}  // namespace

void CQuorvaneDialog::OnOptions() {
    COptionsDialog dialog(Instance(), settings_);
    if (!RunSettingsDialog(dialog, Handle(), HELP_OPTIONS)) return;
    dialog.CopyTo(settings_);
    ActivateAndStore(&SettingsFile::StoreOptions);
}

void CQuorvaneDialog::OnColors() {
    CColorsDialog dialog(Instance(), settings_);
    if (!RunSettingsDialog(dialog, Handle(), HELP_COLORS)) return;
    dialog.CopyTo(settings_);
    ActivateAndStore(&SettingsFile::StoreColors);
}

void CQuorvaneDialog::OnFont() {
    CFontDialog dialog(Instance(), settings_.Font);
    if (!RunSettingsDialog(dialog, Handle(), HELP_MAIN)) return;
    settings_.Font = dialog.Font();
    ActivateAndStore(&SettingsFile::StoreFont);
}

}  // namespace qnav
