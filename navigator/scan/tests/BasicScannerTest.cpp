#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

TEST(BasicScanner, GoldenForm) {
    qvtest::ExpectGolden(qv::ScanBasic, "basic", "dialer.frm", "dialer.frm.tsv");
}

TEST(BasicScanner, HeadingsAndHostileLines) {
    qvtest::ExpectOutlines(qv::ScanBasic, {
        {"End Sub and End Function report nothing", "End Sub\nEnd Function\n", ""},
        {"GoSub is not a Sub", "  GoSub Retry\n", ""},
        {"keyword in a string is text", "x = \"Sub Total\"\n", ""},
        {"an unclosed string ends with the line", "x = \"Sub A\nSub B\n", "f\t2\t2\t4\t5\t0\t\tB\n"},
        {"FUNCTION needs a character after its blank", "FUNCTION \n", ""},
        {"name stops at a quote mark", "Sub Go'comment\n", "f\t1\t1\t4\t6\t0\t\tGo\n"},
        {"lines under five characters are skipped", "Sub\n", ""},
        {"name cut to 120", "Sub " + std::string(300, 'n') + "\n", "f\t1\t1\t4\t124\t0\t\t" + std::string(120, 'n') + "\n"},
        {"very long line", std::string(5000, ' ') + "Sub X\nSub Y\n", "f\t2\t2\t4\t5\t0\t\tY\n"},
        {"NUL and high bytes end a name", qvtest::Bytes("Sub A\0B\nSub \xE9t\xE9\n"), "f\t1\t1\t4\t5\t0\t\tA\n"},
    });
}

}  // namespace
