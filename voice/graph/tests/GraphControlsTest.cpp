// The graph the controls build while a container loads, changes and unloads
// a form: connections, block-id repair, deleted destinations, checks,
// redirection with its errors and logs, and value prompts.
#include <ctime>

#include "Checks.h"
#include "FormFrame.h"
#include "InProcess.h"
#include "KvoTestSupport.h"
#include "Redirection.h"

namespace kvo_graph_test {
namespace {

using container::Variant;

const char kFlow[] =
    "Begin Zentrovo.OutconnCtrl.1 OutConn1\n BlockId = 300\n NumNodes = 1\n Dest0BlockID = 100\n Dest0.Conn = True\nEnd\n"
    "Begin Zentrovo.UserCtrl.1 User1\n BlockId = 200\n NumNodes = 1\n Dest0BlockID = 300\n Dest0.Conn = True\nEnd\n"
    "Begin Zentrovo.InconnCtrl.1 InConn1\n BlockId = 100\n NumNodes = 1\n Dest0BlockID = 200\n Dest0.Conn = True\nEnd\n";

class Graph : public InProcessTest {};

TEST_F(Graph, ConnectionsResolveWhateverTheLoadOrder) {
    ASSERT_EQ(LoadText(*host_, kFlow), S_OK);  // every destination loads after its source
    auto& registry = kvo::ControlRegistry::Process();
    EXPECT_EQ(registry.GetDestination(*Control("InConn1"), 0), Control("User1"));
    EXPECT_EQ(registry.GetDestination(*Control("User1"), 0), Control("OutConn1"));
    EXPECT_EQ(registry.GetDestination(*Control("OutConn1"), 0), Control("InConn1"));
    EXPECT_EQ(Control("User1")->Node(0).GetDestName(), "OutConn1");
}

TEST_F(Graph, TwoControlsStoredWithOneBlockIdAreRepaired) {
    const long before = long(std::time(nullptr));
    ASSERT_EQ(LoadText(*host_,
                       "Begin Zentrovo.UserCtrl.1 First\n BlockId = 777\nEnd\n"
                       "Begin Zentrovo.InconnCtrl.1 In1\n BlockId = 100\n Dest0BlockID = 777\n Dest0.Conn = True\nEnd\n"
                       "Begin Zentrovo.UserCtrl.1 Second\n BlockId = 777\nEnd\n"),
              S_OK);
    EXPECT_EQ(Control("Second")->BlockId(), 777) << "the control being loaded keeps its stored id";
    EXPECT_GE(Control("First")->BlockId(), before) << "the other one gets a fresh id near the current time";
    EXPECT_EQ(kvo::ControlRegistry::Process().GetDestination(*Control("In1"), 0), Control("Second"));
}

TEST_F(Graph, DeletedDestinationResolvesToNoneAndTheCheckSaysSo) {
    ASSERT_EQ(LoadText(*host_, kFlow), S_OK);
    kvo::CCallFlowControl* in = Control("InConn1");
    ASSERT_EQ(in->Node(0).GetDestControl(), Control("User1"));
    host_->Remove(L"User1");
    EXPECT_EQ(Control("User1"), nullptr);
    EXPECT_EQ(in->Node(0).GetDestControl(), nullptr);
    kvo::CheckReport report;
    kvo::CheckConnection(*in, 0, report);
    ASSERT_EQ(report.Entries().size(), 1u);
    EXPECT_EQ(report.Text(), "error destination control not found: node Exit block id 200\t1403\n");
}

TEST_F(Graph, CheckReportListsUnconnectedSelfLoopAndDuplicateNames) {
    ASSERT_EQ(LoadText(*host_,
                       "Begin Zentrovo.UserCtrl.1 Menu\n BlockId = 10\n Dest0BlockID = 10\nEnd\n"
                       "Begin Zentrovo.InconnCtrl.1 In1\n BlockId = 11\nEnd\n"),
              S_OK);
    container::Host other;  // a second form with a control of the same name
    ASSERT_TRUE(other.Create());
    ASSERT_EQ(LoadText(other, "Begin Zentrovo.OutconnCtrl.1 Menu\nEnd\n"), S_OK);
    kvo::CheckReport report;
    kvo::CheckSelfLoop(*Control("Menu"), 0, report);
    kvo::CheckConnection(*Control("In1"), 0, report);
    kvo::CheckDuplicateNames(kvo::ControlRegistry::Process(), report);
    EXPECT_EQ(report.Text(),
              "error node Exit connected to input on same control\t1409\n"
              "warning node Exit not connected\t1404\n"
              "error 2 controls of name Menu\t1410\n");
}

TEST_F(Graph, RedirectionChecksChannelThenStartedThenTarget) {
    LoadFourLines();
    ASSERT_EQ(LoadText(*host_, kFlow), S_OK);
    kvotest::LogCapture log;
    container::ControlSite* site = host_->Find(L"User1");
    auto notStarted = site->Call(L"TakeCall", {Variant(short(1))});
    EXPECT_EQ(notStarted.scode, SCODE(0x800A7D08));
    EXPECT_EQ(container::ToUtf8(notStarted.description), "system not started: cannot perform action");
    EXPECT_EQ(site->Call(L"TakeCall", {Variant(short(5))}).scode, SCODE(0x800A017D)) << "channel before started";

    kvo::ControlRegistry::Process().SetStarted(true);
    kvo::CCallFlowControl* user = Control("User1");
    auto object = kvo_test::AsDispatch(site);
    auto& slots = kvo::LineRedirections::Process();
    auto put = [&](const wchar_t* member, short channel, Variant value) {
        return kvo_test::Dispatch(object.Get(), member, DISPATCH_PROPERTYPUT, {Variant(channel), value});
    };
    auto badNode = put(L"GotoNode", 2, Variant(short(1)));  // equal to the node count
    EXPECT_EQ(badNode.scode, SCODE(0x800A7D00));
    EXPECT_EQ(container::ToUtf8(badNode.description), "invalid output node");
    auto badName = put(L"GotoControl", 2, Variant(std::wstring(L"inconn1")));  // names are case-sensitive
    EXPECT_EQ(badName.scode, SCODE(0x800A7D01));
    EXPECT_EQ(container::ToUtf8(badName.description), "control name not found");
    EXPECT_EQ(slots.RequestedExit(1), -1) << "a refused call changes nothing";
    EXPECT_EQ(slots.RequestedControl(1), nullptr);

    EXPECT_TRUE(put(L"GotoNode", 2, Variant(short(0))).Ok());
    EXPECT_TRUE(put(L"GotoControl", 3, Variant(std::wstring(L"InConn1"))).Ok());
    EXPECT_TRUE(site->Call(L"TakeCall", {Variant(short(4))}).Ok());
    EXPECT_EQ(slots.RequestedExit(1), 0);
    EXPECT_EQ(slots.RequestedControl(2), Control("InConn1"));
    EXPECT_EQ(slots.RequestedControl(3), user);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"VB set bad node 1", "VB set bad control name 'inconn1'",
                                                     "VB set new node 0", "VB set new control name  'InConn1'"}));
    for (int line = 0; line < 4; ++line) slots.Clear(line);
}

