// The test-support library on real processes, windows, dialogs and files:
// what every other Windows test relies on to own and clean up what it starts.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "fw/testing/Dialogs.h"
#include "fw/testing/Files.h"
#include "fw/testing/Process.h"
#include "fw/testing/Wait.h"
#include "fw/testing/Windows.h"

namespace {

using namespace fw::testing;

constexpr char kChildClass[] = "QvTestingChild";

std::vector<DWORD> ChildProcesses() {
    std::vector<DWORD> pids;
    for (HWND w : TopLevelWindows(0, kChildClass)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        pids.push_back(pid);
    }
    return pids;
}

bool Ended(DWORD pid) {
    fw::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    return !process || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

TEST(Process, EndsWhatItStartedAlsoWhenTheStarterDiesWithoutCleaningUp) {
    ASSERT_TRUE(WaitUntil([] { return ChildProcesses().empty(); })) << Describe(TopLevelWindows(0, kChildClass));
    {
        SCOPED_TRACE("Kill ends the program and the one it started");
        Process starter("fw_testing_child.exe", "spawn");
        ASSERT_TRUE(WaitUntil([&] { return ChildProcesses().size() == 2; }))
            << Describe(TopLevelWindows(0, kChildClass));
        const std::vector<DWORD> pids = ChildProcesses();
        starter.Kill();
        for (DWORD pid : pids) EXPECT_TRUE(WaitUntil([&] { return Ended(pid); })) << DescribeProcesses({pid});
    }
    {
        SCOPED_TRACE("the starter killed: its job still ends the one it started");
        Process starter("fw_testing_child.exe", "orphan");
        const DWORD started = starter.WaitExit(10000);
        ASSERT_NE(started, STILL_ACTIVE);
        EXPECT_TRUE(WaitUntil([&] { return Ended(started); })) << DescribeProcesses({started});
    }
}

TEST(Process, ExitCodesAndProgramsThatCannotStart) {
    EXPECT_EQ(RunToEnd("fw_testing_child.exe", "exit 7"), 7u);
    Process missing;
    EXPECT_FALSE(missing.Start("no_such_program.exe"));
    EXPECT_FALSE(missing.Alive());
    EXPECT_EQ(RunToEnd("no_such_program.exe"), ~0u);
}

TEST(Windows, DescribeNamesTheProcessAndProgramOfEachWindow) {
    Process child("fw_testing_child.exe", "window");
    HWND w = child.WaitWindow(kChildClass);
    ASSERT_NE(w, nullptr);
    const std::string text = Describe({w});
    EXPECT_NE(text.find("of process " + std::to_string(child.Id()) + " (fw_testing_child.exe)"), std::string::npos)
        << text;
    EXPECT_EQ(ProgramName(GetCurrentProcessId()), "fw_testing_tests.exe");
    EXPECT_EQ(DescribeProcesses({child.Id()}), "  process " + std::to_string(child.Id()) + " (fw_testing_child.exe)\n");
}

TEST(Dialogs, WatcherAnswersModalBoxesOfThisProcess) {
    {
        MessageBoxLog log(IDCANCEL);
        EXPECT_EQ(MessageBoxA(nullptr, "first", "Box", MB_OKCANCEL), IDCANCEL);
        EXPECT_EQ(MessageBoxA(nullptr, "second", "Box", MB_OKCANCEL), IDCANCEL);
        EXPECT_EQ(log.Texts(), (std::vector<std::string>{"first", "second"}));
    }
    std::string title;
    DialogWatcher once("Wanted", [&](HWND box) {
        title = WindowText(box);
        Press(box, IDYES);
    });
    EXPECT_EQ(MessageBoxA(nullptr, "text", "Wanted box", MB_YESNO), IDYES);
    EXPECT_EQ(once.Stop(), 1);
    EXPECT_EQ(title, "Wanted box");
}

TEST(Files, TempDirAndIniScopeStartEmptyAndLeaveNothing) {
    std::string path;
    {
        TempDir dir("fwtest");
        path = dir.Path();
        CreateDirectoryA(dir.File("sub").c_str(), nullptr);
        dir.Write("sub\\a.txt", "x");
        EXPECT_EQ(ReadText(dir.Write("b.txt", "bee")), "bee");
    }
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "removed with what it held";

    const char* name = "FWTESTING.INI";
    WritePrivateProfileStringA("Left", "Over", "1", name);   // what an earlier run left behind
    {
        IniFileScope ini(name);
        EXPECT_EQ(ini.Get("Left", "Over"), "<missing>");
        ini.Set("S", "K", "v");
        EXPECT_EQ(ini.Get("S", "K"), "v");
        EXPECT_NE(GetFileAttributesA(ini.Path().c_str()), INVALID_FILE_ATTRIBUTES);
    }
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    EXPECT_EQ(GetFileAttributesA((std::string(dir) + "\\" + name).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Wait, GivesUpAtTheDeadlineWithTheLastAnswer) {
    const DWORD start = GetTickCount();
    EXPECT_FALSE(WaitUntil([] { return false; }, 100));
    EXPECT_GE(GetTickCount() - start, 100u);
    int calls = 0;
    EXPECT_TRUE(WaitUntil([&] { return ++calls == 3; }));
}

}  // namespace
