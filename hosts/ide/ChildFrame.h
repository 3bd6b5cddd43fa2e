// One MDI child: a document window holding the inner frame.
#pragma once
#include "InnerFrame.h"

namespace ide {

class ChildFrame {
public:
    ChildFrame(Document* doc, HWND mainFrame) : doc_(doc), mainFrame_(mainFrame), inner_(doc) {}
    ~ChildFrame();
    ChildFrame(const ChildFrame&) = delete;
    ChildFrame& operator=(const ChildFrame&) = delete;

    // Creates the child through WM_MDICREATE, as the IDE does.
    bool Create(HWND mdiClient, const char* className, bool maximized = false);
    HWND Handle() const { return hwnd_; }
    InnerFrame& Inner() { return inner_; }
    Document* Doc() const { return doc_; }
    WNDPROC OriginalProc() const { return originalProc_; }

    // Posted to the main frame once the child window is gone; lParam = the object.
    static constexpr UINT kChildGone = WM_APP + 1;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnCreate();
    void OnSize();

    Document* doc_;
    HWND mainFrame_;
    InnerFrame inner_;
    HWND hwnd_ = nullptr;
    WNDPROC originalProc_ = nullptr;
};

}  // namespace ide