TEST_F(Graph, TheGraphCannotChangeWhileTheSystemRuns) {
    ASSERT_EQ(LoadText(*host_, kFlow), S_OK);
    kvo::ControlRegistry::Process().SetStarted(true);
    container::ControlSite* site = host_->Find(L"User1");
    EXPECT_EQ(site->Call(L"SetNumNodes", {Variant(short(3))}).value.Long(), 0);
    EXPECT_EQ(site->Call(L"SetBlockPtr", {Variant(short(0)), Variant(100L), Variant(0L), Variant(1L)}).value.Long(), 0);
    auto put = site->Put(L"BlockID", Variant(999L));
    EXPECT_EQ(put.scode, SCODE(0x800A7D06));
    EXPECT_EQ(container::ToUtf8(put.description), "control state does not allow method");
    HRESULT hr = S_OK;
    EXPECT_EQ(host_->Add(L"Zentrovo.UserCtrl.1", L"Late", nullptr, &hr), nullptr);
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(Control("User1")->NumNodes(), 1);
}

TEST_F(Graph, ValuePromptGoesThroughTheFrameAndIsKept) {
    ASSERT_EQ(LoadText(*host_, std::string("Begin Zentrovo.FrameCtrl.1 Frame1\nEnd\n") + kFlow), S_OK);
    kvo::CCallFlowControl* user = Control("User1");
    std::optional<std::string> value;
    {
        PromptAnswerer answer("205");
        value = user->ReadValue(0, 0);
        EXPECT_EQ(answer.PromptSeen(),
                  "control User1 property Value does not have a valid value. Please enter a value");
    }
    EXPECT_EQ(value, "205");
    EXPECT_EQ(user->ReadValue(0, 0), "205") << "not asked again";
    user->SetValueFlags(false);  // as the start of a test call does
    {
        PromptAnswerer cancel(nullptr);
        EXPECT_EQ(user->ReadValue(1, 0), std::nullopt);
    }
}

