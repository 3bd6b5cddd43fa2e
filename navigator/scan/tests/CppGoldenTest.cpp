// Golden outlines of the C/C++ scanner. Each data/cpp/NAME[@VARIANT].tsv holds
// the expected outline of data/cpp/NAME as qnavscan prints it; lines starting
// with '#' are notes, and "# options: --no-..." sets the parser flags. Every
// case must give the same outline whichever line convention delivers the
// text, and with "\r\n" line ends.
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "CppScanFlags.h"
#include "OutlineText.h"
#include "Scanners.h"
#include "TextLineSource.h"

namespace {

namespace fs = std::filesystem;

struct GoldenCase {
    std::string expectedFile;  // file name of the .tsv
    std::string inputFile;     // file name of the source
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.expectedFile; }

fs::path DataDir() { return fs::path(OUTLINE_TESTDATA) / "cpp"; }

std::vector<GoldenCase> FindCases() {
    std::vector<GoldenCase> cases;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(DataDir(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < 5 || name.compare(name.size() - 4, 4, ".tsv") != 0) continue;
        std::string input = name.substr(0, name.size() - 4);
        input = input.substr(0, input.find('@'));
        cases.push_back({name, input});
    }
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.expectedFile < b.expectedFile; });
    return cases;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ToCrlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// Hands out every line in an allocation of exactly its size, scribbled over
// and freed at the next call, as an IDE may reuse its memory: the sanitizers
// (or the scribbles, under Wine) catch a scanner that reads past a line or
// reads a line after asking for the next.
class ExactLines final : public qv::LineSource {
public:
    ExactLines(std::string_view text, qv::LineConvention convention) : lines_(text, convention) {}
    const char* NextLine(std::size_t& length) override {
        if (line_) std::fill_n(line_.get(), length_, '@');
        line_.reset();
        const char* p = lines_.NextLine(length);
        if (!p) return nullptr;
        length_ = length;
        line_ = std::make_unique<char[]>(length);
        std::copy(p, p + length, line_.get());
        return line_.get();
    }
private:
    qv::TextLineSource lines_;
    std::unique_ptr<char[]> line_;
    std::size_t length_ = 0;
};

std::string Outline(const std::string& file, const std::string& text, qv::LineConvention convention,
                    const qv::ScanOptions& options) {
    ExactLines lines(text, convention);
    qv::CollectingSink sink;
    const int count = qv::ScanCpp(lines, sink, options);
    EXPECT_EQ(count, static_cast<int>(sink.items.size())) << "the count must match the items reported";
    std::string out;
    for (const qv::OutlineItem& item : sink.items) out += qv::FormatItem(file, item) + "\n";
    return out;
}

class CppGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(CppGolden, MatchesExpectedOutline) {
    const GoldenCase& c = GetParam();
    std::istringstream expectedText(ReadAll(DataDir() / c.expectedFile));
    std::string expected;
    qv::ScanOptions options;
    for (std::string line; std::getline(expectedText, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("# options:", 0) == 0) {
            std::istringstream flags(line.substr(10));
            for (std::string flag; flags >> flag;)
                ASSERT_TRUE(qv::ApplyCppScanFlag(flag, options)) << "unknown option " << flag;
        } else if (!line.empty() && line[0] != '#') {
            expected += line + "\n";
        }
    }
    const std::string text = ReadAll(DataDir() / c.inputFile);
    ASSERT_FALSE(text.empty()) << "missing input " << c.inputFile;

    struct Delivery { const char* note; std::string text; qv::LineConvention convention; };
    const Delivery deliveries[] = {
        {"lines carry their newline", text, qv::LineConvention::OwnNewline},
        {"scanner adds the newline", text, qv::LineConvention::NoNewline},
        {"\\r\\n lines, newline carried", ToCrlf(text), qv::LineConvention::OwnNewline},
        {"\\r\\n lines, newline added", ToCrlf(text), qv::LineConvention::NoNewline},
    };
    for (const Delivery& d : deliveries) {
        qv::ScanOptions o = options;
        o.linesCarryNewline = d.convention == qv::LineConvention::OwnNewline;
        EXPECT_EQ(Outline(c.inputFile, d.text, d.convention, o), expected) << d.note;
    }
}

std::string CaseName(const testing::TestParamInfo<GoldenCase>& info) {
    std::string name = info.param.expectedFile.substr(0, info.param.expectedFile.size() - 4);
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Data, CppGolden, testing::ValuesIn(FindCases()), CaseName);

TEST(CppGoldenData, IsFound) {
    EXPECT_GE(FindCases().size(), 20u) << "golden data not found under " << DataDir().string();
}

}  // namespace
