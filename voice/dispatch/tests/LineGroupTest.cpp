// The LineGroup's host members on running lines: the errors each raises and
// what they do to a line waiting in the group.
#include "CallsTest.h"

namespace kvo_test {
namespace {

constexpr HRESULT kIndexOutOfRange = HRESULT(0x800A017D);
constexpr HRESULT kNotInThisControl = HRESULT(0x800A7D05);
constexpr HRESULT kStateDoesNotAllow = HRESULT(0x800A7D06);
constexpr HRESULT kNotStarted = HRESULT(0x800A7D08);
constexpr HRESULT kLineInUse = HRESULT(0x800A7D13);
constexpr HRESULT kNotAllocated = HRESULT(0x800A7D14);

using LineGroupMembers = Calls;

TEST_F(LineGroupMembers, RefuseWhatTheLineCannotDo) {
    // Two quiet lines: line 1 waits for a ring for ever; line 2 has no group.
    Scenario("channels 2\nspeed 20\nline 0\n");
    BuildDemoForm("1");
    ASSERT_NE(Add(L"Zentrovo.LineGroupCtrl.1", L"LineGroup2"), nullptr);
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitForStatus(1, "waiting for ring")) << LineStatus(1);

    struct Case {
        const wchar_t* group;
        const wchar_t* method;
        short channel;
        HRESULT scode;
        const wchar_t* description;  // null: not compared
        const char* note;
    };
    const Case cases[] = {
        {L"LineGroup1", L"AddChannel", 0, kIndexOutOfRange, nullptr, "channels count from 1"},
        {L"LineGroup1", L"AddChannel", 3, kIndexOutOfRange, nullptr, "the card has two lines"},
        {L"LineGroup1", L"StopCall", 3, kIndexOutOfRange, nullptr, "StopCall checks the channel too"},
        {L"LineGroup2", L"AddChannel", 1, kLineInUse, L"Line in use by another control", "line 1 is LineGroup1's"},
        {L"LineGroup2", L"RemoveChannel", 1, kNotAllocated, L" line not allocated", "not this group's line"},
        {L"LineGroup2", L"IdleChannel", 1, kNotAllocated, L" line not allocated", "not this group's line"},
        {L"LineGroup2", L"StartCall", 1, kIndexOutOfRange, nullptr, "StartCall wants an owned line"},
        {L"LineGroup1", L"RemoveChannel", 2, kNotAllocated, nullptr, "line 2 has no group"},
        {L"LineGroup2", L"WaitForRing", 2, kNotInThisControl,
         L"method cannot be performed if call not in this control", "line 2 does not wait in LineGroup2"},
        {L"LineGroup1", L"WaitForRing", 1, kStateDoesNotAllow, L"control state does not allow method",
         "line 1 already has its thread"},
    };
    for (const Case& c : cases) {
        auto r = LineMethod(c.group, c.method, c.channel);
        EXPECT_EQ(r.scode, c.scode) << container::ToUtf8(c.method) << "(" << c.channel << "): " << c.note;
        if (c.description) {
            EXPECT_EQ(r.description, c.description) << c.note;
        }
    }
    // A group that calls out after a delay has no ring to wait for.
    Put(L"LineGroup1", L"Mode", Variant(short(6)));
    EXPECT_EQ(LineMethod(L"LineGroup1", L"WaitForRing", 1).scode, kStateDoesNotAllow);
    Put(L"LineGroup1", L"Mode", Variant(short(2)));
    EXPECT_EQ(LineStatus(1), "waiting for ring") << "no refusal touched the waiting line";
    StopAndWait();
    EXPECT_EQ(LineMethod(L"LineGroup1", L"AddChannel", 1).scode, kNotStarted);
    std::string missing;
    EXPECT_TRUE(InOrder(LogLines(0), {"Line 1 already in use by LineGroup1."}, &missing)) << Joined(LogLines(0));
}

TEST_F(LineGroupMembers, IdleWaitForRingAndStartCallSteerAWaitingLine) {
    Scenario("channels 1\nspeed 20\nline 0\n");
    BuildDemoForm("1");
    Connect(L"LineGroup1", 0, L"User1");  // "Start": calls out run the same flow
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitForJournal("ch0 begin waitforring", 1)) << Joined(Journal());

    ASSERT_TRUE(LineMethod(L"LineGroup1", L"IdleChannel", 1).Ok());
    // The thread ends but the line stays in the group: WaitForRing takes it
    // up again once the thread has gone.
    EXPECT_TRUE(host_->PumpUntil([&] { return LineMethod(L"LineGroup1", L"WaitForRing", 1).Ok(); }, 20000));
    ASSERT_TRUE(WaitForJournal("ch0 begin waitforring", 2)) << Joined(Journal());
    EXPECT_EQ(LineStatus(1), "waiting for ring");

