// The editor view: shows one document with a caret and a selection, copies
// and pastes through the clipboard and scrolls with its frame's scroll bars.
#pragma once
#include "AppObject.h"
#include "fw/Window.h"

namespace ide {

class EditorView : public fw::Window {
public:
    explicit EditorView(Document* doc);
    ~EditorView() override;
    bool Create(HWND innerFrame, const char* className);
    WNDPROC OriginalProc() const { return originalProc_; }
    void SetScrollBars(HWND vertical, HWND horizontal) { vbar_ = vertical; hbar_ = horizontal; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaint();
    void OnKeyDown(UINT key);
    void OnChar(char c);
    void OnLButtonDown(int x, int y);
    void OnLButtonDblClk(int x, int y);
    void OnRButton(bool down);
    void OnScroll(bool vertical, WPARAM wp, HWND bar);
    void OnCopy();
    void OnPaste();
    LRESULT OnQuery(WPARAM what, LPARAM arg);
    LRESULT OnGetText(WPARAM size, char* buffer);

    void MoveCaret(int line, int column, bool extend);
    void ReplaceSelection(const std::string& text);
    std::string SelectedText() const;
    bool HasSelection() const { return selLine_ != caretLine_ || selColumn_ != caretColumn_; }
    void Sync();   // mirrors caret into the raw view, updates bars and the caret

    Document* doc_;
    raw::View raw_{};
    WNDPROC originalProc_ = nullptr;
    HWND vbar_ = nullptr, hbar_ = nullptr;
    int caretLine_ = 0, caretColumn_ = 0;
    int selLine_ = 0, selColumn_ = 0;  // the selection's anchor; equal to the caret when none
    int topLine_ = 0, leftColumn_ = 0;
    int charWidth_ = 8, lineHeight_ = 16;
    int contextMenus_ = 0;
    LPARAM mark_ = 0;
};

// Sets Ctrl, Alt and Shift (kHold* bits) in this thread's keyboard state, as
// if the user held them.
void HoldKeys(LPARAM mask);

}  // namespace ide
