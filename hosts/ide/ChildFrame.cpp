#include "ChildFrame.h"
#include "IdeKind.h"

namespace ide {

namespace {
constexpr char kObjectProp[] = "QvIdeChild";
}

ChildFrame::~ChildFrame() {
    if (hwnd_ && IsWindow(hwnd_)) SendMessageA(GetParent(hwnd_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd_), 0);
}

bool ChildFrame::Create(HWND mdiClient, const char* className, bool maximized) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(inst, className, &wc)) {
        wc.lpfnWndProc = &ChildFrame::Proc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = className;
        if (!RegisterClassExA(&wc)) return false;
    }
    MDICREATESTRUCTA mcs{};
    mcs.szClass = className;
    mcs.szTitle = doc_->Path().c_str();
    mcs.hOwner = inst;
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    mcs.lParam = reinterpret_cast<LPARAM>(this);
    if (maximized) mcs.style = WS_MAXIMIZE;
    HWND hwnd = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    return hwnd && hwnd == hwnd_ && inner_.Handle();
}

LRESULT CALLBACK ChildFrame::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<ChildFrame*>(GetPropA(hwnd, kObjectProp));
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        self = reinterpret_cast<ChildFrame*>(static_cast<MDICREATESTRUCTA*>(cs->lpCreateParams)->lParam);
        self->hwnd_ = hwnd;
        self->originalProc_ = &ChildFrame::Proc;
        SetPropA(hwnd, kObjectProp, self);
    }
    if (!self) return DefMDIChildProcA(hwnd, msg, wp, lp);
    LRESULT result = self->OnMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kObjectProp);
        self->hwnd_ = nullptr;
        PostMessageA(self->mainFrame_, kChildGone, 0, reinterpret_cast<LPARAM>(self));
    }
    return result;
}

LRESULT ChildFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = DefMDIChildProcA(hwnd_, msg, wp, lp);
        OnCreate();
        return r;
    }
    case WM_SIZE: {
        LRESULT r = DefMDIChildProcA(hwnd_, msg, wp, lp);
        OnSize();
        return r;
    }
    case WM_SETFOCUS:
        if (inner_.View().Handle()) SetFocus(inner_.View().Handle());
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == kCmdCopy || LOWORD(wp) == kCmdPaste)
            return SendMessageA(inner_.View().Handle(), msg, wp, lp);
        break;
    }
    return DefMDIChildProcA(hwnd_, msg, wp, lp);
}

void ChildFrame::OnCreate() {
    const int kind = Application::Instance().Kind();
    inner_.Create(hwnd_, NamesOf(kind).innerClass, NamesOf(kind).viewClass);
}

void ChildFrame::OnSize() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (inner_.Handle()) MoveWindow(inner_.Handle(), 0, 0, rc.right, rc.bottom, TRUE);
}

}  // namespace ide
