// Values said to a caller as clips of the system prompt files: cardinals,
// ordinals, digit strings, money, times, dates, file sizes. Each rule turns a
// value and the channel's language into a clip sequence, or fails with the
// play list's error code and a channel-log record.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "Calendar.h"
#include "Clips.h"
#include "Language.h"
#include "LogRecord.h"

namespace kvo {

// Error codes a failed phrase leaves in the play list.
enum PhraseErrorCode : int {
    kPhraseNoError = -1,
    kPhraseFileNotOpened = 0,
    kPhraseIdNotFound = 1,
    kPhraseSubstitutionFailed = 2,
    kPhraseBadTime = 3,
    kPhraseBadNumber = 4,
    kPhraseBadDate = 5,
    kPhraseVbUnavailable = 7,
};

// Where the rules write their channel-log records.
class SpokenLog {
public:
    virtual ~SpokenLog() = default;
    virtual void Write(std::int32_t kind, std::initializer_list<LogValue> values) = 0;
};

struct SpokenResult {
    bool ok = true;
    int error = kPhraseNoError;  // set by some failures
    ClipList clips;              // empty after a failure
};

enum class Gender { Masculine, Feminine, Neuter };
struct NumberFlags {
    Gender gender = Gender::Masculine;
    bool zeroAsNo = false;
};
// First character M, F or N sets the gender; "0" as the first or second
// character says "no" for zero.
NumberFlags ParseNumberFlags(std::string_view flags);

// The rules without any text: n must be below one billion.
bool SayCardinal(const LanguageSettings& language, std::uint64_t n, NumberFlags flags, ClipList& out);
bool SayOrdinal(const LanguageSettings& language, std::uint64_t n, Gender gender, ClipList& out);
bool SayTimeOf(const LanguageSettings& language, int hour, int minute, ClipList& out);

// Parts of a date format ("MonthName", "WeekDay", "Day,Month", "Day,Month,Year",
// "Day,MonthName,Year", "WeekDay,MonthName,Year", "Day,MonthName"); 0 for
// any other text.
unsigned DateFormatPartsOf(std::string_view format);
bool SayDateOf(const LanguageSettings& language, int year, int month, int day, std::string_view format,
               const Clock& clock, ClipList& out);

// The phrase rules, from the phrase's (substituted) texts.
SpokenResult SayNumber(const LanguageSettings& language, std::string_view text, std::string_view flags, SpokenLog& log);
SpokenResult SayNumberShort(const LanguageSettings& language, std::string_view text, std::string_view flags,
                            SpokenLog& log);
SpokenResult SayNumberOrdinal(const LanguageSettings& language, std::string_view text, std::string_view flags,
                              SpokenLog& log);
SpokenResult SayDigits(std::string_view text, SpokenLog& log);
SpokenResult SayMoney(const LanguageSettings& language, std::string_view cents, SpokenLog& log);
SpokenResult SayTime(const LanguageSettings& language, std::string_view hhmm, SpokenLog& log);
// Today, tomorrow or yesterday of this month play one clip; other dates the
// parts of `format`.
SpokenResult SayDate(const LanguageSettings& language, std::string_view date, std::string_view format,
                     const Clock& clock, SpokenLog& log);
SpokenResult SayTimeNow(const LanguageSettings& language, const Clock& clock);
SpokenResult SayDateToday(const LanguageSettings& language, std::string_view format, const Clock& clock);
// Play time of `bytes` at `bytesPerSecond`.
SpokenResult SayFileSize(const LanguageSettings& language, std::uint64_t bytes, int bytesPerSecond);
SpokenResult SayFileDate(const LanguageSettings& language, const LocalTime& modified, std::string_view format,
                         const Clock& clock);
SpokenResult SayFileTime(const LanguageSettings& language, const LocalTime& modified);
// Morning before 12, afternoon before 17, evening after.
SpokenResult SaySalutation(int hour);

}  // namespace kvo
