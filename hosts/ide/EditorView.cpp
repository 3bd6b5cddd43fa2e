#include "EditorView.h"
#include "IdeControl.h"
#include "IdeKind.h"
#include <algorithm>
#include <cctype>
#include <cstring>
#include <tuple>

namespace ide {

namespace {
UINT QueryMessage() {
    static const UINT msg = RegisterWindowMessageA(kQueryMessageName);
    return msg;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') continue;
        if (text[i] == '\n') out.emplace_back();
        else out.back() += text[i];
    }
    return out;
}
}  // namespace

EditorView::EditorView(Document* doc) : doc_(doc) {
    Application::Instance().AddView(doc_, &raw_);
}

EditorView::~EditorView() {
    Destroy();
    Application::Instance().RemoveView(doc_, &raw_);
}

bool EditorView::Create(HWND innerFrame, const char* className) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    RegisterClass(inst, className, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!fw::Window::Create(inst, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 10, 10, innerFrame,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewId))))
        return false;
    raw_.window = Handle();
    originalProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Handle(), GWLP_WNDPROC));
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    if (tm.tmAveCharWidth > 0) charWidth_ = tm.tmAveCharWidth;
    if (tm.tmHeight > 0) lineHeight_ = tm.tmHeight;
    return true;
}

LRESULT EditorView::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == QueryMessage()) return OnQuery(wp, lp);
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wp)); return 0;
    case WM_CHAR: OnChar(static_cast<char>(wp)); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))); return 0;
    case WM_RBUTTONDOWN: OnRButton(true); return 0;
    case WM_RBUTTONUP: OnRButton(false); return 0;
    case WM_VSCROLL: OnScroll(true, wp, reinterpret_cast<HWND>(lp)); return 0;
    case WM_HSCROLL: OnScroll(false, wp, reinterpret_cast<HWND>(lp)); return 0;
    case WM_SETFOCUS:
        CreateCaret(Handle(), nullptr, 2, lineHeight_);
        Sync();
        ShowCaret(Handle());
        return 0;
    case WM_KILLFOCUS: DestroyCaret(); return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == kCmdCopy) { OnCopy(); return 0; }
        if (LOWORD(wp) == kCmdPaste) { OnPaste(); return 0; }
        break;
    case WM_GETTEXT: return OnGetText(wp, reinterpret_cast<char*>(lp));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(doc_->Text().size());
    case WM_SIZE: Sync(); return 0;
    }
    return DefaultMessage(msg, wp, lp);
}

void EditorView::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
    const auto& lines = doc_->Lines();
    RECT rc;
    GetClientRect(Handle(), &rc);
    for (int i = topLine_, y = 0; i < static_cast<int>(lines.size()) && y < rc.bottom; ++i, y += lineHeight_) {
        const std::string& l = lines[static_cast<std::size_t>(i)];
        if (leftColumn_ < static_cast<int>(l.size()))
            TextOutA(dc, 0, y, l.c_str() + leftColumn_, static_cast<int>(l.size()) - leftColumn_);
        // The selection shows inverted.
        int l1 = selLine_, c1 = selColumn_, l2 = caretLine_, c2 = caretColumn_;
        if (std::tie(l2, c2) < std::tie(l1, c1)) { std::swap(l1, l2); std::swap(c1, c2); }
        if (HasSelection() && i >= l1 && i <= l2) {
            const int from = (i == l1 ? c1 : 0) - leftColumn_;
            const int to = (i == l2 ? c2 : static_cast<int>(l.size()) + 1) - leftColumn_;
            if (to > from) PatBlt(dc, from * charWidth_, y, (to - from) * charWidth_, lineHeight_, DSTINVERT);
        }
    }
    SelectObject(dc, old);
    EndPaint(Handle(), &ps);
}

