// The frame inside an MDI child: holds the editor view and its two scroll
// bars, laid out like a one-pane splitter.
#pragma once
#include "EditorView.h"
#include <memory>

namespace ide {

class InnerFrame : public fw::Window {
public:
    explicit InnerFrame(Document* doc) : view_(doc) {}
    bool Create(HWND child, const char* className, const char* viewClass);
    EditorView& View() { return view_; }
    WNDPROC OriginalProc() const { return originalProc_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnSize(int cx, int cy);

    EditorView view_;
    HWND vbar_ = nullptr, hbar_ = nullptr, decoy_ = nullptr;
    WNDPROC originalProc_ = nullptr;
};

}  // namespace ide
