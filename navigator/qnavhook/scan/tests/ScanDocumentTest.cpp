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

}  // namespace
