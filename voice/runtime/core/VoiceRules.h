// Rules of the voice interface that need no driver: what a driver result
// means for each operation, the pending-digit shortcut, and how a play list
// is walked.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kvo {

// Results of the driver's entry points (VoiceResultCode).
enum VoiceResultCode : long {
    kvoDone = 0,
    kvoFailedOrText = 1,      // the runtime's own "could not play" (text segment)
    kvoTermDigit = 9,
    kvoDigitEnd = 10,
    kvoTimeout = 12,
    kvoRecordEnd = 14,
    kvoHangup = 16,
    kvoStopped = 18,
    kvoNoDialTone = 27,
    kvoFastBusy = 28,
    kvoBusy = 29,
    kvoNoAnswer = 30,
    kvoNoRing = 31,
    kvoConnected = 32,
    kvoIntercept = 33,
};

// Error type of a ControlErrorException raised for a driver result.
constexpr long ErrorTypeVoiceCard = 34;

// Digit-mask bit of a key as the runtime knows keys: '0'-'9', '*', '#'.
// Any other character is no key (0).
long DigitMaskOf(char key);

// Before play, record, delay and digit collection: does a digit typed during
// the previous operation end this one at once? 0 no, 10 one key was wanted,
// 9 the digit is in the termination mask.
long PendingDigitOutcome(char pending, long maxKeys, long termMask);

enum class VoiceOp { OffHook, OnHook, WaitForDialTone, DialString, CallString, Delay, Play, Record,
                     GetDigits, WaitForRing, GetDigit };

// What the standard checks make of a driver result.
struct Verdict {
    enum Kind { Return, Shutdown, Hangup, Error } kind;
    long value;   // the result to return, or the error data
};
Verdict CheckResult(VoiceOp op, long result, bool shutdownRequested);

// One item of a play list: voice data in an open file, or text to speak.
struct PlaySegment {
    enum Kind { Data = 0, Text = 1 } kind = Data;
    std::intptr_t file = 0;   // the play list's open file
    long offset = 0;
    long length = 0;
    std::string text;
};

// Plays the segments in order through `playData` and gives the result of the
// last one played. A segment that does not play to its end (a key, hang-up,
// stop or failure) ends the list with its result; a text segment calls
// `onText` and ends the list with 1; an empty list gives 0.
long RunPlayList(const std::vector<PlaySegment>& list,
                 const std::function<long(const PlaySegment&)>& playData,
                 const std::function<void(const PlaySegment&)>& onText);

}  // namespace kvo
