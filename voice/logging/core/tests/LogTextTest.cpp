// Line texts of records, and the kind table they are made from.
#include "LogText.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <regex>
#include <type_traits>

#include "CategoryMask.h"

namespace kvo {
namespace {

LogRecord At(int channel, int kind, std::initializer_list<LogValue> values, LogTime time = {}) {
    auto r = MakeLogRecord(channel, kind, values);
    EXPECT_TRUE(r) << kind;
    r->time = time;
    return *r;
}

TEST(LogTextTest, LineTexts) {
    const LogTime t{5, 14, 0, 9};  // 14:05:09
    struct Case {
        const char* note;
        LogRecord record;
        const char* expected;
    } cases[] = {
        {"text, untimed", At(3, LK_TEXT, {"hello"}), "ch 4 hello"},
        {"timed exit", At(0, LK_EXIT_NODE, {7, "Menu"}, t), "14:05:09-> ch 1 exit via node 7 <Menu>"},
        {"test channel, timed", At(kTestChannel, LK_EXIT_NODE, {7, "Menu"}, t), "14:05:09-> exit via node 7 <Menu>"},
        {"test channel, untimed", At(kTestChannel, LK_DELAY_START, {250}), "delay start 250"},
        {"error prefix", At(1, LK_CONTROL_NOT_FOUND, {"Main"}), "Error: ch 2 Control not found 'Main'"},
        {"hex conversions", At(0, LK_WAIT_DIGITS, {4, 0x1F}), "ch 1 waiting for digits, max 4, mask 1f"},
        {"hex of a negative number", At(0, LK_VB_TERM_DIGIT, {-1}), "ch 1 VB set termdigit ffffffff"},
        {"voice event, named code", At(0, LK_VOICE_EVENT, {29, 5}, t), "14:05:09-> ch 1 voice event 'RC_BUSY 5'  "},
        {"voice event, code above 40", At(0, LK_VOICE_EVENT, {41, 5}, t),
         "14:05:09-> ch 1 voice event 'Unknown return code 41 5'  "},
        {"voice event, unnamed code", At(0, LK_VOICE_EVENT, {40, 2}, t), "14:05:09-> ch 1 voice event ' 2'  "},
        {"voice event, negative code", At(0, LK_VOICE_EVENT, {-3, 2}, t),
         "14:05:09-> ch 1 voice event 'Unknown return code -3 2'  "},
        {"string not shown", At(0, LK_NO_DATA_IN_CONTROL, {"x"}), "Error: ch 1 no data in control"},
        {"control node, icon not shown", At(47, LK_CONTROL_ENTER, {"Menu", "GetDigits", 3}, t),
         "14:05:09-> ch 48 'Menu' (GetDigits) "},
        {"first of two numbers shown", At(0, LK_TAPI_REQUEST_NOT_FOUND, {8, 9}), "ch 1 Tapireq not found: 8"},
        {"doubled quotes kept", At(0, LK_DATABASE_DATA, {"a", "b"}), "ch 1 database data ''a'' 'b'"},
        {"percent in an argument is not a format", At(0, LK_TEXT, {"100%s%n"}), "ch 1 100%s%n"},
        {"empty string", At(0, LK_NUMBER_TO_DIAL, {static_cast<const char*>(nullptr)}), "ch 1 number to dial ''"},
        {"call start", At(2, LK_CALL_IN, {}, t), "14:05:09-> ch 3 Call In  "},
    };
    for (const Case& c : cases) EXPECT_EQ(LogLineText(c.record), c.expected) << c.note;
}

// Arguments missing from a damaged record read as empty or 0, never as garbage.
TEST(LogTextTest, MissingArgumentsReadEmpty) {
    LogRecord r;
    r.kind = LK_EXIT_NODE_VALUE;
    r.channel = 0;
    EXPECT_EQ(LogMessageText(r), "exit via node 0 <''> value ''");
    r.kind = kLogKindCount;
    EXPECT_EQ(LogLineText(r), "");
}

// Conversions are written without printf where they are plain; they must
// read as printf would write them, and the others still go to printf.
TEST(LogTextTest, ConversionsReadAsPrintfWritesThem) {
    auto arg = [](auto v) {
        LogArg a;
        if constexpr (std::is_same_v<decltype(v), const char*>) {
            a.type = LogArgType::String;
            a.text = v;
        } else {
            a.type = LogArgType::Number;
            a.number = v;
        }
        return a;
    };
    struct Case {
        const char* format;
        std::array<LogArg, kLogArgSlots> args;
        const char* expected;
    } cases[] = {
        {"%li %i %d", {arg(INT32_MIN), arg(-1), arg(INT32_MAX)}, "-2147483648 -1 2147483647"},
        {"%x %lx %X %u %o", {arg(-1), arg(0xABC), arg(0xABC), arg(-2)}, "ffffffff abc ABC 4294967294 0"},
        {"%5s|%-3i|%05x|%c", {arg("ab"), arg(-7), arg(255), arg(65)}, "   ab|-7 |000ff|A"},
        {"%.2i:%.3d %% end %", {arg(5), arg(-3)}, "05:-003 % end %"},
        {"%s and %s", {arg(12), arg("t")}, "12 and t"},
        {"%i %s %i", {arg("x")}, "0  0"},
        {"no conversions", {}, "no conversions"},
        {"%q stays", {arg(1)}, "%q stays"},
    };
    for (const Case& c : cases) {
        LogRecord r;
        r.kind = LK_TEXT;
        r.args = c.args;
        EXPECT_EQ(LogMessageText(r, c.format), c.expected) << c.format;
    }
    // Lines of any channel number, however a damaged file numbers them.
    LogRecord r = At(INT32_MAX, LK_TEXT, {"x"});
    EXPECT_EQ(LogLineText(r), "ch -2147483648 x");
    r = At(0, LK_CALL_IN, {}, LogTime{255, 100, 0, 7});
    EXPECT_EQ(LogLineText(r), "100:255:07-> ch 1 Call In  ");
    std::string appended = "kept ";
    AppendLogLineText(appended, At(1, LK_TEXT, {"y"}));
    EXPECT_EQ(appended, "kept ch 2 y");
}

// The argument types follow the format's conversions (%s a string, any other
// conversion a number), apart from the four kinds whose texts leave
// arguments out or show them otherwise.
TEST(LogTextTest, ArgumentTypesFollowTheFormats) {
    const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[lh]?([a-zA-Z])");
    for (int k = 0; k < kLogKindCount; ++k) {
        if (k == LK_VOICE_EVENT || k == LK_NO_DATA_IN_CONTROL || k == LK_CONTROL_ENTER ||
            k == LK_TAPI_REQUEST_NOT_FOUND)
            continue;
        const LogKindInfo& info = *FindLogKind(k);
        std::vector<LogArgType> expected;
        std::string f = info.format;
        for (std::sregex_iterator it(f.begin(), f.end(), conversion), end; it != end; ++it)
            expected.push_back((*it)[2] == "s" ? LogArgType::String : LogArgType::Number);
        std::vector<LogArgType> actual(info.args.begin(), info.args.begin() + LogArgCount(info));
        EXPECT_EQ(actual, expected) << "kind " << k << " " << info.format;
    }
    const auto& voiceEvent = FindLogKind(LK_VOICE_EVENT)->args;
    EXPECT_EQ(voiceEvent[0], LogArgType::Number);
    EXPECT_EQ(voiceEvent[1], LogArgType::Number);
    const auto& enter = FindLogKind(LK_CONTROL_ENTER)->args;
    EXPECT_EQ(enter[2], LogArgType::Number);
}

TEST(CategoryMaskTest, LoadsSwitchableKeysAndKeepsStructureOn) {
    std::map<std::string, int> ini = {{"Errors", 0}, {"Events", 1}, {"Calls", 7}};
    CategoryMask m = CategoryMask::Load([&](const char* key, int def) {
        auto it = ini.find(key);
        return it == ini.end() ? def : it->second;
    });
    EXPECT_TRUE(m.Has(LC_EVENTS));
    EXPECT_FALSE(m.Has(LC_FUNCTIONS)) << "default off";
    EXPECT_FALSE(m.Has(LC_ERRORS));
    EXPECT_TRUE(m.Has(LC_MSGS)) << "default on";
    EXPECT_TRUE(m.Has(LC_CALLS)) << "any non-zero is on";
    for (int c = kSwitchableCategories; c < kLogCategoryCount; ++c) EXPECT_TRUE(m.Has(c)) << c;
    EXPECT_FALSE(m.Has(-1));
    EXPECT_FALSE(m.Has(kLogCategoryCount));

    std::map<std::string, std::string> written;
    m.Store([&](const char* key, const char* value) { written[key] = value; });
    EXPECT_EQ(written.size(), 8u);
    EXPECT_EQ(written["Errors"], "0");
    EXPECT_EQ(written["Calls"], "1");
    EXPECT_EQ(written["Functions"], "0");
}

}  // namespace
}  // namespace kvo
