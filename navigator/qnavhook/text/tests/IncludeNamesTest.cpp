#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "IncludeNames.h"
#include "TextLineSource.h"

namespace qnav::text {
namespace {

struct Names final : qv::IncludeSink {
    std::vector<std::string> got;
    void AddInclude(const char* name, std::size_t length) override { got.emplace_back(name, length); }
};

std::vector<std::string> Scan(const std::string& text) {
    qv::TextLineSource lines(text, qv::LineConvention::OwnNewline);
    Names n;
    ScanCIncludes(lines, n);
    return n.got;
}

TEST(IncludeNames, CIncludeScan) {
    struct Case { const char* text; std::vector<std::string> want; const char* note; };
    const Case cases[] = {
        {"#include <stdio.h>\n#include \"a.h\"\n", {"stdio.h", "a.h"}, "both forms"},
        {"  #  include   \"b.h\"\n", {"b.h"}, "blanks around"},
        {"?\?=include <tri.h>\n", {"tri.h"}, "trigraph"},
        {"// #include <no.h>\n/* #include <no.h>\n #include <no2.h> */\n#include <yes.h>\n", {"yes.h"}, "comments"},
        {"s = \"#include <no.h>\";\n", {}, "inside a string"},
        {"#include <open.h\n", {"open.h"}, "ends at the line end"},
        {"#define X\n#import <x>\n", {}, "other directives"},
    };
    for (const Case& c : cases) EXPECT_EQ(Scan(c.text), c.want) << c.note;
    EXPECT_EQ(Scan("#include <" + std::string(300, 'n') + ">\n").front().size(), qv::kMaxIncludeName);
}

TEST(IncludeNames, ProjectDirectories) {
    const char* mak =
        "# comment /I \"no\"\n"
        "!IF /I \"no2\"\n"
        "CPP_PROJ=/nologo /I \"inc\" /I \"C:\\sdk\\include\" /D \"X\"\\\n"
        " /I \"next\"\n"
        "LINK=/I\"glued\"\n";
    EXPECT_EQ(ProjectIncludeDirs(mak), "inc;C:\\sdk\\include;next");
    const std::string big = "X= /I \"" + std::string(1500, 'd') + "\" /I \"" + std::string(1500, 'e') + "\" /I \"f\"\n";
    const std::string dirs = ProjectIncludeDirs(big);
    EXPECT_LE(dirs.size(), kMaxIncludeDirs);
    EXPECT_EQ(dirs.substr(dirs.size() - 2), ";f") << "an entry that does not fit is dropped, later ones kept";
}

TEST(IncludeNames, CandidatesInOrderAndBounded) {
    const auto c = IncludeCandidates("a.h", "C:\\src\\main.cpp", "C:\\proj\\p.mak", "inc;D:\\abs", "ide1; ide2");
    const std::vector<std::string> want = {"C:\\src\\a.h", "C:\\proj\\a.h", "C:\\proj\\inc\\a.h", "D:\\abs\\a.h",
                                           "C:\\proj\\ide1\\a.h", "C:\\proj\\ide2\\a.h"};
    EXPECT_EQ(c, want);
    EXPECT_EQ(IncludeCandidates("\\x\\a.h", "C:\\src\\m.c", "", "", ""), std::vector<std::string>{"\\x\\a.h"});
    const std::string deep = "C:\\" + std::string(250, 'd') + "\\m.c";
    EXPECT_TRUE(IncludeCandidates("abcdefghij.h", deep, "", "", "").empty()) << "over-long candidate skipped";
    std::string out;
    EXPECT_FALSE(JoinPath(std::string(255, 'x'), "abcde", out));
    EXPECT_TRUE(JoinPath(std::string(254, 'x'), "abcd", out));
    EXPECT_EQ(out.size(), kMaxPath);
}

}  // namespace
}  // namespace qnav::text
