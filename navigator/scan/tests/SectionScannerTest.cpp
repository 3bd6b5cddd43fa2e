#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

TEST(SectionScanner, GoldenSetupFile) {
    qvtest::ExpectGolden(qv::ScanSections, "sections", "termapp.inf", "termapp.inf.tsv");
}

TEST(SectionScanner, EdgeAndHostileLines) {
    qvtest::ExpectOutlines(qv::ScanSections, {
        {"name cut to 119 between the brackets", "[" + std::string(200, 's') + "]\n",
         "f\t1\t1\t1\t120\t0\t\t[" + std::string(119, 's') + "]\n"},
        {"closing bracket past the line limit", "[" + std::string(5000, 's') + "]\n[Next]\n",
         "f\t2\t2\t1\t5\t0\t\t[Next]\n"},
        {"NUL ends the name", qvtest::Bytes("[a\0b]\n"), "f\t1\t1\t1\t2\t0\t\t[a]\n"},
        {"high bytes give an empty name", "[\xE9t\xE9]\n", ""},
        {"only blanks before the bracket", "  ;[x]\n", ""},
        {"blanks are skipped only while more than two characters remain", "  [\n", ""},
    });
}

}  // namespace
