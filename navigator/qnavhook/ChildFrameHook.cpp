#include "WindowHooks.h"
#include "NavigatorExtensions.h"
#include "ProcessState.h"
#include "Subclass.h"

namespace qnav {

namespace {
bool IsMaximized(HWND child) { return IsZoomed(child) != FALSE; }
}  // namespace

LRESULT CALLBACK ChildFrameHook::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
        return OnCaptionPaint(w, msg, wp, lp);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        if (g_process.paintingCaption && g_process.captionTextShift) return CaptionGetText(w, msg, wp, lp);
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
        return OnNcClick(w, msg, wp, lp);
    case WM_COMMAND: return OnCommand(w, wp, lp);
    case WM_INITMENUPOPUP:
        if (HIWORD(lp) == 0 && g_process.menuOpen) return 0;
        break;
    case WM_PARENTNOTIFY:
        g_process.childClicked = true;
        break;
    case WM_NCDESTROY: return UnsubclassAndCallOld(w, msg, wp, lp);
    }
    return CallOldProc(w, msg, wp, lp);
}

// A maximized child has no caption of its own: the frame draws its button.
LRESULT ChildFrameHook::OnCaptionPaint(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (IsMaximized(w)) return CallOldProc(w, msg, wp, lp);
    g_process.paintingCaption = true;
    const LRESULT r = CallOldProc(w, msg, wp, lp);
    DrawCaptionButton(w, false);
    g_process.paintingCaption = false;
    return r;
}

LRESULT ChildFrameHook::OnNcClick(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_process.captionClicksSuppressed) return 0;
    if (!IsMaximized(w)) {
        const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const UINT mods = ClickModifiers();
        if (CaptionButtonHit(w, pt, false) || (wp == HTCAPTION && (mods & (8 | 4)))) {
            SendMessageA(GetParent(w), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
            OpenPopupMenu(w, mods);
            return 0;
        }
    }
    return CallOldProc(w, msg, wp, lp);
}

LRESULT ChildFrameHook::OnCommand(HWND w, WPARAM wp, LPARAM lp) {
    if (lp == 0 && HIWORD(wp) == 0 && ExecuteNavigatorCommand(w, LOWORD(wp))) return 0;
    if (HIWORD(wp) == 1 && g_process.listOpen) return 0;
    return CallOldProc(w, WM_COMMAND, wp, lp);
}

}  // namespace qnav
