#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "CommandLine.h"
#include "Qnavscan.h"

namespace {

namespace fs = std::filesystem;

// Captures what the tool writes to one stream.
class Capture {
public:
    Capture() : file_(std::tmpfile()) {}
    ~Capture() { if (file_) std::fclose(file_); }
    std::FILE* get() const { return file_; }
    std::string Text() const {
        std::fflush(file_);
        std::rewind(file_);
        std::string s;
        char chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file_)) > 0;) s.append(chunk, n);
        return s;
    }
private:
    std::FILE* file_;
};

class QnavscanRun : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("qnavscan-") + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        Write("a.cpp", "int f() {}\n#define N 1\n");
        Write("notes.txt", "int g() {}\n");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    int Run(std::vector<std::string> args, const std::string& stdinText = {}) {
        std::vector<const char*> argv{"qnavscan"};
        for (const std::string& a : args) argv.push_back(a.c_str());
        const qv::CommandLine cl = qv::ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(cl.error, "");
        std::istringstream in(stdinText);
        Capture o, e;
        const int status = qv::RunQnavscan(cl, in, o.get(), e.get());
        out = o.Text();
        err = e.Text();
        return status;
    }
    std::string Outline(const std::string& file) const {
        return file + "\t1\t1\t4\t5\t4\t\tf\n" + file + "\t2\t2\t8\t9\t9\t\t#define N\n";
    }

    fs::path dir_;
    std::string out, err;  // of the last run
};

TEST_F(QnavscanRun, PrintsCppKindsAndSkipsOthers) {
    EXPECT_EQ(Run({Path("a.cpp"), Path("notes.txt")}), 0);
    EXPECT_EQ(out, Outline(Path("a.cpp")));
    EXPECT_EQ(err, "");
}

// The navigator's kind table picks the scanner, so every outlined kind prints
// and kinds without an outline (module definitions, makefiles) stay silent.
TEST_F(QnavscanRun, EveryOutlinedKindHasItsScanner) {
    struct Case { const char* name; const char* text; const char* item; } cases[] = {
        {"x.rc", "IDD_ABOUT DIALOG 0, 0, 100, 50\nBEGIN\nEND\n", "\tDialog IDD_ABOUT\n"},
        {"x.ASM", "Start PROC NEAR\nStart ENDP\n", "\tStart NEAR\n"},
        {"x.inf", "[Setup]\nKey=1\n", "\t[Setup]\n"},
        {"x.bas", "Sub Main()\nEnd Sub\n", "\tMain\n"},
        {"x.pas", "unit U;\ninterface\nimplementation\nprocedure P;\nbegin\nend;\nend.\n", "\tP\n"},
        {"x.hpp", "class C {};\n", "\tclass C\n"},
        {"x.def", "EXPORTS\n f @1\n", nullptr},
        {"x.mak", "all: x.exe\n", nullptr},
    };
    for (const Case& c : cases) {
        Write(c.name, c.text);
        EXPECT_EQ(Run({Path(c.name)}), 0) << c.name;
        if (c.item) {
            EXPECT_NE(out.find(c.item), std::string::npos) << c.name << ":\n" << out;
        } else {
            EXPECT_EQ(out, "") << c.name;
        }
    }
}

TEST_F(QnavscanRun, AnUnreadableFileFailsTheRunButNotTheOthers) {
    EXPECT_EQ(Run({Path("missing.cpp"), Path("a.cpp")}), 1);
    EXPECT_EQ(out, Outline(Path("a.cpp")));
    EXPECT_NE(err.find("missing.cpp"), std::string::npos) << err;
}

TEST_F(QnavscanRun, FileListsTakeOneNamePerLine) {
    Write("list.txt", Path("a.cpp") + "\r\n\r\n" + Path("notes.txt") + "\n");
    EXPECT_EQ(Run({"--files-from", Path("list.txt")}), 0);
    EXPECT_EQ(out, Outline(Path("a.cpp"))) << "a \\r\\n list and blank lines";

    EXPECT_EQ(Run({"--files-from", "-"}, Path("a.cpp") + "\n"), 0);
    EXPECT_EQ(out, Outline(Path("a.cpp"))) << "names from standard input";

    EXPECT_EQ(Run({"--files-from", Path("no-list.txt")}), 1);
    EXPECT_NE(err.find("no-list.txt"), std::string::npos) << err;
}

// One buffer serves every file: a file never shows what an earlier, longer
// one left behind, and a file larger than any before it is read whole.
TEST_F(QnavscanRun, EachFileIsReadWholeAndAlone) {
    std::string big;
    while (big.size() < 300000) big += "// a comment line of some length to fill the file\n";
    Write("big.cpp", big + "int last() {}\n");
    Write("small.cpp", "int f() {}\n");
    Write("empty.cpp", "");
    Write("tail.cpp", "int g() {}");
    EXPECT_EQ(Run({Path("a.cpp"), Path("big.cpp"), Path("empty.cpp"), Path("small.cpp"), Path("tail.cpp")}), 0);
    const std::string bigLine = std::to_string(big.size() / 50 + 1);
    // The comment run above "last" starts on line 1.
    EXPECT_EQ(out, Outline(Path("a.cpp")) + Path("big.cpp") + "\t" + bigLine +
                       "\t1\t4\t8\t4\t\tlast\n" + Path("small.cpp") + "\t1\t1\t4\t5\t4\t\tf\n" +
                       Path("tail.cpp") + "\t1\t1\t4\t5\t4\t\tg\n");
    EXPECT_EQ(err, "");
}

TEST_F(QnavscanRun, BothLineConventionsGiveOneOutline) {
    Write("crlf.h", "int f() {}\r\n#define N 1\r\n");
    EXPECT_EQ(Run({"--lines-without-newline", Path("crlf.h")}), 0);
    EXPECT_EQ(out, Outline(Path("crlf.h")));
}

}  // namespace
