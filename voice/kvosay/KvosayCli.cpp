#include "KvosayCli.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "LogText.h"
#include "RoleWords.h"
#include "SpokenValues.h"
#include "SystemSettings.h"

namespace kvo {
namespace {

struct KindName {
    const char* name;
    SayKind kind;
    bool takesValue;
};
constexpr KindName kKinds[] = {
    {"number", SayKind::Number, true},   {"short", SayKind::Short, true},
    {"ordinal", SayKind::Ordinal, true}, {"digits", SayKind::Digits, true},
    {"money", SayKind::Money, true},     {"time", SayKind::Time, true},
    {"date", SayKind::Date, true},       {"filesize", SayKind::FileSize, true},
    {"salutation", SayKind::Salutation, true}, {"today", SayKind::Today, false},
    {"now", SayKind::Now, false},
};

bool ParseInt(std::string_view text, long low, long high, long& value) {
    if (text.empty() || text.size() > 10) return false;
    long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    value = v;
    return true;
}

// "en", "fr", "it", or the rule flags as a number.
bool ParseLanguage(std::string_view text, std::uint32_t& rules) {
    static const std::pair<const char*, int> ids[] = {{"en", kvoEnglish}, {"fr", kvoFrench}, {"it", kvoItalian}};
    for (const auto& [name, id] : ids)
        if (text == name) {
            rules = RuleFlagsOf(id);
            return true;
        }
    long flags;
    if (!ParseInt(text, 0, 255, flags)) return false;
    rules = static_cast<std::uint32_t>(flags);
    return true;
}

bool ParseOrder(std::string_view text, int& order) {
    static const char* const names[] = {"ddmmyy", "yymmdd", "yyddmm", "mmddyy"};
    for (int i = 0; i < 4; ++i)
        if (text == names[i]) {
            order = i;
            return true;
        }
    return false;
}

// "YYYY-MM-DD HH:MM" (or with a "T" between date and time).
bool ParseNow(std::string_view text, LocalTime& now) {
    long y, mo, d, h, mi;
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || (text[10] != ' ' && text[10] != 'T') ||
        text[13] != ':' || !ParseInt(text.substr(0, 4), 1, 9999, y) || !ParseInt(text.substr(5, 2), 1, 12, mo) ||
        !ParseInt(text.substr(8, 2), 1, 31, d) || !ParseInt(text.substr(11, 2), 0, 23, h) ||
        !ParseInt(text.substr(14, 2), 0, 59, mi))
        return false;
    now = {static_cast<int>(y), static_cast<int>(mo), static_cast<int>(d), static_cast<int>(h), static_cast<int>(mi), 0};
    return true;
}

class TextLog : public SpokenLog {
public:
    void Write(std::int32_t kind, std::initializer_list<LogValue> values) override {
        if (const auto record = MakeLogRecord(0, kind, values)) texts.push_back(LogMessageText(*record));
    }
    std::vector<std::string> texts;
};

SpokenResult Say(const KvosayArgs& a, const Clock& clock, SpokenLog& log) {
    const LanguageSettings& lang = a.language;
    switch (a.kind) {
    case SayKind::Number: return SayNumber(lang, a.value, a.flags, log);
    case SayKind::Short: return SayNumberShort(lang, a.value, a.flags, log);
    case SayKind::Ordinal: return SayNumberOrdinal(lang, a.value, a.flags, log);
    case SayKind::Digits: return SayDigits(a.value, log);
    case SayKind::Money: return SayMoney(lang, a.value, log);
    case SayKind::Time: return SayTime(lang, a.value, log);
    case SayKind::Date: return SayDate(lang, a.value, a.dateFormat, clock, log);
    case SayKind::Today: return SayDateToday(lang, a.dateFormat, clock);
    case SayKind::Now: return SayTimeNow(lang, clock);
    case SayKind::FileSize: {
        long bytes;
        if (!ParseInt(a.value, 0, 2147483647L, bytes)) return {false, kPhraseBadNumber, {}};
        return SayFileSize(lang, static_cast<std::uint64_t>(bytes), FormatBytesPerSecond(a.audioFormat));
    }
    case SayKind::Salutation: {
        long hour;
        if (!ParseInt(a.value, 0, 23, hour)) return {false, kPhraseBadTime, {}};
        return SaySalutation(static_cast<int>(hour));
    }
    }
    return {false, kPhraseNoError, {}};
}

}  // namespace

