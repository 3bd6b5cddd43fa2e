#include "ColorsDialog.h"
#include <algorithm>
#include <string>
#include "QuorvaneApp.h"
#include "SettingsFile.h"
#include "SettingsIds.h"
#include "fw/Handle.h"
#include "resource.h"

namespace qnav {

namespace {
constexpr int kLabelIndent = 13;
constexpr int kFirstCategory = 4;   // items before this are background and highlights
enum { kBackground = 1, kHighlight = 2, kHighlightText = 3 };
}

int CColorsDialog::fileType_ = 0;
std::array<int, 4> CColorsDialog::itemOfType_ = {1, 1, 1, 1};

CColorsDialog::CColorsDialog(HINSTANCE instance, const HookSettings& settings)
    : Dialog(instance, IDD_COLORS), settings_(settings) {
    RefreshPalette();
    for (int g = 0; g < kColorGroupCount; ++g) {
        auto group = ColorGroup(settings_, g);
        chosen_[g].assign(group.count, 0);
        for (int i = 1; i < group.count; ++i)
            chosen_[g][i] = ini::NearestPaletteIndex(palette_, group.colors[i]);
    }
    opened_ = chosen_;
}

void CColorsDialog::RefreshPalette() {
    palette_ = ini::MakePalette(GetSysColor(COLOR_MENU), GetSysColor(COLOR_HIGHLIGHT),
                                GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_MENUTEXT));
    for (int b = 0; b < ini::kPaletteSize; ++b) buttons_[b].SetColor(palette_[b]);
}

void CColorsDialog::CopyTo(HookSettings& s) const {
    for (int g = 0; g < kColorGroupCount; ++g) {
        auto group = ColorGroup(s, g);
        for (int i = 1; i < group.count; ++i) group.colors[i] = palette_[chosen_[g][i]];
    }
    s.OtherColors[0] = s.OtherColors[kOtherColorCount - 1];
}

COLORREF CColorsDialog::ItemColor(int item) const { return palette_[chosen_[fileType_][item]]; }

BOOL CColorsDialog::OnInitDialog() {
    for (int t = 0; t < kColorGroupCount; ++t)
        SendDlgItemMessageA(Handle(), IDC_FILETYPES, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(fw::LoadResString(Instance(), IDS_FILETYPE_FIRST + t).c_str()));
    SendDlgItemMessageA(Handle(), IDC_FILETYPES, LB_SETCURSEL, fileType_, 0);
    FitSampleToLongestGroup();
    FillItems();
    return TRUE;
}

