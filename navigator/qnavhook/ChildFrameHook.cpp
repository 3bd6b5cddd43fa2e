#include "WindowHooks.h"
#include "NavigatorExtensions.h"
#include "ProcessState.h"
#include "Subclass.h"

namespace qnav {

LRESULT CALLBACK ChildFrameHook::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    // A maximized child has no caption of its own: the frame draws its button.
    LRESULT result = 0;
    if (CaptionMessage(w, msg, wp, lp, [](HWND c) { return !IsZoomed(c); }, false, result)) return result;
    switch (msg) {
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

LRESULT ChildFrameHook::OnCommand(HWND w, WPARAM wp, LPARAM lp) {
    if (lp == 0 && HIWORD(wp) == 0 && ExecuteNavigatorCommand(w, LOWORD(wp))) return 0;
    if (HIWORD(wp) == 1 && g_process.listOpen) return 0;
    return CallOldProc(w, WM_COMMAND, wp, lp);
}

}  // namespace qnav
