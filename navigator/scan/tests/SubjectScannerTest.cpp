#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

TEST(SubjectScanner, GoldenDigest) {
    qvtest::ExpectGolden(qv::ScanSubjects, "subjects", "digest.faq", "digest.faq.tsv");
}

std::string Lines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "text\n";
    return s;
}

TEST(SubjectScanner, SenderWindowAndHostileLines) {
    qvtest::ExpectOutlines(qv::ScanSubjects, {
        {"subject on the eighth line after From", "From: a\n" + Lines(7) + "Subject: s\n", "f\t9\t1\t9\t10\t0\ta::    \ts\n"},
        {"ten lines without a subject", "From: a\n" + Lines(10), ""},
        {"lines read for a sender are not examined again", "From: a\n" + Lines(6) + "From: b\nx\nSubject: s\n",
         "f\t10\t10\t9\t10\t0\t::    \ts\n"},
        {"sender of 39 characters is kept whole", "From: " + std::string(39, 'a') + "\nSubject: s\n",
         "f\t2\t1\t9\t10\t0\t" + std::string(39, 'a') + "::  \ts\n"},
        {"empty sender", "From:  \nSubject: s\n", "f\t2\t1\t9\t10\t0\t::    \ts\n"},
        {"subject text cut to 120", "Subject: " + std::string(300, 'x') + "\n",
         "f\t1\t1\t9\t129\t0\t::    \t" + std::string(120, 'x') + "\n"},
        {"very long line", std::string(5000, ' ') + "Subject: late\n", ""},
        {"NUL and high bytes end the text", qvtest::Bytes("Subject: ab\0c\nFrom: \xE9\nSubject: z\n"),
         "f\t1\t1\t9\t11\t0\t::    \tab\nf\t3\t2\t9\t10\t0\t::    \tz\n"},
    });
}

}  // namespace
