// The outline list: a top-most popup at the mouse with a bar of filter
// buttons and an owner-drawn list box of the scanner's items. It behaves like
// a menu: a choice, Escape or a focus change closes it. One per IDE process.
#pragma once
#include <windows.h>
#include <vector>
#include "ListModel.h"
#include "Outline.h"
#include "fw/Handle.h"

namespace qnav {

// Private messages of the popup.
constexpr UINT kListCloseMessage = 0x600;      // wParam: the window to give the focus to
constexpr UINT kListFilterMessage = 0x601;     // wParam: filter button 0-6
constexpr UINT kListShortcutMessage = 0x602;   // wParam: key, lParam: key flags (from the keyboard hook)
constexpr int kListBoxId = 100;

class OutlineList final : public qv::ItemSink {
public:
    // The open list, or nullptr.
    static OutlineList* Current();

    // Closes any open list and opens a new, empty one at screen point `at`
    // for `view`; `viewHadFocus` decides how the caret moves after a choice.
    static OutlineList* Open(HWND view, qv::DocKind kind, POINT at, bool viewHadFocus);

    void AddItem(const qv::OutlineItem& item) override;

    // Shows the filled list with the entry nearest to 0-based `caretLine`
    // selected; an empty list closes with an exclamation beep.
    void Show(int rowLimit, unsigned caretLine);

    // Closes the list and gives the focus to `focus`.
    void Close(HWND focus);

    HWND Window() const { return popup_; }
    // The window that had the focus when the open list opened, or nullptr.
    static HWND FocusToRestore();

    // The class procedure of "QuorvaneList".
    static LRESULT CALLBACK PopupProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

private:
    OutlineList(HWND view, qv::DocKind kind, POINT at, bool viewHadFocus);
    bool Create();

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint();
    void OnDrawItem(const DRAWITEMSTRUCT& dis);
    int OnCompareItem(const COMPAREITEMSTRUCT& cis) const;
    void OnBarButtonDown(POINT pt, bool right);
    void OnMouseMove(POINT pt);
    void OnActivate(WPARAM wp, LPARAM lp);
    void OnShortcut(WPARAM key, LPARAM flags);

    static LRESULT CALLBACK ListBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnListBoxMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool OnListKey(UINT key, LPARAM flags);
    void OnListChar(char c);
    static LRESULT CALLBACK KeyboardHook(int code, WPARAM wp, LPARAM lp);

    void Choose();
    void SelectFilter(int button);
    void Rebuild();
    void Relayout(bool keepPlace);
    void SelectEntry(int entry);
    int SelectedEntry() const;
    int ButtonAt(POINT client) const;
    bool IsCppList() const { return kind_ >= qv::kKindC && kind_ <= qv::kKindHeader; }
    bool Qualified() const { return showQualified_ && store_.AnyQualifier(); }

    HWND view_;
    qv::DocKind kind_;
    POINT at_;
    bool viewHadFocus_;
    HWND focusAtOpen_;
    HWND popup_ = nullptr;
    HWND listBox_ = nullptr;
    WNDPROC listBoxOld_ = nullptr;
    fw::Hook keyboardHook_;
    fw::Pen lightPen_, darkPen_;
    text::EntryStore store_;
    COLORREF colors_[14] = {};
    int colorCount_ = 0;
    int itemHeight_ = 0;
    int widest_ = 0;
    int rowLimit_ = 5;
    bool sorted_ = false;
    bool showQualified_ = false;
    bool startQualified_ = false;
    bool threeD_ = false;
    int filterButton_ = text::kFilterButtons - 1;
    unsigned filter_ = text::kAllCategories;
    bool rightPressed_ = false;
    bool dragging_ = false;
    POINT dragFrom_{};
    bool closing_ = false;
};

// Loads and frees the list's bitmaps with the window class.
bool LoadListBitmaps(HINSTANCE instance);
void FreeListBitmaps();

}  // namespace qnav
