#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

TEST(FaultScanner, GoldenLog) {
    qvtest::ExpectGolden(qv::ScanFaults, "faults", "dialer.log", "dialer.log.tsv");
}

TEST(FaultScanner, MarkersAndHostileLines) {
    qvtest::ExpectOutlines(qv::ScanFaults, {
        {"top lines are not taken above the first line", "$TAG$ one\n x APP: two\n",
         "f\t1\t1\t6\t9\t0\t\tone\nf\t2\t1\t8\t11\t0\t\ttwo\n"},
        {"tag text may be all blanks after dollars", "$TAG$ $$$x\n", "f\t1\t1\t6\t8\t0\t\t  \n"},
        {"blanks after the tag are skipped", "$TAG$   \t APP: x\n", "f\t1\t1\t10\t16\t0\t\tAPP: x\n"},
        {"an empty text goes on to a later marker", "$TAG$\x01 APP: later\n", "f\t1\t1\t12\t17\t0\t\tlater\n"},
        {"text cut to 120", "$TAG$ " + std::string(300, 't') + "\n", "f\t1\t1\t6\t126\t0\t\t" + std::string(120, 't') + "\n"},
        {"very long line", std::string(5000, '.') + " APP: late\n", ""},
        {"NUL and high bytes end the text", qvtest::Bytes("$TAG$ ab\0cd\n APP: \xE9x\n"), "f\t1\t1\t6\t8\t0\t\tab\n"},
    });
}

}  // namespace
