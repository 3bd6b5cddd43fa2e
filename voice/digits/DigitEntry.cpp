#include "DigitEntry.h"

#include "DigitMask.h"
#include "VoiceRules.h"

namespace kvo {

void TrimTerminator(std::string& digits, long termDtmf, const DigitRules& rules) {
    if (digits.empty()) return;
    const long bit = DigitMaskOf(digits.back());
    const long ending = (termDtmf == kNoTerminationKey ? 0 : termDtmf) | rules.rangeTermMask;
    if (bit & ending) digits.pop_back();
}

ExitChoice ChooseExit(std::string& digits, const DigitSettings& settings, const DigitRules& rules,
                      const ReferenceResolver& resolve, const HostDecision& decide) {
    if (digits.empty()) return {false, kExitNoDigits};
    TrimTerminator(digits, settings.termDtmf, rules);
    int node = FirstConditionNode(settings.useDefaultError);
    for (const DigitCondition& c : settings.conditions) {
        if (c.useVB) {
            if (decide) {
                if (const std::optional<int> chosen = decide(node)) return {false, *chosen};
            }
        } else {
            switch (MatchCondition(digits, c.data, resolve)) {
            case ConditionMatch::Match: return {false, node};
            case ConditionMatch::SubstitutionFailed: return {true, kExitInvalid};
            case ConditionMatch::NoMatch: break;
            }
        }
        ++node;
    }
    return {false, kExitInvalid};
}

}  // namespace kvo
