// Scripted telephone lines for the simulated voice card: what each caller
// does and what each dialled number answers. Times are milliseconds of
// scenario time; the driver divides them by the scenario's speed factor.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace voicecard {

struct KeyPress {
    int64_t at = 0;   // after the call was answered
    char key = 0;
};

// What the far end of a call does once it is connected.
struct CallerScript {
    std::vector<KeyPress> keys;            // sorted by time
    std::optional<int64_t> hangupAt;       // after answer; 0 = already gone
};

struct IncomingCall {
    int64_t ringAfter = 0;                 // after the line starts waiting
    bool connected = false;                // arrives already connected
    CallerScript caller;
};

struct DialRule {
    std::string number;                    // "*" matches any number
    int result = 32;                       // call-progress result
    int64_t after = 0;                     // time the analysis takes
    CallerScript caller;                   // far end, when the result is 32
};

struct LineScript {
    std::vector<IncomingCall> calls;       // in arrival order
    std::vector<DialRule> dials;
    bool dialTone = true;
    std::map<std::string, std::vector<int>> failures;  // export name -> results, in order
    std::map<std::string, std::vector<int64_t>> pauses; // export name -> busy times before it acts, in order
};

struct Scenario {
    int channels = 4;
    int speed = 1;                         // scenario ms per real ms
    std::map<int, LineScript> lines;
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Parses the scenario text; on failure returns nothing and fills `error`.
std::optional<Scenario> ParseScenario(std::string_view text, ParseError& error);

// The result the dial rules give `number` (exact match before "*").
const DialRule* FindDialRule(const LineScript& line, std::string_view number);

}  // namespace voicecard
