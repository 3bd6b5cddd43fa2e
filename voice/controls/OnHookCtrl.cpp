// The OnHook control (see OnHookCtrl.h).
#include "OnHookCtrl.h"

#include "GreetingPlayer.h"
#include "kvo32.h"

namespace kvo {

namespace {
const CCallFlowControl::Kind kOnHook{CLSID_OnHook, DIID__DOnHook, DIID__DOnHookEvents, "OnHook", 0, 1};
}  // namespace

COnHookCtrl::COnHookCtrl() : CVoiceControl(kOnHook) {}

bool COnHookCtrl::Run(int line, short, short& exit, Vertex*& next) {
    if (EnterStep(line, exit, next)) return true;
    PlaySequence list(line, this);
    int count = 0;
    SpeakGreeting(line, EntryGreeting(), this, list, count);
    exit = kExitHangup;
    return true;
}

}  // namespace kvo
