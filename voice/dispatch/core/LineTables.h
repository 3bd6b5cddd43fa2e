// The dispatcher's rules that need no Win32: the line status texts, the
// order in which a start is refused, the lines a LineGroup's text names and
// the call duration shown for a line.
#pragma once
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace kvo {

constexpr int kDispatchLines = 48;

enum LineStatus : int {
    kStatusIdle = 0,
    kStatusPlaying = 1,
    kStatusWaitingForDigits = 2,
    kStatusRecording = 3,
    kStatusPlayingDelay = 4,
    kStatusDialling = 5,
    kStatusUnexpectedEvent = 6,
    kStatusDelay = 7,
    kStatusStoppedError = 8,
    kStatusStopped = 9,
    kStatusCallerHungUp = 10,
    kStatusStoppedCallerHungUp = 11,
    kStatusStoppedCallComplete = 12,
    kStatusPrecallDelay = 13,
    kStatusWaitingForRing = 14,
    kStatusInterCallDelay = 15,
    kStatusWaitingForShutdown = 16,
    kStatusWaitingForDialtone = 17,
    kStatusWaitingForChannelStop = 18,
    kStatusInConference = 19,
    kStatusGettingConferenceDigit = 20,
    kStatusStoppedMaxErrors = 21,
    kStatusStoppedNoConnection = 22,
    kStatusPausedWaitingForDigit = 23,
    kStatusCount = 24,
};

// The plain text of a status; empty for codes outside the table.
std::string_view LineStatusName(int code);
// What the status window shows: the plain text, with the argument appended
// ("%s %s") only for playing and recording and only when one is given.
std::string LineStatusDisplay(int code, std::string_view argument);

// StartSystem's refusals, checked in this order; 0 when none applies.
struct StartConditions {
    bool testMode = false;
    bool started = false;
    bool hasFrame = true;
    bool runMode = true;
};
int StartRefusal(const StartConditions& c);

// The channels (0-based) named by a LinesInGroup text: numbers 1..48
// separated by any non-digits, "a-b" a range; numbers outside are ignored.
using LineSet = std::bitset<kDispatchLines>;
LineSet ParseLinesInGroup(std::string_view text);

// "%lis" below a minute, else "%lim:%lis".
std::string FormatCallDuration(long seconds);

// Whether the status window counts a line's call and control times: not
// while the line is idle, waits for a ring, sits in a delay before or
// between calls, or waits for the system to stop.
bool StatusShowsTimes(int code);

// The state named in the status window's caption.
enum class SystemState { Stopped, Started, Stopping };
const char* SystemStateText(SystemState state);

// The key named by the lowest set bit of a help-digit mask, searched as
// 0-9, *, #; 0 when no bit names a key.
char HelpDigitKey(long mask);

}  // namespace kvo
