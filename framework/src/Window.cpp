#include "fw/Window.h"
#include <vector>
#include "fw/Exception.h"

namespace fw {

namespace {
// Where the object pointer lives: a property, so any class (ours or a
// system class we own) can carry it without reserving window bytes.
constexpr char kWindowObject[] = "fw.Window";
constexpr char kDialogObject[] = "fw.Dialog";

// A handler's exception must not unwind into the system's window code: it
// ends here (a heap exception is deleted) and the message gets `otherwise`.
template <class R, class F>
R Contained(F&& handler, R otherwise) {
    try {
        return handler();
    } catch (fw::Exception* e) {
        if (e) e->Delete();
    } catch (...) {
    }
    return otherwise;
}
}

Window::~Window() { Destroy(); }

bool Window::RegisterClass(HINSTANCE instance, const char* className, UINT style,
                           HBRUSH background, HICON icon, HCURSOR cursor) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, className, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor ? cursor : LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0;
}

bool Window::Create(HINSTANCE instance, const char* className, const char* title, DWORD style,
                    DWORD exStyle, int x, int y, int cx, int cy, HWND parent, HMENU menu) {
    HWND hwnd = CreateWindowExA(exStyle, className, title, style, x, y, cx, cy, parent, menu,
                                instance, this);
    return hwnd != nullptr && hwnd == hwnd_;
}

void Window::Destroy() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

Window* Window::FromHandle(HWND hwnd) {
    return static_cast<Window*>(GetPropA(hwnd, kWindowObject));
}

LRESULT Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultMessage(msg, wp, lp); }

LRESULT Window::DefaultMessage(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            SetPropA(hwnd, kWindowObject, self);
        }
    }
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    LRESULT result = Contained<LRESULT>([&] { return self->OnMessage(msg, wp, lp); }, 0);
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kWindowObject);
        self->hwnd_ = nullptr;
        self->OnNcDestroy();
    }
    return result;
}

Dialog::~Dialog() {
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND parent) {
    modal_ = true;
    return DialogBoxParamA(instance_, template_, parent, &Dialog::Thunk,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
    modal_ = false;
    return CreateDialogParamA(instance_, template_, parent, &Dialog::Thunk,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::End(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_)
        EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

Dialog* Dialog::FromHandle(HWND hwnd) {
    return static_cast<Dialog*>(GetPropA(hwnd, kDialogObject));
}

INT_PTR Dialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        const UINT id = LOWORD(wp);
        const UINT code = HIWORD(wp);
        if (OnCommand(id, code, reinterpret_cast<HWND>(lp))) return TRUE;
        if (id == IDOK) { OnOK(); return TRUE; }
        if (id == IDCANCEL) { OnCancel(); return TRUE; }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

std::string Dialog::ItemText(int id) const { return WindowText(GetDlgItem(hwnd_, id)); }

INT_PTR CALLBACK Dialog::Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self = FromHandle(hwnd);
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        if (self) {
            self->hwnd_ = hwnd;
            SetPropA(hwnd, kDialogObject, self);
        }
    }
    if (!self) return FALSE;
    INT_PTR result = Contained<INT_PTR>([&] { return self->OnMessage(msg, wp, lp); }, FALSE);
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kDialogObject);
        self->hwnd_ = nullptr;
        self->OnNcDestroy();
    }
    return result;
}

std::string LoadResString(HINSTANCE instance, UINT id) {
    char buf[1024];
    int n = LoadStringA(instance, id, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::string WindowText(HWND hwnd) {
    int n = GetWindowTextLengthA(hwnd);
    if (n <= 0) return {};
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    int got = GetWindowTextA(hwnd, buf.data(), n + 1);
    return std::string(buf.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

}  // namespace fw
