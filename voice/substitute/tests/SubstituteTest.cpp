// Replacing references by control and Frame values, and the value access
// behind it: running system, test calls that ask the user, failures and
// their log records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeValueContext.h"
#include "LogKinds.h"
#include "Substitute.h"

namespace {

using kvotest::FakeOwner;
using kvotest::FakeValueContext;
using Logs = std::vector<std::string>;

std::string LogLine(int channel, int kind, const std::string& text) {
    return std::to_string(channel) + ":" + std::to_string(kind) + ":" + text;
}

// A form with a GetDigits control "Menu", a Dial "Dial1", a control without
// values, two controls sharing a name, and a Frame with two transfer
// properties; channel 2 has values.
class SubstituteTest : public ::testing::Test {
protected:
    SubstituteTest()
        : menu(form.AddControl("Menu", {"Digits", "MaxKeys", "TermDtmf", "MaxSil"})),
          dial(form.AddControl("Dial1", {"CallResult", "NumToDial", "CallTime"})),
          frame(form.AddFrame("Frame1", {"CurrentDirectory", "Ext", "Account"})) {
        form.AddControl("InConn1", {});
        form.AddControl("Twin", {"Value"});
        form.AddControl("Twin", {"Value"});
        form.AddControl("Shared", {"Value"});
        form.AddFrame("Shared", {"CurrentDirectory"});
        menu.Put(2, 0, "150");
        dial.Put(2, 1, "5551234");
        frame.Put(2, 0, "c:\\kvo32\\english\\");
        frame.Put(2, 1, "201");
    }

    std::optional<std::string> Run(const char* text, kvo::ValueOwner* self = nullptr, int channel = 2) {
        return kvo::Substitute(form, self, text ? std::optional<std::string_view>(text) : std::nullopt, channel);
    }

    FakeValueContext form;
    FakeOwner& menu;
    FakeOwner& dial;
    FakeOwner& frame;
};

TEST_F(SubstituteTest, RunningSystemReplacesEveryKindOfReference) {
    const struct { const char* text; int channel; const char* want; const char* note; } cases[] = {
        {"c:\\voice\\menu.vap", 2, "c:\\voice\\menu.vap", "no reference: unchanged"},
        {"", 2, "", "empty text"},
        {"%channel%", 0, "1", "channels are shown 1-based"},
        {"line %CHANNEL%.", 5, "line 6.", "channel ignores case; text around it kept"},
        {"%Menu%", 2, "150", "no value part: the first value"},
        {"%Menu.Digits%#", 2, "150#", ""},
        {"9,%Dial1.NumToDial%", 2, "9,5551234", ""},
        {"%Frame1.Ext%", 2, "201", "Frame transfer property"},
        {"%Frame1%", 2, "c:\\kvo32\\english\\", "a Frame alone gives its current directory"},
        {"[%InConn1%]", 2, "[]", "a control without values reads empty"},
        {"%Frame1.Ext%%Menu%", 2, "201150", "adjacent references"},
    };
    for (const auto& c : cases) {
        form.logs.clear();
        const auto got = Run(c.text, nullptr, c.channel);
        ASSERT_TRUE(got) << c.note << " [" << c.text << "] logs " << ::testing::PrintToString(form.logs);
        EXPECT_EQ(*got, c.want) << c.note << " [" << c.text << "]";
        EXPECT_EQ(form.logs, Logs{}) << c.text;
    }
}

TEST_F(SubstituteTest, FailuresLogWhyAndStop) {
    const struct { const char* text; std::string log; const char* note; } cases[] = {
        {"%menu%", LogLine(2, kvo::LK_CONTROL_NOT_FOUND, "menu"), "names are case-sensitive"},
        {"%Nobody.Value%", LogLine(2, kvo::LK_CONTROL_NOT_FOUND, "Nobody"), ""},
        {"%%", LogLine(2, kvo::LK_CONTROL_NOT_FOUND, ""), "empty token"},
        {"%Twin%", LogLine(2, kvo::LK_AMBIGUOUS_CONTROL_NAME, "Twin"), "two call-flow controls"},
        {"%Shared%", LogLine(2, kvo::LK_AMBIGUOUS_CONTROL_NAME, "Shared"), "a control and a Frame"},
        {"%Menu.digits%", LogLine(2, kvo::LK_PROPERTY_NOT_FOUND, "Menu.digits"), "value names are case-sensitive"},
        {"%Frame1.Account2%", LogLine(2, kvo::LK_PROPERTY_NOT_FOUND, "Frame1.Account2"), ""},
        {"dial %Menu", LogLine(2, kvo::LK_CONTROL_NOT_FOUND, "dial %Menu"), "open percent sign: the whole text"},
        {"%this%", LogLine(2, kvo::LK_TEXT, "cannot access 'this' control property from greeting property page"),
         "no calling control"},
    };
    for (const auto& c : cases) {
        form.logs.clear();
        EXPECT_FALSE(Run(c.text)) << c.note << " [" << c.text << "]";
        EXPECT_EQ(form.logs, Logs{c.log}) << c.note << " [" << c.text << "]";
    }
}

TEST_F(SubstituteTest, FailureStopsBeforeLaterReferences) {
    form.running = false;  // a later reference would ask the user: it must not
    EXPECT_FALSE(Run("%Nobody%%Dial1.CallTime%"));
    EXPECT_EQ(form.prompts, Logs{});
}

TEST_F(SubstituteTest, NullTextFailsAndThisIsTheCallingControl) {
    EXPECT_FALSE(Run(nullptr));
    EXPECT_EQ(form.logs, Logs{LogLine(2, kvo::LK_CONTROL_NOT_FOUND, "")});
    EXPECT_EQ(Run("%THIS.Digits%-%this%", &menu), "150-150");
}

TEST_F(SubstituteTest, RunningSystemMissingValueIsLoggedAndReadsEmpty) {
    const auto got = Run("x%Dial1.CallTime%y");
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, "xy");
    EXPECT_EQ(form.logs, Logs{LogLine(2, kvo::LK_DATA_NOT_SET, "Dial1")});
}

