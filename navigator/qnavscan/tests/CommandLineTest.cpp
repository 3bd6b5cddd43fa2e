#include <gtest/gtest.h>
#include <vector>
#include "CommandLine.h"

namespace {

qv::CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "qnavscan");
    return qv::ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(QnavscanCommandLine, FlagsSwitchOnlyTheirOption) {
    auto cl = Parse({"--no-base-list", "--no-framework-macros", "--lines-without-newline", "a.cpp"});
    ASSERT_EQ(cl.error, "");
    EXPECT_FALSE(cl.options.ShowBaseList);
    EXPECT_FALSE(cl.options.cMFCMacros);
    EXPECT_FALSE(cl.options.linesCarryNewline);
    EXPECT_TRUE(cl.options.cTemplates && cl.options.cClasses && cl.options.cStructs &&
                cl.options.cMacros && cl.options.cDefines);
    EXPECT_EQ(cl.files, std::vector<std::string>{"a.cpp"});
}

TEST(QnavscanCommandLine, BadUsageIsReported) {
    EXPECT_NE(Parse({}).error, "") << "no files";
    EXPECT_NE(Parse({"--no-such-thing", "a.c"}).error, "");
    EXPECT_NE(Parse({"--files-from"}).error, "");
    EXPECT_EQ(Parse({"--help"}).error, "");
    auto cl = Parse({"--", "--no-classes"});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.files, std::vector<std::string>{"--no-classes"}) << "after -- every word is a file";
}

TEST(QnavscanCommandLine, HelpNamesEveryFlag) {
    const std::string usage = qv::Usage();
    for (const char* flag : {"--no-templates", "--no-classes", "--no-structs", "--no-macros",
                             "--no-defines", "--no-framework-macros", "--no-base-list",
                             "--lines-without-newline", "--files-from"})
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
}

}  // namespace
