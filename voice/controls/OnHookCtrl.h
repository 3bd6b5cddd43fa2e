// The OnHook control: says its entry greeting and ends the call; the
// dispatcher then hangs up with kvoControlHangup.
#pragma once
#include "VoiceControl.h"

namespace kvo {

class COnHookCtrl : public CVoiceControl {
public:
    COnHookCtrl();
    bool Run(int line, short destInput, short& exit, Vertex*& next) override;
};

}  // namespace kvo