TEST_F(Graph, ValuesEnteredAtAPromptAreKeptByTheControlsThatStoreThem) {
    ASSERT_EQ(LoadText(*host_, "Begin Zentrovo.FrameCtrl.1 Frame1\nEnd\n"
                               "Begin Zentrovo.GetdgCtrl.1 GetDigits1\nEnd\n"
                               "Begin Zentrovo.DialCtrl.1 Dial1\nEnd\n"),
              S_OK);
    const struct {
        const char* control;
        int index;
        const char* entered;
        const char* kept;
    } cases[] = {
        {"GetDigits1", 0, "150", "150"},
        {"Dial1", 0, "29", "29"},
        {"Dial1", 0, "99999", "32767"},  // a 16-bit result
        {"Dial1", 0, "busy", "0"},
        {"Dial1", 1, "S205", "S205"},
        {"Dial1", 2, "12/07/2026 17:00", "12/07/2026 17:00"},
    };
    for (const auto& c : cases) {
        kvo::CCallFlowControl* control = Control(c.control);
        control->SetValueFlags(false);
        std::optional<std::string> value, again;
        {
            PromptAnswerer answer(c.entered);
            value = control->ReadValue(1, c.index);
        }
        std::string askedAgain;
        {
            PromptAnswerer other("1");
            again = control->ReadValue(1, c.index);
            askedAgain = other.PromptSeen();
        }
        EXPECT_EQ(value, c.kept) << c.control << " " << c.index << " " << c.entered;
        EXPECT_EQ(again, c.kept) << c.control << " " << c.index;
        EXPECT_EQ(askedAgain, "") << c.control << " " << c.index;
    }
}

TEST_F(Graph, ValuePromptWithoutAFrameIsCancelledAndLogged) {
    ASSERT_EQ(LoadText(*host_, kFlow), S_OK);
    ASSERT_TRUE(kvo::Frames().empty());
    kvotest::LogCapture log;
    EXPECT_EQ(Control("User1")->SubstituteText(0, "%User1%"), std::nullopt);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"no data in control"});
}

}  // namespace
}  // namespace kvo_graph_test

namespace kvo_graph_test {
namespace {

class Pages : public InProcessTest {};

TEST_F(Pages, TheFramesInventoryGivesPagesAndAMissingControlGoesToPageZero) {
    ASSERT_EQ(LoadText(*host_,
                       "Begin Zentrovo.FrameCtrl.1 Frame1\n NumControls = 1\n Control0 = \"3,Listed\"\nEnd\n"
                       "Begin Zentrovo.UserCtrl.1 Listed\n FramePage = 7\nEnd\n"
                       "Begin Zentrovo.UserCtrl.1 Unlisted\n FramePage = 5\nEnd\n"),
              S_OK);
    EXPECT_EQ(Control("Listed")->Page(), 3) << "the inventory wins over the stored page";
    EXPECT_EQ(Control("Unlisted")->Page(), 0);
    EXPECT_FALSE(Control("Listed")->PlacedOnPageZero());
    EXPECT_TRUE(Control("Unlisted")->PlacedOnPageZero());
    fw::ole::ComPtr<IPersistPropertyBag> bag;
    ASSERT_EQ(host_->Find(L"Unlisted")->Object()->QueryInterface(IID_IPersistPropertyBag, bag.PutVoid()), S_OK);
    fw::ole::ComPtr<IPersistStreamInit> stream;
    ASSERT_EQ(bag.As(stream), S_OK);
    EXPECT_EQ(stream->IsDirty(), S_OK) << "the form must be saved again";
    container::Form form = Save(*host_);
    EXPECT_EQ(kvo_test::FormValue(form, "Frame1", "Control0"), "3,Listed");
    EXPECT_EQ(kvo_test::FormValue(form, "Frame1", "Control1"), "0,Unlisted");
    EXPECT_EQ(stream->IsDirty(), S_FALSE);
}

}  // namespace
}  // namespace kvo_graph_test
