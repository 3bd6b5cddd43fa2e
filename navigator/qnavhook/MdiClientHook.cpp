#include "WindowHooks.h"
#include "NavigatorExtensions.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "Subclass.h"

namespace qnav {

void MdiClientHook::AdoptChild(HWND child) {
    HWND inner = GetWindow(child, GW_CHILD);
    if (!IsInnerFrame(inner)) return;
    SubclassWindow(inner, &InnerFrameHook::Proc);
    for (HWND v = GetWindow(inner, GW_CHILD); v; v = GetWindow(v, GW_HWNDNEXT))
        if (IsEditorView(v)) SubclassWindow(v, &ViewHook::Proc);
    if (SubclassWindow(child, &ChildFrameHook::Proc)) PostMessageA(child, WM_NCPAINT, 1, 0);
}

LRESULT CALLBACK MdiClientHook::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MDICREATE: {
        const LRESULT r = CallOldProc(w, msg, wp, lp);
        auto child = reinterpret_cast<HWND>(r);
        if (IsMdiChild(child)) {
            AdoptChild(child);
            if (g_process.gotoPending && g_process.frame) {
                g_process.gotoPending = false;
                PostMessageA(g_process.frame, QNM_GOTOPENDING, reinterpret_cast<WPARAM>(child), QNM_TAG);
            }
        }
        return r;
    }
    case WM_PARENTNOTIFY: return OnParentNotify(w, wp, lp);
    }
    return CallOldProc(w, msg, wp, lp);
}

// A right-button press that opens the navigator must not reach the IDE.
LRESULT MdiClientHook::OnParentNotify(HWND w, WPARAM wp, LPARAM lp) {
    const bool clicked = g_process.childClicked;
    g_process.childClicked = false;
    if (clicked && LOWORD(wp) == WM_RBUTTONDOWN && (GetKeyState(VK_SHIFT) < 0) == g_process.shiftRightMouse)
        return 0;
    return CallOldProc(w, WM_PARENTNOTIFY, wp, lp);
}

}  // namespace qnav
