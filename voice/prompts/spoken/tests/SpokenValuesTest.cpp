#include <gtest/gtest.h>

#include <map>

#include "SpokenTestSupport.h"

namespace {

using namespace spokentest;
using kvo::LanguageSettings;

struct Case {
    const LanguageSettings* lang;
    const char* value;
    const char* flags;
    const char* clips;  // nullptr: the value fails
};

void ExpectTable(const char* what, const std::vector<Case>& cases,
                 kvo::SpokenResult (*say)(const LanguageSettings&, std::string_view, std::string_view,
                                          kvo::SpokenLog&)) {
    for (const Case& c : cases) {
        RecordingLog log;
        const kvo::SpokenResult r = say(*c.lang, c.value, c.flags, log);
        const char* lang = c.lang == &kEnglish ? "en" : c.lang == &kFrench ? "fr" : c.lang == &kItalian ? "it" : "?";
        if (c.clips) {
            EXPECT_TRUE(r.ok) << what << " " << lang << " '" << c.value << "'";
            EXPECT_EQ(Text(r.clips), c.clips) << what << " " << lang << " '" << c.value << "' flags '" << c.flags << "'";
            EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        } else {
            EXPECT_FALSE(r.ok) << what << " " << lang << " '" << c.value << "' gave " << Text(r.clips);
            EXPECT_EQ(r.error, kvo::kPhraseBadNumber) << what << " '" << c.value << "'";
            EXPECT_EQ(log.lines, std::vector<std::string>{"30: bad_number '" + std::string(c.value) + "'"});
        }
    }
}

const LanguageSettings kSingleWords = Language(kvo::kRuleSingle21To99);

TEST(SpokenNumber, CardinalsPerLanguage) {
    ExpectTable("number", {
        {&kEnglish, "115", "", "1 28 51 15"},
        {&kEnglish, "0", "", "0"},
        {&kEnglish, "0", "0", "147"},
        {&kEnglish, "0", "F0", "147"},
        {&kEnglish, "20", "", "20"},
        {&kEnglish, "21", "", "20 1"},
        {&kEnglish, "99", "", "27 9"},
        {&kEnglish, "100", "", "1 28"},
        {&kEnglish, "1005", "", "1 29 51 5"},
        {&kEnglish, "2500", "", "2 29 5 28"},
        {&kEnglish, "1000000", "", "1 66"},
        {&kEnglish, "999999999", "", "9 28 51 27 9 66 9 28 51 27 9 29 9 28 51 27 9"},
        {&kEnglish, " 1 000 ", "", "1 29"},
        {&kEnglish, "-12.5", "", "50 12 64 5"},
        {&kEnglish, "-12*05", "", "50 12 64 0 5"},
        {&kEnglish, ".5", "", "0 64 5"},
        {&kEnglish, "1000000000", "", "1 150"},
        {&kEnglish, "2000000005", "", "2 150 51 5"},
        {&kEnglish, "999000000100", "", "9 28 51 27 9 150 1 28"},
        {&kEnglish, "1234567890123", "", "1 2 3 4 5 6 7 8 9 0 1 2 3"},
        {&kEnglish, "12345678901234567890123456789", "", "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9"},
        {&kFrench, "115", "", "125 15"},
        {&kFrench, "71", "", "133"},
        {&kFrench, "75", "", "24 15"},
        {&kFrench, "95", "", "26 15"},
        {&kFrench, "70", "", "25"},
        {&kFrench, "21", "", "128"},
        {&kFrench, "22", "", "20 2"},
        {&kFrench, "200", "", "2 28"},
        {&kFrench, "1000", "", "126"},
        {&kFrench, "1050", "", "126 23"},
        {&kFrench, "1000000", "", "127"},
        {&kFrench, "1000000000", "", "151"},
        {&kItalian, "1", "F", "136"},
        {&kItalian, "1", "N", "137"},
        {&kItalian, "1", "M", "1"},
        {&kItalian, "21", "F", "20 136"},
        {&kItalian, "100", "", "125"},
        {&kSingleWords, "45", "", "n25"},
        {&kSingleWords, "145", "", "1 28 51 n25"},
        {&kEnglish, "12a", "", nullptr},
        {&kEnglish, "", "", nullptr},
        {&kEnglish, "-", "", nullptr},
        {&kEnglish, "1-2", "", nullptr},
        {&kEnglish, "1.2.3", "", nullptr},
        {&kEnglish, "1,5", "", nullptr},
    }, kvo::SayNumber);
}

TEST(SpokenNumber, ShortNumbersStopAtNine) {
    ExpectTable("short", {
        {&kEnglish, "9", "", "9"},
        {&kEnglish, "10", "", "52"},
        {&kEnglish, "99999999999999999999999999", "", "52"},
        {&kEnglish, "0", "0", "147"},
        {&kItalian, "1", "F", "136"},
        {&kEnglish, "-1", "", nullptr},
        {&kEnglish, "1.5", "", nullptr},
        {&kEnglish, " ", "", nullptr},
    }, kvo::SayNumberShort);
}

TEST(SpokenNumber, Ordinals) {
    ExpectTable("ordinal", {
        {&kEnglish, "0", "", "93"},
        {&kEnglish, "1", "", "94"},
        {&kEnglish, "20", "", "113"},
        {&kEnglish, "21", "", "20 94"},  // twenty-first, not "twenty one"
        {&kEnglish, "25", "", "20 98"},
        {&kEnglish, "30", "", "114"},
        {&kEnglish, "99", "", "27 102"},
        {&kEnglish, "100", "", "1 121"},
        {&kEnglish, "105", "", "1 28 51 98"},
        {&kEnglish, "1000", "", "1 122"},
        {&kEnglish, "1050", "", "1 29 51 116"},
        {&kEnglish, "1200", "", "1 29 2 121"},
        {&kEnglish, "2000000", "", "2 123"},
        {&kEnglish, "1000000000", "", "1 0 0 0 0 0 0 0 0 0"},
        {&kFrench, "21", "", "152"},  // and-first forms: their own clips
        {&kFrench, "30", "", "114"},
        {&kFrench, "71", "", "157"},
        {&kFrench, "91", "", "159"},
        {&kFrench, "100", "", "1 121"},
        {&kFrench, "75", "", "24 108"},
        {&kFrench, "95", "", "26 108"},
        {&kFrench, "22", "", "20 95"},
        {&kItalian, "1", "F", "138"},
        {&kItalian, "1", "N", "139"},
        {&kItalian, "21", "F", "20 138"},
        {&kSingleWords, "45", "", "o25"},
        {&kEnglish, "1st", "", nullptr},
        {&kEnglish, "-1", "", nullptr},
    }, kvo::SayNumberOrdinal);
}

// No ordinal clip is shared by two roles any more.
TEST(SpokenNumber, FrenchOrdinalsInTheTensAllSoundDifferent) {
    std::map<std::string, int> seen;
    for (int n = 1; n <= 100; ++n) {
        RecordingLog log;
        const auto r = kvo::SayNumberOrdinal(kFrench, std::to_string(n), "", log);
        const auto [it, added] = seen.emplace(Text(r.clips), n);
        EXPECT_TRUE(added) << n << " sounds like " << it->second << ": " << it->first;
    }
}

TEST(SpokenNumber, MoneyInCentsOrWholeDollars) {
    ExpectTable("money", {
        {&kEnglish, "100", "", "1 148 51 0 54"},
        {&kEnglish, "0", "", "0 54"},
        {&kEnglish, "5", "", "5 54"},
        {&kEnglish, "101", "", "1 148 51 1 53"},
        {&kEnglish, "506", "", "5 149 51 6 54"},
        {&kEnglish, "-250", "", "50 2 149 51 23 54"},
        {&kEnglish, "5.", "", "5 149"},
        {&kEnglish, "1.", "", "1 148"},
        {&kEnglish, "1000000000.", "", "1 150 149"},
        {&kFrench, "1000000000.", "", "151 149"},
        {&kEnglish, "99999999999", "", "9 28 51 27 9 66 9 28 51 27 9 29 9 28 51 27 9 149 51 27 9 54"},
        {&kEnglish, "100000000000", "", nullptr},           // a billion dollars in cents
        {&kEnglish, "123456789012345678901234567890", "", nullptr},  // saturates, never wraps
        {&kEnglish, "1234567890123.", "", nullptr},
        {&kEnglish, "12x", "", nullptr},
        {&kEnglish, "", "", nullptr},
        {&kEnglish, "1.5", "", nullptr},
    }, [](const LanguageSettings& l, std::string_view v, std::string_view, kvo::SpokenLog& log) {
        return kvo::SayMoney(l, v, log);
    });
}

TEST(SpokenNumber, DigitsCharacterByCharacter) {
    RecordingLog log;
    EXPECT_EQ(Text(kvo::SayDigits("09*#aZ ,.!", log).clips), "0 9 47 48 67 92 124 58 64 59");
    const auto bad = kvo::SayDigits("12?", log);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(log.lines, std::vector<std::string>{"94: bad digits in phrase '12?'"});
}

TEST(SpokenTime, BothClocks) {
    const LanguageSettings h12 = Language(1, kvo::kDdMmYy, kvo::kvoTime12);
    const LanguageSettings h24 = Language(1, kvo::kDdMmYy, kvo::kvoTime24);
    struct TimeCase { const LanguageSettings* lang; const char* text; const char* clips; } cases[] = {
        {&h12, "1200", "12 46"},
        {&h12, "0005", "0 0 5 45"},
        {&h12, "1400", "2 46"},
        {&h12, "14:00", "2 46"},
        {&h12, "2330", "11 21 46"},
        {&h12, "09*30", "9 21 45"},
        {&h24, "1400", "14 0"},
        {&h24, "1200", "12 0"},
        {&h24, "2215", "20 2 15"},
        {&h24, "0905", "9 0 5"},
        {&h12, "3000", nullptr},
        {&h12, "1260", nullptr},
        {&h12, "2400", nullptr},
        {&h12, "12:3", nullptr},
        {&h12, "12-30", nullptr},
        {&h12, "1a30", nullptr},
    };
    for (const TimeCase& c : cases) {
        RecordingLog log;
        const auto r = kvo::SayTime(*c.lang, c.text, log);
        if (c.clips) {
            EXPECT_EQ(Text(r.clips), c.clips) << c.text;
        } else {
            EXPECT_FALSE(r.ok) << c.text;
            EXPECT_EQ(r.error, kvo::kPhraseBadTime);
            EXPECT_EQ(log.lines, std::vector<std::string>{"47: bad time spec '" + std::string(c.text) + "'"});
        }
    }
}

TEST(SpokenDate, PartsFollowTheDateOrder) {
    const kvo::FixedClock clock({2026, 12, 7, 14, 5, 0});
    struct DateCase { int order; const char* text; const char* format; const char* clips; } cases[] = {
        {kvo::kDdMmYy, "12/25/96", "Day,MonthName", "20 98 41"},
        {kvo::kDdMmYy, "25/12/1996", "Day,Month,Year", "20 98 12 19 27 6"},
        {kvo::kYyMmDd, "12/25/1996", "Day,Month,Year", "19 27 6 12 20 98"},
        {kvo::kYyDdMm, "12/25/1996", "Day,Month,Year", "19 27 6 20 98 12"},
        {kvo::kMmDdYy, "12/25/1996", "Day,Month,Year", "12 20 98 19 27 6"},
        {kvo::kDdMmYy, "25/12/1996", "weekday,monthname,year", "143 41 19 27 6"},
        {kvo::kMmDdYy, "12/25/1996", "WeekDay,MonthName,Year", "41 143 19 27 6"},
        {kvo::kDdMmYy, "25/12/1996", "Day,MonthName,Year", "20 98 41 19 27 6"},
        {kvo::kDdMmYy, "25/12/1996", "MonthName", "41"},
        {kvo::kDdMmYy, "25/12/1996", "WeekDay", "143"},
        {kvo::kDdMmYy, "251296", "Day,Month,Year", "20 98 12 19 27 6"},
        {kvo::kMmDdYy, "122596", "Day,Month", "12 20 98"},
        {kvo::kDdMmYy, "2512", "Day,Month,Year", "20 98 12"},
        {kvo::kMmDdYy, "1225", "Day,Month,Year", "12 20 98"},
        // Two-digit years 00-49 are this century's.
        {kvo::kDdMmYy, "01/02/03", "Day,MonthName,Year", "95 30 20 3"},
        {kvo::kDdMmYy, "01/02/49", "Day,MonthName,Year", "95 30 20 22 9"},
        {kvo::kDdMmYy, "01/02/50", "Day,MonthName,Year", "95 30 19 23"},
        {kvo::kDdMmYy, "020103", "Day,MonthName,Year", "95 30 20 3"},
        // Today, tomorrow and yesterday on the pinned clock (7 December 2026).
        {kvo::kDdMmYy, "12/07/26", "Day,MonthName", "44"},
        {kvo::kDdMmYy, "12/08/26", "Day,MonthName", "42"},
        {kvo::kDdMmYy, "12/06/26", "Day,MonthName", "43"},
        {kvo::kDdMmYy, "07.12.2026", "MonthName", "44"},
        {kvo::kMmDdYy, "120826", "WeekDay", "42"},
        {kvo::kDdMmYy, "12/09/26", "Day,MonthName", "102 41"},
        {kvo::kDdMmYy, "12/07/25", "Day,MonthName", "100 41"},
    };
    for (const DateCase& c : cases) {
        RecordingLog log;
        const auto r = kvo::SayDate(Language(1, c.order), c.text, c.format, clock, log);
        EXPECT_TRUE(r.ok) << c.text << " " << c.format;
        EXPECT_EQ(Text(r.clips), c.clips) << c.text << " " << c.format << " order " << c.order;
        EXPECT_TRUE(log.lines.empty());
    }
}

TEST(SpokenDate, BadDatesAndFormats) {
    const kvo::FixedClock clock({2026, 12, 7, 14, 5, 0});
    for (const char* text : {"1234567", "", "13/01/96", "00/01/96", "12/32/96", "ab/cd/ef", "12/25/199x", "2513"}) {
        RecordingLog log;
        const auto r = kvo::SayDate(kEnglish, text, "Day,MonthName", clock, log);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.error, kvo::kPhraseBadDate) << text;
        EXPECT_EQ(log.lines, std::vector<std::string>{"80: bad date specification '" + std::string(text) + "'"});
    }
    RecordingLog log;
    EXPECT_FALSE(kvo::SayDate(kEnglish, "12/25/96", "Day Month", clock, log).ok);
    EXPECT_FALSE(kvo::SayDate(kEnglish, "12/07/26", "Year", clock, log).ok) << "today needs a valid format too";
}