TEST_F(SubstituteTest, TestCallAsksOnceForAValueNotYetReady) {
    form.running = false;
    dial.ClearReady();  // a test call starts with every flag clear
    form.answers = {"5550000"};
    const auto got = Run("%Dial1.NumToDial%,%Dial1.NumToDial%");
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, "5550000,5550000");
    EXPECT_EQ(form.prompts,
              Logs{"control Dial1 property NumToDial does not have a valid value. Please enter a value"});
    EXPECT_EQ(form.logs, Logs{});
}

// Value access while the system is not running (design time, test calls).
TEST_F(SubstituteTest, ValueAccessOutsideARunningSystem) {
    const struct {
        bool ready;
        bool greetingsPage;
        std::optional<std::string> answer;  // queued for a prompt
        std::optional<std::string> want;
        std::size_t prompts;
        const char* note;
    } cases[] = {
        {true, false, std::nullopt, "150", 0, "the control ran in this test: read without asking"},
        {false, false, std::nullopt, std::nullopt, 1, "prompt cancelled: the substitution fails"},
        {true, true, "7", "7", 1, "the greeting page hides even a ready value"},
    };
    for (const auto& c : cases) {
        form.running = false;
        form.greetingsPage = c.greetingsPage;
        form.prompts.clear();
        form.logs.clear();
        if (c.ready) menu.Put(2, 0, "150");
        else menu.ClearReady();
        if (c.prompts) form.answers = {c.answer};
        EXPECT_EQ(Run("%Menu%"), c.want) << c.note;
        EXPECT_EQ(form.prompts.size(), c.prompts) << c.note;
        EXPECT_EQ(form.logs, c.want ? Logs{} : Logs{LogLine(2, kvo::LK_NO_DATA_IN_CONTROL, "Menu")}) << c.note;
    }
}

TEST_F(SubstituteTest, ValueWithoutReadyFlagIsReadWhenPresent) {
    // A record source with more than 16 fields: index 17 has no flag.
    std::vector<std::string> names{"RecordCount"};
    for (int i = 1; i <= 17; ++i) names.push_back("F" + std::to_string(i));
    FakeOwner& data = form.AddControl("Data1", names);
    data.Put(2, 17, "Smith");
    data.ClearReady();
    form.running = false;
    EXPECT_EQ(Run("%Data1.F17%"), "Smith");
    EXPECT_EQ(form.prompts, Logs{});
}

TEST_F(SubstituteTest, ResultGrowsWithoutLimit) {
    const std::string big(100000, 'x');
    frame.Put(2, 2, big);
    std::string text;
    for (int i = 0; i < 20; ++i) text += "%Frame1.Account%";
    EXPECT_EQ(Run(text.c_str()).value_or("").size(), 20 * big.size());
}

}  // namespace
