#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "KvosayCli.h"

namespace {

// "1 28 n25" as the tool prints it: one "file<TAB>clip" line per clip.
std::string Lines(const std::string& compact) {
    std::istringstream in(compact);
    std::string out, item;
    while (in >> item) {
        const char* file = item[0] == 'n' ? "kvo_num.vap" : item[0] == 'o' ? "kvo_ord.vap" : "kavoro.vap";
        out += std::string(file) + "\t" + (std::isdigit(static_cast<unsigned char>(item[0])) ? item : item.substr(1)) + "\n";
    }
    return out;
}

struct ToolRun {
    int status;
    std::string out, err;
};

// The system clock stands at 7 December 2026, 14:05 unless --now says otherwise.
ToolRun Kvosay(std::vector<const char*> args) {
    args.insert(args.begin(), "kvosay");
    const kvo::KvosayArgs parsed = kvo::ParseKvosayArgs(static_cast<int>(args.size()), args.data());
    EXPECT_EQ(parsed.error, "");
    const kvo::FixedClock clock({2026, 12, 7, 14, 5, 0});
    std::ostringstream out, err;
    const int status = kvo::RunKvosay(parsed, clock, out, err);
    return {status, out.str(), err.str()};
}

struct Case {
    std::vector<const char*> args;
    const char* clips;
};

void ExpectSaid(const char* language, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), language);
        const ToolRun r = Kvosay(args);
        std::string call = language;
        for (const char* a : c.args) call += std::string(" ") + a;
        EXPECT_EQ(r.status, 0) << call << ": " << r.err;
        EXPECT_EQ(r.out, Lines(c.clips)) << call;
    }
}

TEST(Kvosay, English) {
    ExpectSaid("en", {
        {{"number", "115"}, "1 28 51 15"},
        {{"number", "1000000"}, "1 66"},
        {{"number", "-12.5"}, "50 12 64 5"},
        {{"number", "1234567890123"}, "1 2 3 4 5 6 7 8 9 0 1 2 3"},
        {{"number", "2000000005"}, "2 150 51 5"},
        {{"number", "0", "--flags", "0"}, "147"},
        {{"short", "10"}, "52"},
        {{"ordinal", "21"}, "20 94"},
        {{"ordinal", "105"}, "1 28 51 98"},
        {{"digits", "12*#"}, "1 2 47 48"},
        {{"money", "100"}, "1 148 51 0 54"},
        {{"money", "0"}, "0 54"},
        {{"money", "5."}, "5 149"},
        {{"money", "506"}, "5 149 51 6 54"},
        {{"time", "1200"}, "12 46"},
        {{"time", "1400"}, "2 46"},
        {{"time", "0005"}, "0 0 5 45"},
        {{"time", "12:00", "--clock", "24"}, "12 0"},
        {{"time", "14:00", "--clock", "24"}, "14 0"},
        {{"date", "12/25/96", "--format", "Day,MonthName"}, "20 98 41"},
        {{"date", "12/25/26", "--format", "Day,MonthName,Year"}, "20 98 41 20 20 6"},
        {{"date", "25.12.1996", "--format", "WeekDay,MonthName,Year"}, "143 41 19 27 6"},
        {{"date", "12/25/1996", "--order", "yymmdd", "--format", "Day,Month,Year"}, "19 27 6 12 20 98"},
        {{"date", "12/25/1996", "--order", "yyddmm", "--format", "Day,Month,Year"}, "19 27 6 20 98 12"},
        {{"date", "122596", "--order", "mmddyy", "--format", "Day,Month,Year"}, "12 20 98 19 27 6"},
        {{"date", "2512", "--format", "Day,MonthName,Year"}, "20 98 41"},
        {{"date", "12/07/26"}, "44"},
        {{"date", "12/08/26"}, "42"},
        {{"date", "12/06/26"}, "43"},
        {{"date", "12/08/26", "--now", "2026-12-08 09:00"}, "44"},
        {{"today", "--format", "Day,MonthName"}, "100 41"},
        {{"now"}, "2 0 5 46"},
        {{"filesize", "488000"}, "1 56 51 1 55"},
        {{"filesize", "3000", "--audio-format", "3"}, "1 55"},
        {{"salutation", "11"}, "61"},
        {{"salutation", "12"}, "62"},
        {{"salutation", "17"}, "63"},
    });
}

