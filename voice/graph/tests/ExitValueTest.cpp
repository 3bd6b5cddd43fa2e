// A control's value named in the channel log where a line leaves it: the
// value a user entered at design time, read while calls run.
#include <algorithm>

#include "InProcess.h"
#include "KvoTestSupport.h"
#include "ChannelLog.h"
#include "VoiceSystem.h"

namespace kvo_graph_test {
namespace {

using container::Variant;

// Ring -> User1 -> OutConn1, whose exit goes nowhere: the line goes back to
// its group after each call.
const char kCallFlow[] =
    "Begin Zentrovo.FrameCtrl.1 Frame1\nEnd\n"
    "Begin Zentrovo.OutconnCtrl.1 OutConn1\n BlockId = 300\n NumNodes = 1\nEnd\n"
    "Begin Zentrovo.UserCtrl.1 User1\n BlockId = 200\n NumNodes = 1\n Dest0BlockID = 300\n Dest0.Conn = True\nEnd\n"
    "Begin Zentrovo.LineGroupCtrl.1 LineGroup1\n BlockId = 100\n LinesInGroup = \"1\"\n Mode = 2\n NumNodes = 5\n"
    " Dest1BlockID = 200\n Dest1.Conn = True\nEnd\n";

class ExitValues : public InProcessTest {};

TEST_F(ExitValues, TheExitingControlsValueIsLoggedWithItsNodeOrRedirection) {
    kvotest::Scenario card("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 600000\ncall ring 50\nhangup 600000\n");
    ini_->Set("VoiceCard", "Type", "RHETOREX");
    ini_->Set("System", "ShowDialog", "0");
    ASSERT_EQ(LoadText(*host_, kCallFlow), S_OK);
    {
        PromptAnswerer answer("205");
        ASSERT_EQ(Control("User1")->ReadValue(0, 0), "205");
    }
    // The first call leaves User1 through its node; the second is sent on by
    // the Exit handler.
    int calls = 0;
    host_->OnEvent([&](container::EventRecord& e) {
        const short channel = short(e.args.empty() ? 0 : e.args[0].Long());
        if (e.control == L"User1" && e.event == L"Enter") {
            std::vector<Variant> node{Variant(channel), Variant(short(0))};
            host_->Find(L"User1")->Invoke(L"GotoNode", DISPATCH_PROPERTYPUT, node);
        }
        if (e.control == L"User1" && e.event == L"Exit" && calls == 1) {
            std::vector<Variant> control{Variant(channel), Variant(std::wstring(L"OutConn1"))};
            host_->Find(L"User1")->Invoke(L"GotoControl", DISPATCH_PROPERTYPUT, control);
        }
        if (e.control == L"OutConn1" && e.event == L"Exit") ++calls;
    });
    kvotest::LogCapture log;
    bool stopped = false;
    auto stop = [&] {
        host_->PumpUntil(
            [&] { return stopped = host_->Find(L"Frame1")->Call(L"StopSystem", {Variant(short(0))}).value.Long() != 0; },
            20000);
    };
    ASSERT_TRUE(host_->Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))}).Ok());
    kvo::SetLogTestMode(true);  // the start sent the records to the file
    // Both calls over once the line waits for a third.
    const bool done = host_->PumpUntil(
        [&] {
            const auto journal = card.Journal();
            return calls >= 2 && std::count(journal.begin(), journal.end(), "ch0 begin waitforring 1") >= 3;
        },
        20000);
    stop();  // before the card goes, whatever happened
    ASSERT_TRUE(done) << ::testing::PrintToString(log.Lines()) << ::testing::PrintToString(card.Journal());
    EXPECT_TRUE(stopped);
    const std::vector<std::string> lines = log.Lines();
    auto count = [&](const std::string& text) { return std::count(lines.begin(), lines.end(), text); };
    EXPECT_EQ(count("exit via node 0 <'Exit'> value '205'"), 1) << ::testing::PrintToString(lines);
    EXPECT_EQ(count("exit via gotocontrol, value '205'"), 1) << ::testing::PrintToString(lines);
    // Asked for and then taken: each redirection is named twice, no more.
    EXPECT_EQ(count("VB set new node 0"), 4);
    EXPECT_EQ(count("VB set new control name  'OutConn1'"), 1);
}

}  // namespace
}  // namespace kvo_graph_test
