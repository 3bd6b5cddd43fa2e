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
    // A copy: the user interface may edit the greeting while the line plays.
    const GreetingData entry = EntryGreeting().Data();
    if (EnterStep(line, exit, next)) return true;
    PlayWaveGreeting(line, entry);
    exit = kExitHangup;
    return true;
}

}  // namespace kvo
