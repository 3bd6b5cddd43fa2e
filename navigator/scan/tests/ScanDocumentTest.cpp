#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "ScanDocument.h"

namespace {

// One document every scanner reads differently: the first item shows which
// scanner the dispatcher chose.
const char kMixed[] =
    "[Section]\n"
    "X ICON\n"
    "Go PROC\n"
    "Sub Basic\n"
    "$TAG$ fault\n"
    "Subject: mail\n"
    "program P; procedure Pascal;\n";

std::string FirstItem(qv::DocKind kind) {
    qvtest::ExactLineSource lines(kMixed, qv::LineConvention::OwnNewline);
    qv::CollectingSink sink;
    const int n = qv::ScanDocument(kind, lines, sink, {});
    EXPECT_EQ(n, static_cast<int>(sink.items.size())) << "kind " << kind;
    return sink.items.empty() ? std::string() : std::string(sink.items.front().text);
}

TEST(ScanDocument, EachKindGetsItsScanner) {
    const struct {
        qv::DocKind kind;
        const char* first;
    } cases[] = {
        {qv::kKindAsm, "Go"},        {qv::kKindAsmInclude, "Go"},     {qv::kKindResource, "Icon X"},
        {qv::kKindSections, "[Section]"}, {qv::kKindHelpProject, "[Section]"}, {qv::kKindBasic, "Basic"},
        {qv::kKindPascal, "Pascal"}, {qv::kKindLog, "fault"},         {qv::kKindDigest, "mail"},
        {qv::kKindOther, ""},        {qv::kKindDefinition, ""},       {qv::kKindMake, ""},
        {qv::kKindNone, ""},         {15, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstItem(c.kind), c.first) << "kind " << c.kind;
        EXPECT_EQ(qv::HasOutline(c.kind), *c.first != '\0') << "kind " << c.kind;
    }
    for (qv::DocKind k : {qv::kKindC, qv::kKindCpp, qv::kKindHeader}) EXPECT_TRUE(qv::HasOutline(k)) << k;
}

// Item lines are 16 bits wide: a long log must not put items at line 0 or
// below their own top line once the count wraps.
TEST(ScanDocument, NoItemPastTheLastLineAnItemCanName) {
    const struct {
        qv::DocKind kind;
        const char* head;  // one line
        const char* twoItems;
        const char* first;
    } cases[] = {
        {qv::kKindAsm, "\n", "A PROC\nB PROC\n", "A"},
        {qv::kKindResource, "\n", "A ICON\nB ICON\n", "Icon A"},
        {qv::kKindSections, "\n", "[A]\n[B]\n", "[A]"},
        {qv::kKindBasic, "\n", "Sub A\nSub B\n", "A"},
        {qv::kKindPascal, "implementation\n", "procedure A;\nprocedure B;\n", "A"},
        {qv::kKindLog, "\n", "$TAG$ A\n$TAG$ B\n", "A"},
        {qv::kKindDigest, "\n", "Subject: A\nSubject: B\n", "A"},
    };
    constexpr unsigned kLast = 0xFFFF;
    for (const auto& c : cases) {
        const std::string text = c.head + std::string(kLast - 2, '\n') + c.twoItems;
        qvtest::ExactLineSource lines(text, qv::LineConvention::OwnNewline);
        qv::CollectingSink sink;
        EXPECT_EQ(qv::ScanDocument(c.kind, lines, sink, {}), 1) << "kind " << c.kind;
        ASSERT_EQ(sink.items.size(), 1u) << "kind " << c.kind;
        EXPECT_STREQ(sink.items[0].text, c.first) << "kind " << c.kind;
        EXPECT_EQ(sink.items[0].line, kLast) << "kind " << c.kind;
        EXPECT_LE(sink.items[0].topLine, sink.items[0].line) << "kind " << c.kind;
        std::size_t rest = 0;
        EXPECT_EQ(lines.NextLine(rest), nullptr) << "kind " << c.kind << " stopped early";
    }
}

}  // namespace
