// The list font: the platform's font dialog on our own template, limited to
// screen fonts of 8 to 24 points, placed near the main window.
#pragma once
#include <windows.h>

namespace qnav {

class CFontDialog {
public:
    CFontDialog(HINSTANCE instance, const LOGFONTA& font) : instance_(instance), font_(font) {}
    // IDOK, IDCANCEL, or -1 when the dialog could not be made.
    INT_PTR DoModal(HWND parent);
    const LOGFONTA& Font() const { return font_; }

    // Flags besides template and hook, for each platform family.
    static constexpr DWORD kFlagsNT = 0x802445;
    static constexpr DWORD kFlags95 = 0xC02045;

private:
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
    HINSTANCE instance_;
    LOGFONTA font_;
};

}  // namespace qnav
