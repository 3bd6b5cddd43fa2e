#include "SpokenValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

namespace kvo {
namespace {

constexpr std::uint64_t kBillion = 1000000000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits of `text` as a number; texts of any length saturate instead of
// wrapping, so a long text is still known to be too big.
std::uint64_t Saturated(std::string_view digits) {
    std::uint64_t n = 0;
    for (char c : digits) {
        if (!IsDigit(c)) continue;
        if (n > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return std::numeric_limits<std::uint64_t>::max();
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    return n;
}

std::string WithoutSpaces(std::string_view text) {
    std::string s;
    for (char c : text)
        if (c != ' ') s += c;
    return s;
}

// Digits and spaces only, and at least one digit.
bool PlainDigits(std::string_view text) {
    return text.find_first_not_of("0123456789 ") == std::string_view::npos && !WithoutSpaces(text).empty();
}

// The rules of one language writing into one clip list.
class Sayer {
public:
    Sayer(const LanguageSettings& language, ClipList& out) : lang_(language), out_(out) {}

    void Clip(int index) { out_.push_back({VoiceFile::Kavoro, index}); }

    void Small(std::uint64_t n, Gender gender) {  // 0-20
        if (n == 1 && lang_.Has(kRuleGender) && gender != Gender::Masculine)
            Clip(gender == Gender::Feminine ? clip::kOneFeminine : clip::kOneNeuter);
        else
            Clip(static_cast<int>(n));
    }

    bool Cardinal(std::uint64_t n, Gender gender) {
        if (n >= kBillion) return false;
        if (n <= 20) {
            Small(n, gender);
        } else if (n <= 99) {
            Tens(n, gender);
        } else if (n <= 999) {
            const std::uint64_t h = n / 100, r = n % 100;
            if (lang_.Has(kRuleSingleOne)) {
                if (h == 1) {
                    Clip(clip::kOneHundred);
                } else {
                    Clip(static_cast<int>(h));
                    Clip(clip::kHundred);
                }
                if (r) Cardinal(r, gender);
            } else {
                Cardinal(h, Gender::Masculine);
                Clip(clip::kHundred);
                if (r) {
                    Clip(clip::kAnd);
                    Cardinal(r, gender);
                }
            }
        } else if (n <= 999999) {
            Group(n / 1000, n % 1000, gender, clip::kOneThousand, clip::kThousand);
        } else {
            Group(n / 1000000, n % 1000000, gender, clip::kOneMillion, clip::kMillion);
        }
        return true;
    }

    // Thousands and millions: the count of the group, its word, the rest.
    void Group(std::uint64_t count, std::uint64_t rest, Gender gender, int singleOne, int word) {
        const bool single = lang_.Has(kRuleSingleOne);
        if (single && count == 1) {
            Clip(singleOne);
        } else {
            Cardinal(count, Gender::Masculine);
            Clip(word);
        }
        if (!rest) return;
        if (!single && rest < 100) Clip(clip::kAnd);
        Cardinal(rest, gender);
    }

    // Rule 2: 21-99 are single recordings of their own file.
    bool SingleWord(VoiceFile file, std::uint64_t n) {
        if (!lang_.Has(kRuleSingle21To99)) return false;
        out_.push_back({file, static_cast<int>(n - 20)});
        return true;
    }

    void Tens(std::uint64_t n, Gender gender) {  // 21-99
        if (SingleWord(VoiceFile::Numbers, n)) return;
        const int t = static_cast<int>(n / 10), u = static_cast<int>(n % 10);
        if (lang_.Has(kRuleAndOne)) {
            if (u == 1) return Clip(clip::kAndOneBase + t);
            if (u == 0) return Clip(clip::kTensBase + t);
            if (Score(t)) {
                Clip(clip::kTensBase + t - 1);
                return Small(static_cast<std::uint64_t>(u) + 10, gender);
            }
        }
        Clip(clip::kTensBase + t);
        if (u) Small(static_cast<std::uint64_t>(u), gender);
    }

    bool Score(int t) const { return lang_.Has(kRuleScore) && t % 2 == 1 && t >= 7; }

    bool Ordinal(std::uint64_t n, Gender gender) {
        if (n >= kBillion) return false;
        if (n <= 20) {
            if (n == 1 && lang_.Has(kRuleGender))
                Clip(gender == Gender::Feminine ? clip::kFirstFeminine
                                                : gender == Gender::Neuter ? clip::kFirstNeuter : clip::kFirst);
            else
                Clip(clip::kOrdinalBase + static_cast<int>(n));
        } else if (n <= 99) {
            OrdinalTens(n, gender);
        } else if (n <= 999) {
            Clip(static_cast<int>(n / 100));
            OrdinalRest(n % 100, gender, clip::kHundredth, clip::kHundred, true);
        } else if (n <= 999999) {
            Cardinal(n / 1000, Gender::Masculine);
            OrdinalRest(n % 1000, gender, clip::kThousandth, clip::kThousand, n % 1000 < 100);
        } else {
            Cardinal(n / 1000000, Gender::Masculine);
            OrdinalRest(n % 1000000, gender, clip::kMillionth, clip::kMillion, n % 1000000 < 100);
        }
        return true;
    }

    void OrdinalRest(std::uint64_t rest, Gender gender, int th, int word, bool withAnd) {
        if (!rest) return Clip(th);
        Clip(word);
        if (withAnd) Clip(clip::kAnd);
        Ordinal(rest, gender);
    }

    void OrdinalTens(std::uint64_t n, Gender gender) {  // 21-99
        if (SingleWord(VoiceFile::Ordinals, n)) return;
        const int t = static_cast<int>(n / 10), u = static_cast<int>(n % 10);
        if (u == 0) return Clip(clip::kOrdinalTensBase + t);
        if (lang_.Has(kRuleAndOne)) {
            if (u == 1) return Clip(clip::kAndFirstBase + t);
            if (Score(t)) {
                Clip(clip::kTensBase + t - 1);
                Ordinal(static_cast<std::uint64_t>(u) + 10, gender);
                return;
            }
        }
        // "twenty-first": the tens, then the ordinal of the unit.
        Clip(clip::kTensBase + t);
        Ordinal(static_cast<std::uint64_t>(u), gender);
    }

    void DigitByDigit(std::string_view digits) {
        for (char c : digits)
            if (IsDigit(c)) Clip(c - '0');
    }

    // 10 to 12 digits: billions, then the rest.
    void Billions(std::string_view digits, Gender gender) {
        const std::uint64_t b = Saturated(digits.substr(0, digits.size() - 9));
        const std::uint64_t r = Saturated(digits.substr(digits.size() - 9));
        if (lang_.Has(kRuleSingleOne) && b == 1) {
            Clip(clip::kOneBillion);
        } else {
            Cardinal(b, Gender::Masculine);
            Clip(clip::kBillion);
        }
        if (!r) return;
        if (r < 100) Clip(clip::kAnd);
        Cardinal(r, gender);
    }

    bool Time(int hour, int minute) {
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
        const bool twelve = lang_.timeFormat == kvoTime12;
        bool pm = false;
        if (twelve) {
            pm = hour >= 12;
            if (hour >= 13) hour -= 12;
        }
        if (hour < 21)
            Clip(hour);
        else
            Cardinal(static_cast<std::uint64_t>(hour), Gender::Masculine);
        if (minute > 0) {
            if (minute < 10) {
                Clip(0);
                Clip(minute);
            } else {
                Cardinal(static_cast<std::uint64_t>(minute), Gender::Masculine);
            }
        }
        if (twelve)
            Clip(pm ? clip::kPm : clip::kAm);
        else if (minute == 0)
            Clip(0);
        return true;
    }

private:
    const LanguageSettings& lang_;
    ClipList& out_;
};

enum DatePart : unsigned { kWeekday = 1, kDay = 2, kMonth = 4, kMonthName = 8, kYear = 16 };

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

SpokenResult Failed(int error = kPhraseNoError) { return {false, error, {}}; }

SpokenResult BadNumber(std::string_view text, SpokenLog& log) {
    const std::string t(text);
    log.Write(LK_BAD_NUMBER, {t.c_str()});
    return Failed(kPhraseBadNumber);
}

// Today, tomorrow and yesterday within the clock's month; 0 for other dates.
int RelativeDayClip(int year, int month, int day, const Clock& clock) {
    const LocalTime now = clock.Now();
    if (year != now.year || month != now.month) return 0;
    if (day == now.day) return clip::kToday;
    if (day == now.day + 1) return clip::kTomorrow;
    if (day == now.day - 1) return clip::kYesterday;
    return 0;
}

SpokenResult DateOrRelative(const LanguageSettings& language, int year, int month, int day, std::string_view format,
                            const Clock& clock) {
    SpokenResult result;
    if (!DateFormatPartsOf(format)) return Failed();
    if (const int relative = RelativeDayClip(year, month, day, clock)) {
        result.clips.push_back({VoiceFile::Kavoro, relative});
        return result;
    }
    if (!SayDateOf(language, year, month, day, format, clock, result.clips)) return Failed();
    return result;
}

int TwoDigits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

// Two-digit years 00-49 are this century's, 50-99 the last one's.
int PivotYear(int yy) { return yy < 50 ? 2000 + yy : 1900 + yy; }

}  // namespace

NumberFlags ParseNumberFlags(std::string_view flags) {
    NumberFlags f;
    if (!flags.empty()) {
        switch (std::toupper(static_cast<unsigned char>(flags[0]))) {
        case 'F': f.gender = Gender::Feminine; break;
        case 'N': f.gender = Gender::Neuter; break;
        default: break;
        }
    }
    f.zeroAsNo = (flags.size() > 0 && flags[0] == '0') || (flags.size() > 1 && flags[1] == '0');
    return f;
}

bool SayCardinal(const LanguageSettings& language, std::uint64_t n, NumberFlags flags, ClipList& out) {
    if (n == 0 && flags.zeroAsNo) {
        out.push_back({VoiceFile::Kavoro, clip::kNo});
        return true;
    }
    return Sayer(language, out).Cardinal(n, flags.gender);
}

bool SayOrdinal(const LanguageSettings& language, std::uint64_t n, Gender gender, ClipList& out) {
    return Sayer(language, out).Ordinal(n, gender);
}

bool SayTimeOf(const LanguageSettings& language, int hour, int minute, ClipList& out) {
    return Sayer(language, out).Time(hour, minute);
}

unsigned DateFormatPartsOf(std::string_view format) {
    static const std::pair<const char*, unsigned> formats[] = {
        {"MonthName", kMonthName},
        {"WeekDay", kWeekday},
        {"Day,Month", kDay | kMonth},
        {"Day,Month,Year", kDay | kMonth | kYear},
        {"Day,MonthName,Year", kDay | kMonthName | kYear},
        {"WeekDay,MonthName,Year", kWeekday | kMonthName | kYear},
        {"Day,MonthName", kDay | kMonthName},
    };
    for (const auto& [name, parts] : formats)
        if (SameText(format, name)) return parts;
    return 0;
}

bool SayDateOf(const LanguageSettings& language, int year, int month, int day, std::string_view format,
               const Clock& clock, ClipList& out) {
    const unsigned parts = DateFormatPartsOf(format);
    if (!parts || month < 1 || month > 12 || day < 1 || day > 31) return false;
    static const std::array<std::array<DatePart, 5>, 4> orders = {{
        {kWeekday, kDay, kMonth, kMonthName, kYear},  // ddmmyy
        {kYear, kMonth, kMonthName, kDay, kWeekday},  // yymmdd
        {kYear, kWeekday, kDay, kMonth, kMonthName},  // yyddmm
        {kMonth, kMonthName, kDay, kWeekday, kYear},  // mmddyy
    }};
    const auto& order = orders[language.dateOrder >= 0 && language.dateOrder <= 3 ? language.dateOrder : 0];
    Sayer say(language, out);
    for (DatePart part : order) {
        if (!(parts & part)) continue;
        switch (part) {
        case kWeekday:
            // A date given without its year is taken in this year.
            say.Clip(clip::kSunday + DayOfWeek(year ? year : clock.Now().year, month, day));
            break;
        case kDay: say.Ordinal(static_cast<std::uint64_t>(day), Gender::Masculine); break;
        case kMonth: say.Cardinal(static_cast<std::uint64_t>(month), Gender::Masculine); break;
        case kMonthName: say.Clip(clip::kMonthBase + month); break;
        case kYear:
            // No year was given (a date of four characters): none is said, in every order.
            if (year <= 0) break;
            say.Cardinal(static_cast<std::uint64_t>(year / 100), Gender::Masculine);
            say.Cardinal(static_cast<std::uint64_t>(year % 100), Gender::Masculine);
            break;
        }
    }
    return true;
}

SpokenResult SayNumber(const LanguageSettings& language, std::string_view text, std::string_view flags,
                       SpokenLog& log) {
    if (!std::all_of(text.begin(), text.end(),
                     [](char c) { return IsDigit(c) || c == ' ' || c == '-' || c == '.' || c == '*'; }))
        return BadNumber(text, log);
    std::string rest = WithoutSpaces(text);
    SpokenResult result;
    Sayer say(language, result.clips);
    if (!rest.empty() && rest[0] == '-') {
        say.Clip(clip::kMinus);
        rest.erase(0, 1);
    }
    const std::size_t point = rest.find_first_of(".*");
    const std::string whole = rest.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : rest.substr(point + 1);
    // One sign at the front, one decimal point, and at least one digit.
    if (whole.find_first_not_of("0123456789") != std::string::npos ||
        fraction.find_first_not_of("0123456789") != std::string::npos || (whole.empty() && fraction.empty()))
        return BadNumber(text, log);

    const NumberFlags f = ParseNumberFlags(flags);
    if (whole.size() >= 10 && whole.size() <= 12) {
        say.Billions(whole, f.gender);
    } else if (whole.size() < 12) {
        SayCardinal(language, Saturated(whole), f, result.clips);
    } else {
        say.DigitByDigit(whole);
    }
    if (!fraction.empty()) {
        say.Clip(clip::kPoint);
        say.DigitByDigit(fraction);
    }
    return result;
}

SpokenResult SayNumberShort(const LanguageSettings& language, std::string_view text, std::string_view flags,
                            SpokenLog& log) {
    if (!PlainDigits(text)) return BadNumber(text, log);
    SpokenResult result;
    const std::uint64_t n = Saturated(text);
    if (n >= 10)
        result.clips.push_back({VoiceFile::Kavoro, clip::kMoreThanNine});
    else
        SayCardinal(language, n, ParseNumberFlags(flags), result.clips);
    return result;
}

SpokenResult SayNumberOrdinal(const LanguageSettings& language, std::string_view text, std::string_view flags,
                              SpokenLog& log) {
    if (!PlainDigits(text)) return BadNumber(text, log);
    SpokenResult result;
    Sayer say(language, result.clips);
    const std::uint64_t n = Saturated(text);
    if (n >= kBillion)
        say.DigitByDigit(text);
    else
        say.Ordinal(n, ParseNumberFlags(flags).gender);
    return result;
}

SpokenResult SayDigits(std::string_view text, SpokenLog& log) {
    SpokenResult result;
    for (char c : text) {
        int index;
        if (IsDigit(c))
            index = c - '0';
        else if (std::isalpha(static_cast<unsigned char>(c)))
            index = clip::kLetterA + (std::toupper(static_cast<unsigned char>(c)) - 'A');
        else if (c == '*') index = clip::kStar;
        else if (c == '#') index = clip::kPound;
        else if (c == '!') index = clip::kExclamation;
        else if (c == ',') index = clip::kComma;
        else if (c == '.') index = clip::kPoint;
        else if (c == ' ') index = clip::kPause;
        else {
            const std::string t(text);
            log.Write(LK_BAD_DIGITS_IN_PHRASE, {t.c_str()});
            return Failed();
        }
        result.clips.push_back({VoiceFile::Kavoro, index});
    }
    return result;
}

SpokenResult SayMoney(const LanguageSettings& language, std::string_view cents, SpokenLog& log) {
    std::string rest = WithoutSpaces(cents);
    SpokenResult result;
    Sayer say(language, result.clips);
    if (!rest.empty() && rest[0] == '-') {
        say.Clip(clip::kMinus);
        rest.erase(0, 1);
    }
    const bool dollars = !rest.empty() && rest.back() == '.';
    if (dollars) rest.pop_back();
    if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos) return BadNumber(cents, log);

    const std::uint64_t amount = Saturated(rest);
    if (dollars) {
        if (rest.size() >= 10 && rest.size() <= 12) {
            say.Billions(rest, Gender::Masculine);
            say.Clip(clip::kDollars);
            return result;
        }
        // Too many dollars for the words there are: a bad number, not a wrapped one.
        if (!say.Cardinal(amount, Gender::Masculine)) return BadNumber(cents, log);
        say.Clip(amount == 1 ? clip::kDollar : clip::kDollars);
        return result;
    }
    const std::uint64_t d = amount / 100, c = amount % 100;
    if (d > 0) {
        if (!say.Cardinal(d, Gender::Masculine)) return BadNumber(cents, log);
        say.Clip(d == 1 ? clip::kDollar : clip::kDollars);
        say.Clip(clip::kAnd);
    }
    say.Cardinal(c, Gender::Masculine);
    say.Clip(c == 1 ? clip::kCent : clip::kCents);
    return result;
}

SpokenResult SayTime(const LanguageSettings& language, std::string_view hhmm, SpokenLog& log) {
    std::string digits(hhmm);
    if (digits.size() == 5 && (digits[2] == ':' || digits[2] == '*')) digits.erase(2, 1);
    const bool shaped = digits.size() == 4 && std::all_of(digits.begin(), digits.end(), IsDigit) &&
                        digits[0] <= '2' && digits[2] <= '5';
    SpokenResult result;
    // "24xx" to "29xx" pass the character checks but are no time either.
    if (!shaped || !SayTimeOf(language, TwoDigits(digits, 0), TwoDigits(digits, 2), result.clips)) {
        const std::string t(hhmm);
        log.Write(LK_BAD_TIME_SPEC, {t.c_str()});
        return Failed(kPhraseBadTime);
    }
    return result;
}

SpokenResult SayDate(const LanguageSettings& language, std::string_view date, std::string_view format,
                     const Clock& clock, SpokenLog& log) {
    auto bad = [&] {
        const std::string t(date);
        log.Write(LK_BAD_DATE_SPEC, {t.c_str()});
        return Failed(kPhraseBadDate);
    };
    auto digitsAt = [&](std::initializer_list<std::size_t> at) {
        return std::all_of(at.begin(), at.end(), [&](std::size_t i) { return IsDigit(date[i]); });
    };
    int first, second, year;
    bool monthFirst = language.dateOrder != kDdMmYy;
    switch (date.size()) {
    case 10:
        if (!digitsAt({0, 1, 3, 4, 6, 7, 8, 9})) return bad();
        first = TwoDigits(date, 0);
        second = TwoDigits(date, 3);
        year = TwoDigits(date, 6) * 100 + TwoDigits(date, 8);
        break;
    case 8:  // always mm/dd/yy
        if (!digitsAt({0, 1, 3, 4, 6, 7})) return bad();
        first = TwoDigits(date, 0);
        second = TwoDigits(date, 3);
        year = PivotYear(TwoDigits(date, 6));
        monthFirst = true;
        break;
    case 6:
        if (!digitsAt({0, 1, 2, 3, 4, 5})) return bad();
        first = TwoDigits(date, 0);
        second = TwoDigits(date, 2);
        year = PivotYear(TwoDigits(date, 4));
        break;
    case 4:
        if (!digitsAt({0, 1, 2, 3})) return bad();
        first = TwoDigits(date, 0);
        second = TwoDigits(date, 2);
        year = 0;
        break;
    default: return bad();
    }
    const int month = monthFirst ? first : second, day = monthFirst ? second : first;
    if (day < 1 || day > 31 || month < 1 || month > 12) return bad();
    return DateOrRelative(language, year, month, day, format, clock);
}

SpokenResult SayTimeNow(const LanguageSettings& language, const Clock& clock) {
    return SayFileTime(language, clock.Now());
}

SpokenResult SayDateToday(const LanguageSettings& language, std::string_view format, const Clock& clock) {
    const LocalTime now = clock.Now();
    SpokenResult result;
    if (!SayDateOf(language, now.year, now.month, now.day, format, clock, result.clips)) return Failed();
    return result;
}

SpokenResult SayFileSize(const LanguageSettings& language, std::uint64_t bytes, int bytesPerSecond) {
    if (bytesPerSecond <= 0) return Failed();
    const std::uint64_t seconds = bytes / static_cast<std::uint64_t>(bytesPerSecond);
    SpokenResult result;
    Sayer say(language, result.clips);
    bool ok;
    if (seconds >= 61) {
        ok = say.Cardinal(seconds / 60, Gender::Masculine);
        say.Clip(clip::kMinutes);
        say.Clip(clip::kAnd);
        say.Cardinal(seconds % 60, Gender::Masculine);
    } else {
        ok = say.Cardinal(seconds, Gender::Masculine);
    }
    say.Clip(clip::kSeconds);
    return ok ? result : Failed();
}

SpokenResult SayFileDate(const LanguageSettings& language, const LocalTime& modified, std::string_view format,
                         const Clock& clock) {
    return DateOrRelative(language, modified.year, modified.month, modified.day, format, clock);
}

SpokenResult SayFileTime(const LanguageSettings& language, const LocalTime& modified) {
    SpokenResult result;
    if (!SayTimeOf(language, modified.hour, modified.minute, result.clips)) return Failed();
    return result;
}

SpokenResult SaySalutation(int hour) {
    const int index = hour < 12 ? clip::kMorning : hour < 17 ? clip::kAfternoon : clip::kEvening;
    return {true, kPhraseNoError, {{VoiceFile::Kavoro, index}}};
}

}  // namespace kvo
