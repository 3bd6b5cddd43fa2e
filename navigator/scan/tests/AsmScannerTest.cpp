#include <gtest/gtest.h>
#include <string>
#include "AsmIncludes.h"
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

qv::ScanOptions Bare() {
    qv::ScanOptions o;
    o.asmMacros = o.asmStructs = o.ShowProcAttributes = false;
    return o;
}

TEST(AsmScanner, GoldenSourceFile) {
    qvtest::ExpectGolden(qv::ScanAssembler, "asm", "video.asm", "video.asm.tsv");
    qvtest::ExpectGolden(qv::ScanAssembler, "asm", "video.asm", "video.asm.bare.tsv", Bare());
}

TEST(AsmScanner, DirectivesAndNames) {
    const std::string longName(130, 'n');
    qvtest::ExpectOutlines(qv::ScanAssembler, {
        {"attributes stop at USES", "MyProc PROC NEAR USES ebx\n", "f\t1\t1\t0\t6\t4\t\tMyProc NEAR\n"},
        {"no label: the word after", "PROC Start\n", "f\t1\t1\t5\t10\t4\t\tStart\n"},
        {"lower case directive", "draw proc\n", "f\t1\t1\t0\t4\t4\t\tdraw\n"},
        {"& before the directive is not the name's", "Paint&PROC far\n", "f\t1\t1\t0\t5\t4\t\tPaint far\n"},
        {"directive glued to a word", "MyPROC x\nPROCS y\n", ""},
        {"PROC alone names nothing", "PROC\n", ""},
        {"comma ends a CPROC name", "CPROC Init,near\n", "f\t1\t1\t6\t10\t4\t\tInit\n"},
        {"macro without label takes the next word", "MACRO Later\n", "f\t1\t1\t6\t11\t6\t\tMACRO Later\n"},
        {"macro name cut to 114", longName + " MACRO\n",
         "f\t1\t1\t0\t114\t6\t\tMACRO " + longName.substr(0, 114) + "\n"},
        {"STRUCT name cut to 113", longName + " STRUCT\n",
         "f\t1\t1\t0\t113\t5\t\tSTRUCT " + longName.substr(0, 113) + "\n"},
        {"procedure name cut to 120", longName + " PROC\n", "f\t1\t1\t0\t120\t4\t\t" + longName.substr(0, 120) + "\n"},
        {"no blank left over when attributes do not fit", longName + " PROC FAR\n",
         "f\t1\t1\t0\t120\t4\t\t" + longName.substr(0, 120) + "\n"},
        {"one item per line", "A PROC\tB PROC\n", "f\t1\t1\t0\t1\t4\t\tA B PROC\n"},
        {"comment, string and dot end the walk", "; X PROC\n\"X PROC\n.X PROC\n", ""},
        {"EXTERN and OUT end the line", "EXTERN f:PROC\nOUT x PROC\n", ""},
        {"COMMENT closed on its line", "COMMENT * gone * Foo PROC\n", "f\t1\t1\t17\t20\t4\t\tFoo\n"},
        {"COMMENT closed on a short line", "COMMENT ~\nX PROC\n~\nY PROC\n", "f\t4\t4\t0\t1\t4\t\tY\n"},
        {"angle text across lines", "x <a\nB PROC\n> C PROC\n", "f\t3\t3\t2\t3\t4\t\tC\n"},
    });
    qvtest::ExpectOutlines(qv::ScanAssembler, {
        {"no attributes when off", "MyProc PROC NEAR USES ebx\n", "f\t1\t1\t0\t6\t4\t\tMyProc\n"},
        {"options off hide macros and structures", "M MACRO\nS STRUC\nT STRUCT\n", ""},
    }, Bare());
}

TEST(AsmScanner, HostileInput) {
    const std::string longLine = std::string(5000, 'x') + " PROC\n";
    qvtest::ExpectOutlines(qv::ScanAssembler, {
        {"unterminated COMMENT hides the rest", "COMMENT |\nA PROC\nB PROC\n", ""},
        {"COMMENT without delimiter is ignored", "COMMENT \nA PROC\n", "f\t2\t2\t0\t1\t4\t\tA\n"},
        {"< without >", "mov ax, <1\nA PROC\n", ""},
        {"very long line then a procedure", longLine + "Next PROC\n", "f\t2\t2\t0\t4\t4\t\tNext\n"},
        {"NUL ends the walk", qvtest::Bytes("A\0 PROC\nB PROC\n"), "f\t2\t2\t0\t1\t4\t\tB\n"},
        {"high bytes are not name characters", "Caf\xE9Init PROC\n\xE9\xE8 PROC\n", "f\t1\t1\t4\t8\t4\t\tInit\n"},
        {"attributes stop at control characters", "A PROC near\x01 far\n", "f\t1\t1\t0\t1\t4\t\tA near\n"},
    });
}

TEST(AsmScanner, AttributesNeverOverflowTheText) {
    const std::string line = "P PROC " + std::string(300, 'a') + "\n";
    const std::string out = Outline(qv::ScanAssembler, line);
    EXPECT_EQ(out, "f\t1\t1\t0\t1\t4\t\tP " + std::string(qv::kItemTextSize - 3, 'a') + "\n");
}

class Names final : public qv::IncludeSink {
public:
    void AddInclude(const char* name, std::size_t length) override {
        all += std::string(name, length) + "|";
    }
    std::string all;
};

std::string Includes(const std::string& text) {
    qvtest::ExactLineSource lines(text, qv::LineConvention::OwnNewline);
    Names names;
    const int n = qv::ScanAsmIncludes(lines, names);
    return names.all + std::to_string(n);
}

TEST(AsmIncludes, NamesAsWritten) {
    const struct {
        const char* note;
        std::string input;
        std::string expected;
    } cases[] = {
        {"bare, bracketed, quoted", "INCLUDE video.inc\n  include <windows.inc>\nInclude \"my file.inc\"\n",
         "video.inc|windows.inc|my file.inc|3"},
        {"after a label and tabs, comment after", "x\tINCLUDE\tdefs.inc ; note\n", "defs.inc|1"},
        {"a bare name ends at a comma", "INCLUDE c.inc,d.inc\n", "c.inc|1"},
        {"unclosed bracket takes the line", "INCLUDE <open.inc  \r\n", "open.inc|1"},
        {"unclosed quote takes the line", "INCLUDE \"open.inc", "open.inc|1"},
        {"not a directive", "INCLUDELIB x.lib\nxINCLUDE y\nINCLUDE\n", "0"},
        {"comments hide directives", "; INCLUDE a.inc\nCOMMENT ~\nINCLUDE b.inc\n~ INCLUDE c.inc\n", "c.inc|1"},
        {"empty name reports nothing", "INCLUDE \"\"\nINCLUDE <>\n", "0"},
        {"unterminated COMMENT", "COMMENT !\nINCLUDE a.inc\n", "0"},
        {"long name cut", "INCLUDE " + std::string(200, 'z') + "\n", std::string(qv::kMaxIncludeName, 'z') + "|1"},
        {"NUL and high bytes end a name", qvtest::Bytes("INCLUDE a\0b\nINCLUDE \xE9.inc\n"), "a|1"},
    };
    for (const auto& c : cases) EXPECT_EQ(Includes(c.input), c.expected) << c.note;
}

}  // namespace
