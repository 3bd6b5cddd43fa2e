// Window and dialog bases: one static thunk per kind stores `this` when the
// window is created and forwards every later message to a virtual OnMessage.
// Derived classes dispatch to OnXxx handlers in their OnMessage and call the
// base (DefaultMessage) for what they do not consume.
#pragma once
#include <windows.h>
#include <string>

namespace fw {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

    // Registers `className` once per module with the thunk as its procedure.
    static bool RegisterClass(HINSTANCE instance, const char* className, UINT style = 0,
                              HBRUSH background = nullptr, HICON icon = nullptr,
                              HCURSOR cursor = nullptr);

    // Creates the window of a class registered with RegisterClass.
    bool Create(HINSTANCE instance, const char* className, const char* title, DWORD style,
                DWORD exStyle, int x, int y, int cx, int cy, HWND parent, HMENU menu = nullptr);

    // Destroys the window (if it still exists); OnNcDestroy runs as usual.
    void Destroy();

    // The C++ object behind a window made by this framework, or nullptr.
    static Window* FromHandle(HWND hwnd);

protected:
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultMessage(UINT msg, WPARAM wp, LPARAM lp);
    // Last message the window gets; the handle is forgotten after it.
    virtual void OnNcDestroy() {}

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

class Dialog {
public:
    Dialog(HINSTANCE instance, UINT templateId)
        : instance_(instance), template_(MAKEINTRESOURCEA(templateId)) {}
    // A template named by a string (the name must outlive the dialog).
    Dialog(HINSTANCE instance, const char* templateName) : instance_(instance), template_(templateName) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    HWND Handle() const { return hwnd_; }
    HINSTANCE Instance() const { return instance_; }

    // Runs the dialog modally; the result is what EndDialog was given
    // (IDOK / IDCANCEL by default), or -1 when the template cannot be made.
    INT_PTR DoModal(HWND parent);
    // Creates the dialog modeless; the caller runs the message loop.
    bool CreateModeless(HWND parent);
    void End(INT_PTR result);

    static Dialog* FromHandle(HWND hwnd);

protected:
    // Returns TRUE when the message was handled (the dialog-procedure rule);
    // the base handles WM_INITDIALOG and WM_COMMAND IDOK/IDCANCEL.
    virtual INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    // TRUE lets the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    virtual bool OnCommand(UINT /*id*/, UINT /*code*/, HWND /*control*/) { return false; }
    virtual void OnNcDestroy() {}

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text) { SetDlgItemTextA(hwnd_, id, text.c_str()); }

private:
    static INT_PTR CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HINSTANCE instance_;
    LPCSTR template_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

// A string-table entry of `instance`, or empty when it has none.
std::string LoadResString(HINSTANCE instance, UINT id);

// The window's text.
std::string WindowText(HWND hwnd);

}  // namespace fw
