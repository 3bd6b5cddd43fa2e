// The dispatcher's portable rules: what a line shows, the order of start
// refusals, LinesInGroup texts and help-digit keys.
#include <gtest/gtest.h>

#include "DigitMask.h"
#include "LineTables.h"

namespace kvo {
namespace {

TEST(LineStatus, ArgumentOnlyForPlayingAndRecording) {
    struct Case {
        int code;
        const char* argument;
        const char* shown;
    } cases[] = {
        {kStatusPlaying, "greeting", "playing  greeting"},  // the name keeps its trailing blank
        {kStatusPlaying, "", "playing "},
        {kStatusRecording, "msg.wav", "recording msg.wav"},
        {kStatusDialling, "555", "dialling"},
        {kStatusWaitingForRing, "x", "waiting for ring"},
        {kStatusStoppedNoConnection, "", "stopped - no connection"},
        {kStatusPausedWaitingForDigit, "", "paused - waiting for digit"},
        {-1, "x", ""},
        {kStatusCount, "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(LineStatusDisplay(c.code, c.argument), c.shown) << c.code;
}

TEST(StartSystem, RefusalsComeInTheirOrder) {
    struct Case {
        StartConditions c;
        int result;
        const char* note;
    } cases[] = {
        {{}, 0, "all fine"},
        {{true, true, false, false}, 1, "test mode wins over everything"},
        {{false, true, false, false}, 2, "already started before a missing frame"},
        {{false, false, false, false}, 7, "missing frame before design mode"},
        {{false, false, true, false}, 3, "design mode"},
    };
    for (const Case& c : cases) EXPECT_EQ(StartRefusal(c.c), c.result) << c.note;
}

TEST(LinesInGroup, NumbersRangesAndNoise) {
    auto lines = [](const char* text) {
        std::string out;
        LineSet set = ParseLinesInGroup(text);
        for (int i = 0; i < kDispatchLines; ++i)
            if (set.test(size_t(i))) out += (out.empty() ? "" : ",") + std::to_string(i);
        return out;
    };
    EXPECT_EQ(lines("1-3,5"), "0,1,2,4");
    EXPECT_EQ(lines("0,49,48"), "47") << "outside 1..48 ignored";
    EXPECT_EQ(lines("1-4,7"), "0,1,2,3,6");
    EXPECT_EQ(lines(" 2 ; 4x6"), "1,3,5") << "any non-digit separates";
    EXPECT_EQ(lines("3-1"), "0,1,2") << "a reversed range";
    EXPECT_EQ(lines("47-60"), "46,47") << "a range running past 48 is cut";
    EXPECT_EQ(lines("5-"), "4") << "an open range is its first number";
    EXPECT_EQ(lines("99999999999999999999,2"), "1") << "no overflow on long numbers";
    EXPECT_EQ(lines(""), "");
    EXPECT_EQ(lines("--,,"), "");
}

TEST(CallDuration, SecondsThenMinutes) {
    EXPECT_EQ(FormatCallDuration(0), "0s");
    EXPECT_EQ(FormatCallDuration(59), "59s");
    EXPECT_EQ(FormatCallDuration(60), "1m:0s");
    EXPECT_EQ(FormatCallDuration(3725), "62m:5s");
}

TEST(StatusWindow, TimesRunOnlyForLinesInACall) {
    const struct {
        int code;
        bool times;
    } cases[] = {
        {kStatusIdle, false},         {kStatusPlaying, true},           {kStatusWaitingForDigits, true},
        {kStatusPrecallDelay, false}, {kStatusWaitingForRing, false},   {kStatusInterCallDelay, false},
        {kStatusWaitingForShutdown, false}, {kStatusWaitingForDialtone, true}, {kStatusStoppedError, true},
        {kStatusCount, false},        {-1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(StatusShowsTimes(c.code), c.times) << "status " << c.code;
}

TEST(HelpDigit, KeySearchedZeroToNineThenStarHash) {
    EXPECT_EQ(HelpDigitKey(0), 0);
    EXPECT_EQ(HelpDigitKey(kvoDigit_0), '0');
    EXPECT_EQ(HelpDigitKey(kvoDigit_0 | kvoDigit_1), '0') << "0 comes first though its bit is higher";
    EXPECT_EQ(HelpDigitKey(kvoDigit_9 | kvoDigit_S), '9');
    EXPECT_EQ(HelpDigitKey(kvoDigit_N), '#');
    EXPECT_EQ(HelpDigitKey(kvoDigit_A | kvoDigit_D), 0) << "no key of the search";
}

}  // namespace
}  // namespace kvo