TEST(SpokenDate, NowAndTodayUseTheClock) {
    const kvo::FixedClock clock({2026, 12, 7, 14, 5, 0});
    EXPECT_EQ(Text(kvo::SayDateToday(kEnglish, "Day,MonthName", clock).clips), "100 41");
    EXPECT_EQ(Text(kvo::SayDateToday(kEnglish, "WeekDay", clock).clips), "141");
    EXPECT_EQ(Text(kvo::SayTimeNow(kEnglish, clock).clips), "2 0 5 46");
    EXPECT_EQ(Text(kvo::SayTimeNow(Language(1, 0, kvo::kvoTime24), clock).clips), "14 0 5");
    EXPECT_EQ(Text(kvo::SayFileDate(kEnglish, {2026, 12, 6, 9, 0, 0}, "Day,MonthName", clock).clips), "43");
}

TEST(SpokenValues, SalutationByHour) {
    // The hour itself decides: 11 o'clock is still morning.
    const int expected[24] = {61, 61, 61, 61, 61, 61, 61, 61, 61, 61, 61, 61,
                              62, 62, 62, 62, 62, 63, 63, 63, 63, 63, 63, 63};
    for (int h = 0; h < 24; ++h) EXPECT_EQ(Text(kvo::SaySalutation(h).clips), std::to_string(expected[h])) << h;
}

