#include "OutlineList.h"
#include "HookGdi.h"
#include "ListWindowClass.h"
#include "Navigation.h"
#include "ProcessState.h"
#include "Settings.h"
#include "resource.h"
#include <algorithm>
#include <memory>

namespace qnav {

namespace {

std::unique_ptr<OutlineList> g_list;
HHOOK g_keyboardHook = nullptr;  // the hook procedure has no other way to it

constexpr int kBitmapMargin = 6;
constexpr COLORREF kBarColor = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kRed = RGB(0xFF, 0, 0);
constexpr int kTextIndent = 15;

struct ListBitmaps {
    fw::Bitmap bar;
    fw::Bitmap buttons[text::kFilterButtons][3];   // normal, selected, disabled
    SIZE barSize{}, buttonSize{};
};
ListBitmaps g_bitmaps;

SIZE BitmapSize(HBITMAP b) {
    BITMAP bm{};
    if (!b || !GetObjectA(b, sizeof bm, &bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawBitmap(HDC dc, HBITMAP b, int x, int y) {
    if (!b) return;
    HDC mem = CreateCompatibleDC(dc);
    if (!mem) return;
    {
        fw::SelectObjectScope sel(mem, b);
        const SIZE s = BitmapSize(b);
        BitBlt(dc, x, y, s.cx, s.cy, mem, 0, 0, SRCCOPY);
    }
    DeleteDC(mem);
}

HFONT ListFontOrSystem() {
    return g_listFont.Get() ? g_listFont.Get() : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

// The keys the popup takes from the keyboard hook: Alt with these letters.
int ShortcutButton(WPARAM key) {
    switch (key) {
    case 'A': return 6;
    case 'C': return 4;
    case 'D': return 2;
    case 'F': return 0;
    case 'M': return 1;
    case 'S': return 5;
    case 'T': return 3;
    default: return -1;
    }
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

constexpr LPARAM kAltContext = 1 << 29;
constexpr LPARAM kPreviouslyDown = 1 << 30;

}  // namespace

bool LoadListBitmaps(HINSTANCE instance) {
    g_bitmaps.bar.Reset(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_LISTBAR)));
    for (int i = 0; i < text::kFilterButtons; ++i)
        for (int s = 0; s < 3; ++s)
            g_bitmaps.buttons[i][s].Reset(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_FILTER_FIRST + 3 * i + s)));
    g_bitmaps.barSize = BitmapSize(g_bitmaps.bar.Get());
    g_bitmaps.buttonSize = BitmapSize(g_bitmaps.buttons[0][0].Get());
    return g_bitmaps.bar && g_bitmaps.buttons[0][0];
}

void FreeListBitmaps() {
    g_bitmaps.bar.Reset();
    for (auto& b : g_bitmaps.buttons)
        for (auto& s : b) s.Reset();
}

OutlineList* OutlineList::Current() { return g_list.get(); }

HWND OutlineList::FocusToRestore() { return g_list ? g_list->focusAtOpen_ : nullptr; }

OutlineList::OutlineList(HWND view, qv::DocKind kind, POINT at, bool viewHadFocus)
    : view_(view), kind_(kind), at_(at), viewHadFocus_(viewHadFocus), focusAtOpen_(GetFocus()) {}

OutlineList* OutlineList::Open(HWND view, qv::DocKind kind, POINT at, bool viewHadFocus) {
    if (g_list) g_list->Close(nullptr);
    g_list.reset(new OutlineList(view, kind, at, viewHadFocus));
    g_process.listOpen = true;
    if (!g_list->Create()) {
        g_list->Close(nullptr);
        return nullptr;
    }
    return g_list.get();
}

bool OutlineList::Create() {
    showQualified_ = startQualified_ = HookSetting(kSetShowQualifiedClass) != 0;
    threeD_ = HookSetting(kSet3DSelection) != 0;
    const int group = kind_ >= qv::kKindC && kind_ <= qv::kKindHeader ? kSetCppColors
                    : kind_ == qv::kKindAsm || kind_ == qv::kKindAsmInclude ? kSetAsmColors
                    : kind_ == qv::kKindResource ? kSetResourceColors : kSetOtherColors;
    colorCount_ = static_cast<int>(HookSetting(group, colors_));
    const COLORREF back = colors_[1];
    lightPen_.Reset(CreatePen(PS_SOLID, 1, back == kWhite ? kBarColor : kWhite));
    darkPen_.Reset(CreatePen(PS_SOLID, 1, back == kGrey ? RGB(0, 0, 0) : kGrey));

    popup_ = CreateWindowExA(WS_EX_TOPMOST, kListClassName, "", WS_POPUP, at_.x, at_.y, 10, 10, view_, nullptr,
                             g_process.instance, this);
    if (!popup_) return false;
    if (HDC dc = GetDC(popup_)) {
        fw::SelectObjectScope font(dc, ListFontOrSystem());
        TEXTMETRICA tm{};
        if (GetTextMetricsA(dc, &tm)) itemHeight_ = tm.tmHeight;
        ReleaseDC(popup_, dc);
    }
    listBox_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
                               LBS_SORT | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, 0, text::kBarHeight, 10, 10,
                               popup_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListBoxId)), g_process.instance,
                               nullptr);
    if (!listBox_) return false;
    SendMessageA(listBox_, WM_SETFONT, reinterpret_cast<WPARAM>(ListFontOrSystem()), FALSE);
    // Filled while hidden: no scroll bar or repaint work per added entry.
    SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
    if (itemHeight_ > 0) SendMessageA(listBox_, LB_SETITEMHEIGHT, 0, itemHeight_);
    SetPropA(listBox_, "QuorvaneList", this);
    listBoxOld_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(listBox_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OutlineList::ListBoxProc)));
    return true;
}

