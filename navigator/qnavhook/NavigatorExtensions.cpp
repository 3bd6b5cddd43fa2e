// The editor view's triggers and the outline list's class procedure.
#include "NavigatorExtensions.h"
#include "Navigation.h"
#include "OutlineList.h"
#include "PopupMenu.h"
#include "ProcessState.h"

namespace qnav {

namespace {

bool g_rightTrigger = false;   // the last right press in a view opened the list

bool Down(int key) { return GetKeyState(key) < 0; }

bool IsRightTrigger() { return Down(VK_SHIFT) == g_process.shiftRightMouse; }

bool OnTriggerKey(HWND view, WPARAM key) {
    HWND child = ChildOfView(view);
    if (!child) return false;
    switch (key) {
    case 'G': {
        if (g_process.listOpen) return true;
        POINT at;
        GetCursorPos(&at);
        OpenOutlineList(view, at, ListOrigin::Key);
        return true;
    }
    case 'J': ShowNavigatorMenu(child, kMaskShift, MenuPlacement::AtMouse, POINT{}); return true;
    case 'X': ShowNavigatorMenu(child, kMaskCtrl, MenuPlacement::AtMouse, POINT{}); return true;
    case 'S':
        if (!IsIconic(child)) ShowNavigatorMenu(child, 0, MenuPlacement::AtButton, POINT{});
        return true;
    case VK_OEM_PERIOD: case VK_DECIMAL:
    case VK_OEM_2: case VK_DIVIDE: {
        const bool uncomment = key == VK_OEM_PERIOD || key == VK_DECIMAL;
        if (CommentAllowed(view)) ExecuteNavigatorCommand(child, uncomment ? kCmdUncomment : kCmdComment);
        else MessageBeep(MB_OK);
        return true;
    }
    }
    return false;
}

}  // namespace

bool OnViewTrigger(HWND view, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_RBUTTONDOWN: {
        g_rightTrigger = IsRightTrigger();
        if (!g_rightTrigger) return false;
        if (HWND frame = CurrentFrame()) SetActiveWindow(frame);
        POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ClientToScreen(view, &at);
        OpenOutlineList(view, at, ListOrigin::Mouse);
        return true;
    }
    case WM_RBUTTONUP: {
        const bool swallow = g_rightTrigger && g_process.kind == IdeKind::DevStudio4;
        g_rightTrigger = false;
        return swallow;
    }
    case WM_SETCURSOR:
        if (HIWORD(lp) == WM_RBUTTONDOWN && IsRightTrigger()) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // First presses only, and only with both Ctrl and Alt held.
        if (LOWORD(lp) != 1 || (lp & (1 << 30)) || !Down(VK_CONTROL) || !Down(VK_MENU)) return false;
        return OnTriggerKey(view, wp);
    }
    return false;
}

LRESULT CALLBACK ListWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return OutlineList::PopupProc(w, msg, wp, lp);
}

}  // namespace qnav