void HoldKeys(LPARAM mask) {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return;
    keys[VK_CONTROL] = (mask & kHoldCtrl) ? 0x80 : 0;
    keys[VK_MENU] = (mask & kHoldAlt) ? 0x80 : 0;
    keys[VK_SHIFT] = (mask & kHoldShift) ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Without Shift an arrow key first collapses a selection: Left, Up and Down
// to its start, Right to its end; Left and Right then stay there. Arrows do
// not wrap at the ends of a line.
void EditorView::OnKeyDown(UINT key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    if (arrow && !shift && HasSelection()) {
        const bool anchorFirst = std::tie(selLine_, selColumn_) < std::tie(caretLine_, caretColumn_);
        const bool toEnd = key == VK_RIGHT;
        const int line = anchorFirst != toEnd ? selLine_ : caretLine_;
        const int column = anchorFirst != toEnd ? selColumn_ : caretColumn_;
        MoveCaret(line, column, false);
        if (key == VK_LEFT || key == VK_RIGHT) return;
    }
    switch (key) {
    case VK_UP: MoveCaret(caretLine_ - 1, caretColumn_, shift); break;
    case VK_DOWN: MoveCaret(caretLine_ + 1, caretColumn_, shift); break;
    case VK_LEFT: MoveCaret(caretLine_, caretColumn_ - 1, shift); break;
    case VK_RIGHT: MoveCaret(caretLine_, caretColumn_ + 1, shift); break;
    case VK_HOME: MoveCaret(caretLine_, 0, shift); break;
    case VK_END: MoveCaret(caretLine_, 1 << 20, shift); break;
    case VK_PRIOR: MoveCaret(caretLine_ - 20, caretColumn_, shift); break;
    case VK_NEXT: MoveCaret(caretLine_ + 20, caretColumn_, shift); break;
    }
}

void EditorView::OnChar(char c) {
    if (c == '\b' || static_cast<unsigned char>(c) < ' ') {
        if (c == '\r') ReplaceSelection("\n");
        return;
    }
    ReplaceSelection(std::string(1, c));
}

void EditorView::OnLButtonDown(int x, int y) {
    SetFocus(Handle());
    MoveCaret(topLine_ + y / lineHeight_, leftColumn_ + x / charWidth_, GetKeyState(VK_SHIFT) < 0);
}

void EditorView::OnLButtonDblClk(int x, int y) {
    OnLButtonDown(x, y);
    const std::string& l = doc_->Lines()[static_cast<std::size_t>(caretLine_)];
    auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    int from = caretColumn_, to = caretColumn_;
    if (from < static_cast<int>(l.size()) && word(l[static_cast<std::size_t>(from)])) {
        while (from > 0 && word(l[static_cast<std::size_t>(from - 1)])) --from;
        while (to < static_cast<int>(l.size()) && word(l[static_cast<std::size_t>(to)])) ++to;
    } else if (from < static_cast<int>(l.size())) {
        ++to;
    }
    MoveCaret(caretLine_, from, false);
    MoveCaret(caretLine_, to, true);
}

// Developer Studio opens its context menu when the right button comes up,
// Visual C++ 2.x when it goes down; the stand-in only counts it.
void EditorView::OnRButton(bool down) {
    if (down == (Application::Instance().Kind() == 2)) ++contextMenus_;
}

// Developer Studio reads a thumb position from the scroll bar the message
// names; Visual C++ 2.x takes it from the message.
void EditorView::OnScroll(bool vertical, WPARAM wp, HWND bar) {
    const UINT code = LOWORD(wp);
    int& pos = vertical ? topLine_ : leftColumn_;
    const int page = 20;
    switch (code) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = 1 << 20; break;
    case SB_THUMBPOSITION:
        pos = Application::Instance().Kind() == 4 && bar ? GetScrollPos(bar, SB_CTL) : HIWORD(wp);
        break;
    case SB_THUMBTRACK: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(vertical ? vbar_ : hbar_, SB_CTL, &si);
        pos = si.nTrackPos;
        break;
    }
    default: return;
    }
    const int limit = vertical ? static_cast<int>(doc_->Lines().size()) - 1 : 1024;
    pos = std::clamp(pos, 0, std::max(limit, 0));
    InvalidateRect(Handle(), nullptr, TRUE);
    Sync();
}

void EditorView::MoveCaret(int line, int column, bool extend) {
    const auto& lines = doc_->Lines();
    caretLine_ = std::clamp(line, 0, static_cast<int>(lines.size()) - 1);
    caretColumn_ = std::clamp(column, 0, static_cast<int>(lines[static_cast<std::size_t>(caretLine_)].size()));
    if (!extend) { selLine_ = caretLine_; selColumn_ = caretColumn_; }
    RECT rc;
    GetClientRect(Handle(), &rc);
    const int visible = std::max(1, static_cast<int>(rc.bottom) / lineHeight_);
    if (caretLine_ < topLine_) topLine_ = caretLine_;
    if (caretLine_ >= topLine_ + visible) topLine_ = caretLine_ - visible + 1;
    InvalidateRect(Handle(), nullptr, TRUE);
    Sync();
}

std::string EditorView::SelectedText() const {
    int l1 = selLine_, c1 = selColumn_, l2 = caretLine_, c2 = caretColumn_;
    if (std::tie(l2, c2) < std::tie(l1, c1)) { std::swap(l1, l2); std::swap(c1, c2); }
    const auto& lines = doc_->Lines();
    std::string out;
    for (int l = l1; l <= l2; ++l) {
        const std::string& s = lines[static_cast<std::size_t>(l)];
        const int from = l == l1 ? c1 : 0;
        const int to = l == l2 ? c2 : static_cast<int>(s.size());
        out += s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
        if (l != l2) out += "\r\n";
    }
    return out;
}

