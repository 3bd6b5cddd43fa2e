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

Argument Text(const char* s) { return Argument{s, 0, false}; }
Argument Ref(int n) { return Argument{"", n, false}; }
Argument Bare(const char* s) { return Argument{s, 0, true}; }

TEST(FormFile, FormatThenParseRoundTrips) {
    Form form;
    form.controls = {{"Ostrel.GetAddress", "GetAddress1",
                      {{"_Version", "262144"}, {"Note", "a \"b\"\nc"}, {"End", "Begin x y"}}},
                     {"Ostrel.GetName", "GetName1", {}, true, 10, -20, 32, 0}};
    form.handlers = {{"User1", "Enter",
                      {{"Set", {{"User1", {}}, {"GotoNode", {Ref(1)}}}, {Text("0")}},
                       {"Set", {}, {Ref(2), Text("x, y")}},
                       {"Call", {{"Frame1", {}}, {"Log", {}}}, {Ref(1), Text(""), Text("a \"q\"")}}}}};
    form.steps = {{"Set", {{"GetAddress1", {}}, {"HostName", {}}}, {Text("local host")}},
                  {"Set", {{"Frame1", {}}, {"Transfer", {}}, {"Prop00", {Text("1")}}}, {Text("205")}},
                  {"Wait", {{"GetAddress1", {}}, {"EndGetHostAddress", {}}}, {Bare("2"), Bare("500")}},
                  {"Call", {{"GetName1", {}}, {"GetHostName", {}}}, {Text("127.0.0.1"), Text("two")}},
                  {"Call", {{"GetName1", {}}, {"AboutBox", {}}}, {}},
                  {"Get", {{"GetName1", {}}, {"Cell", {Text("1"), Text("2)")}}}, {}},
                  {"Verb", {{"GetName1", {}}}, {Bare("-7")}},
                  {"Unload", {{"GetName1", {}}}, {}},
                  {"Unload", {}, {}},
                  {"Break", {}, {}},
                  {"Continue", {}, {}},
                  {"Mode", {}, {Bare("design")}},
                  {"Pause", {}, {Bare("250")}},
                  {"Answer", {}, {Text("Value prompt"), Text("42")}},
                  {"Answer", {}, {Text("Kavoro"), Bare("Yes")}}};
    const std::string text = FormatForm(form);
    Form back;
    ParseError error = ParseForm(text, back);
    ASSERT_FALSE(error) << error.line << ": " << error.message << "\n" << text;
    EXPECT_EQ(FormatForm(back), text);
    ASSERT_EQ(back.controls.size(), 2u);
    EXPECT_EQ(back.controls[0].progId, "Ostrel.GetAddress");
    EXPECT_EQ(back.controls[0].properties[1].value, "a \"b\"\nc");
    EXPECT_FALSE(back.controls[0].placed);
    EXPECT_TRUE(back.controls[1].placed);
    EXPECT_EQ(back.controls[1].top, -20);
    ASSERT_EQ(back.handlers.size(), 1u);
    EXPECT_EQ(back.handlers[0].steps[0].path[1].args[0].eventArg, 1);
    EXPECT_EQ(back.handlers[0].steps[1].args[0].eventArg, 2);
    EXPECT_EQ(back.handlers[0].steps[2].args.size(), 3u);
    ASSERT_EQ(back.steps.size(), form.steps.size());
    for (size_t i = 0; i < form.steps.size(); ++i) {
        EXPECT_EQ(back.steps[i].verb, form.steps[i].verb) << i;
        EXPECT_EQ(FormatPath(back.steps[i].path), FormatPath(form.steps[i].path)) << i;
        ASSERT_EQ(back.steps[i].args.size(), form.steps[i].args.size()) << i;
        for (size_t k = 0; k < form.steps[i].args.size(); ++k)
            EXPECT_EQ(back.steps[i].args[k].text, form.steps[i].args[k].text) << i << "/" << k;
    }
    EXPECT_EQ(back.steps[1].line, 15) << "steps know their line in the file";
}

TEST(FormFile, HandWrittenFormsAcceptBareValuesCommentsAndCrLf) {
    Form form;
    ParseError error = ParseForm(
        "# a comment\r\n\r\nBegin Ostrel.GetName Name1\r\n  _Version = 262144\r\nEnd\r\n"
        "Run\r\n  Set Name1.HostAddress = 127.0.0.1\r\n  Call Name1.GetHostName 127.0.0.1\r\n"
        "  Call Name1.Pair first word,  \"second, quoted\" , $3\r\n  Set Frame1.Transfer.Prop00( 1 ) = a, b = c\r\nEnd\r\n",
        form);
    ASSERT_FALSE(error) << error.line << ": " << error.message;
    EXPECT_EQ(form.controls[0].properties[0].value, "262144");
    EXPECT_EQ(form.steps[0].args[0].text, "127.0.0.1");
    EXPECT_EQ(form.steps[1].args[0].text, "127.0.0.1");
    ASSERT_EQ(form.steps[2].args.size(), 3u);
    EXPECT_EQ(form.steps[2].args[0].text, "first word");
    EXPECT_EQ(form.steps[2].args[1].text, "second, quoted");
    EXPECT_EQ(form.steps[2].args[2].eventArg, 3);
    EXPECT_EQ(FormatPath(form.steps[3].path), "Frame1.Transfer.Prop00(\"1\")");
    EXPECT_EQ(form.steps[3].args[0].text, "a, b = c") << "a bare value runs to the end of the line";
    EXPECT_EQ(form.steps[3].line, 10);
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
        {"Begin A.B x 1 2 3 4 5\nEnd\n", 1, "too many place numbers"},
        {"Begin A.B x 1 two\nEnd\n", 1, "a place that is no number"},
        {"On x\nEnd\n", 1, "On without an event"},
        {"On x.y(1)\nEnd\n", 1, "On with arguments"},
        {"On x.y\n  Bogus\nEnd\n", 2, "unknown step in a handler"},
        {"Run\n  Set x.y(1 = 2\nEnd\n", 2, "unclosed index list"},
        {"Run\n  Set $0 = 2\nEnd\n", 2, "event arguments count from 1"},
        {"Run\n  Get x.y z\nEnd\n", 2, "text after a Get target"},
        {"Run\n  Call x.y a,\nEnd\n", 2, "argument list ending in a comma"},
        {"Run\n  Wait x.y -1\nEnd\n", 2, "negative count"},
        {"Run\n  Wait x.y 1 2 3\nEnd\n", 2, "a third Wait number"},
        {"Run\n  Mode pause\nEnd\n", 2, "unknown mode"},
        {"Run\n  Pause soon\nEnd\n", 2, "pause without milliseconds"},
        {"Run\n  Answer Title OK\nEnd\n", 2, "unquoted title"},
        {"Run\n  Answer \"T\" Maybe\nEnd\n", 2, "unknown button"},
        {"Run\n  Verb x\nEnd\n", 2, "verb without a number"},
        {"Run\n  Break now\nEnd\n", 2, "text after Break"},
        {"Run\n  Pause 9999999999\nEnd\n", 2, "a number too long"},
    };
    for (const auto& c : cases) {
        Form form;
        ParseError error = ParseForm(c.text, form);
        EXPECT_EQ(error.line, c.line) << c.note << " (" << error.message << ")";
    }
}

}  // namespace
}  // namespace container
