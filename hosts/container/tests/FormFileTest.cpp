// The form-file format: what the container writes it reads back unchanged,
// and bad files are refused with the line at fault.
#include <gtest/gtest.h>
#include "FormFile.h"

namespace container {
namespace {

TEST(FormFile, ValuesSurviveQuoting) {
    for (std::string value : {"", "plain", "two words", "quote \" inside", "back\\slash", "line\nbreak\r\ttab",
                              "trailing space ", "= sign", "\xC3\xA9t\xC3\xA9"}) {
        std::string back;
        ASSERT_TRUE(UnquoteValue(QuoteValue(value), back)) << value;
        EXPECT_EQ(back, value);
    }
}

TEST(FormFile, BadQuotingIsRefused) {
    struct { const char* text; const char* note; } cases[] = {
        {"\"open", "no closing quote"},
        {"\"bad \\q escape\"", "unknown escape"},
        {"\"ends with backslash\\", "escape at the end"},
        {"\"closed\" then more", "text after the closing quote"},
        {"bare\"quote", "quote inside a bare word"},
    };
    for (const auto& c : cases) {
        std::string value;
        EXPECT_FALSE(UnquoteValue(c.text, value)) << c.note;
    }
}

TEST(FormFile, FormatThenParseRoundTrips) {
    Form form;
    form.controls = {{"Ostrel.GetAddress", "GetAddress1",
                      {{"_Version", "262144"}, {"Note", "a \"b\"\nc"}, {"End", "Begin x y"}}},
                     {"Ostrel.GetName", "GetName1", {}}};
    form.steps = {{"Set", "GetAddress1", "HostName", "local host", true},
                  {"Wait", "GetAddress1", "EndGetHostAddress", "", false},
                  {"Call", "GetName1", "GetHostName", "127.0.0.1", true},
                  {"Call", "GetName1", "AboutBox", "", false},
                  {"Get", "GetName1", "Version", "", false}};
    Form back;
    ParseError error = ParseForm(FormatForm(form), back);
    ASSERT_FALSE(error) << error.line << ": " << error.message;
    ASSERT_EQ(back.controls.size(), 2u);
    EXPECT_EQ(back.controls[0].progId, "Ostrel.GetAddress");
    EXPECT_EQ(back.controls[0].properties[1].value, "a \"b\"\nc");
    EXPECT_TRUE(back.controls[1].properties.empty());
    ASSERT_EQ(back.steps.size(), form.steps.size());
    for (size_t i = 0; i < form.steps.size(); ++i) {
        EXPECT_EQ(back.steps[i].verb, form.steps[i].verb) << i;
        EXPECT_EQ(back.steps[i].member, form.steps[i].member) << i;
        EXPECT_EQ(back.steps[i].argument, form.steps[i].argument) << i;
        EXPECT_EQ(back.steps[i].hasArgument, form.steps[i].hasArgument) << i;
    }
}

TEST(FormFile, HandWrittenFormsAcceptBareValuesCommentsAndCrLf) {
    Form form;
    ParseError error = ParseForm(
        "# a comment\r\n\r\nBegin Ostrel.GetName Name1\r\n  _Version = 262144\r\nEnd\r\n"
        "Run\r\n  Set Name1.HostAddress = 127.0.0.1\r\n  Call Name1.GetHostName 127.0.0.1\r\nEnd\r\n",
        form);
    ASSERT_FALSE(error) << error.line << ": " << error.message;
    EXPECT_EQ(form.controls[0].properties[0].value, "262144");
    EXPECT_EQ(form.steps[0].argument, "127.0.0.1");
    EXPECT_EQ(form.steps[1].argument, "127.0.0.1");
}

TEST(FormFile, BrokenFormsNameTheLine) {
    struct { const char* text; int line; const char* note; } cases[] = {
        {"Begin Ostrel.GetName\nEnd\n", 1, "control without a name"},
        {"Begin A.B x\nBegin A.B y\n", 2, "Begin inside a control"},
        {"Begin A.B x\n  no equals sign\nEnd\n", 2, "property line without ="},
        {"Begin A.B x\nEnd\nBegin A.B x\nEnd\n", 3, "same name twice"},
        {"Begin A.B x\n", 1, "missing End"},
        {"End\n", 1, "End without Begin"},
        {"Run\n  Jump x.y\nEnd\n", 2, "unknown step"},
        {"Run\n  Set x = 1\nEnd\n", 2, "Set without a member"},
        {"Run\n  Wait x.y extra\nEnd\n", 2, "text after a Wait target"},
        {"Hello\n", 1, "stray text"},
    };
    for (const auto& c : cases) {
        Form form;
        ParseError error = ParseForm(c.text, form);
        EXPECT_EQ(error.line, c.line) << c.note << " (" << error.message << ")";
    }
}

}  // namespace
}  // namespace container
