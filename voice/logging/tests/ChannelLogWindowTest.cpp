// The channel log window: how records become the call tree, and the
// window's filter dialog, loading and export, driven as a user would.
#include "ChannelLogWindow.h"

#include <gtest/gtest.h>

#include <thread>

#include "ChannelLog.h"
#include "LogResources.h"
#include "LogTestSupport.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Wait.h"

namespace kvo {
namespace {

LogRecord Rec(int channel, int kind, std::initializer_list<LogValue> values) {
    return *MakeLogRecord(channel, kind, values);
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char buf[512] = "";
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buf;
    tv.cchTextMax = sizeof buf;
    TreeView_GetItem(tree, &tv);
    return buf;
}

int ItemImage(HWND tree, HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE;
    tv.hItem = item;
    TreeView_GetItem(tree, &tv);
    return tv.iImage;
}

bool HasErrorOverlay(HWND tree, HTREEITEM item) {
    return (TreeView_GetItemState(tree, item, TVIS_OVERLAYMASK) & TVIS_OVERLAYMASK) != 0;
}

// The tree as indented lines, two spaces per level.
void Collect(HWND tree, HTREEITEM first, int depth, std::vector<std::string>& out) {
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        out.push_back(std::string(2 * depth, ' ') + ItemText(tree, item));
        Collect(tree, TreeView_GetChild(tree, item), depth + 1, out);
    }
}
std::vector<std::string> TreeLines(HWND tree) {
    std::vector<std::string> out;
    Collect(tree, TreeView_GetRoot(tree), 0, out);
    return out;
}

class ChannelLogWindowTest : public test::LoggingTest {
protected:
    void TearDown() override {
        LoggingTest::TearDown();
        ChannelLogWindow::CloseAll();
    }
    // A window opened with logging enabled (empty tree).
    ChannelLogWindow* OpenEnabled(int line) {
        LogSystemStart(0);
        ChannelLogWindow* w = ChannelLogWindow::Open(line);
        LogSystemStop(0);
        return w;
    }
};

TEST_F(ChannelLogWindowTest, TitleAndNotEnabledLines) {
    ChannelLogWindow* w = ChannelLogWindow::Open(3);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(fw::WindowText(w->Handle()), "Channel Log 4");
    EXPECT_EQ(ChannelLogWindow::Open(3), w) << "one window per line";
    EXPECT_EQ(TreeLines(w->Tree()),
              (std::vector<std::string>{"Logging has not been enabled.  To enable logging, please",
                                        "add \"Logs=1\" to the \"[System]\" section of the .INI file."}));
    ChannelLogWindow* enabled = OpenEnabled(4);
    EXPECT_TRUE(TreeLines(enabled->Tree()).empty());
}

TEST_F(ChannelLogWindowTest, CallsAndControlsBecomeNodes) {
    ChannelLogWindow* w = OpenEnabled(3);
    const HWND tree = w->Tree();
    for (const LogRecord& r : {Rec(3, LK_CALL_IN, {}),
                               Rec(3, LK_CONTROL_ENTER, {"Menu", "GetDigits", 2}),
                               Rec(3, LK_DELAY_START, {250}),
                               Rec(3, LK_EXIT_NODE, {1, "Next"}),
                               Rec(3, LK_CONTROL_ENTER, {"Play", "PlayGreeting", 99}),
                               Rec(3, LK_CONTROL_NOT_FOUND, {"X"}),
                               Rec(3, LK_EXIT_NODE, {2, "Err"}),
                               Rec(3, LK_CALLER_HANGUP, {})})
        ASSERT_TRUE(w->AddRecord(r));
    EXPECT_EQ(TreeLines(tree),
              (std::vector<std::string>{
                  "00:00:00-> ch 4 Call In  00:00:00-> ch 4 caller hangup",
                  "  00:00:00-> ch 4 'Menu' (GetDigits) 00:00:00-> ch 4 exit via node 1 <Next>",
                  "    ch 4 delay start 250",
                  "    00:00:00-> ch 4 exit via node 1 <Next>",
                  "  00:00:00-> ch 4 'Play' (PlayGreeting) 00:00:00-> ch 4 exit via node 2 <Err>",
                  "    Error: ch 4 Control not found 'X'",
                  "    00:00:00-> ch 4 exit via node 2 <Err>",
              }));
    HTREEITEM call = TreeView_GetRoot(tree);
    HTREEITEM menu = TreeView_GetChild(tree, call);
    HTREEITEM play = TreeView_GetNextSibling(tree, menu);
    EXPECT_EQ(ItemImage(tree, call), 4) << "a call with an error ends with the error icon";
    EXPECT_EQ(ItemImage(tree, menu), 7 + 2) << "control icon from the record";
    EXPECT_EQ(ItemImage(tree, play), 7) << "unknown control icon falls back";
    EXPECT_FALSE(HasErrorOverlay(tree, menu));
    EXPECT_TRUE(HasErrorOverlay(tree, play));
    EXPECT_EQ(ItemImage(tree, TreeView_GetChild(tree, play)), 1) << "error line";
    EXPECT_FALSE(TreeView_GetItemState(tree, menu, TVIS_EXPANDED) & TVIS_EXPANDED)
        << "a control left without error is collapsed";
}

TEST_F(ChannelLogWindowTest, ThirteenthCallRemovesTenOldest) {
    ChannelLogWindow* w = OpenEnabled(0);
    for (int i = 0; i < 12; ++i) w->AddRecord(Rec(0, LK_CALL_IN, {}));
    EXPECT_EQ(TreeView_GetCount(w->Tree()), 12u);
    w->AddRecord(Rec(0, LK_CALL_OUT, {}));
    EXPECT_EQ(TreeView_GetCount(w->Tree()), 3u);
    EXPECT_EQ(w->CallNodeCount(), 3);
    std::vector<std::string> lines = TreeLines(w->Tree());
    EXPECT_EQ(lines.back(), "00:00:00-> ch 1 Call Out  ") << "the newest call stays";
}

TEST_F(ChannelLogWindowTest, WindowMaskFromIni) {
    ini.Set("LogChWindow5", "Msgs", "0");
    ini.Set("LogFile", "Errors", "0");
    LoadLogMasks();
    LogSystemStart(0);
    ChannelLogWindow* w = ChannelLogWindow::Open(5);
    WriteLogN(5, LK_DELAY_START, 1);          // info message: off for the window
    WriteLogS(5, LK_CONTROL_NOT_FOUND, "X");  // error: off for the file only
    // Both records reach the window in one batch: once one shows, the other was dropped.
    ASSERT_TRUE(fw::testing::WaitUntil([&] { return TreeView_GetCount(w->Tree()) >= 1; }));
    LogSystemStop(0);
    EXPECT_EQ(TreeLines(w->Tree()), (std::vector<std::string>{"Error: ch 6 Control not found 'X'"}));
    auto inFile = test::ReadLogFile(TodayLogPath(), 5);
    ASSERT_EQ(inFile.size(), 1u);
    EXPECT_EQ(inFile[0].kind, LK_DELAY_START);
}

TEST_F(ChannelLogWindowTest, RecordsFromOtherThreadsArrive) {
    LogSystemStart(0);
    ChannelLogWindow* w = ChannelLogWindow::Open(2);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < 25; ++i) {
                WriteLogS(2, LK_TEXT, ("t" + std::to_string(t)).c_str());
                WriteLogS(1, LK_TEXT, "other line");
            }
        });
    for (auto& t : threads) t.join();
    fw::testing::WaitUntil([&] { return TreeView_GetCount(w->Tree()) >= 100; });
    EXPECT_EQ(TreeView_GetCount(w->Tree()), 100u);
}

