#include "SystemPhrase.h"

#include <iterator>

#include "VoicePath.h"

namespace kvo {
namespace {

SystemPhraseResult From(const SpokenResult& spoken) {
    return {spoken.ok ? PhraseOutcome::Spoken : PhraseOutcome::Failed, spoken};
}

// The file phrases: open the file (logging a failure) and speak its facts.
SystemPhraseResult FilePhrase(int kind, const std::string& data1, const std::string& data2,
                              const SystemPhraseContext& c) {
    const std::string path = IsAbsoluteVoiceName(data1) ? data1 : JoinVoicePath(c.projectDirectory, data1);
    long error = 0;
    const std::optional<VoiceFileFacts::Facts> facts = c.files ? c.files->FactsOf(path, error) : std::nullopt;
    if (!facts) {
        c.log.Write(LK_FILE_OPEN_ERROR, {path.c_str(), error});
        return {PhraseOutcome::Failed, {false, kPhraseFileNotOpened, {}}};
    }
    switch (kind) {
    case kvoFileSize: return From(SayFileSize(c.language, facts->size, c.bytesPerSecond));
    case kvoFileDate: return From(SayFileDate(c.language, facts->modified, data2, c.clock));
    case kvoFileTime: return From(SayFileTime(c.language, facts->modified));
    default: break;
    }
    SpokenResult both = SayFileDate(c.language, facts->modified, data2, c.clock);
    const SpokenResult time = SayFileTime(c.language, facts->modified);
    if (!both.ok || !time.ok) return From(both.ok ? time : both);
    both.clips.insert(both.clips.end(), time.clips.begin(), time.clips.end());
    return From(both);
}

}  // namespace

int SystemPhraseDataCount(int kind) {
    static constexpr int kData[] = {1, 1, 1, 2, 1, 3, 3, 1, 1, 1, 2, 0, 1, 2, 0, 1, 2, 2, 2, 3, 1};
    return kind >= 0 && kind < int(std::size(kData)) ? kData[kind] : 0;
}

const char* LanguageEventName(int kind) {
    switch (kind) {
    case kvoFileSize: return "File_Size";
    case kvoFileDate: return "File_Date";
    case kvoFileTime: return "File_Time";
    case kvoSayNumber: return "Number";
    case kvoSayNumberShort: return "NumberShort";
    case kvoDigits: return "Digits";
    case kvoMoney: return "Money";
    case kvoFileDateTime: return "FileDateTime";
    case kvoInitialGreeting: return "InitialGreeting";
    case kvoSayTime: return "TimeV";
    case kvoSayDate: return "DateV";
    case kvoTimeNow: return "TimeNow";
    case kvoDateToday: return "DateToday";
    default: return nullptr;
    }
}

SystemPhraseResult SpeakSystemPhrase(int kind, const std::string& data1, const std::string& data2,
                                     const SystemPhraseContext& c) {
    const LanguageSettings& lang = c.language;
    if (lang.control && kind >= 0 && kind < 32 && (lang.eventMask >> kind & 1u) && LanguageEventName(kind)) {
        if (!lang.control->InRunMode()) {
            c.log.Write(LK_PHRASE_NEEDS_LANGUAGE_EVENT, {});
            return {PhraseOutcome::StopCall, {false, kPhraseNoError, {}}};
        }
        c.log.Write(LK_FIRE_LANGUAGE_EVENT, {kind});
        if (lang.control->FirePhraseEvent(kind, data1, data2) != -1) return {PhraseOutcome::Handled, {}};
    }
    switch (kind) {
    case kvoNumFiles: {
        const long count = c.files ? c.files->CountMatching(
                                         IsAbsoluteVoiceName(data1) ? data1 : JoinVoicePath(c.projectDirectory, data1))
                                   : 0;
        SpokenResult r;
        SayCardinal(lang, static_cast<std::uint64_t>(count < 0 ? 0 : count), {}, r.clips);
        return From(r);
    }
    case kvoFileSize:
    case kvoFileDate:
    case kvoFileTime:
    case kvoFileDateTime: return FilePhrase(kind, data1, data2, c);
    case kvoSayNumber: return From(SayNumber(lang, data1, data2, c.log));
    case kvoSayNumberShort: return From(SayNumberShort(lang, data1, data2, c.log));
    case kvoDigits: return From(SayDigits(data1, c.log));
    case kvoMoney: return From(SayMoney(lang, data1, c.log));
    case kvoInitialGreeting: return From(SaySalutation(c.clock.Now().hour));
    case kvoSayTime: return From(SayTime(lang, data1, c.log));
    case kvoSayDate: return From(SayDate(lang, data1, data2, c.clock, c.log));
    case kvoTimeNow: return From(SayTimeNow(lang, c.clock));
    case kvoDateToday: return From(SayDateToday(lang, data1, c.clock));
    case kvoNumberOrdinal: return From(SayNumberOrdinal(lang, data1, data2, c.log));
    case kvoCustom: return {PhraseOutcome::Failed, {false, kPhraseNoError, {}}};
    default: return {PhraseOutcome::NotSpokenHere, {}};
    }
}

}  // namespace kvo
