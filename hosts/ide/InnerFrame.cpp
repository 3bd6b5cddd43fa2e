#include "InnerFrame.h"
#include "IdeKind.h"

namespace ide {

bool InnerFrame::Create(HWND child, const char* className, const char* viewClass) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    RegisterClass(inst, className, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!fw::Window::Create(inst, className, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 10, 10,
                            child, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInnerFrameId))))
        return false;
    originalProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Handle(), GWLP_WNDPROC));
    if (!view_.Create(Handle(), viewClass)) return false;
    auto bar = [&](DWORD style, int id) {
        return CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, Handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
    };
    const Application::PaneOptions pane = Application::Instance().Pane();
    // The decoy comes first, so a search that ignores the IDs finds it.
    if (pane.split) decoy_ = bar(SBS_VERT, kVScrollId + 1);
    vbar_ = bar(SBS_VERT, kVScrollId);
    hbar_ = bar(SBS_HORZ, kHScrollId);
    if (pane.hideHorizontal && hbar_) ShowWindow(hbar_, SW_HIDE);
    view_.SetScrollBars(vbar_, hbar_);
    RECT rc;
    GetClientRect(child, &rc);
    MoveWindow(Handle(), 0, 0, rc.right, rc.bottom, TRUE);
    return vbar_ && hbar_;
}

LRESULT InnerFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        // The bars belong to the view; it does the scrolling.
        return SendMessageA(view_.Handle(), msg, wp, lp);
    case WM_SETFOCUS:
        if (view_.Handle()) SetFocus(view_.Handle());
        return 0;
    }
    return DefaultMessage(msg, wp, lp);
}

void InnerFrame::OnSize(int cx, int cy) {
    const int bw = GetSystemMetrics(SM_CXVSCROLL), bh = GetSystemMetrics(SM_CYHSCROLL);
    if (view_.Handle()) MoveWindow(view_.Handle(), 0, 0, cx - bw, cy - bh, TRUE);
    if (vbar_) MoveWindow(vbar_, cx - bw, 0, bw, cy - bh, TRUE);
    if (hbar_) MoveWindow(hbar_, 0, cy - bh, cx - bw, bh, TRUE);
    if (decoy_) MoveWindow(decoy_, cx - 2 * bw, 0, bw, cy / 2, TRUE);
}

}  // namespace ide
