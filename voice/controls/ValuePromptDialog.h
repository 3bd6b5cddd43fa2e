// The Frame's value prompt: one line of text, an edit field, OK, Cancel
// and Help. OK answers the entered text, Cancel nothing.
#pragma once
#include <optional>
#include <string>

#include "fw/Window.h"

namespace kvo {

class CValuePromptDialog : public fw::Dialog {
public:
    explicit CValuePromptDialog(std::string prompt);
    // Modal for `owner`'s top-level window.
    std::optional<std::string> Ask(HWND owner);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string prompt_;
    std::string entered_;
};

}  // namespace kvo
