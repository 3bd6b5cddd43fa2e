#include "LogFilterDialog.h"

#include <fw/ModulePath.h>

#include "LogResources.h"
#include "LogSettings.h"

namespace kvo {

LogFilterDialog::LogFilterDialog(std::string name, std::string section, CategoryMask mask)
    : fw::Dialog(fw::ThisModule(), IDD_LOG_FILTER),
      name_(std::move(name)),
      section_(std::move(section)),
      mask_(mask) {}

BOOL LogFilterDialog::OnInitDialog() {
    SetWindowTextA(Handle(), ("Log Options - " + name_).c_str());
    for (int c = 0; c < kSwitchableCategories; ++c) {
        SetItemText(IDC_LOG_CATEGORY0 + c, kLogCategoryKeys[c].label);
        CheckDlgButton(Handle(), IDC_LOG_CATEGORY0 + c, mask_.Has(c) ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

void LogFilterDialog::OnOK() {
    for (int c = 0; c < kSwitchableCategories; ++c)
        mask_.Set(c, IsDlgButtonChecked(Handle(), IDC_LOG_CATEGORY0 + c) == BST_CHECKED);
    StoreCategoryMask(section_, mask_);
    End(IDOK);
}

}  // namespace kvo
