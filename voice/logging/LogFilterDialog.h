// The message filter dialog: one check box per switchable category of a
// log destination; OK writes the section's keys and hands back the mask.
#pragma once
#include <string>

#include <fw/Window.h>

#include "CategoryMask.h"

namespace kvo {

class LogFilterDialog : public fw::Dialog {
public:
    // `name` completes the title "Log Options - <name>"; `section` is where
    // the eight keys are written on OK.
    LogFilterDialog(std::string name, std::string section, CategoryMask mask);

    const CategoryMask& Mask() const { return mask_; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string name_;
    std::string section_;
    CategoryMask mask_;
};

}  // namespace kvo