void OutlineList::AddItem(const qv::OutlineItem& item) {
    if (!store_.Add(item)) return;
    const auto index = static_cast<LPARAM>(store_.Size() - 1);
    SendMessageA(listBox_, sorted_ ? LB_ADDSTRING : LB_INSERTSTRING, sorted_ ? 0 : static_cast<WPARAM>(-1), index);
}

void OutlineList::Show(int rowLimit, unsigned caretLine) {
    if (store_.Size() == 0) {
        Close(nullptr);
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    rowLimit_ = rowLimit;
    SendMessageA(listBox_, WM_SETREDRAW, TRUE, 0);
    if (IsCppList()) {
        filterButton_ = text::InitialFilterButton(store_);
        filter_ = text::FilterMaskOf(filterButton_);
        if (filter_ != text::kAllCategories) Rebuild();
    }
    Relayout(false);
    if (itemHeight_ <= 0) {   // no font to measure: the list cannot be shown
        Close(nullptr);
        return;
    }
    const std::vector<int> shown = text::ShownOrder(store_, filter_, sorted_, Qualified());
    const int entry = text::PreselectEntry(store_, shown, caretLine);
    const int count = static_cast<int>(SendMessageA(listBox_, LB_GETCOUNT, 0, 0));
    RECT rc{};
    GetClientRect(listBox_, &rc);
    const int rows = itemHeight_ > 0 ? rc.bottom / itemHeight_ : 0;
    if (count > rows) {
        const auto pos = std::find(shown.begin(), shown.end(), entry) - shown.begin();
        const int below = std::min(static_cast<int>(pos) + rows / 2, count - 1);
        SendMessageA(listBox_, LB_SETCURSEL, static_cast<WPARAM>(below), 0);
    }
    SelectEntry(entry);
    ShowWindow(popup_, SW_SHOW);
    SetActiveWindow(popup_);
    SetFocus(listBox_);
    keyboardHook_.Reset(SetWindowsHookExA(WH_KEYBOARD, &OutlineList::KeyboardHook, nullptr, GetCurrentThreadId()));
    g_keyboardHook = keyboardHook_.Get();
}

void OutlineList::Close(HWND focus) {
    if (closing_) return;
    closing_ = true;
    keyboardHook_.Reset();
    g_keyboardHook = nullptr;
    g_process.listOpen = false;
    g_process.listWindow = nullptr;
    if (popup_ && IsWindow(popup_)) DestroyWindow(popup_);
    if (showQualified_ != startQualified_) StoreShowQualifiedClass(showQualified_ ? 1 : 0);
    if (focus && IsWindow(focus)) SetFocus(focus);
    if (g_list.get() == this) g_list.reset();   // last: this object goes here
}

LRESULT CALLBACK OutlineList::PopupProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<OutlineList*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
        SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self) {
            self->popup_ = w;
            g_process.listWindow = w;
        }
    }
    auto* self = reinterpret_cast<OutlineList*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (!self || self->popup_ != w || g_list.get() != self) return DefWindowProcA(w, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(w, GWLP_USERDATA, 0);
        return DefWindowProcA(w, msg, wp, lp);
    }
    return self->OnMessage(msg, wp, lp);
}

