#include "OptionsDialog.h"
#include <commdlg.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include "QuorvaneApp.h"
#include "resource.h"

namespace qnav {

namespace {
struct CheckField {
    int id;
    DWORD HookSettings::*field;
};
constexpr CheckField kChecks[] = {
    {IDC_HIDEICON, &HookSettings::HideIcon},
    {IDC_FINDTEMPLATES, &HookSettings::cTemplates},
    {IDC_FINDCLASSES, &HookSettings::cClasses},
    {IDC_FINDSTRUCTS, &HookSettings::cStructs},
    {IDC_FINDMACROS, &HookSettings::cMacros},
    {IDC_FINDDEFINES, &HookSettings::cDefines},
    {IDC_FINDMFCMACROS, &HookSettings::cMFCMacros},
    {IDC_QUALIFIED, &HookSettings::ShowQualifiedClass},
    {IDC_BASELIST, &HookSettings::ShowBaseList},
    {IDC_ASMSTRUCTS, &HookSettings::asmStructs},
    {IDC_ASMMACROS, &HookSettings::asmMacros},
    {IDC_PROCATTRIBUTES, &HookSettings::ShowProcAttributes},
};

// The framework's "%1 and %2" placeholders.
std::string FormatRange(std::string text, unsigned low, unsigned high) {
    for (auto [mark, value] : {std::pair{"%1", low}, std::pair{"%2", high}}) {
        const auto at = text.find(mark);
        if (at != std::string::npos) text.replace(at, 2, std::to_string(value));
    }
    return text;
}
}  // namespace

COptionsDialog::COptionsDialog(HINSTANCE instance, const HookSettings& settings)
    : Dialog(instance, IDD_OPTIONS), values_(settings) {}

void COptionsDialog::CopyTo(HookSettings& s) const {
    for (const auto& c : kChecks) s.*c.field = values_.*c.field;
    s.ItemCount = values_.ItemCount;
    s.ShiftRightMouse = values_.ShiftRightMouse;
    s.CppComments = values_.CppComments;
    s.ButtonColor = values_.ButtonColor;
}

BOOL COptionsDialog::OnInitDialog() {
    for (const auto& c : kChecks) CheckDlgButton(Handle(), c.id, values_.*c.field ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(Handle(), IDC_RIGHTMOUSE, IDC_SHIFTRIGHTMOUSE,
                     values_.ShiftRightMouse ? IDC_SHIFTRIGHTMOUSE : IDC_RIGHTMOUSE);
    CheckRadioButton(Handle(), IDC_CPPCOMMENTS, IDC_CCOMMENTS,
                     values_.CppComments ? IDC_CPPCOMMENTS : IDC_CCOMMENTS);
    itemCount_.Attach(Item(IDC_ITEMCOUNT));
    SetDlgItemInt(Handle(), IDC_ITEMCOUNT, values_.ItemCount, FALSE);
    buttonColor_.SetColor(values_.ButtonColor);
    ready_ = true;
    return TRUE;
}

INT_PTR COptionsDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DRAWITEM && wp == IDC_BUTTONCOLOR) {
        buttonColor_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    }
    if (msg == WM_HELP) {
        App().ShowHelp(Handle(), HELP_CONTEXT, App().HelpContext());
        return TRUE;
    }
    return Dialog::OnMessage(msg, wp, lp);
}

bool COptionsDialog::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_ITEMCOUNT && code == EN_CHANGE) {
        if (ready_ && !validating_) ValidateItemCount();
        return true;
    }
    if (id == IDC_ITEMCOUNT && code == EN_KILLFOCUS) {
        OnItemCountKillFocus();
        return true;
    }
    if (id == IDC_BUTTONCOLOR && code == BN_CLICKED) {
        OnButtonColor();
        return true;
    }
    return false;
}

std::optional<unsigned> COptionsDialog::ValidateItemCount() {
    const std::string text = ItemText(IDC_ITEMCOUNT);
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    const bool isNumber = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (isNumber && value >= kMinItems && value <= kMaxItems) return static_cast<unsigned>(value);

    validating_ = true;
    const std::string message =
        isNumber ? FormatRange(fw::LoadResString(Instance(), IDS_PARSE_INT_RANGE), kMinItems, kMaxItems)
                 : fw::LoadResString(Instance(), IDS_PARSE_INT);
    App().MessageText(Handle(), message);
    SetFocus(Item(IDC_ITEMCOUNT));
    SendDlgItemMessageA(Handle(), IDC_ITEMCOUNT, EM_SETSEL, 0, -1);
    validating_ = false;
    return std::nullopt;
}

void COptionsDialog::OnItemCountKillFocus() {
    if (validating_) return;
    // Read saturating: a number too long for an integer is still "from 99 up".
    const std::string text = ItemText(IDC_ITEMCOUNT);
    std::size_t i = text.find_first_not_of(" \t");
    unsigned value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + static_cast<unsigned>(text[i] - '0'), kShownMax + 1);
    const unsigned clamped = value < kShownMin ? kShownMin : (value >= kShownMax ? kShownMax : value);
    validating_ = true;   // writing back is no user edit
    SetDlgItemInt(Handle(), IDC_ITEMCOUNT, clamped, FALSE);
    validating_ = false;
}

void COptionsDialog::OnButtonColor() {
    static COLORREF custom[16];
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = Handle();
    cc.rgbResult = buttonColor_.Color();
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorA(&cc)) return;
    buttonColor_.SetColor(cc.rgbResult);
    InvalidateRect(Item(IDC_BUTTONCOLOR), nullptr, FALSE);
}

void COptionsDialog::ReadControls() {
    for (const auto& c : kChecks) values_.*c.field = IsDlgButtonChecked(Handle(), c.id) == BST_CHECKED;
    values_.ShiftRightMouse = IsDlgButtonChecked(Handle(), IDC_SHIFTRIGHTMOUSE) == BST_CHECKED;
    values_.CppComments = IsDlgButtonChecked(Handle(), IDC_CPPCOMMENTS) == BST_CHECKED;
    values_.ButtonColor = buttonColor_.Color();
}

void COptionsDialog::OnOK() {
    const auto count = ValidateItemCount();
    if (!count) return;
    ReadControls();
    values_.ItemCount = static_cast<WORD>(*count);
    End(IDOK);
}

}  // namespace qnav
