// The built program, started as a user would start it: the native binary in
// the native tree, kvosay.exe under Wine in the Windows tree. The tests run
// in the folder that holds both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

struct Output {
    int status;
    std::string out, err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The Windows runtime writes its text lines with CR LF.
    std::string lf;
    for (char c : text)
        if (c != '\r') lf += c;
    return lf;
}

class KvosayProgram : public testing::Test {
protected:
    void TearDown() override {
        std::error_code ec;
        fs::remove(outFile_, ec);
        fs::remove(errFile_, ec);
    }
    Output Start(const std::string& args) {
#if defined(_WIN32)
        const std::string program = "kvosay.exe";
#else
        const std::string program = "./kvosay";
#endif
        EXPECT_TRUE(fs::exists(program)) << "not built next to the tests: " << program;
        const std::string command = program + " " + args + " >" + outFile_ + " 2>" + errFile_;
        int status = std::system(command.c_str());
#if !defined(_WIN32)
        status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        return {status, Slurp(outFile_), Slurp(errFile_)};
    }

private:
    const std::string stem_ =
        std::string("kvosay-") + testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string outFile_ = stem_ + ".out";
    const std::string errFile_ = stem_ + ".err";
};

TEST_F(KvosayProgram, SaysAValueWithItsWords) {
    const Output o = Start("en --words number 115");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "kavoro.vap\t1\tone\nkavoro.vap\t28\thundred\nkavoro.vap\t51\tand\nkavoro.vap\t15\tfifteen\n");
    EXPECT_EQ(o.err, "");
}

TEST_F(KvosayProgram, APinnedClockSaysToday) {
    const Output o = Start("fr date 12/08/26 --now \"2026-12-08 10:30\" --format \"Day,MonthName\"");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, "kavoro.vap\t44\n");
}

TEST_F(KvosayProgram, ARefusedValueExitsWithOne) {
    const Output o = Start("en money 12x");
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, "error 4: bad_number '12x'\n");
}

TEST_F(KvosayProgram, BadUsageExitsWithTwo) {
    const Output o = Start("en roman 12");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.err.rfind("kvosay: unknown kind 'roman'\nusage: kvosay", 0), 0u) << o.err;
}

}  // namespace
