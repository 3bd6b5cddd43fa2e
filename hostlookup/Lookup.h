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

// What one control and the worker of its current lookup both reach. The
// worker holds its own reference, so a control may go away mid-lookup.
struct LookupState {
    std::atomic<short> errorNumber{0};
    std::atomic<short> currentState{0};
    // Completion goes to this window; null once the control is closing.
    std::atomic<HWND> window{nullptr};

    std::mutex mutex;  // guards the strings and the pending event
    std::string result;
    bool eventPending = false;
    std::string eventResult;
    short eventError = 0;
};

struct LookupOutcome {
    std::string result;
    short error = 0;
};

// Both take the input and report progress through `state` (CurrentState).
using Resolver = LookupOutcome (*)(const std::string& input, std::atomic<short>& state);
LookupOutcome ResolveAddress(const std::string& hostName, std::atomic<short>& state);
LookupOutcome ResolveName(const std::string& dottedAddress, std::atomic<short>& state);

// One whole lookup: clears the fields, resolves, stores the outcome, marks
// the event pending and sends WM_TIMER 1 to the control's window, which
// fires the event on the window's thread before this returns.
void RunLookup(LookupState& state, const std::string& input, Resolver resolve);

}  // namespace lurrin