TEST_F(ChannelLogWindowTest, FilterDialogStoresTheMask) {
    ChannelLogWindow* w = OpenEnabled(3);
    std::vector<std::string> labels;
    fw::testing::DialogWatcher driver("Log Options - Channel 3", [&](HWND dlg) {
        for (int c = 0; c < kSwitchableCategories; ++c) {
            char text[64] = "";
            GetDlgItemTextA(dlg, IDC_LOG_CATEGORY0 + c, text, sizeof text);
            labels.push_back(text);
        }
        fw::testing::Press(dlg, IDC_LOG_CATEGORY0 + LC_EVENTS);  // off -> on
        fw::testing::Press(dlg, IDC_LOG_CATEGORY0 + LC_ERRORS);  // on -> off
        fw::testing::Press(dlg, IDOK);
    });
    w->RunFilterDialog();
    ASSERT_EQ(driver.Stop(), 1);
    EXPECT_EQ(labels, (std::vector<std::string>{"Voice driver events", "Voice driver functions", "Errors",
                                                "Invalid digits, timeouts", "Info messages", "Call flow",
                                                "Control internal states", "Calls"}));
    EXPECT_EQ(ini.Get("LogChWindow3", "Events"), "1");
    EXPECT_EQ(ini.Get("LogChWindow3", "Errors"), "0");
    EXPECT_EQ(ini.Get("LogChWindow3", "Msgs"), "1");
    EXPECT_TRUE(w->Mask().Has(LC_EVENTS));
    EXPECT_FALSE(w->Mask().Has(LC_ERRORS));
    w->AddRecord(Rec(3, LK_CONTROL_NOT_FOUND, {"X"}));
    EXPECT_EQ(TreeView_GetCount(w->Tree()), 0u) << "the new mask applies at once";

    fw::testing::DialogWatcher cancel("Log Options - Channel 3", [](HWND dlg) {
        fw::testing::Press(dlg, IDC_LOG_CATEGORY0 + LC_CALLS);
        fw::testing::Press(dlg, IDCANCEL);
    });
    w->RunFilterDialog();
    ASSERT_EQ(cancel.Stop(), 1);
    EXPECT_EQ(ini.Get("LogChWindow3", "Calls"), "1");
    EXPECT_TRUE(w->Mask().Has(LC_CALLS));
}

