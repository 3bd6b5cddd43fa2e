#include "Controls.h"
#include <commctrl.h>
#include <algorithm>
#include "fw/Handle.h"

namespace qnav {

namespace {

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    fw::Brush brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.Get());
}

// A one-pixel bevel: `light` on top and left, `dark` on bottom and right.
void Bevel(HDC dc, RECT r, COLORREF light, COLORREF dark) {
    FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, light);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, light);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, dark);
}

void Frame(HDC dc, const RECT& r, COLORREF color) {
    fw::Brush brush(CreateSolidBrush(color));
    FrameRect(dc, &r, brush.Get());
}

}  // namespace

bool CParsedEdit::Attach(HWND edit) {
    Detach();
    if (!edit || !SetWindowSubclass(edit, &CParsedEdit::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    edit_ = edit;
    return true;
}

void CParsedEdit::Detach() {
    if (edit_ && IsWindow(edit_)) RemoveWindowSubclass(edit_, &CParsedEdit::SubclassProc, 1);
    edit_ = nullptr;
}

LRESULT CALLBACK CParsedEdit::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self) {
    auto* edit = reinterpret_cast<CParsedEdit*>(self);
    switch (msg) {
    case WM_CHAR:
        return edit->OnChar(wp, lp);
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &CParsedEdit::SubclassProc, 1);
        edit->edit_ = nullptr;
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CParsedEdit::OnChar(WPARAM ch, LPARAM lp) {
    if ((ch >= '0' && ch <= '9') || ch < 0x20) return DefSubclassProc(edit_, WM_CHAR, ch, lp);
    MessageBeep(MB_OK);
    return 0;
}

void CQuorvaneButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int border = GetSystemMetrics(SM_CXBORDER);
    const int buttonWidth = GetSystemMetrics(SM_CXSIZE);
    const int buttonHeight = GetSystemMetrics(SM_CYSIZE);

    FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    Frame(dc, r, GetSysColor(COLOR_WINDOWFRAME));
    InflateRect(&r, -border, -border);
    Frame(dc, r, GetSysColor(COLOR_ACTIVEBORDER));
    InflateRect(&r, -border, -border);

    RECT bar{r.left, r.top, r.right, std::min<LONG>(r.bottom, r.top + caption)};
    FillSolid(dc, bar, GetSysColor(COLOR_ACTIVECAPTION));
    // System-menu box at the top left.
    RECT box{bar.left, bar.top, bar.left + buttonWidth, bar.bottom};
    FillSolid(dc, box, GetSysColor(COLOR_BTNFACE));
    Frame(dc, box, RGB(0, 0, 0));
    const int glyphY = (box.top + box.bottom) / 2;
    FillSolid(dc, {box.left + 3, glyphY - 1, box.right - 3, glyphY + 1}, RGB(0, 0, 0));

    // The navigator's button, a quarter button right of the box.
    const int left = box.right + buttonWidth / 4;
    const int top = bar.top + (caption - buttonHeight / 2) / 2;
    RECT button{left, top, left + buttonWidth / 2, top + buttonHeight / 2};
    Frame(dc, button, RGB(0, 0, 0));
    InflateRect(&button, -1, -1);
    FillSolid(dc, button, color_);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    Bevel(dc, button, pressed ? RGB(128, 128, 128) : RGB(255, 255, 255),
          pressed ? color_ : RGB(128, 128, 128));
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

void CColorButton::SetPressed(HWND button, bool pressed) {
    if (pressed_ == pressed) return;
    pressed_ = pressed;
    InvalidateRect(button, nullptr, FALSE);
}

void CColorButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool down = pressed_ || (item.itemState & ODS_SELECTED);
    FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    InflateRect(&r, -2, -2);
    if (down) OffsetRect(&r, 1, 1);
    FillSolid(dc, r, color_);
    Frame(dc, r, RGB(0, 0, 0));
}

}  // namespace qnav