TEST(SpokenValues, FileSizeAsPlayTime) {
    EXPECT_EQ(Text(kvo::SayFileSize(kEnglish, 8000 * 30 + 7999, 8000).clips), "21 55");
    EXPECT_EQ(Text(kvo::SayFileSize(kEnglish, 8000 * 60, 8000).clips), "24 55");
    EXPECT_EQ(Text(kvo::SayFileSize(kEnglish, 8000 * 61, 8000).clips), "1 56 51 1 55");
    EXPECT_EQ(Text(kvo::SayFileSize(kEnglish, 3000 * 125, 3000).clips), "2 56 51 5 55");
    EXPECT_FALSE(kvo::SayFileSize(kEnglish, 100, 0).ok);
}

TEST(SpokenValues, LanguageRecords) {
    EXPECT_EQ(kvo::RuleFlagsOf(kvo::kvoEnglish), 1u);
    EXPECT_EQ(kvo::RuleFlagsOf(kvo::kvoFrench), 8u + 16 + 32);
    EXPECT_EQ(kvo::RuleFlagsOf(kvo::kvoItalian), 4u + 16);
    // A French frame speaks French numbers, not the flags its id would make.
    const LanguageSettings frame = kvo::DefaultLanguage(kvo::kvoTime24, kvo::kMmDdYy, kvo::kvoFrench, "c:\\voice");
    EXPECT_EQ(frame.ruleFlags, 8u + 16 + 32);
    EXPECT_EQ(frame.dateOrder, kvo::kMmDdYy);
    EXPECT_EQ(frame.directory, "c:\\voice");

    LanguageSettings fr = kFrench;
    kvo::LanguageSlots slots(&frame);
    slots.Set(3, &fr);
    slots.Set(300, &fr);
    EXPECT_EQ(&slots.For(3), &fr);
    EXPECT_EQ(&slots.For(4), &frame);
    EXPECT_EQ(&slots.For(-1), &frame);
    slots.ResetAll();
    EXPECT_EQ(&slots.For(3), &frame);
}

TEST(SpokenValues, WeekdaysOfKnownDates) {
    EXPECT_EQ(kvo::DayOfWeek(1970, 1, 1), 4);
    EXPECT_EQ(kvo::DayOfWeek(1996, 12, 25), 3);
    EXPECT_EQ(kvo::DayOfWeek(2000, 2, 29), 2);
    EXPECT_EQ(kvo::DayOfWeek(2026, 12, 7), 1);
    EXPECT_EQ(kvo::DayOfWeek(1900, 1, 1), 1);
}

}  // namespace
