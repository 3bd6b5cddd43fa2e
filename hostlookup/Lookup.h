// The lookup steps of both controls over WinSock 1.1, and the state a
// control shares with its worker thread.
#pragma once
#include <windows.h>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace lurrin {

enum : short {
    kStateStarted = 1,
    kStateResolving = 2,
    kStateFinished = 5,
    kErrorNotDotted = 25,
    kErrorBusy = 11000,
};

struct LookupOutcome {
    std::string result;
    short error = 0;
};

// What one control and the worker of its current lookup both reach. The
// worker holds its own reference, so a control may go away mid-lookup.
// ErrorNumber and the result are written on the control's thread only (at
// the start and in the completion handler), so a request refused meanwhile
// cannot be overwritten by, or overwrite, the running lookup's answer.
struct LookupState {
    std::atomic<short> errorNumber{0};
    std::atomic<short> currentState{0};  // the worker reports progress here
    std::string result;
    // From the start of a lookup until its End event handler has returned;
    // written on the control's thread only. The worker thread may outlive
    // this by a little, so its handle cannot tell.
    bool busy = false;
    // Completion goes to this window; null once the control is closing.
    std::atomic<HWND> window{nullptr};

    std::mutex mutex;  // guards the pending completion
    bool eventPending = false;
    LookupOutcome pending;
};

// Both take the input and report progress through `state` (CurrentState).
using Resolver = LookupOutcome (*)(const std::string& input, std::atomic<short>& state);
LookupOutcome ResolveAddress(const std::string& hostName, std::atomic<short>& state);
LookupOutcome ResolveName(const std::string& dottedAddress, std::atomic<short>& state);

// The start of a lookup, on the control's thread: busy, the result and
// ErrorNumber cleared, CurrentState 1.
void BeginLookup(LookupState& state);
// The rest, on any thread: resolves, marks the outcome pending and sends
// WM_TIMER 1 to the control's window, whose handler (TakeOutcome, the event,
// EndLookup) has run when this returns.
void FinishLookup(LookupState& state, const std::string& input, Resolver resolve);
// In the completion handler: the pending outcome, stored into the fields;
// false when nothing was pending.
bool TakeOutcome(LookupState& state, LookupOutcome& outcome);
// In the completion handler once the event has been handled: CurrentState 5,
// and the control takes the next request.
void EndLookup(LookupState& state);

}  // namespace lurrin
