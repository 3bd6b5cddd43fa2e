#include "DigitPattern.h"

#include "References.h"

namespace kvo {
namespace {

bool KeyMatches(char pattern, char key) {
    if (pattern == '?') return true;
    if (pattern == 'n') return key >= '0' && key <= '9';
    return pattern == key;
}

// The bounds compare as text, so only digit keys may take part: "15#" would
// otherwise sort between 100 and 199.
bool MatchRange(std::string_view digits, std::string_view pattern) {
    const std::size_t dash = pattern.find('-');
    const std::string_view min = pattern.substr(0, dash), max = pattern.substr(dash + 1);
    if (min.size() != max.size() || digits.size() != min.size()) return false;
    for (char key : digits)
        if (key < '0' || key > '9') return false;
    return min <= digits && digits <= max;
}

bool MatchFixed(std::string_view digits, std::string_view pattern) {
    if (pattern.size() != digits.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (!KeyMatches(pattern[i], digits[i])) return false;
    return true;
}

// Left of the first "$" matches from the start. The rest (any further "$"
// ignored) matches from the end, where keys may be skipped only until its
// first character has matched; so "1$2" accepts "123".
bool MatchWild(std::string_view digits, std::string_view pattern) {
    const std::size_t dollar = pattern.find('$');
    const std::string_view head = pattern.substr(0, dollar), tail = pattern.substr(dollar + 1);
    std::size_t tailKeys = 0;
    for (char c : tail)
        if (c != '$') ++tailKeys;
    if (head.size() + tailKeys > digits.size()) return false;
    for (std::size_t i = 0; i < head.size(); ++i)
        if (!KeyMatches(head[i], digits[i])) return false;

    std::size_t end = digits.size();  // keys [head.size(), end) are still unmatched
    bool matched = false;
    for (auto p = tail.rbegin(); p != tail.rend(); ++p) {
        if (*p == '$') continue;
        for (;;) {
            if (end == head.size()) return false;
            --end;
            if (KeyMatches(*p, digits[end])) break;
            if (matched) return false;
        }
        matched = true;
    }
    return true;
}

}  // namespace

bool MatchPattern(std::string_view digits, std::string_view pattern) {
    if (digits.empty()) return false;
    if (IsRangePattern(pattern)) return MatchRange(digits, pattern);
    if (pattern.find('$') != std::string_view::npos) return MatchWild(digits, pattern);
    return MatchFixed(digits, pattern);
}

ConditionMatch MatchCondition(std::string_view digits, std::string_view data, const ReferenceResolver& resolve) {
    if (!HasReference(data)) return MatchPattern(digits, data) ? ConditionMatch::Match : ConditionMatch::NoMatch;
    const std::optional<std::string> pattern = resolve ? resolve(data) : std::nullopt;
    if (!pattern) return ConditionMatch::SubstitutionFailed;
    return MatchPattern(digits, *pattern) ? ConditionMatch::Match : ConditionMatch::NoMatch;
}

}  // namespace kvo
