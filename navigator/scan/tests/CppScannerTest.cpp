// What the golden files cannot hold well: bounds on names, generated hostile
// input, and how the scanner treats its line source.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "OutlineText.h"
#include "Scanners.h"
#include "TextLineSource.h"

namespace {

std::vector<qv::OutlineItem> Scan(const std::string& text, qv::ScanOptions options = {}) {
    qv::TextLineSource lines(text, qv::LineConvention::OwnNewline);
    qv::CollectingSink sink;
    const int count = qv::ScanCpp(lines, sink, options);
    EXPECT_EQ(count, static_cast<int>(sink.items.size()));
    return sink.items;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Serves given lines as they are: no newline added, any length.
class RawLines final : public qv::LineSource {
public:
    explicit RawLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    const char* NextLine(std::size_t& length) override {
        EXPECT_FALSE(ended_) << "asked for a line after the end was reported";
        if (next_ == lines_.size()) {
            ended_ = true;
            length = 0;
            return nullptr;
        }
        length = lines_[next_].size();
        return lines_[next_++].data();
    }
private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    bool ended_ = false;
};

TEST(CppScanner, NamesAndTextsStayWithinTheirBounds) {
    const std::string n60(60, 'N'), n39(39, 'S'), n40(40, 'S'), n300(300, 'x');
    struct Case {
        const char* note;
        std::string source;
        std::string text;
        std::string qualifier;
    } cases[] = {
        {"function name", "int " + n300 + "() {}", n300.substr(0, 120), ""},
        {"scope under 40", "void " + n39 + "::f() {}", "f", n39 + "::"},
        {"scope of 40", "void " + n40 + "::f() {}", "f", n40.substr(0, 37) + "...::"},
        {"stacked scope", "class " + n60 + " { void f() {} };", "f", n60.substr(0, 37) + "...::"},
        {"class name", "class " + n300 + " : public B {};", "class " + n300.substr(0, 113) + " ", ""},
        {"struct name", "struct " + n300 + " {};", "struct " + n300.substr(0, 112), ""},
        {"define name", "#define " + n300 + " 1", "#define " + n300.substr(0, 111), ""},
        {"macro name", "#define " + n300 + "(a) a", "#define " + n300.substr(0, 111), ""},
        {"framework macro", "DECLARE_DYNAMIC(" + n300 + ")",
         ("DECLARE_DYNAMIC(" + n300).substr(0, 119), ""},
        {"message map", "BEGIN_MESSAGE_MAP(" + n300 + ", B) END_MESSAGE_MAP()",
         n300.substr(0, 107) + " MESSAGE MAP", ""},
        {"template header", "template<class " + n300 + "> class X {};",
         "template <class " + n300.substr(0, 109 - 7) + "...", ""},
        {"operator", "X::operator " + n300 + "() {}", ("operator " + n300).substr(0, 120), "X::"},
    };
    for (const Case& c : cases) {
        const auto items = Scan(c.source);
        ASSERT_FALSE(items.empty()) << c.note;
        const qv::OutlineItem& item = items.back();  // the item under test comes last
        EXPECT_EQ(item.text, c.text) << c.note;
        EXPECT_EQ(item.qualifier, c.qualifier) << c.note;
        EXPECT_LT(std::strlen(item.text), sizeof item.text) << c.note;
    }
}

TEST(CppScanner, LongLinesAreCutWithoutLosingTheNextLine) {
    // A 5,000-character line: the source cuts it, the rest is dropped, and
    // what follows on the next line is scanned as usual.
    const std::string text = "int " + std::string(4990, 'a') + "() {}\nint Next() {}\n";
    const auto items = Scan(text);
    ASSERT_EQ(items.size(), 1u) << "the cut line lost its parentheses";
    EXPECT_STREQ(items[0].text, "Next");
    EXPECT_EQ(items[0].line, 2);

    // A source that hands over longer lines than the limit is cut by the scanner.
    RawLines raw({std::string(5000, '{') + "\n", "int Seen() {}\n"});
    qv::CollectingSink sink;
    qv::ScanOptions options;
    qv::ScanCpp(raw, sink, options);
    EXPECT_TRUE(sink.items.empty()) << "2048 open braces swallow the rest";
}

TEST(CppScanner, LinesWithoutTheirNewlineStillEndTheirTokens) {
    // The last line of a document, or a cut line, may lack its newline even
    // where lines carry their own: a name must not run into the next line.
    RawLines raw({"int A() {}", "int B() {}\n", "#define C 1", "int D() {}"});
    qv::CollectingSink sink;
    qv::ScanOptions options;
    options.linesCarryNewline = true;
    ASSERT_EQ(qv::ScanCpp(raw, sink, options), 4);
    EXPECT_STREQ(sink.items[0].text, "A");
    EXPECT_STREQ(sink.items[1].text, "B");
    EXPECT_STREQ(sink.items[2].text, "#define C");
    EXPECT_STREQ(sink.items[3].text, "D");
    EXPECT_EQ(sink.items[3].line, 4);
}

TEST(CppScanner, DeepNestingIsBoundedAndLinear) {
    struct Case { const char* note; std::string text; std::size_t items; } cases[] = {
        {"open braces", Repeat("{\n", 200000), 0},
        {"nameless struct bodies", Repeat("struct {\n", 100000), 0},
        {"nameless typedef bodies", Repeat("typedef struct {\n", 100000), 0},
        {"class bodies", Repeat("class A {\n", 100000), 100000},
        {"nested in a function", "void f() {\n" + Repeat("struct {\n", 100000), 1},
        {"parentheses", "int f" + Repeat("(\n", 100000), 0},
        {"template arguments", "template" + Repeat("<\n", 100000), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(Scan(c.text).size(), c.items) << c.note;
}

TEST(CppScanner, LineNumbersPastTheFieldWidthStayAtTheLast) {
    const std::string text = Repeat("\n", 70000) + "int Far() {}\n";
    const auto items = Scan(text);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].line, 0xFFFF);
    EXPECT_EQ(items[0].topLine, 0xFFFF);
}

TEST(CppScanner, OptionsOffLeaveFunctionsAndNesting) {
    const std::string text =
        "#define A 1\n#define B(x) x\nclass C { void f() {} };\nstruct S { void g() {} };\n"
        "template<class T> class X { void h() {} };\nDECLARE_DYNAMIC(C)\n"
        "BEGIN_MESSAGE_MAP(C, B) END_MESSAGE_MAP()\n";
    qv::ScanOptions off;
    off.cTemplates = off.cClasses = off.cStructs = off.cMacros = off.cDefines = off.cMFCMacros = false;
    std::vector<std::string> seen;
    for (const auto& item : Scan(text, off)) seen.push_back(std::string(item.qualifier) + item.text);
    EXPECT_EQ(seen, (std::vector<std::string>{"C::f", "S::g", "X::h"}));
}

TEST(CppScanner, EveryItemIsReportedOnceAndInSourceOrder) {
    const std::string text =
        "CFoo::CFoo() : m_a{1}, m_b(2) { }\n"   // brace initialisers do not repeat it
        "int k() const override { return 0; }\n"
        "void A::B::f() {}\n";
    const auto items = Scan(text);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_STREQ(items[0].text, "CFoo");
    EXPECT_STREQ(items[1].text, "k");
    EXPECT_STREQ(items[2].text, "f");
    EXPECT_STREQ(items[2].qualifier, "B::");
}

}  // namespace
