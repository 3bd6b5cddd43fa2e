// kvodigits: arguments, what it prints for a set of conditions and entries,
// and the program itself run from the test's own folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "KvoDigits.h"

namespace {

std::string ReadAll(std::FILE* f) {
    std::string s;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) s.append(chunk, n);
    return s;
}

struct Result {
    int status;
    std::string out;
};

Result RunTool(std::vector<const char*> args) {
    args.insert(args.begin(), "kvodigits");
    const kvo::KvoDigitsArgs parsed = kvo::ParseKvoDigitsArgs(static_cast<int>(args.size()), args.data());
    EXPECT_EQ(parsed.error, "");
    std::FILE* f = std::tmpfile();
    const int status = kvo::RunKvoDigits(parsed, f);
    std::rewind(f);
    Result r{status, ReadAll(f)};
    std::fclose(f);
    return r;
}

TEST(KvoDigits, PrintsRulesAndExits) {
    const struct { std::vector<const char*> args; int status; const char* want; } cases[] = {
        {{"1", "2", "3", "--entry", "2", "--entry", "4", "--entry", ""},
         0,
         "check\tinfo\tdtmf termination mask e max keys 1 sil time 3\t1118\n"
         "mask\t{1,2,3}\te\n"
         "max\t1\n"
         "entry\t2\t2\t1\t2\n"
         "entry\t4\t4\t-2\tInvalid\n"
         "entry\t\t\t-1\tSilence\n"},
        {{"--own-errors", "Sales=100-199", "--entry", "150#"},
         0,
         "check\tinfo\tdtmf termination mask 1800 max keys 0 sil time 3\t1118\n"
         "mask\t{*,#}\t1800\n"
         "max\t0\n"
         "entry\t150#\t150\t2\tSales\n"},
        {{"--term", "#", "--max-keys", "4", "--value", "Frame1.Ext=201", "Ext=%Frame1.Ext%", "--entry", "201#",
          "--entry", "202"},
         0,
         "check\tinfo\tdtmf termination mask 1000 max keys 4 sil time 3\t1118\n"
         "mask\t{#}\t1000\n"
         "max\t4\n"
         "entry\t201#\t201\t0\tExt\n"
         "entry\t202\t202\t-2\tInvalid\n"},
        {{"%Nobody%", "--entry", "1"},
         1,
         "check\terror\tunknown control name in digit mask %Nobody%\t1399\n"
         "check\tinfo\tdtmf termination mask 0 max keys 0 sil time 3\t1118\n"
         "mask\t{}\t0\n"
         "max\t0\n"
         "log\t32\tNobody\n"
         "entry\t1\t1\tcontrol error 32\n"},
    };
    for (const auto& c : cases) {
        const Result got = RunTool(c.args);
        EXPECT_EQ(got.status, c.status) << c.args[0];
        EXPECT_EQ(got.out, c.want) << c.args[0];
    }
}

TEST(KvoDigits, RefusesBadArguments) {
    const struct { std::vector<const char*> args; const char* error; } cases[] = {
        {{}, "no conditions"},
        {{"1", "--max-keys"}, "--max-keys needs a value"},
        {{"1", "--max-keys", "x"}, "bad option or value: --max-keys x"},
        {{"1", "--term", "A"}, "--term takes the keys 0-9, * and #"},
        {{"1", "--value", "Frame1=2"}, "bad option or value: --value Frame1=2"},
        {{"1", "--colour", "red"}, "bad option or value: --colour red"},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"kvodigits"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(kvo::ParseKvoDigitsArgs(static_cast<int>(argv.size()), argv.data()).error, c.error);
    }
}

// The program next to the test (the tests run in the tree's bin folder).
TEST(KvoDigits, ProgramPrintsTheSameAsTheLibrary) {
#ifdef _WIN32
    std::FILE* p = _popen("kvodigits.exe 12 13 --entry 13", "r");
#else
    std::FILE* p = popen("./kvodigits 12 13 --entry 13", "r");
#endif
    ASSERT_NE(p, nullptr);
    const std::string out = ReadAll(p);
#ifdef _WIN32
    const int status = _pclose(p);
#else
    const int status = pclose(p);
#endif
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, RunTool({"12", "13", "--entry", "13"}).out);
    EXPECT_NE(out.find("mask\t{2,3}\tc\nmax\t2\nentry\t13\t13\t1\t13\n"), std::string::npos) << out;
}

}  // namespace