TEST(Kvosay, French) {
    ExpectSaid("fr", {
        {{"number", "115"}, "125 15"},
        {{"number", "71"}, "133"},
        {{"number", "75"}, "24 15"},
        {{"number", "95"}, "26 15"},
        {{"number", "1000000"}, "127"},
        {{"number", "1000000000"}, "151"},
        {{"ordinal", "21"}, "152"},
        {{"ordinal", "30"}, "114"},
        {{"ordinal", "91"}, "159"},
        {{"ordinal", "100"}, "1 121"},
        {{"money", "1000000000."}, "151 149"},
    });
}

TEST(Kvosay, ItalianAndRuleFlags) {
    ExpectSaid("it", {
        {{"number", "1", "--flags", "F"}, "136"},
        {{"number", "21", "--flags", "N"}, "20 137"},
        {{"ordinal", "1", "--flags", "F"}, "138"},
        {{"number", "100"}, "125"},
    });
    ExpectSaid("2", {
        {{"number", "45"}, "n25"},
        {{"ordinal", "45"}, "o25"},
    });
    ExpectSaid("56", {{{"number", "71"}, "133"}});
}

TEST(Kvosay, WordsBesideTheClips) {
    ToolRun r = Kvosay({"en", "--words", "money", "101"});
    EXPECT_EQ(r.out, "kavoro.vap\t1\tone\nkavoro.vap\t148\tdollar\nkavoro.vap\t51\tand\n"
                     "kavoro.vap\t1\tone\nkavoro.vap\t53\tcent\n");
    r = Kvosay({"fr", "--words", "ordinal", "81"});
    EXPECT_EQ(r.out, "kavoro.vap\t158\teighty-and-first\n");
    r = Kvosay({"2", "--words", "ordinal", "45"});
    EXPECT_EQ(r.out, "kvo_ord.vap\t25\tforty-fifth\n");
    r = Kvosay({"en", "--words", "date", "01/02/03", "--format", "WeekDay,MonthName,Year"});
    EXPECT_EQ(r.out, "kavoro.vap\t144\tThursday\nkavoro.vap\t30\tJanuary\nkavoro.vap\t20\ttwenty\nkavoro.vap\t3\tthree\n");
}

TEST(Kvosay, RefusedValuesPrintTheirErrorAndLogText) {
    struct Refused {
        std::vector<const char*> args;
        const char* err;
    } cases[] = {
        {{"en", "number", "12a"}, "error 4: bad_number '12a'\n"},
        {{"en", "money", "123456789012345678901234567890"}, "error 4: bad_number '123456789012345678901234567890'\n"},
        {{"en", "ordinal", "-3"}, "error 4: bad_number '-3'\n"},
        {{"en", "time", "2460"}, "error 3: bad time spec '2460'\n"},
        {{"en", "date", "1234567"}, "error 5: bad date specification '1234567'\n"},
        {{"en", "date", "13/01/96"}, "error 5: bad date specification '13/01/96'\n"},
        {{"en", "digits", "1?"}, "error: bad digits in phrase '1?'\n"},
        {{"en", "date", "12/25/96", "--format", "Month"}, "error: cannot say '12/25/96'\n"},
    };
    for (const Refused& c : cases) {
        const ToolRun r = Kvosay(c.args);
        EXPECT_EQ(r.status, 1) << c.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(Kvosay, UnusableCommandLines) {
    struct Bad {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{}, "a language and a kind are needed"},
        {{"de", "number", "1"}, "unknown language 'de'"},
        {{"en", "roman", "1"}, "unknown kind 'roman'"},
        {{"en", "number"}, "number takes one value"},
        {{"en", "today", "x"}, "today takes no value"},
        {{"en", "number", "1", "--clock", "13"}, "--clock is 12 or 24"},
        {{"en", "number", "1", "--order", "ddyymm"}, "unknown date order 'ddyymm'"},
        {{"en", "now", "--now", "2026-13-01 10:00"}, "--now is \"YYYY-MM-DD HH:MM\""},
        {{"en", "number", "1", "--flags"}, "--flags needs a value"},
        {{"en", "number", "1", "--loud"}, "unknown option --loud"},
    };
    for (const Bad& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "kvosay");
        EXPECT_EQ(kvo::ParseKvosayArgs(static_cast<int>(args.size()), args.data()).error, c.error);
    }
}

}  // namespace
