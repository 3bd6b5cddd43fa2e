// One simulated telephone line: the scripted callers of its scenario played
// against the operations the runtime asks for, on real time scaled by the
// scenario's speed. Every operation may run on its own thread; Stop may come
// from any thread while another one blocks on the line.
#pragma once
#include <windows.h>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include "Scenario.h"

namespace voicecard {

class SimLine {
public:
    using Journal = std::function<void(const std::string&)>;
    SimLine(LineScript script, int speed, Journal journal);

    LONG WaitForRing(LONG rings);
    LONG RefuseCall();
    LONG OffHook();
    LONG OnHook();
    LONG Initialise();
    LONG Seize();
    LONG Release();
    LONG IsOffHook();
    LONG LoopCurrent();
    LONG WaitForDialTone();
    LONG CallString(const char* number, LONG mode);
    LONG DialString(const char* number);
    LONG Play(HANDLE data, LONG length, const LONG* params);
    LONG Record(const LONG* params);
    LONG Delay(LONG seconds, LONG mask, LONG flag);
    LONG ClearQueue();
    LONG GetDigits(const LONG* request, char* buffer);
    LONG GetDigit(char* digit);
    LONG Stop();

    // An injected result for `exportName`, if the scenario has one left.
    std::optional<LONG> TakeFailure(const std::string& exportName);

private:
    using Clock = std::chrono::steady_clock;
    using Lock = std::unique_lock<std::mutex>;

    Clock::time_point After(Clock::time_point from, int64_t scenarioMs) const;
    void StartCall(const CallerScript& caller);
    void EndCall();
    void Pump();                      // moves keys whose time has come into the queue
    bool HungUp() const;
    std::optional<Clock::time_point> NextEvent() const;
    // A wait check for Block: `result` once a key of `mask` is queued.
    std::function<std::optional<LONG>()> KeyEnds(LONG mask, LONG result) const;
    // Waits until `check` gives a result, the deadline passes (`onDeadline`),
    // the caller hangs up (16) or Stop is called (18). A non-empty `begin` is
    // journalled as "begin <begin>" once Stop would reach this wait.
    LONG Block(Lock& lock, const std::string& begin, std::optional<Clock::time_point> deadline, LONG onDeadline,
               const std::function<std::optional<LONG>()>& check);
    void Note(const std::string& text) { journal_(text); }

    std::mutex m_;
    std::condition_variable cv_;
    LineScript script_;
    int speed_;
    Journal journal_;
    size_t nextCall_ = 0;
    int blocking_ = 0;
    bool stopRequested_ = false;
    bool ringing_ = false;
    bool offHook_ = false;
    bool active_ = false;             // a caller is on the line
    CallerScript caller_;
    size_t nextKey_ = 0;
    Clock::time_point callStart_;
    std::deque<char> queue_;
};

// Bit of a key in a termination mask: 0 is 1024, 1..9 are 2..512, * 2048,
// # 4096, A..C 8192..32768, D 1.
LONG KeyBit(char key);

}  // namespace voicecard
