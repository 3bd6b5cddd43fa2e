#include "Language.h"

#include "Clips.h"

namespace kvo {

const char* VoiceFileName(VoiceFile file) {
    switch (file) {
    case VoiceFile::Numbers: return "kvo_num.vap";
    case VoiceFile::Ordinals: return "kvo_ord.vap";
    case VoiceFile::Kavoro: break;
    }
    return "kavoro.vap";
}

std::uint32_t RuleFlagsOf(int languageId) {
    switch (languageId) {
    case kvoFrench: return kRuleAndOne | kRuleSingleOne | kRuleScore;
    case kvoItalian: return kRuleGender | kRuleSingleOne;
    default: return kRuleEnglish;
    }
}

LanguageSettings DefaultLanguage(int timeFormat, int dateOrder, int languageId, const std::string& voiceDirectory) {
    LanguageSettings language;
    language.name = "default";
    language.timeFormat = timeFormat;
    language.dateOrder = dateOrder;
    language.ruleFlags = RuleFlagsOf(languageId);
    language.directory = voiceDirectory;
    return language;
}

const LanguageSettings& LanguageSlots::For(int channel) const {
    return channel >= 0 && channel < kSlots ? *slots_[channel] : *default_;
}

void LanguageSlots::Set(int channel, const LanguageSettings* language) {
    if (channel >= 0 && channel < kSlots) slots_[channel] = language ? language : default_;
}

}  // namespace kvo