LRESULT OutlineList::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(std::max(itemHeight_, 1));
        return TRUE;
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_COMPAREITEM: return OnCompareItem(*reinterpret_cast<const COMPAREITEMSTRUCT*>(lp));
    case WM_LBUTTONDOWN: OnBarButtonDown(pt, false); return 0;
    case WM_RBUTTONDOWN: OnBarButtonDown(pt, true); return 0;
    case WM_MOUSEMOVE: OnMouseMove(pt); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (msg != WM_CAPTURECHANGED) ReleaseCapture();
        }
        return 0;
    case WM_ACTIVATE: OnActivate(wp, lp); return 0;
    case WM_SETFOCUS:
        if (listBox_) SetFocus(listBox_);
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wp) != listBox_ && reinterpret_cast<HWND>(wp) != popup_)
            PostMessageA(popup_, kListCloseMessage, 0, 0);
        return 0;
    case kListCloseMessage: Close(reinterpret_cast<HWND>(wp)); return 0;
    case kListFilterMessage: SelectFilter(static_cast<int>(wp)); return 0;
    case kListShortcutMessage: OnShortcut(wp, lp); return 0;
    }
    return DefWindowProcA(popup_, msg, wp, lp);
}

void OutlineList::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(popup_, &ps);
    RECT rc;
    GetClientRect(popup_, &rc);
    RECT bar{0, 0, rc.right, text::kBarHeight};
    SetBkColor(dc, kBarColor);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr);
    {
        fw::Pen grey(CreatePen(PS_SOLID, 1, kGrey)), white(CreatePen(PS_SOLID, 1, kWhite));
        fw::SelectObjectScope pen(dc, white.Get());
        MoveToEx(dc, 0, text::kBarHeight - 2, nullptr);
        LineTo(dc, 0, 0);
        LineTo(dc, rc.right - 1, 0);
        SelectObject(dc, grey.Get());
        LineTo(dc, rc.right - 1, text::kBarHeight - 1);
        LineTo(dc, -1, text::kBarHeight - 1);
    }
    const SIZE b = g_bitmaps.barSize;
    DrawBitmap(dc, g_bitmaps.bar.Get(), rc.right - kBitmapMargin - b.cx, text::kBarHeight - kBitmapMargin - b.cy);
    if (IsCppList()) {
        const SIZE s = g_bitmaps.buttonSize;
        for (int i = 0; i < text::kFilterButtons; ++i) {
            const bool enabled = i == text::kFilterButtons - 1 || store_.CountOf(text::kFilterCategories[i]) > 0;
            const int state = !enabled ? 2 : i == filterButton_ ? 1 : 0;
            DrawBitmap(dc, g_bitmaps.buttons[i][state].Get(), 2 + i * s.cx, (text::kBarHeight - s.cy) / 2);
        }
    }
    EndPaint(popup_, &ps);
}

