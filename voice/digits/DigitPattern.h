// The digit-pattern language of GetDigits conditions and the matching of
// collected keys against a pattern:
//   a key matches itself, "?" any one key, "n" any of "0"-"9",
//   "$" zero or more keys, "min-max" a numeric range of equal-length bounds,
//   "%name.value%" a reference resolved when the pattern is used.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kvo {

inline bool IsRangePattern(std::string_view pattern) { return pattern.find('-') != std::string_view::npos; }

// Does the pattern (references already resolved) accept the keys? An empty
// entry matches nothing.
bool MatchPattern(std::string_view digits, std::string_view pattern);

enum class ConditionMatch { NoMatch, Match, SubstitutionFailed };

// Resolves the references of a pattern for the line; nullopt when that fails
// (the runtime has logged why).
using ReferenceResolver = std::function<std::optional<std::string>(std::string_view pattern)>;

// A condition's data against the keys: references are resolved first, and a
// failure to resolve them is the caller's control error (kErrorTypeSubstitution).
ConditionMatch MatchCondition(std::string_view digits, std::string_view data, const ReferenceResolver& resolve);

}  // namespace kvo
