// The User control (see UserCtrl.h).
#include "UserCtrl.h"

#include "kvo32.h"

namespace kvo {

namespace {
// Two inputs: the second lets a flow come back into the step.
const CCallFlowControl::Kind kUser{CLSID_User, DIID__DUser, DIID__DUserEvents, "User", 1, 2};
}  // namespace

CUserCtrl::CUserCtrl() : CCallFlowControl(kUser) {}

bool CUserCtrl::Run(int line, short, short& exit, Vertex*& next) {
    EnterStep(line, exit, next);
    return true;
}

std::optional<std::string> CUserCtrl::GetValueName(int, int index) const {
    return index == 0 ? std::optional<std::string>("Value") : std::nullopt;
}

std::optional<std::string> CUserCtrl::GetValueText(int line, int index) const {
    if (index != 0 || line < 0 || line >= kMaxLines) return std::nullopt;
    std::lock_guard guard(lock_);
    return values_[size_t(line)];
}

void CUserCtrl::SetValueText(int line, std::string_view text, int index) {
    if (index != 0 || line < 0 || line >= kMaxLines) return;
    {
        std::lock_guard guard(lock_);
        values_[size_t(line)] = text;
    }
    MarkValueReady(index);
}

}  // namespace kvo