void OutlineList::OnDrawItem(const DRAWITEMSTRUCT& dis) {
    if (dis.itemID == static_cast<UINT>(-1) || dis.itemData >= store_.Size()) return;
    const text::ListEntry& e = store_.At(dis.itemData);
    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    const COLORREF back = selected ? colors_[2] : colors_[1];
    COLORREF fore = selected ? colors_[3]
                  : e.category != 0 && e.category < text::kTopCategory && e.category < colorCount_ ? colors_[e.category]
                                                                                                 : colors_[0];
    if (!selected && e.category == text::kPinnedCategory && back != kRed) fore = kRed;
    const std::string s = text::DisplayText(e, Qualified());
    fw::SelectObjectScope font(dis.hDC, ListFontOrSystem());
    SetBkColor(dis.hDC, back);
    SetTextColor(dis.hDC, fore);
    ExtTextOutA(dis.hDC, dis.rcItem.left + kTextIndent, dis.rcItem.top, ETO_OPAQUE, &dis.rcItem, s.c_str(),
                static_cast<UINT>(s.size()), nullptr);
    if (selected && threeD_) {
        const RECT& r = dis.rcItem;
        fw::SelectObjectScope pen(dis.hDC, lightPen_.Get());
        MoveToEx(dis.hDC, r.left, r.bottom - 1, nullptr);
        LineTo(dis.hDC, r.left, r.top);
        LineTo(dis.hDC, r.right - 1, r.top);
        SelectObject(dis.hDC, darkPen_.Get());
        LineTo(dis.hDC, r.right - 1, r.bottom - 1);
        LineTo(dis.hDC, r.left, r.bottom - 1);
    }
}

int OutlineList::OnCompareItem(const COMPAREITEMSTRUCT& cis) const {
    if (cis.itemData1 >= store_.Size() || cis.itemData2 >= store_.Size()) return 0;
    const text::ListEntry& a = store_.At(cis.itemData1);
    const text::ListEntry& b = store_.At(cis.itemData2);
    if (text::SortsBefore(a, b, Qualified())) return -1;
    return text::SortsBefore(b, a, Qualified()) ? 1 : 0;
}

int OutlineList::ButtonAt(POINT client) const {
    if (!IsCppList() || client.y < 0 || client.y >= text::kBarHeight) return -1;
    const SIZE s = g_bitmaps.buttonSize;
    if (s.cx <= 0 || client.x < 2) return -1;
    const int i = (client.x - 2) / s.cx;
    return i < text::kFilterButtons ? i : -1;
}

void OutlineList::OnBarButtonDown(POINT pt, bool right) {
    const int button = right ? -1 : ButtonAt(pt);
    if (button >= 0) {
        SelectFilter(button);
        return;
    }
    dragging_ = true;
    dragFrom_ = pt;
    SetCapture(popup_);
}

void OutlineList::OnMouseMove(POINT) {
    if (!dragging_) return;
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowPos(popup_, nullptr, cursor.x - dragFrom_.x, cursor.y - dragFrom_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OutlineList::OnActivate(WPARAM wp, LPARAM lp) {
    if (LOWORD(wp) != WA_INACTIVE) return;
    g_process.listOpen = false;
    HWND frame = g_process.frame;
    if (frame && IsWindow(frame) && reinterpret_cast<HWND>(lp) != frame) SendMessageA(frame, WM_NCACTIVATE, 0, 0);
}

void OutlineList::OnShortcut(WPARAM key, LPARAM flags) {
    if ((flags & kPreviouslyDown) || (flags & (1u << 31)) || !IsCppList()) return;
    const int button = ShortcutButton(key);
    if (button >= 0) SelectFilter(button);
}

LRESULT CALLBACK OutlineList::KeyboardHook(int code, WPARAM wp, LPARAM lp) {
    OutlineList* self = g_list.get();
    if (code == HC_ACTION && self && self->IsCppList() && (lp & kAltContext) && ShortcutButton(wp) >= 0) {
        PostMessageA(self->popup_, kListShortcutMessage, wp, lp);
        return 1;
    }
    return CallNextHookEx(g_keyboardHook, code, wp, lp);
}

LRESULT CALLBACK OutlineList::ListBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<OutlineList*>(GetPropA(w, "QuorvaneList"));
    if (!self) return DefWindowProcA(w, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemovePropA(w, "QuorvaneList");
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->listBoxOld_));
        return CallWindowProcA(self->listBoxOld_, w, msg, wp, lp);
    }
    return self->OnListBoxMessage(msg, wp, lp);
}

