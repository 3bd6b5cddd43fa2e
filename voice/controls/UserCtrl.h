// The User control: a step whose behaviour host code supplies in its Enter
// handler (GotoNode, GotoControl or TakeCall). It offers one run-time value,
// "Value", per channel.
#pragma once
#include <array>
#include <mutex>
#include <string>

#include "CallFlowControl.h"
#include "Redirection.h"

namespace kvo {

class CUserCtrl : public CCallFlowControl {
public:
    CUserCtrl();

    // Only the host's Enter handler chooses: nothing chosen leaves -5.
    bool Run(int line, short destInput, short& exit, Vertex*& next) override;

    std::optional<std::string> GetValueName(int line, int index) const override;
    std::optional<std::string> GetValueText(int line, int index) const override;
    void SetValueText(int line, std::string_view text, int index) override;

private:
    mutable std::mutex lock_;
    std::array<std::string, kMaxLines> values_;
};

}  // namespace kvo
