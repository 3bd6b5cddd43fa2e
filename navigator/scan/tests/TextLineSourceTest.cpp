#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "TextLineSource.h"

namespace {

std::vector<std::string> Lines(std::string_view text, qv::LineConvention c) {
    qv::TextLineSource src(text, c);
    std::vector<std::string> out;
    std::size_t n = 99;
    while (const char* p = src.NextLine(n)) out.emplace_back(p, n);
    EXPECT_EQ(n, 0u) << "end of text must report no characters";
    return out;
}

using V = std::vector<std::string>;

TEST(TextLineSource, OwnNewlineKeepsEachLinesBreak) {
    EXPECT_EQ(Lines("a\nbc\n\nd", qv::LineConvention::OwnNewline), (V{"a\n", "bc\n", "\n", "d"}));
    EXPECT_EQ(Lines("a\r\nb\r\n", qv::LineConvention::OwnNewline), (V{"a\r\n", "b\r\n"}));
}

TEST(TextLineSource, NoNewlineStripsBreaksAndCarriageReturns) {
    EXPECT_EQ(Lines("a\nbc\n\nd", qv::LineConvention::NoNewline), (V{"a", "bc", "", "d"}));
    EXPECT_EQ(Lines("a\r\nb\r\n", qv::LineConvention::NoNewline), (V{"a", "b"}));
}

TEST(TextLineSource, EmptyTextHasNoLines) {
    EXPECT_TRUE(Lines("", qv::LineConvention::OwnNewline).empty());
    EXPECT_TRUE(Lines("", qv::LineConvention::NoNewline).empty());
}

TEST(TextLineSource, LongLinesAreCutAtTheLimit) {
    std::string text(5000, 'x');
    text += "\nnext\n";
    for (auto c : {qv::LineConvention::OwnNewline, qv::LineConvention::NoNewline}) {
        auto lines = Lines(text, c);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].size(), qv::kMaxLineLength);
        EXPECT_EQ(lines[1].substr(0, 4), "next") << "the rest of a cut line is not a new line";
    }
}

TEST(TextLineSource, RewindStartsAgain) {
    qv::TextLineSource src("one\ntwo\n", qv::LineConvention::NoNewline);
    std::size_t n = 0;
    while (src.NextLine(n)) {}
    src.Rewind();
    const char* p = src.NextLine(n);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::string(p, n), "one");
}

}  // namespace