    ASSERT_TRUE(LineMethod(L"LineGroup1", L"StartCall", 1).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail()) << Joined(Journal());
    EXPECT_EQ(EventTrail(), (std::vector<std::string>{"User1.Enter(1)", "User1.Exit(1)", "OnHook1.Enter(1)",
                                                      "LineGroup1.PreDisc(1)", "OnHook1.Disconnect(1)",
                                                      "LineGroup1.Disconnect(1)"}));
    ASSERT_TRUE(WaitForStatus(1, "waiting for ring")) << "the group waits again after the call";
    StopAndWait();

    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 waitforring 1 -> 18", "ch0 waitforring 1 -> 18", "ch0 play", "ch0 onhook"},
                        &missing))
        << missing << "\n" << Joined(Journal());
    EXPECT_TRUE(InOrder(LogLines(0), {"channel idle", "Call Out", "exit via node 0 <Start>", "'User1' (User)"}, &missing))
        << missing << "\n" << Joined(LogLines(0));
}

TEST_F(LineGroupMembers, StopCallOnAWaitingLineLeavesItWaiting) {
    // The caller rings well after the stop.
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 20000\nhangup 60000\n");
    BuildDemoForm("1");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitForJournal("ch0 begin waitforring", 1)) << Joined(Journal());
    ASSERT_TRUE(LineMethod(L"LineGroup1", L"StopCall", 1).Ok());
    EXPECT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << "the line took the call: " << LineStatus(1) << "\n"
                                                          << Joined(Journal()) << LogTextNow();
    StopAndWait();
}

TEST_F(LineGroupMembers, RemoveChannelIsRefusedDuringACall) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    HRESULT during = S_OK;
    host_->OnEvent([&](container::EventRecord& e) {
        OnHostEvent(e);
        if (e.control == L"User1" && e.event == L"Enter") during = LineMethod(L"LineGroup1", L"RemoveChannel", 1).scode;
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail());
    EXPECT_EQ(during, kNotInThisControl);
    ASSERT_TRUE(WaitForStatus(1, "waiting for ring"));
    EXPECT_TRUE(LineMethod(L"LineGroup1", L"RemoveChannel", 1).Ok()) << "waiting in the group: accepted";
    StopAndWait();
}

TEST_F(LineGroupMembers, ALoadedGroupKeepsTheOldDefaultsAndTwoGroupsCannotShareALine) {
    // A saved form without the items gets the old defaults; a new control
    // waits for rings and calls out after five seconds.
    ASSERT_EQ(LoadText("Begin Zentrovo.FrameCtrl.1 Frame1\nEnd\n"
                       "Begin Zentrovo.LineGroupCtrl.1 Loaded1\n LinesInGroup = \"1-2\"\nEnd\n"),
              S_OK);
    ASSERT_NE(Add(L"Zentrovo.LineGroupCtrl.1", L"New1"), nullptr);
    auto value = [&](const wchar_t* control, const wchar_t* member) {
        return host_->Find(control)->Get(member).value.Long();
    };
    EXPECT_EQ(value(L"Loaded1", L"DelayTime"), 4);
    EXPECT_EQ(value(L"Loaded1", L"Mode"), 0);
    EXPECT_EQ(value(L"New1", L"DelayTime"), 5);
    EXPECT_EQ(value(L"New1", L"Mode"), 2);

    Scenario("channels 2\nspeed 20\n");
    Put(L"Frame1", L"LogDirectory", Variant(fw::ole::Widen(dir_.Path())));
    Put(L"New1", L"LinesInGroup", Variant(std::wstring(L"2")));
    auto r = Frame(L"StartSystem", 0);
    EXPECT_EQ(r.scode, kStartBase + 5) << "line 2 is Loaded1's";
    EXPECT_EQ(r.description, L"system check failed - see test log");
    Put(L"New1", L"LinesInGroup", Variant(std::wstring(L"")));
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    // Mode 0 with no request: the lines' threads end right after hanging up.
    EXPECT_TRUE(host_->PumpUntil([&] { return LogTextNow().find("channel idle") != std::string::npos; }, 20000))
        << LogTextNow();
    EXPECT_EQ(Joined(Journal()).find("begin waitforring"), std::string::npos) << Joined(Journal());
    StopAndWait();
}

}  // namespace
}  // namespace kvo_test
