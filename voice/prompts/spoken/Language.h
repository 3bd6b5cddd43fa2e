// The language a channel speaks in: the rules for numbers, the date order,
// the clock, the folder its prompt files come from, and the Language control
// that may speak system phrases itself. A channel points at one record; the
// system owns the default one.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace kvo {

class LanguageEvents;

enum DateOrder : int { kDdMmYy = 0, kYyMmDd = 1, kYyDdMm = 2, kMmDdYy = 3 };
enum TimeFormat : int { kvoTime12 = 0, kvoTime24 = 1 };
enum LanguageId : int { kvoEnglish = 0, kvoFrench = 1, kvoItalian = 2 };

// Rule flags.
constexpr std::uint32_t kRuleEnglish = 1;        // marks the English rules, changes nothing
constexpr std::uint32_t kRuleSingle21To99 = 2;   // 21-99 from "kvo_num.vap" / "kvo_ord.vap"
constexpr std::uint32_t kRuleGender = 4;         // "one" and "first" have gender forms
constexpr std::uint32_t kRuleAndOne = 8;         // tens ending in 1 are single clips
constexpr std::uint32_t kRuleSingleOne = 16;     // one hundred/thousand/million/billion single clips
constexpr std::uint32_t kRuleScore = 32;         // 70-79, 90-99 as 60 + 10-19, 80 + 10-19

// The rule flags of a Language control's `LanguageId`; English rules for an
// unknown id.
std::uint32_t RuleFlagsOf(int languageId);

struct LanguageSettings {
    std::string name;
    int dateOrder = kDdMmYy;
    std::uint32_t ruleFlags = kRuleEnglish;
    int timeFormat = kvoTime12;
    std::string directory;
    LanguageEvents* control = nullptr;  // fires the phrase events; null for the default record
    std::uint32_t eventMask = 0;        // bit (1 << kind): ask program code first

    bool Has(std::uint32_t rule) const { return (ruleFlags & rule) != 0; }
};

// The system's record from the frame's settings. The frame's `LanguageId`
// goes through the same table as a Language control's: taken as flags, a
// French frame would have had English rules and an Italian one rule 2.
LanguageSettings DefaultLanguage(int timeFormat, int dateOrder, int languageId, const std::string& voiceDirectory);

// Which record each of the 256 channel slots speaks with.
class LanguageSlots {
public:
    static constexpr int kSlots = 256;
    explicit LanguageSlots(const LanguageSettings* fallback) : default_(fallback) { slots_.fill(fallback); }
    const LanguageSettings& For(int channel) const;
    // A channel outside the slots keeps the default.
    void Set(int channel, const LanguageSettings* language);
    // A new voice directory puts every channel back on the default record.
    void ResetAll() { slots_.fill(default_); }

private:
    const LanguageSettings* default_;
    std::array<const LanguageSettings*, kSlots> slots_;
};

}  // namespace kvo
