// The Colors dialog: every colour of the four groups is held as one of 20
// palette buttons, so what is stored is always a palette colour.
#pragma once
#include <array>
#include <vector>
#include "ColorPalette.h"
#include "Controls.h"
#include "HookSettings.h"
#include "fw/Window.h"
#include "resource.h"

namespace qnav {

class CColorsDialog : public fw::Dialog {
public:
    CColorsDialog(HINSTANCE instance, const HookSettings& settings);
    // Every item's colour becomes its button's; the other-files leading word
    // follows that group's normal text colour.
    void CopyTo(HookSettings& settings) const;

protected:
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

private:
    void RefreshPalette();
    void FillItems();
    void SelectItem(int item);
    void PressButton(int button);
    void OnColorButton(int button);
    void OnRestore();
    void OnRestoreDefault();
    void OnMenuColors();
    void FitSampleToLongestGroup();
    void DrawSample(const DRAWITEMSTRUCT& item);
    void OnSampleClick();
    int RowHeight(HDC dc) const;
    COLORREF ItemColor(int item) const;
    void RepaintSample() { InvalidateRect(Item(IDC_SAMPLE), nullptr, FALSE); }


    HookSettings settings_;
    ini::Palette palette_{};
    std::array<CColorButton, ini::kPaletteSize> buttons_;
    // Per group, per item (index 0, the leading word, unused): a button number.
    std::array<std::vector<int>, 4> chosen_;
    std::array<std::vector<int>, 4> opened_;   // as on opening, for Restore
    // Remembered while the program runs.
    static int fileType_;
    static std::array<int, 4> itemOfType_;
};

}  // namespace qnav
