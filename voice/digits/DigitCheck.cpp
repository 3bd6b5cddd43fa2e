#include "DigitCheck.h"

#include <algorithm>
#include <cstdio>

#include "DigitMask.h"
#include "DigitPattern.h"
#include "References.h"
#include "VoiceRules.h"

namespace kvo {

int FirstConditionNode(bool useDefaultError) { return useDefaultError ? 0 : 2; }

std::string DigitNodeName(const DigitSettings& settings, int node) {
    if (!settings.useDefaultError && node == 0) return "No Digits";
    if (!settings.useDefaultError && node == 1) return "Invalid Digits";
    const int i = node - FirstConditionNode(settings.useDefaultError);
    if (node < 0 || i < 0 || i >= static_cast<int>(settings.conditions.size())) return {};
    return settings.conditions[i].name;
}

namespace {

enum HelpTopic {
    kHelpInfo = 1118,
    kHelpUnknownControl = 1399,
    kHelpSelfLoop = 1409,
    kHelpNoTermination = 1410,
    kHelpSilenceEnds = 1411,
    kHelpMaxKeysTooSmall = 1412,
    kHelpNoSilenceTimeout = 1427,
    kHelpHelpDisabled = 1490,
};

bool IsDefaultHandler(std::string_view name) { return name.empty() || name == "[Default]"; }

void ReportMaxKeysTooSmall(CheckReport& report, const DigitCondition& c) {
    report.Add(Severity::Error, "max keys too small for node " + c.name, kHelpMaxKeysTooSmall);
}

// Ranges hold plain digits. Names inside a reference are not wild
// characters: a reference has a text of its own, and bounds that hold one
// have no length to compare.
void CheckRange(const DigitCondition& c, long maxKeys, CheckReport& report) {
    const std::string_view p = c.data;
    const std::size_t dash = p.find('-');
    bool wild = false, inReference = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '%') inReference = !inReference;
        else if (!inReference && i != dash && !(p[i] >= '0' && p[i] <= '9')) wild = true;
    }
    if (wild) report.Add(Severity::Error, "cannot use wild chars in range", 0);
    if (HasReference(p)) {
        report.Add(Severity::Error, "cannot use control names in range", 0);
        return;
    }
    const std::size_t minDigits = dash, maxDigits = p.size() - dash - 1;
    if (minDigits != maxDigits)
        report.Add(Severity::Error, "range min and max must have the same number of digits", 0);
    else if (maxKeys != 0 && maxKeys < static_cast<long>(minDigits))
        ReportMaxKeysTooSmall(report, c);
}

// Every reference must name a control (or this / channel); an open percent
// sign names none.
bool ReferencesResolve(std::string_view pattern, DigitCheckContext& context) {
    const auto pieces = SplitReferences(pattern);
    if (!pieces) return false;
    for (const TextPiece& piece : *pieces) {
        if (!piece.reference) continue;
        const std::string_view control = SplitToken(piece.text).control;
        if (IsThisReference(control) || IsChannelReference(control)) continue;
        if (!context.ControlExists(control)) return false;
    }
    return true;
}

// Keys that, typed before the last key of a fixed pattern, must not end
// collection.
long KeysBeforeLast(std::string_view pattern) {
    long keys = 0;
    for (std::size_t i = 0; i + 1 < pattern.size(); ++i) {
        if (pattern[i] == '?') keys |= kvoDigit_All;
        else if (pattern[i] == 'n') keys |= kDigitKeysMask;
        else keys |= DigitMaskOf(pattern[i]);
    }
    return keys;
}

}  // namespace

DigitRules CheckDigitSettings(const DigitSettings& s, DigitCheckContext& context, CheckReport& report) {
    if (!s.useDefaultError) {
        for (int node : {0, 1})
            if (context.NodeLeadsBackHere(node))
                report.Add(Severity::Error,
                           "node " + DigitNodeName(s, node) + " connected to input on same control", kHelpSelfLoop);
    }
    if (s.disableHelp && !IsDefaultHandler(s.helpdigitControl))
        report.Add(Severity::Warning, "Help digit handler specified, but help digit is disabled",
                   kHelpHelpDisabled);

    // 0 and the special value both leave collection without a termination key.
    const long termKeys = s.termDtmf == kNoTerminationKey ? 0 : s.termDtmf;
    long mask = 0, maxKeys = 0, excluded = 0;
    bool wildcard = false, range = false;
    for (const DigitCondition& c : s.conditions) {
        if (c.useVB) {
            wildcard = true;
            continue;
        }
        const std::string_view p = c.data;
        if (IsRangePattern(p)) {
            range = true;
            CheckRange(c, s.maxKeys, report);
            continue;
        }
        const long length = static_cast<long>(p.size());
        const bool dollar = p.find('$') != std::string_view::npos, reference = HasReference(p);
        if (!p.empty() && p.back() != '$' && p.back() != '?' && p.back() != 'n') mask |= DigitMaskOf(p.back());
        if (!p.empty() && p.back() == '$' && s.maxKeys == 0) {
            if (s.maxSil == 0 && termKeys == 0)
                report.Add(Severity::Error, "no valid termination specified", kHelpNoTermination);
            else if (s.maxSil != 0 && s.termDtmf != kNoTerminationKey)
                report.Add(Severity::Warning, "digit collection will terminate on silence", kHelpSilenceEnds);
        }
        if (dollar) {
            wildcard = true;
            if (s.maxKeys != 0 && s.maxKeys < length - 1) ReportMaxKeysTooSmall(report, c);
        }
        if (reference) {
            wildcard = true;
            if (!ReferencesResolve(p, context))
                report.Add(Severity::Error, "unknown control name in digit mask " + c.data,
                           kHelpUnknownControl);
        }
        if (!dollar && !reference) {
            maxKeys = std::max(maxKeys, length);
            if (s.maxKeys != 0 && s.maxKeys < length) ReportMaxKeysTooSmall(report, c);
        }
        if (!wildcard) excluded |= KeysBeforeLast(p);
    }

    DigitRules rules;
    long rangeKeys = 0;
    if (wildcard) {
        mask = 0;
        maxKeys = s.maxKeys;
    } else {
        if (range) {
            rangeKeys = (kvoDigit_S | kvoDigit_N) & ~mask;  // not already the last key of a pattern
            mask |= kvoDigit_S | kvoDigit_N;
        }
        maxKeys = std::max(maxKeys, s.maxKeys);
    }
    rules.mask = (mask & ~excluded) | termKeys;
    rules.maxKeys = maxKeys;
    rules.rangeTermMask = rangeKeys & ~excluded;

    if (rules.maxKeys > 1 && s.maxSil == 0)
        report.Add(Severity::Warning, "no silence timeout but max digits > 1", kHelpNoSilenceTimeout);
    char info[96];
    std::snprintf(info, sizeof info, "dtmf termination mask %lx max keys %li sil time %li",
                  static_cast<unsigned long>(rules.mask), rules.maxKeys, s.maxSil);
    report.Add(Severity::Info, info, kHelpInfo);
    return rules;
}

}  // namespace kvo