LRESULT OutlineList::OnListBoxMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const WNDPROC old = listBoxOld_;
    HWND box = listBox_;
    switch (msg) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (OnListKey(static_cast<UINT>(wp), lp)) return 0;
        break;
    case WM_SYSKEYDOWN:
        if (ShortcutButton(wp) >= 0) {
            OnShortcut(wp, lp);
            return 0;
        }
        break;
    case WM_CHAR: OnListChar(static_cast<char>(wp)); return 0;
    case WM_RBUTTONDOWN:
        rightPressed_ = true;
        return CallWindowProcA(old, box, WM_LBUTTONDOWN, MK_LBUTTON, lp);
    case WM_LBUTTONDOWN: rightPressed_ = false; break;
    case WM_RBUTTONUP:
        if (!rightPressed_) return 0;
        [[fallthrough]];
    case WM_LBUTTONUP: {
        CallWindowProcA(old, box, WM_LBUTTONUP, wp, lp);
        RECT rc;
        GetClientRect(box, &rc);
        const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (!PtInRect(&rc, pt)) return 0;
        const LRESULT hit = SendMessageA(box, LB_ITEMFROMPOINT, 0, lp);
        if (HIWORD(hit) != 0) return 0;
        SendMessageA(box, LB_SETCURSEL, LOWORD(hit), 0);
        Choose();   // may end this object
        return 0;
    }
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wp) != popup_ && reinterpret_cast<HWND>(wp) != box)
            PostMessageA(popup_, kListCloseMessage, 0, 0);
        break;
    }
    return CallWindowProcA(old, box, msg, wp, lp);
}

bool OutlineList::OnListKey(UINT key, LPARAM flags) {
    const bool first = (flags & kPreviouslyDown) == 0;
    switch (key) {
    case VK_RETURN: Choose(); return true;
    case VK_ESCAPE:
    case VK_CLEAR: Close(focusAtOpen_); return true;
    case VK_TAB:
        if (first && store_.AnyQualifier()) {
            showQualified_ = !showQualified_;
            Rebuild();
        }
        return true;
    case VK_SHIFT:
        if (first) {
            sorted_ = !sorted_;
            Rebuild();
        }
        return true;
    }
    return false;
}