// One row for the highlighted text and one per category of the longest
// group, in whatever the dialog font makes of a row; the dialog grows with
// the box, keeping the margin below it.
void CColorsDialog::FitSampleToLongestGroup() {
    int rows = 0;
    for (int g = 0; g < kColorGroupCount; ++g) rows = std::max(rows, 1 + ColorGroup(settings_, g).count - kFirstCategory);
    HWND sample = Item(IDC_SAMPLE);
    int row;
    {
        HDC dc = GetDC(sample);
        {
            fw::SelectObjectScope font(dc, reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
            row = RowHeight(dc);
        }
        ReleaseDC(sample, dc);
    }
    RECT frame, client, dialog;
    GetWindowRect(sample, &frame);
    GetClientRect(sample, &client);
    GetClientRect(Handle(), &dialog);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&frame), 2);
    const int margin = dialog.bottom - frame.bottom;
    const int grow = rows * row - client.bottom;
    if (grow <= 0) return;
    SetWindowPos(sample, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int below = frame.bottom + grow + margin - dialog.bottom;
    if (below <= 0) return;
    RECT outer;
    GetWindowRect(Handle(), &outer);
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + below,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CColorsDialog::FillItems() {
    SendDlgItemMessageA(Handle(), IDC_ITEMS, LB_RESETCONTENT, 0, 0);
    const auto group = ColorGroup(settings_, fileType_);
    for (int i = 1; i < group.count; ++i) {
        const std::string label = fw::LoadResString(Instance(), group.keyBase + i + IDS_COLOR_LABEL_OFFSET);
        SendDlgItemMessageA(Handle(), IDC_ITEMS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    }
    SelectItem(itemOfType_[fileType_]);
    RepaintSample();
}

void CColorsDialog::SelectItem(int item) {
    itemOfType_[fileType_] = item;
    SendDlgItemMessageA(Handle(), IDC_ITEMS, LB_SETCURSEL, item - 1, 0);
    PressButton(chosen_[fileType_][item]);
}

void CColorsDialog::PressButton(int button) {
    for (int b = 0; b < ini::kPaletteSize; ++b)
        buttons_[b].SetPressed(Item(IDC_COLORBUTTON_FIRST + b), b == button);
}

void CColorsDialog::OnColorButton(int button) {
    chosen_[fileType_][itemOfType_[fileType_]] = button;
    PressButton(button);
    RepaintSample();
}

void CColorsDialog::OnRestore() {
    chosen_[fileType_] = opened_[fileType_];
    SelectItem(itemOfType_[fileType_]);
    RepaintSample();
}

void CColorsDialog::OnRestoreDefault() {
    const auto group = ColorGroup(settings_, fileType_);
    for (int i = 1; i < group.count; ++i)
        chosen_[fileType_][i] = ini::NearestPaletteIndex(palette_, group.defaults[i]);
    SelectItem(itemOfType_[fileType_]);
    RepaintSample();
}

void CColorsDialog::OnMenuColors() {
    auto& items = chosen_[fileType_];
    for (std::size_t i = 1; i < items.size(); ++i) {
        const int sysColor = i == kBackground ? COLOR_MENU
                           : i == kHighlight ? COLOR_HIGHLIGHT
                           : i == kHighlightText ? COLOR_HIGHLIGHTTEXT
                                                 : COLOR_MENUTEXT;
        items[i] = ini::NearestPaletteIndex(palette_, GetSysColor(sysColor));
    }
    SelectItem(itemOfType_[fileType_]);
    RepaintSample();
}

int CColorsDialog::RowHeight(HDC dc) const {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return tm.tmHeight > 0 ? tm.tmHeight : 1;
}

void CColorsDialog::DrawSample(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT area = item.rcItem;
    fw::SelectObjectScope font(dc, reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
    const int row = RowHeight(dc);
    fw::Brush background(CreateSolidBrush(ItemColor(kBackground)));
    FillRect(dc, &area, background.Get());
    SetBkMode(dc, OPAQUE);

    const auto group = ColorGroup(settings_, fileType_);
    auto label = [&](int i) { return fw::LoadResString(Instance(), group.keyBase + i + IDS_COLOR_LABEL_OFFSET); };
    int y = area.top;
    RECT first{area.left, y, area.right, y + row};
    fw::Brush highlight(CreateSolidBrush(ItemColor(kHighlight)));
    FillRect(dc, &first, highlight.Get());
    SetBkColor(dc, ItemColor(kHighlight));
    SetTextColor(dc, ItemColor(kHighlightText));
    const std::string selected = label(kHighlightText);
    TextOutA(dc, area.left + kLabelIndent, y, selected.c_str(), static_cast<int>(selected.size()));
    SetBkColor(dc, ItemColor(kBackground));
    for (int i = kFirstCategory; i < group.count && y + row < area.bottom; ++i) {
        y += row;
        SetTextColor(dc, ItemColor(i));
        const std::string text = label(i);
        TextOutA(dc, area.left + kLabelIndent, y, text.c_str(), static_cast<int>(text.size()));
    }
}

void CColorsDialog::OnSampleClick() {
    HWND sample = Item(IDC_SAMPLE);
    const DWORD pos = GetMessagePos();
    POINT p{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(sample, &p);
    HDC dc = GetDC(sample);
    int row, labelRight;
    const auto group = ColorGroup(settings_, fileType_);
    {
        fw::SelectObjectScope font(dc, reinterpret_cast<HFONT>(SendMessageA(Handle(), WM_GETFONT, 0, 0)));
        row = RowHeight(dc);
        const int index = p.y / row;
        const int item = index == 0 ? kHighlightText : kFirstCategory + index - 1;
        SIZE extent{};
        if (item < group.count) {
            const std::string text = fw::LoadResString(Instance(), group.keyBase + item + IDS_COLOR_LABEL_OFFSET);
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        }
        labelRight = kLabelIndent + extent.cx;
        const bool onLabel = item < group.count && p.x >= kLabelIndent && p.x < labelRight;
        SelectItem(onLabel ? item : (index == 0 ? kHighlight : kBackground));
    }
    ReleaseDC(sample, dc);
}

INT_PTR CColorsDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (wp == IDC_SAMPLE) {
            DrawSample(item);
            return TRUE;
        }
        const int b = static_cast<int>(wp) - IDC_COLORBUTTON_FIRST;
        if (b >= 0 && b < ini::kPaletteSize) {
            buttons_[b].Draw(item);
            return TRUE;
        }
        return FALSE;
    }
    case WM_SYSCOLORCHANGE:
        RefreshPalette();
        InvalidateRect(Handle(), nullptr, TRUE);
        return FALSE;
    case WM_HELP:
        App().ShowHelp(Handle(), HELP_CONTEXT, App().HelpContext());
        return TRUE;
    default:
        return Dialog::OnMessage(msg, wp, lp);
    }
}

bool CColorsDialog::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_FILETYPES && code == LBN_SELCHANGE) {
        const int sel = static_cast<int>(SendDlgItemMessageA(Handle(), IDC_FILETYPES, LB_GETCURSEL, 0, 0));
        if (sel >= 0 && sel < kColorGroupCount) {
            fileType_ = sel;
            FillItems();
        }
        return true;
    }
    if (id == IDC_ITEMS && code == LBN_SELCHANGE) {
        const int sel = static_cast<int>(SendDlgItemMessageA(Handle(), IDC_ITEMS, LB_GETCURSEL, 0, 0));
        if (sel >= 0) SelectItem(sel + 1);
        return true;
    }
    if (id == static_cast<UINT>(IDC_SAMPLE) && code == STN_CLICKED) {
        OnSampleClick();
        return true;
    }
    const int b = static_cast<int>(id) - IDC_COLORBUTTON_FIRST;
    if (b >= 0 && b < ini::kPaletteSize && code == BN_CLICKED) {
        OnColorButton(b);
        return true;
    }
    switch (id) {
    case IDC_RESTORE: OnRestore(); return true;
    case IDC_RESTOREDEFAULT: OnRestoreDefault(); return true;
    case IDC_MENUCOLORS: OnMenuColors(); return true;
    default: return false;
    }
}

}  // namespace qnav
