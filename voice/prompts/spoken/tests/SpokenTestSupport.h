// Helpers of the spoken-value tests: clip lists as short text ("1 28 51 15";
// "n5" is clip 5 of "kvo_num.vap", "o5" of "kvo_ord.vap"), the three
// languages, and a channel log that keeps the text of every record.
#pragma once
#include <string>
#include <vector>

#include "LogText.h"
#include "SpokenValues.h"

namespace spokentest {

inline std::string Text(const kvo::ClipList& clips) {
    std::string s;
    for (const kvo::Clip& c : clips) {
        if (!s.empty()) s += ' ';
        if (c.file == kvo::VoiceFile::Numbers) s += 'n';
        if (c.file == kvo::VoiceFile::Ordinals) s += 'o';
        s += std::to_string(c.index);
    }
    return s;
}

inline kvo::LanguageSettings Language(std::uint32_t rules, int order = kvo::kDdMmYy, int time = kvo::kvoTime12) {
    kvo::LanguageSettings l;
    l.ruleFlags = rules;
    l.dateOrder = order;
    l.timeFormat = time;
    return l;
}
inline const kvo::LanguageSettings kEnglish = Language(kvo::RuleFlagsOf(kvo::kvoEnglish));
inline const kvo::LanguageSettings kFrench = Language(kvo::RuleFlagsOf(kvo::kvoFrench));
inline const kvo::LanguageSettings kItalian = Language(kvo::RuleFlagsOf(kvo::kvoItalian));

class RecordingLog : public kvo::SpokenLog {
public:
    void Write(std::int32_t kind, std::initializer_list<kvo::LogValue> values) override {
        const auto record = kvo::MakeLogRecord(0, kind, values);
        lines.push_back(std::to_string(kind) + ": " + (record ? kvo::LogMessageText(*record) : "?"));
    }
    std::vector<std::string> lines;
};

}  // namespace spokentest