void OutlineList::OnListChar(char c) {
    if (static_cast<unsigned char>(c) < ' ') return;
    const int count = static_cast<int>(SendMessageA(listBox_, LB_GETCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageA(listBox_, LB_GETCURSEL, 0, 0));
    const char want = Upper(c);
    for (int step = 1; step <= count; ++step) {
        const int i = (current + step) % count;
        const auto entry = static_cast<std::size_t>(SendMessageA(listBox_, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
        if (entry >= store_.Size()) continue;
        const std::string s = text::DisplayText(store_.At(entry), Qualified());
        std::size_t at = kind_ == qv::kKindSections && !s.empty() && s[0] == '[' ? 1 : 0;
        if (at < s.size() && Upper(s[at]) == want) {
            SendMessageA(listBox_, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
}

void OutlineList::Choose() {
    const int entry = SelectedEntry();
    if (entry < 0) return;
    const text::ListEntry chosen = store_.At(static_cast<std::size_t>(entry));
    HWND view = view_;
    const bool hadFocus = viewHadFocus_;
    Close(view);   // ends this object
    PlaceCaretAtItem(view, chosen, hadFocus);
}

void OutlineList::SelectFilter(int button) {
    if (!IsCppList() || button < 0 || button >= text::kFilterButtons) return;
    if (button < text::kFilterButtons - 1 && store_.CountOf(text::kFilterCategories[button]) == 0) return;
    filterButton_ = button;
    filter_ = text::FilterMaskOf(button);
    Rebuild();
}

void OutlineList::Rebuild() {
    const int keep = SelectedEntry();
    const bool wait = store_.Size() > ((GetVersion() & 0x80000000u) ? 1000u : 200u);
    HCURSOR old = wait ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr;
    SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
    const std::vector<int> shown = text::ShownOrder(store_, filter_, sorted_, Qualified());
    for (int i : shown) SendMessageA(listBox_, LB_INSERTSTRING, static_cast<WPARAM>(-1), i);
    const bool present = std::find(shown.begin(), shown.end(), keep) != shown.end();
    if (present) SelectEntry(keep);
    else SendMessageA(listBox_, LB_SETCURSEL, 0, 0);
    SendMessageA(listBox_, WM_SETREDRAW, TRUE, 0);
    if (wait) SetCursor(old);
    if (IsWindowVisible(popup_)) Relayout(true);
    InvalidateRect(popup_, nullptr, TRUE);
    InvalidateRect(listBox_, nullptr, TRUE);
}

void OutlineList::Relayout(bool keepPlace) {
    int widest = 0;
    const int count = static_cast<int>(SendMessageA(listBox_, LB_GETCOUNT, 0, 0));
    if (HDC dc = GetDC(listBox_)) {
        fw::SelectObjectScope font(dc, ListFontOrSystem());
        for (int i = 0; i < count; ++i) {
            const auto entry = static_cast<std::size_t>(SendMessageA(listBox_, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
            if (entry >= store_.Size()) continue;
            const std::string s = text::DisplayText(store_.At(entry), Qualified());
            SIZE size{};
            if (GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size)) widest = std::max(widest, int(size.cx));
        }
        ReleaseDC(listBox_, dc);
    }
    widest_ = widest;
    const int barWidth = (IsCppList() ? text::kFilterButtons * g_bitmaps.buttonSize.cx : 0) + g_bitmaps.barSize.cx;
    const text::ListMetrics m{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), itemHeight_, rowLimit_,
                              count, widest_, GetSystemMetrics(SM_CXVSCROLL), barWidth};
    POINT place = at_;
    if (keepPlace) {
        RECT wr;
        GetWindowRect(popup_, &wr);
        place = POINT{wr.left, wr.top};
    }
    const text::ListGeometry g = text::LayoutList(m, place.x, place.y);
    if (g.rows == 0 && itemHeight_ <= 0) return;
    MoveWindow(listBox_, 0, text::kBarHeight, g.listWidth, g.listHeight, TRUE);
    SetWindowPos(popup_, HWND_TOPMOST, g.x, g.y, g.listWidth + 1, g.listHeight + text::kBarHeight + 1,
                 SWP_NOACTIVATE);
}

void OutlineList::SelectEntry(int entry) {
    const int count = static_cast<int>(SendMessageA(listBox_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (SendMessageA(listBox_, LB_GETITEMDATA, static_cast<WPARAM>(i), 0) == entry) {
            SendMessageA(listBox_, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
}

int OutlineList::SelectedEntry() const {
    const LRESULT sel = SendMessageA(listBox_, LB_GETCURSEL, 0, 0);
    if (sel == LB_ERR) return -1;
    const LRESULT data = SendMessageA(listBox_, LB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
    return data == LB_ERR || static_cast<std::size_t>(data) >= store_.Size() ? -1 : static_cast<int>(data);
}

}  // namespace qnav
