// What one attempt of GetDigits makes of the keys the caller typed: the key
// that only ended collection is dropped, then the conditions are tried in
// order.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DigitCheck.h"
#include "DigitPattern.h"
#include "Graph.h"

namespace kvo {

// Exits of an attempt that matched no condition: the graph's special exits.
constexpr int kExitNoDigits = kExitSilence;

// Drops the final key when it only ended collection: a key of the
// termination mask (unless that is the special "none" value), or a "*" or
// "#" that only the range rule made a terminator.
void TrimTerminator(std::string& digits, long termDtmf, const DigitRules& rules);

// Fires the Condition event for a host-decided condition's node and gives
// the node the host left when it accepted, nullopt when it refused.
using HostDecision = std::function<std::optional<int>(int node)>;

struct ExitChoice {
    bool substitutionFailed = false;  // a reference in a pattern could not be resolved
    int node = kExitInvalid;
};

// One attempt: no keys give kExitNoDigits; `digits` (the line's collected
// keys) loses its terminator; then the first matching condition names the
// exit, none gives kExitInvalid. The node a host leaves is passed on as it
// is: whoever follows it checks it against the node list.
ExitChoice ChooseExit(std::string& digits, const DigitSettings& settings, const DigitRules& rules,
                      const ReferenceResolver& resolve, const HostDecision& decide);

}  // namespace kvo