TEST_F(ChannelLogWindowTest, SaveTextWritesNodesBeforeChildrenCutAt79) {
    ChannelLogWindow* w = OpenEnabled(0);
    const std::string longName(100, 'n');
    w->AddRecord(Rec(0, LK_CALL_IN, {}));
    w->AddRecord(Rec(0, LK_CONTROL_ENTER, {"A", "B", 0}));
    w->AddRecord(Rec(0, LK_NUMBER_TO_DIAL, {longName.c_str()}));
    ASSERT_TRUE(w->SaveText(dir.File("tree.txt")));
    const std::string dial = "ch 1 number to dial '" + longName;
    EXPECT_EQ(fw::testing::ReadText(dir.File("tree.txt")),
              "00:00:00-> ch 1 Call In  \r\n00:00:00-> ch 1 'A' (B) \r\n" + dial.substr(0, 79) + "\r\n");
    EXPECT_FALSE(w->SaveText(dir.File("nodir\\tree.txt")));
}

TEST_F(ChannelLogWindowTest, LoadsALogFileOfItsLine) {
    LogSystemStart(0);
    WriteLog(1, LK_CALL_IN);
    WriteLogS(1, LK_TEXT, "in the file");
    WriteLogS(2, LK_TEXT, "other line");
    LogSystemStop(0);
    const std::string path = TodayLogPath();

    ChannelLogWindow* w = ChannelLogWindow::Open(1);
    ASSERT_TRUE(w->LoadFile(path, false));
    std::vector<std::string> lines = TreeLines(w->Tree());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "  ch 2 in the file");

    fw::testing::WriteBytes(dir.File("bad.vlg"), std::vector<std::uint8_t>(40, 1));
    std::string said;
    {
        fw::testing::DialogWatcher box("Channel Log 2", [&](HWND b) {
            said = fw::testing::MessageBoxText(b);
            fw::testing::Press(b, IDOK);
        });
        EXPECT_FALSE(w->LoadFile(dir.File("bad.vlg"), false));
    }
    EXPECT_EQ(said, "Cannot read, invalid log file format!");

    LogSystemStart(0);
    {
        fw::testing::DialogWatcher box("Channel Log 2", [&](HWND b) {
            said = fw::testing::MessageBoxText(b);
            fw::testing::Press(b, IDOK);
        });
        EXPECT_FALSE(w->LoadFile(path, true));
    }
    EXPECT_EQ(said, "cannot open log files while system running");
}

TEST_F(ChannelLogWindowTest, ClosingTheSuiteRecordsOpenWindows) {
    ini.Set("LogChWindow7", "Show", "1");
    ChannelLogWindow::Open(2);
    ChannelLogWindow::CloseAll();
    EXPECT_EQ(ChannelLogWindow::Find(2), nullptr);
    EXPECT_EQ(ini.Get("LogChWindow2", "Show"), "1");
    EXPECT_EQ(ini.Get("LogChWindow7", "Show"), "0");
    EXPECT_EQ(ini.Get("LogChWindow4", "Show", ""), "") << "lines never shown stay untouched";
    EXPECT_NE(ini.Get("LogChWindow3", "Left"), "") << "placement of line 2 kept under its number from 1";

    ChannelLogWindow::OpenShown();
    EXPECT_NE(ChannelLogWindow::Find(2), nullptr);
    EXPECT_EQ(ChannelLogWindow::Find(7), nullptr);
}

}  // namespace
}  // namespace kvo
