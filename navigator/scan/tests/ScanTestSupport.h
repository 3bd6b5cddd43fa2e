// Helpers of the outline scanner tests: the outline of a text as FormatItem
// lines, checked for what every item must satisfy, and golden file pairs.
#pragma once
#include <gtest/gtest.h>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>
#include "ExactLineSource.h"
#include "OutlineText.h"
#include "Scanners.h"

namespace qvtest {

// The outline as FormatItem lines, each ended by '\n'. Also checks what every
// item must satisfy whatever the input.
inline std::string Outline(qv::ScanFunction scan, std::string_view text, const qv::ScanOptions& options = {},
                           std::string_view file = "f",
                           qv::LineConvention convention = qv::LineConvention::OwnNewline) {
    ExactLineSource lines(text, convention);
    qv::CollectingSink sink;
    const int count = scan(lines, sink, options);
    std::string out;
    for (const qv::OutlineItem& item : sink.items) {
        out += qv::FormatItem(file, item);
        out += '\n';
        if (std::memchr(item.text, 0, sizeof item.text) == nullptr ||
            std::memchr(item.qualifier, 0, sizeof item.qualifier) == nullptr)
            out += "!! unterminated text or qualifier\n";
        if (item.line == 0 || item.line > lines.delivered || item.topLine > item.line || item.topLine == 0)
            out += "!! line or top line out of range\n";
        if (item.endColumn < item.startColumn || item.endColumn > qv::kMaxLineLength)
            out += "!! columns out of range\n";
        if (item.text[0] == '\0') out += "!! empty text\n";
    }
    std::size_t rest = 0;
    if (lines.NextLine(rest) != nullptr) out += "!! stopped before the end of the text\n";
    if (count != static_cast<int>(sink.items.size()))
        out += "!! returned " + std::to_string(count) + " for " + std::to_string(sink.items.size()) + " items\n";
    return out;
}

// A string literal with its embedded NULs.
template <std::size_t N>
std::string Bytes(const char (&s)[N]) { return std::string(s, N - 1); }

// One row of a case table: what it pins, the document and its outline.
struct OutlineCase {
    const char* note;
    std::string input;
    std::string expected;
};

inline void ExpectOutlines(qv::ScanFunction scan, const std::vector<OutlineCase>& cases,
                           const qv::ScanOptions& options = {}) {
    for (const OutlineCase& c : cases) EXPECT_EQ(Outline(scan, c.input, options), c.expected) << c.note;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string DataPath(std::string_view relative) { return std::string(OUTLINE_TESTDATA) + "/" + std::string(relative); }

// Runs a golden pair: data/<dir>/<input> against data/<dir>/<expected>.
inline void ExpectGolden(qv::ScanFunction scan, std::string_view dir, std::string_view input,
                         std::string_view expected, const qv::ScanOptions& options = {}) {
    const std::string text = ReadFile(DataPath(std::string(dir) + "/" + std::string(input)));
    ASSERT_FALSE(text.empty()) << "missing test input " << dir << "/" << input;
    const std::string want = ReadFile(DataPath(std::string(dir) + "/" + std::string(expected)));
    EXPECT_EQ(Outline(scan, text, options, input), want) << "golden file " << dir << "/" << expected;
    // Both IDE line conventions must give the same outline on ordinary files.
    EXPECT_EQ(Outline(scan, text, options, input, qv::LineConvention::NoNewline), want)
        << "without line ends, golden file " << dir << "/" << expected;
}

}  // namespace qvtest
