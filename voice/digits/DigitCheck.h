// The design-time check of a GetDigits control: it reports what cannot work
// and derives from the conditions which keys end collection and how many
// keys are collected at most.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "Checks.h"

namespace kvo {

struct DigitCondition {
    std::string name;  // the exit node's name
    std::string data;  // the digit pattern
    bool useVB = false;  // the host decides through the Condition event
};

// The design data the check reads (the host properties' names in comments).
struct DigitSettings {
    std::vector<DigitCondition> conditions;
    long maxKeys = 0;            // IMaxKeys; 0 = no maximum
    long maxSil = 3;             // IMaxSil
    long termDtmf = 0;           // ITermDtmf
    bool useDefaultError = true;
    bool disableHelp = true;
    std::string helpdigitControl = "[Default]";
};

// Exit nodes: with own error exits ("No Digits", "Invalid Digits") the
// conditions start at node 2, else at node 0.
int FirstConditionNode(bool useDefaultError);
// Name of exit node `node`; empty outside the node list.
std::string DigitNodeName(const DigitSettings& settings, int node);

// What the check asks of the form around the control.
class DigitCheckContext {
public:
    virtual ~DigitCheckContext() = default;
    // A call-flow control or Frame of exactly this name exists.
    virtual bool ControlExists(std::string_view name) = 0;
    // Exit node `node` is connected back to this control's own input.
    virtual bool NodeLeadsBackHere(int node) = 0;
};

// Derived collection rules, ready for every line once the check has run.
struct DigitRules {
    long mask = 0;     // effective termination mask
    long maxKeys = 0;  // effective maximum number of keys, 0 = none
    // "*" and "#" as far as only the range rule made them end collection:
    // such a final key is no part of the entry.
    long rangeTermMask = 0;
};

// Runs the check in its fixed order and gives the derived rules. The
// greetings are checked by the caller first (they are greeting objects).
DigitRules CheckDigitSettings(const DigitSettings& settings, DigitCheckContext& context, CheckReport& report);

}  // namespace kvo
