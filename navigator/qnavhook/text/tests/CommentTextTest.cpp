#include <gtest/gtest.h>
#include "CommentText.h"

namespace qnav::text {
namespace {

struct Case { qv::DocKind kind; bool lineComments; const char* text; const char* commented; const char* note; };

const Case kCases[] = {
    {qv::kKindCpp, true, "int a;\r\nint b;\r\n", "//int a;\r\n//int b;\r\n", "C++ line comments"},
    {qv::kKindCpp, false, "int a;\r\n  int b;", "/* int a; */\r\n  /* int b; */", "C block comments keep indent"},
    {qv::kKindC, false, "x = 1; // one", "/* x = 1;  */ // one", "existing line comment kept, a blank added before it"},
    {qv::kKindC, false, "s = \"/* no */\";", "/* s = \"/* no */\"; */", "literal copied whole"},
    {qv::kKindC, false, "c = '\\'';", "/* c = '\\''; */", "escaped quote inside a literal"},
    {qv::kKindHeader, false, "", "", "nothing selected"},
    {qv::kKindAsm, false, "mov ax,1\r\nret", "; mov ax,1\r\n; ret", "assembler"},
    {qv::kKindSections, false, "[a]\r\nk=v\r\n", "; [a]\r\n; k=v\r\n", "sections"},
    {qv::kKindBasic, false, "x = 1", "' x = 1", "Basic"},
    {qv::kKindPascal, false, "x := 1; { keep }", "(* x := 1;  *) { keep }", "Pascal braces kept"},
    {qv::kKindPascal, false, "s := 'a*)b';", "(* s := 'a*)b'; *)", "Pascal literal whole"},
};

TEST(CommentText, CommentAndRoundTrip) {
    for (const Case& c : kCases) {
        const auto commented = CommentBlock(c.kind, c.lineComments, c.text);
        ASSERT_TRUE(commented) << c.note;
        EXPECT_EQ(*commented, c.commented) << c.note;
        const auto back = UncommentBlock(c.kind, *commented);
        ASSERT_TRUE(back) << c.note;
        EXPECT_EQ(*back, c.text) << c.note << ": round trip";
    }
}

TEST(CommentText, UncommentForms) {
    struct U { qv::DocKind kind; const char* text; const char* want; const char* note; };
    const U cases[] = {
        {qv::kKindCpp, "  // x", "   x", "line comment after blanks"},
        {qv::kKindCpp, "/*** x ***/ y", "x y", "extra stars"},
        {qv::kKindCpp, "/* \"*/\" */", "\"*/\"", "literal hides the close"},
        {qv::kKindCpp, "x // y", "x // y", "a comment not at the line start stays"},
        {qv::kKindAsm, ";;; x", "x", "all leading semicolons"},
        {qv::kKindBasic, "''x", "x", "quotes without blank"},
    };
    for (const U& c : cases) EXPECT_EQ(*UncommentBlock(c.kind, c.text), c.want) << c.note;
}

TEST(CommentText, KindsWithoutStyleDoNothing) {
    for (qv::DocKind k : {qv::kKindOther, qv::kKindMake, qv::kKindLog, qv::kKindDigest, qv::kKindNone}) {
        EXPECT_FALSE(HasCommentStyle(k)) << k;
        EXPECT_FALSE(CommentBlock(k, true, "x")) << k;
        EXPECT_FALSE(UncommentBlock(k, "x")) << k;
    }
}

}  // namespace
}  // namespace qnav::text