KvosayArgs ParseKvosayArgs(int argc, const char* const* argv) {
    KvosayArgs a;
    std::vector<std::string_view> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto next = [&](std::string_view& value) {
            if (i + 1 >= argc) {
                a.error = std::string(arg) + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        std::string_view v;
        long n;
        if (arg == "--help" || arg == "-h") {
            a.help = true;
        } else if (arg == "--words") {
            a.words = true;
        } else if (arg == "--flags") {
            if (!next(v)) return a;
            a.flags = v;
        } else if (arg == "--format") {
            if (!next(v)) return a;
            a.dateFormat = v;
        } else if (arg == "--order") {
            if (!next(v)) return a;
            if (!ParseOrder(v, a.language.dateOrder)) a.error = "unknown date order '" + std::string(v) + "'";
        } else if (arg == "--clock") {
            if (!next(v)) return a;
            if (v == "12") a.language.timeFormat = kvoTime12;
            else if (v == "24") a.language.timeFormat = kvoTime24;
            else a.error = "--clock is 12 or 24";
        } else if (arg == "--audio-format") {
            if (!next(v)) return a;
            if (ParseInt(v, 0, 3, n))
                a.audioFormat = static_cast<int>(n);
            else
                a.error = "--audio-format is 0 to 3";
        } else if (arg == "--now") {
            if (!next(v)) return a;
            LocalTime now;
            if (ParseNow(v, now))
                a.now = now;
            else
                a.error = "--now is \"YYYY-MM-DD HH:MM\"";
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            a.error = "unknown option " + std::string(arg);
        } else {
            positional.push_back(arg);
        }
        if (!a.error.empty()) return a;
    }
    if (a.help) return a;
    if (positional.size() < 2) {
        a.error = "a language and a kind are needed";
        return a;
    }
    if (!ParseLanguage(positional[0], a.language.ruleFlags)) {
        a.error = "unknown language '" + std::string(positional[0]) + "'";
        return a;
    }
    const KindName* kind = nullptr;
    for (const KindName& k : kKinds)
        if (positional[1] == k.name) kind = &k;
    if (!kind) {
        a.error = "unknown kind '" + std::string(positional[1]) + "'";
        return a;
    }
    a.kind = kind->kind;
    if (positional.size() != (kind->takesValue ? 3u : 2u)) {
        a.error = std::string(kind->name) + (kind->takesValue ? " takes one value" : " takes no value");
        return a;
    }
    if (kind->takesValue) a.value = positional[2];
    return a;
}

std::string KvosayUsage() {
    return "usage: kvosay [options] LANGUAGE KIND [VALUE]\n"
           "  LANGUAGE  en, fr, it, or the rule flags as a number (1, 2, 4, 8, 16, 32 added)\n"
           "  KIND      number, short, ordinal, digits, money (cents; a final '.' for dollars),\n"
           "            time (hhmm or hh:mm), date (mm/dd/yy, dd.mm.yyyy, ddmmyy, ddmm),\n"
           "            filesize (bytes), salutation (hour), today, now\n"
           "options:\n"
           "  --words               add each clip's role word\n"
           "  --flags TEXT          number flags: M, F or N gender, 0 says \"no\" for zero\n"
           "  --format TEXT         date format (default Day,MonthName,Year)\n"
           "  --order ORDER         ddmmyy (default), yymmdd, yyddmm, mmddyy\n"
           "  --clock 12|24         time format (default 12)\n"
           "  --audio-format N      0-3, the play format of file sizes (default 0)\n"
           "  --now \"YYYY-MM-DD HH:MM\"  the clock for today, tomorrow, yesterday and now\n";
}

int RunKvosay(const KvosayArgs& a, const Clock& systemClock, std::ostream& out, std::ostream& err) {
    const FixedClock pinned(a.now.value_or(LocalTime{}));
    const Clock& clock = a.now ? static_cast<const Clock&>(pinned) : systemClock;
    TextLog log;
    const SpokenResult r = Say(a, clock, log);
    if (!r.ok) {
        std::string line = "error";
        if (r.error != kPhraseNoError) line += " " + std::to_string(r.error);
        line += ": " + (log.texts.empty() ? "cannot say '" + a.value + "'" : log.texts.front());
        err << line << '\n';
        return 1;
    }
    for (const Clip& c : r.clips) {
        out << VoiceFileName(c.file) << '\t' << c.index;
        if (a.words) out << '\t' << RoleWord(c);
        out << '\n';
    }
    return 0;
}

}  // namespace kvo
