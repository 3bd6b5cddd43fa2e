// Tests wait on the condition they need, with a deadline, never for a fixed
// time: a loaded machine makes every fixed time wrong sooner or later.
#pragma once
#include <windows.h>
#include <functional>

namespace fw::testing {

// Pumps this thread's messages until `done` holds or `ms` have passed; the
// last answer of `done`. Pumping keeps windows of this thread answering
// while the test waits for another process or thread.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000);

// Pumps this thread's messages for `ms`: only for proving that something
// does NOT happen within that time, never before an assertion that it did.
void PumpFor(DWORD ms);

}  // namespace fw::testing
