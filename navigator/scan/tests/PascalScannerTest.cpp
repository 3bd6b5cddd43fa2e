#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

TEST(PascalScanner, GoldenUnit) {
    qvtest::ExpectGolden(qv::ScanPascal, "pascal", "dialunit.pas", "dialunit.pas.tsv");
}

TEST(PascalScanner, PhasesCommentsAndHostileLines) {
    qvtest::ExpectOutlines(qv::ScanPascal, {
        {"a program reports after its heading", "program Dial;\nprocedure Go;\n", "f\t2\t2\t10\t12\t0\t\tGo\n"},
        {"the heading line itself goes on", "program P; procedure Go;\n", "f\t1\t1\t21\t23\t0\t\tGo\n"},
        {"a commented implementation does not count", "{ implementation }\nprocedure A;\n", ""},
        {"a word ending in program does not count", "procedure RunProgram ;\nprocedure B;\n", ""},
        {"name stops at ( ; : and blanks", "implementation\nfunction F(x): T;\nconstructor C;\nfunction G: T;\n",
         "f\t2\t2\t9\t10\t0\t\tF\nf\t3\t3\t12\t13\t0\t\tC\nf\t4\t4\t9\t10\t0\t\tG\n"},
        {"one item per line", "implementation\nprocedure A; procedure B;\n", "f\t2\t2\t10\t11\t0\t\tA\n"},
        {"brace opened after an item still hides the next line", "implementation\nprocedure A; {\nprocedure B;\n}\n",
         "f\t2\t2\t10\t11\t0\t\tA\n"},
        {"brace comment never closed", "implementation\n{ procedure A;\nprocedure B;\n", ""},
        {"string never closed ends with the line", "implementation\nx := '{\nprocedure B;\n", "f\t3\t3\t10\t11\t0\t\tB\n"},
        {"very long line", "implementation\n" + std::string(5000, ' ') + "procedure X;\nprocedure Y;\n",
         "f\t3\t3\t10\t11\t0\t\tY\n"},
        {"NUL and high bytes end a name", qvtest::Bytes("implementation\nprocedure A\0B;\nprocedure \xE9;\n"),
         "f\t2\t2\t10\t11\t0\t\tA\n"},
    });
}

}  // namespace
