#include <gtest/gtest.h>
#include <string>
#include "ScanTestSupport.h"
#include "Scanners.h"

namespace {

using qvtest::Outline;

TEST(ResourceScanner, GoldenScript) {
    qvtest::ExpectGolden(qv::ScanResource, "resource", "termapp.rc", "termapp.rc.tsv");
}

TEST(ResourceScanner, KeywordsAndRememberedNames) {
    const std::string longName(130, 'N');
    qvtest::ExpectOutlines(qv::ScanResource, {
        {"dialog and its block", "IDD_ABOUT DIALOG 0, 0, 186, 95\nBEGIN\n IDD_X ICON a\nEND\nIDR_MAIN ICON main.ico\n",
         "f\t1\t1\t0\t9\t7\t\tDialog IDD_ABOUT\nf\t5\t5\t0\t8\t9\t\tIcon IDR_MAIN\n"},
        {"keywords are case-sensitive and exact", "A dialog\nB DIALOGEX 0\nC Dialog\n", ""},
        {"comments and commas keep the name", "IDB_X /* note */ , ; BITMAP b.bmp\n", "f\t1\t1\t0\t5\t5\t\tBitmap IDB_X\n"},
        {"a string forgets the name", "IDB_X \"b.bmp\" BITMAP\n", ""},
        {"a literal forgets the name", "IDB_X 'c' CURSOR\n", ""},
        {"a bare BEGIN block hides its words", "X BEGIN Y ICON END\nZ ICON\n", "f\t2\t2\t0\t1\t9\t\tIcon Z\n"},
        {"END outside a block is ignored", "X END ICON\n", "f\t1\t1\t0\t1\t9\t\tIcon X\n"},
        {"nested blocks", "M MENU BEGIN BEGIN END A ICON END B ICON\n", "f\t1\t1\t0\t1\t10\t\tMenu M\nf\t1\t1\t34\t35\t9\t\tIcon B\n"},
        {"block words inside strings and comments", "R RCDATA BEGIN \"END\" /* END */ // END\nEND\nC CURSOR\n",
         "f\t1\t1\t0\t1\t11\t\tRCDATA R\nf\t3\t3\t0\t1\t6\t\tCursor C\n"},
        {"text cut to 120 with the prefix", longName + " VERSIONINFO\n",
         "f\t1\t1\t0\t130\t13\t\tVersion-Info " + longName.substr(0, 107) + "\n"},
        {"tilde and digits belong to words", "~X1 FONT\n", "f\t1\t1\t0\t3\t8\t\tFont ~X1\n"},
    });
}

TEST(ResourceScanner, HostileInput) {
    qvtest::ExpectOutlines(qv::ScanResource, {
        {"BEGIN without END hides the rest", "M MENU\nBEGIN\nX ICON\n", "f\t1\t1\t0\t1\t10\t\tMenu M\n"},
        {"a block that never begins", "D DIALOG 0,0\nX ICON\n", "f\t1\t1\t0\t1\t7\t\tDialog D\n"},
        {"unclosed block comment", "/* X ICON\nY ICON\n", ""},
        {"unclosed string ends with its line", "A \"open\nB ICON\n", "f\t2\t2\t0\t1\t9\t\tIcon B\n"},
        {"backslash at the end of a string's line", "A \"x\\\nB ICON\n", "f\t2\t2\t0\t1\t9\t\tIcon B\n"},
        {"very long word", std::string(5000, 'w') + "\nICON\n",
         "f\t1\t1\t0\t2048\t9\t\tIcon " + std::string(115, 'w') + "\n"},
        {"NUL and high bytes separate words", qvtest::Bytes("A\0B ICON\n\xE9X\xE8 CURSOR\n"),
         "f\t1\t1\t2\t3\t9\t\tIcon B\nf\t2\t2\t1\t2\t6\t\tCursor X\n"},
    });
}

}  // namespace
