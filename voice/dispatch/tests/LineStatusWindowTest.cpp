// The line status window on a running system: a row per line refreshed by
// its timer, and the caption following the system's state.
#include "CallsTest.h"

#include <commctrl.h>

#include "fw/Window.h"
#include "fw/testing/Windows.h"

namespace kvo_test {
namespace {

using LineStatusWindow = Calls;

HWND StatusWindow() {
    for (HWND w : fw::testing::TopLevelWindows(GetCurrentProcessId(), "KvoLineStatusWindow"))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

std::string Cell(HWND window, int row, int column) {
    HWND list = FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr);
    char text[128] = "";
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
    return text;
}

// "status | control | call | in control" of a row.
std::string Row(HWND window, int row) {
    return Cell(window, row, 1) + " | " + Cell(window, row, 2) + " | " + (Cell(window, row, 3).empty() ? "-" : "t") +
           " | " + (Cell(window, row, 4).empty() ? "-" : "t");
}

TEST_F(LineStatusWindow, ShowsEveryLineAndTheSystemsState) {
    // Line 1 takes a long call; line 2 waits for one.
    Scenario("channels 2\nspeed 1\nline 0\ncall ring 10\nhangup 600000\nline 1\n");
    BuildDemoForm("1-2");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 60));
    ASSERT_TRUE(Frame(L"StartSystem", -1).Ok());
    HWND window = StatusWindow();
    ASSERT_NE(window, nullptr) << "StartSystem True shows the line status";
    EXPECT_EQ(fw::WindowText(window), "Kavoro line status - started");
    EXPECT_EQ(ListView_GetItemCount(FindWindowExA(window, nullptr, WC_LISTVIEWA, nullptr)), 48);
    EXPECT_EQ(Cell(window, 47, 0), "48");

    ASSERT_TRUE(WaitFor(L"OnHook1", L"Enter", 1));
    // The rows follow the lines on the window's own timer.
    EXPECT_TRUE(host_->PumpUntil([&] { return Row(window, 0).rfind("playing ", 0) == 0; }, 20000)) << Row(window, 0);
    EXPECT_NE(Row(window, 0).find(" | OnHook1 | t | t"), std::string::npos) << Row(window, 0);
    EXPECT_EQ(Row(window, 1), "waiting for ring | LineGroup1 | - | -");
    EXPECT_EQ(Row(window, 2), "idle |  | - | -") << "a line the card lacks";

    EXPECT_EQ(Frame(L"StopSystem", 0).value.Long(), 0);
    EXPECT_EQ(fw::WindowText(window), "Kavoro line status - waiting for shutdown");
    EXPECT_EQ(Frame(L"StopSystem", -1).value.Long(), 0) << "the forced stop ends the call";
    EXPECT_TRUE(host_->PumpUntil([&] { return fw::WindowText(window) == "Kavoro line status - stopped"; }, 20000));
    EXPECT_TRUE(host_->PumpUntil([&] { return Row(window, 0).rfind("playing ", 0) != 0; }, 20000)) << Row(window, 0);
    StopAndWait();
}

TEST_F(LineStatusWindow, NamesNoControlThatHasLeftTheForm) {
    Scenario("channels 1\nspeed 20\nline 0\n");
    BuildDemoForm("1");
    ASSERT_TRUE(Frame(L"StartSystem", -1).Ok());
    ASSERT_TRUE(WaitForJournal("ch0 begin waitforring", 1)) << Joined(Journal());
    StopAndWait();
    HWND window = StatusWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(host_->PumpUntil([&] { return Cell(window, 0, 2) == "LineGroup1"; }, 20000)) << Row(window, 0);
    host_->Remove(L"LineGroup1");
    EXPECT_TRUE(host_->PumpUntil([&] { return Cell(window, 0, 2).empty(); }, 20000)) << Row(window, 0);
}

}  // namespace
}  // namespace kvo_test
