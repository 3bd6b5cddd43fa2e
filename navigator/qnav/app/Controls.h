// The control program's own controls: a digits-only edit field and the two
// owner-drawn buttons. The dialog owning an owner-drawn button forwards its
// WM_DRAWITEM to the button's Draw.
#pragma once
#include <windows.h>

namespace qnav {

// An edit field that takes digits and editing keys only.
class CParsedEdit {
public:
    CParsedEdit() = default;
    CParsedEdit(const CParsedEdit&) = delete;
    CParsedEdit& operator=(const CParsedEdit&) = delete;
    ~CParsedEdit() { Detach(); }
    bool Attach(HWND edit);
    void Detach();

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT OnChar(WPARAM ch, LPARAM lp);
    HWND edit_ = nullptr;
};

// Preview of the caption button in the Options dialog: a miniature caption
// with the button drawn in the chosen colour, raised or, while pressed, sunken.
class CQuorvaneButton {
public:
    void SetColor(COLORREF color) { color_ = color; }
    COLORREF Color() const { return color_; }
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    COLORREF color_ = 0;
};

// One of the Colors dialog's palette buttons; stays pushed while selected.
class CColorButton {
public:
    void SetColor(COLORREF color) { color_ = color; }
    COLORREF Color() const { return color_; }
    void SetPressed(HWND button, bool pressed);
    bool Pressed() const { return pressed_; }
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    COLORREF color_ = 0;
    bool pressed_ = false;
};

}  // namespace qnav