void EditorView::ReplaceSelection(const std::string& text) {
    int l1 = selLine_, c1 = selColumn_, l2 = caretLine_, c2 = caretColumn_;
    if (std::tie(l2, c2) < std::tie(l1, c1)) { std::swap(l1, l2); std::swap(c1, c2); }
    std::vector<std::string> lines = doc_->Lines();
    const std::string head = lines[static_cast<std::size_t>(l1)].substr(0, static_cast<std::size_t>(c1));
    const std::string tail = lines[static_cast<std::size_t>(l2)].substr(static_cast<std::size_t>(c2));
    std::vector<std::string> middle = SplitLines(text);
    const int endLine = l1 + static_cast<int>(middle.size()) - 1;
    const int endColumn = static_cast<int>(middle.back().size()) + (middle.size() == 1 ? c1 : 0);
    middle.front() = head + middle.front();
    middle.back() += tail;
    lines.erase(lines.begin() + l1, lines.begin() + l2 + 1);
    lines.insert(lines.begin() + l1, middle.begin(), middle.end());
    doc_->SetLines(std::move(lines));
    MoveCaret(endLine, endColumn, false);
}

void EditorView::OnCopy() {
    if (!HasSelection() || !OpenClipboard(Handle())) return;
    const std::string text = SelectedText();
    EmptyClipboard();
    if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    }
    CloseClipboard();
}

void EditorView::OnPaste() {
    if (!OpenClipboard(Handle())) return;
    std::string text;
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
            text.assign(p, strnlen(p, GlobalSize(mem)));
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    if (!text.empty()) ReplaceSelection(text);
}

LRESULT EditorView::OnQuery(WPARAM what, LPARAM arg) {
    const bool anchorFirst = std::tie(selLine_, selColumn_) < std::tie(caretLine_, caretColumn_);
    switch (what) {
    case kQueryCaretLine: return caretLine_;
    case kQueryCaretColumn: return caretColumn_;
    case kQuerySelStartLine: return anchorFirst ? selLine_ : caretLine_;
    case kQuerySelStartColumn: return anchorFirst ? selColumn_ : caretColumn_;
    case kQuerySelEndLine: return anchorFirst ? caretLine_ : selLine_;
    case kQuerySelEndColumn: return anchorFirst ? caretColumn_ : selColumn_;
    case kQueryTopLine: return topLine_;
    case kQueryLineCount: return static_cast<LRESULT>(doc_->Lines().size());
    case kQuerySetCaret: MoveCaret(LOWORD(arg), HIWORD(arg), false); return 1;
    case kQuerySelect: MoveCaret(LOWORD(arg), HIWORD(arg), true); return 1;
    case kQueryHoldKeys: HoldKeys(arg); return 1;
    case kQueryContextMenus: return contextMenus_;
    case kQueryMark:
        if (arg) mark_ = arg;
        return mark_;
    case kQueryTakeFocus:
        SetActiveWindow(GetAncestor(Handle(), GA_ROOT));
        SendMessageA(GetParent(GetParent(GetParent(Handle()))), WM_MDIACTIVATE,
                     reinterpret_cast<WPARAM>(GetParent(GetParent(Handle()))), 0);
        SetFocus(Handle());
        return GetFocus() == Handle() ? 1 : 0;
    }
    return 0;
}

LRESULT EditorView::OnGetText(WPARAM size, char* buffer) {
    if (!buffer || size == 0) return 0;
    const std::string text = doc_->Text();
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<LRESULT>(n);
}

void EditorView::Sync() {
    raw_.caretLine = static_cast<DWORD>(caretLine_);
    raw_.caretColumn = static_cast<DWORD>(caretColumn_);
    raw_.anchorLine = static_cast<DWORD>(selLine_);
    raw_.anchorColumn = static_cast<DWORD>(selColumn_);
    if (vbar_) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, 0,
                      std::max(0, static_cast<int>(doc_->Lines().size()) - 1), 20, topLine_, 0};
        SetScrollInfo(vbar_, SB_CTL, &si, TRUE);
    }
    if (hbar_) {
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, 0, 255, 40, leftColumn_, 0};
        SetScrollInfo(hbar_, SB_CTL, &si, TRUE);
    }
    if (GetFocus() == Handle())
        SetCaretPos((caretColumn_ - leftColumn_) * charWidth_, (caretLine_ - topLine_) * lineHeight_);
}

}  // namespace ide
