// The value prompt dialog (see ValuePromptDialog.h).
#include "ValuePromptDialog.h"

#include "KvoResource.h"
#include "fw/ole/Server.h"

namespace kvo {

CValuePromptDialog::CValuePromptDialog(std::string prompt)
    : Dialog(fw::ole::Server::Module(), IDD_VALUE_PROMPT), prompt_(std::move(prompt)) {}

std::optional<std::string> CValuePromptDialog::Ask(HWND owner) {
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (top == GetDesktopWindow() || (top && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD))) top = nullptr;
    if (DoModal(top) != IDOK) return std::nullopt;
    return entered_;
}

BOOL CValuePromptDialog::OnInitDialog() {
    SetItemText(IDC_VALUE_PROMPT_TEXT, prompt_);
    return TRUE;
}

void CValuePromptDialog::OnOK() {
    entered_ = ItemText(IDC_VALUE_PROMPT_EDIT);
    End(IDOK);
}

}  // namespace kvo
