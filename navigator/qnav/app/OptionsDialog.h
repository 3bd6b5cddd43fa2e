// The Options dialog: flags, the item count and the caption button colour.
// Works on a copy of the settings; CopyTo hands the values back after OK.
#pragma once
#include <optional>
#include "Controls.h"
#include "HookSettings.h"
#include "fw/Window.h"

namespace qnav {

class COptionsDialog : public fw::Dialog {
public:
    COptionsDialog(HINSTANCE instance, const HookSettings& settings);
    void CopyTo(HookSettings& settings) const;

    static constexpr unsigned kMinItems = 1, kMaxItems = 99;       // accepted
    static constexpr unsigned kShownMin = 5, kShownMax = 99;       // clamped on leaving

protected:
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnOK() override;

private:
    // The item count if the field holds 1..99; otherwise tells the user why
    // not, puts the focus back into the field and returns nullopt.
    std::optional<unsigned> ValidateItemCount();
    void OnItemCountKillFocus();
    void OnButtonColor();
    void ReadControls();

    HookSettings values_;
    CParsedEdit itemCount_;
    CQuorvaneButton buttonColor_;
    bool ready_ = false;        // field changes before this are our own
    bool validating_ = false;   // a validation message is up
};

}  // namespace qnav
