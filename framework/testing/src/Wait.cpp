#include "fw/testing/Wait.h"

#include <algorithm>

namespace fw::testing {

namespace {
void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (done()) return true;
        const DWORD spent = GetTickCount() - start;
        if (spent >= ms) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(10, ms - spent), QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

}  // namespace fw::testing
