// The voice system answering calls: events checked for their order and the
// thread they arrive on, the card's journal and the channel log's text.
#include "CallsTest.h"

#include <atomic>
#include <thread>

#include "fw/testing/Dialogs.h"

namespace kvo_test {
namespace {

TEST_F(Calls, ACallRunsThroughTheFlowOnTheContainersThread) {
    Scenario("channels 2\nspeed 20\nline 0\ncall ring 100\nhangup 60000\n");
    BuildDemoForm("1");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail()) << Joined(Journal()) << LogTextNow();
    StopAndWait();

    EXPECT_TRUE(events_thread_ok_) << "every event on the container's thread";
    EXPECT_EQ(EventTrail(), (std::vector<std::string>{"LineGroup1.Ring(1)", "User1.Enter(1)", "User1.Exit(1)",
                                                      "OnHook1.Enter(1)", "LineGroup1.PreDisc(1)",
                                                      "OnHook1.Disconnect(1)", "LineGroup1.Disconnect(1)"}));
    std::string missing;
    const auto journal = Journal();
    EXPECT_TRUE(InOrder(journal, {"ch0 waitforring 1 -> 0", "ch0 offhook", "ch0 play 800 bytes format 0 mask 8190",
                                  "ch0 onhook"},
                        &missing))
        << missing << "\n" << Joined(journal);
    const std::string text = LogText(0);
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    EXPECT_TRUE(InOrder(lines, {"System Start", "'LineGroup1' (LineGroup)", "Call In", "exit via node 1 <Ring>",
                                "'User1' (User)", "exit via node 0 <Exit>", "'OnHook1' (OnHook)",
                                "playing 'Entry' greeting", "call complete", "System Stop"},
                        &missing))
        << missing << "\n" << text;
}

TEST_F(Calls, StartRefusalsRaiseTheirErrors) {
    Scenario("channels 1\nline 0\n");
    BuildDemoForm("1");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    auto twice = Frame(L"StartSystem", 0);
    EXPECT_EQ(twice.scode, kStartBase + 2) << "already started";
    EXPECT_EQ(twice.description, L"System is already started");
    StopAndWait();

    host_->SetUserMode(false);
    auto design = Frame(L"StartSystem", 0);
    EXPECT_EQ(design.scode, kStartBase + 3);
    EXPECT_EQ(design.description, L"Visual Basic must be in run mode before starting system");
    host_->SetUserMode(true);
}

TEST_F(Calls, ALineThatCannotBeSeizedRefusesTheStartAndEndsTheLinesBegunBeforeIt) {
    // The third channel is refused once: the two lines begun before it are
    // ended before the error is raised, and nothing stays started.
    Scenario("channels 3\nspeed 20\nline 2\nfail seizeChannel 6\n");
    BuildDemoForm("1-3");
    auto failed = Frame(L"StartSystem", 0);
    EXPECT_EQ(failed.scode, kStartBase + 6) << Joined(Journal());
    EXPECT_EQ(failed.description, L"failed to initialise lines");
    auto status = kvo_test::Dispatch(AsDispatch(host_->Find(L"LineGroup1")).Get(), L"LineStatus", DISPATCH_PROPERTYGET,
                                     {Variant(short(1))});
    EXPECT_EQ(status.scode, HRESULT(0x800A7D08)) << "the system is not left started";
    std::string missing;
    EXPECT_TRUE(InOrder(LogLines(0), {"System Start", "System Stop"}, &missing)) << missing;

    // No line thread is left behind to refuse the next start.
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok()) << Joined(Journal());
    EXPECT_TRUE(WaitForJournal("ch2 begin waitforring", 1)) << Joined(Journal());
    StopAndWait();
}

TEST_F(Calls, TheStartShowsItsNoticeForTwoSecondsUnlessShowDialogIsZero) {
    Scenario("channels 1\nspeed 20\nline 0\n");
    BuildDemoForm("1");
    for (const char* showDialog : {"1", "0"}) {
        SCOPED_TRACE(showDialog);
        ini_.Set("System", "ShowDialog", showDialog);
        std::atomic<bool> seen{false}, done{false};
        std::thread watcher([&] {
            for (; !done; Sleep(20))
                if (HWND notice = FindWindowA("KvoNoticeWindow", nullptr); notice && IsWindowVisible(notice)) seen = true;
        });
        const DWORD began = GetTickCount();
        const bool started = Frame(L"StartSystem", 0).Ok();
        const DWORD took = GetTickCount() - began;
        done = true;
        watcher.join();
        ASSERT_TRUE(started);
        EXPECT_EQ(seen, *showDialog == '1');
        if (*showDialog == '1') {
            EXPECT_GE(took, 2000u) << "the notice stays at least two seconds";
        }
        EXPECT_EQ(FindWindowA("KvoNoticeWindow", nullptr), nullptr) << "gone once the system runs";
        StopAndWait();
    }
}

TEST_F(Calls, MissingDriverGivesCannotLoadVoiceCard) {
    ini_.Set("VoiceCard", "Type", "NONE");
    BuildDemoForm("1");
    auto r = Frame(L"StartSystem", 0);
    EXPECT_EQ(r.scode, kStartBase + 4);
    EXPECT_EQ(r.description, L"cannot load voice card");
}

TEST_F(Calls, StopWithoutForceLetsTheCallFinishThenRestarts) {
    // The caller stays until hanging up; the handler takes the call to the
    // OnHook only the second time round.
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nhangup 3000\ncall ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    userExit_ = -1;
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"User1", L"Enter", 1));
    // The User chose nothing: the call ends (it is not left in silence) and
    // the line waits for the next one.
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail()) << Joined(Journal()) << LogTextNow();
    EXPECT_EQ(Count(L"LineGroup1", L"PreDisc"), 1u);
    userExit_ = 0;
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Ring", 2)) << Joined(EventTrail());
    StopAndWait();
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok()) << "a finished stop allows a restart";
    StopAndWait();
}

TEST_F(Calls, StopDuringACallIsRefusedUntilTheLastLineEnds) {
    // A caller that never hangs up, held in the User's Enter handler by a
    // stop request made there.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\n");
    BuildDemoForm("1");
    std::vector<long> answers;
    host_->OnEvent([&](container::EventRecord& e) {
        if (e.control == L"User1" && e.event == L"Enter") {
            answers.push_back(Frame(L"StopSystem", 0).value.Long());
            answers.push_back(Frame(L"StopSystem", 0).value.Long());
        }
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail()) << Joined(Journal()) << LogTextNow();
    EXPECT_EQ(answers, (std::vector<long>{0, 0})) << "a stop under way is not a finished stop";
    StopAndWait();
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    StopAndWait();
}

TEST_F(Calls, MaxCallTimeStopsALongCall) {
    // The flow loops through a Delay-free User that waits in a play: the
    // OnHook's greeting is long enough to be stopped.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\n");
    BuildDemoForm("1", 1);
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 30));
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Ring", 1));
    ASSERT_TRUE(host_->PumpUntil([&] { return
                                              Joined(Journal()).find("play") != std::string::npos &&
                                              Joined(Journal()).find("-> 18") != std::string::npos; },
                                 20000))
        << Joined(Journal());
    StopAndWait();
    std::string missing;
    std::istringstream in(LogText(0));
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    EXPECT_TRUE(InOrder(lines, {"call being stopped by code or maxtime", "transfer to linegroup control (call stopped)"},
                        &missing))
        << missing << "\n" << Joined(lines);
}

TEST_F(Calls, ARedirectionDuringRingStillAnswersTheCall) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    host_->OnEvent([&](container::EventRecord& e) {
        if (e.control == L"LineGroup1" && e.event == L"Ring")
            host_->Find(L"OnHook1")->Call(L"TakeCall", {Variant(short(e.args[0].Long()))});
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail());
    StopAndWait();
    EXPECT_EQ(Count(L"User1", L"Enter"), 0u) << "the call went straight to OnHook1";
    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 waitforring 1 -> 0", "ch0 offhook", "ch0 play", "ch0 onhook"}, &missing))
        << missing << "\n" << Joined(Journal());
}

TEST_F(Calls, AForcedStopEndsACycleOfControlsThatNeverBlock) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 600000\n");
    BuildDemoForm("1");
    ASSERT_NE(Add(L"Zentrovo.InconnCtrl.1", L"InConn1"), nullptr);
    ASSERT_NE(Add(L"Zentrovo.OutconnCtrl.1", L"OutConn1"), nullptr);
    Connect(L"LineGroup1", 1, L"InConn1");
    Connect(L"InConn1", 0, L"OutConn1");
    Connect(L"OutConn1", 0, L"InConn1");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"OutConn1", L"Exit", 3));
    EXPECT_EQ(Frame(L"StopSystem", -1).value.Long(), 0) << "the line is still in its call";
    StopAndWait();
    EXPECT_EQ(Count(L"LineGroup1", L"PreDisc"), 1u) << "the call was ended, not abandoned";
}

TEST_F(Calls, BreakModeHangsTheCallerUp) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 600000\n");
    BuildDemoForm("1");
    host_->SetBreakMode(true);
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    std::string missing;
    ASSERT_TRUE(host_->PumpUntil([&] { return InOrder(Journal(), {"ch0 waitforring 1 -> 0", "ch0 onhook"}, &missing); },
                                 20000))
        << Joined(Journal());
    host_->SetBreakMode(false);
    StopAndWait();
    EXPECT_TRUE(host_->Events().empty()) << Joined(EventTrail());
}

TEST_F(Calls, ACallerHangingUpDuringTheGreetingEndsTheCallCleanly) {
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 300\n");
    BuildDemoForm("1");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 30));
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail());
    StopAndWait();
    for (const auto& e : host_->Events())
        if (e.event == L"PreDisc" || e.event == L"Disconnect") {
            EXPECT_EQ(e.args[1].Long(), 2) << container::ToUtf8(e.control) << " reason: the caller hung up";
        }
    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 play 240000 bytes format 0 mask 8190 -> 16", "ch0 onhook"}, &missing))
        << missing << "\n" << Joined(Journal());
}

TEST_F(Calls, GotoNodeWithABadNodeIsRefused) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 600000\n");
    BuildDemoForm("1");
    userExit_ = 7;
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail());
    StopAndWait();
    EXPECT_EQ(badNode_, HRESULT(0x800A7D00));
    EXPECT_NE(LogText(0).find("VB set bad node 7"), std::string::npos) << LogText(0);
}

TEST_F(Calls, AStopThatFindsNothingBlockingStillEndsTheCall) {
    // Sent while the line waits in the User's Enter handler, between two
    // blocking calls, the card's stop reaches nothing and is lost: the call
    // must end on the line's own flags before the OnHook's ten-minute goodbye.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 6000000\n");
    BuildDemoForm("1");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 600));
    long answer = -1;
    host_->OnEvent([&](container::EventRecord& e) {
        if (e.control == L"User1" && e.event == L"Enter") answer = Frame(L"StopSystem", -1).value.Long();
        OnHostEvent(e);
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail()) << Joined(Journal());
    StopAndWait();
    EXPECT_EQ(answer, 0) << "the line was still in its call";
    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 waitforring 1 -> 0", "ch0 stop", "ch0 onhook"}, &missing))
        << missing << "\n" << Joined(Journal());
    EXPECT_EQ(Joined(Journal()).find("ch0 begin play"), std::string::npos) << Joined(Journal());
    for (const auto& e : host_->Events())
        if (e.event == L"PreDisc") {
            EXPECT_EQ(e.args[1].Long(), 4) << "reason: the system is stopping";
        }
}

struct HangUpStep {
    const char* name;
    const char* firstCall;  // scenario of the caller who hangs up
    DWORD handlerMs;        // how long the User's Enter handler keeps the line
};

void PrintTo(const HangUpStep& step, std::ostream* out) { *out << step.name; }

class HangUps : public Calls, public ::testing::WithParamInterface<HangUpStep> {};

TEST_P(HangUps, EndTheCallAndTheNextCallerIsAnswered) {
    const HangUpStep& step = GetParam();
    Scenario(std::string("channels 1\nspeed 1\nline 0\n") + step.firstCall + "call ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 3));
    host_->OnEvent([&](container::EventRecord& e) {
        if (e.control == L"User1" && e.event == L"Enter" && Count(L"LineGroup1", L"Ring") == 1 && step.handlerMs)
            fw::testing::PumpFor(step.handlerMs);
        OnHostEvent(e);
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 2, 30000)) << Joined(EventTrail()) << Joined(Journal());
    StopAndWait();
    std::vector<long> reasons;
    for (const auto& e : host_->Events())
        if (e.control == L"LineGroup1" && e.event == L"PreDisc") reasons.push_back(e.args[1].Long());
    EXPECT_EQ(reasons, (std::vector<long>{2, 0})) << "caller hang-up, then the control's hang-up\n"
                                                  << Joined(EventTrail()) << Joined(Journal());
    const auto trail = EventTrail();
    const std::vector<std::string> secondCall = {"LineGroup1.Ring(1)",    "User1.Enter(1)",        "User1.Exit(1)",
                                                 "OnHook1.Enter(1)",      "LineGroup1.PreDisc(1)", "OnHook1.Disconnect(1)",
                                                 "LineGroup1.Disconnect(1)"};
    ASSERT_GE(trail.size(), secondCall.size());
    EXPECT_EQ(std::vector<std::string>(trail.end() - long(secondCall.size()), trail.end()), secondCall)
        << "the second caller runs the whole flow\n" << Joined(trail);
    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 waitforring 1 -> 0", "ch0 onhook", "ch0 waitforring 1 -> 0", "ch0 offhook",
                                    "ch0 play 24000 bytes format 0 mask 8190 -> 0", "ch0 onhook"},
                        &missing))
        << missing << "\n" << Joined(Journal());
}

INSTANTIATE_TEST_SUITE_P(
    Calls, HangUps,
    ::testing::Values(HangUpStep{"BeforeTheAnswer", "call ring 10\nhangup 0\n", 0},
                      HangUpStep{"DuringTheUsersEnterHandler", "call ring 10\nhangup 20\n", 400},
                      HangUpStep{"DuringTheGoodbyeGreeting", "call ring 10\nhangup 300\n", 0}),
    [](const ::testing::TestParamInfo<HangUpStep>& info) { return std::string(info.param.name); });

TEST_F(Calls, AStopMadeWhileTheLineBlocksInNothingStillEndsTheCall) {
    // StopCall in the Enter handler: the driver has nothing to stop then.
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\ncall ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    host_->OnEvent([&](container::EventRecord& e) {
        OnHostEvent(e);
        if (e.control == L"User1" && e.event == L"Enter" && Count(L"User1", L"Enter") == 1) {
            EXPECT_TRUE(LineMethod(L"LineGroup1", L"StopCall", 1).Ok());
        }
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    // The stopped call ends without a Disconnect: the group just hangs up.
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Joined(EventTrail()) << Joined(Journal());
    StopAndWait();
    EXPECT_EQ(Count(L"OnHook1", L"Enter"), 1u) << "only the second call reaches the goodbye\n" << Joined(EventTrail());
    std::string missing;
    EXPECT_TRUE(InOrder(LogLines(0), {"call being stopped by code or maxtime",
                                      "transfer to linegroup control (call stopped)", "no connection on node <2>",
                                      "Call In", "'OnHook1' (OnHook)"},
                        &missing))
        << missing << "\n" << Joined(LogLines(0));
}

TEST_F(Calls, AGroupWhoseOwnHangUpFailsStopsItsLineOnce) {
    // Every on-hook fails: the group cannot make the line ready for a call.
    Scenario("channels 1\nspeed 20\nline 0\nfail onHook 6\nfail onHook 6\nfail onHook 6\nfail onHook 6\n"
             "call ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitForStatus(1, "stopped - error")) << LineStatus(1) << "\n" << Joined(EventTrail());
    StopAndWait();
    EXPECT_TRUE(host_->Events().empty()) << "no event storm\n" << Joined(EventTrail());
    const auto log = LogLines(0);
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& l) {
                  return l.find("failed to go offhook") != std::string::npos;
              }),
              1)
        << Joined(log);
}

TEST_F(Calls, AHangUpWhoseOnHookFailsStillTellsTheHostAndTheLineGoesOn) {
    // The group's first on-hook works; the one ending the first call fails.
    Scenario("channels 1\nspeed 1\nline 0\nfail onHook 0\nfail onHook 6\ncall ring 10\nhangup 300\n"
             "call ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 3));
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 2, 30000)) << Joined(EventTrail()) << Joined(Journal());
    StopAndWait();
    EXPECT_EQ(EventTrail(), (std::vector<std::string>{
                                "LineGroup1.Ring(1)", "User1.Enter(1)", "User1.Exit(1)", "OnHook1.Enter(1)",
                                "LineGroup1.PreDisc(1)", "OnHook1.Disconnect(1)", "LineGroup1.Disconnect(1)",
                                "LineGroup1.Ring(1)", "User1.Enter(1)", "User1.Exit(1)", "OnHook1.Enter(1)",
                                "LineGroup1.PreDisc(1)", "OnHook1.Disconnect(1)", "LineGroup1.Disconnect(1)"}));
}

TEST_F(Calls, AFormUnloadedFromItsOwnEventHandlerDoesNotWaitForThatLine) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    bool unloaded = false;
    host_->OnEvent([&](container::EventRecord& e) {
        if (e.control == L"User1" && e.event == L"Enter" && !unloaded) {
            host_->Clear();
            unloaded = true;
        }
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(host_->PumpUntil([&] { return unloaded; }, 20000)) << Joined(EventTrail());
    // The line ends on its own and finishes the stop; then a new form starts
    // the system again.
    ASSERT_TRUE(host_->PumpUntil([&] { return LogTextNow().find("System Stop") != std::string::npos; }, 20000))
        << LogTextNow();
    host_->OnEvent([this](container::EventRecord& e) { OnHostEvent(e); });
    host_->ClearEvents();
    BuildDemoForm("1");
    ASSERT_TRUE(host_->PumpUntil([&] { return Frame(L"StartSystem", 0).Ok(); }, 20000));
    StopAndWait();
}

TEST_F(Calls, AnInvalidOrSilentExitWithoutHandlersPlaysTheDefaultPhraseAndHangsUp) {
    struct Case {
        short exit;
        const char* file;
        size_t bytes;
        const char* record;
    } const cases[] = {
        {-2, "error.wav", 1600, "call complete - invalid digits"},
        {-1, "silence.wav", 2400, "call complete - no response"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        dir_.Write(c.file, kvo_test::VoiceWave(c.bytes));
    }
    ini_.Set("Run", "DefaultError", dir_.File("error.wav").c_str());
    ini_.Set("Run", "DefaultSilence", dir_.File("silence.wav").c_str());
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\ncall ring 50\nhangup 60000\n");
    BuildDemoForm("1");
    // The host turns User1's exit into the special exit of the call.
    host_->OnEvent([&](container::EventRecord& e) {
        OnHostEvent(e);
        if (e.control == L"User1" && e.event == L"Exit") e.args[1] = Variant(cases[Count(L"User1", L"Exit") - 1].exit);
    });
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 2)) << Joined(EventTrail()) << Joined(Journal());
    StopAndWait();
    EXPECT_EQ(Count(L"OnHook1", L"Enter"), 0u) << Joined(EventTrail());
    for (const auto& e : host_->Events())
        if (e.event == L"PreDisc") {
            EXPECT_EQ(e.args[1].Long(), 3) << "kvoInvalidHangup";
        }
    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 play 1600 bytes format 0 mask 8190 -> 0", "ch0 onhook",
                                    "ch0 play 2400 bytes format 0 mask 8190 -> 0", "ch0 onhook"},
                        &missing))
        << missing << "\n" << Joined(Journal());
    EXPECT_TRUE(InOrder(LogLines(0), {cases[0].record, "no connection on node <3>, Invalid digit handler",
                                      "playing 'default error phrase' greeting", cases[1].record,
                                      "no connection on node <4>, No digits handler",
                                      "playing 'default error phrase' greeting"},
                        &missing))
        << missing << "\n" << Joined(LogLines(0));
}

TEST_F(Calls, AClosingFormAsksAgainWhileTheDriverRefusesToStopALine) {
    // The caller stays; the first stop of the line fails.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\nfail stopChannel 6\n");
    BuildDemoForm("1");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 60));
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitFor(L"OnHook1", L"Enter", 1));
    std::vector<std::string> questions;
    fw::testing::DialogWatcher yes("Kavoro", [&](HWND box) {
        questions.push_back(fw::testing::MessageBoxText(box));
        fw::testing::Press(box, IDYES);
    });
    host_->Clear();  // returns once the line has ended
    EXPECT_EQ(yes.Stop(), 1);
    EXPECT_EQ(questions, (std::vector<std::string>{"unable to stop voice system. Click Yes to try again.System may be "
                                                   "unstable if voice system is not stopped"}));
    std::string missing;
    EXPECT_TRUE(InOrder(Journal(), {"ch0 stopChannel fails 6", "ch0 stop", "-> 18"}, &missing))
        << missing << "\n" << Joined(Journal());
}

class HelpDigit : public Calls, public ::testing::WithParamInterface<bool> {};

TEST_P(HelpDigit, TakesTheCallToTheGroupsHelpNode) {
    const bool connected = GetParam();
    // The caller presses * during the goodbye; * is the group's help digit.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nkeys 100 *\nhangup 600000\n");
    BuildDemoForm("1");
    dir_.Write("bye.wav", kvo_test::VoiceWave(8000 * 30));
    Put(L"LineGroup1", L"HelpDigit", Variant(2048L));
    ASSERT_NE(Add(L"Zentrovo.OnHookCtrl.1", L"OnHook2"), nullptr);
    if (connected) Connect(L"LineGroup1", 5, L"OnHook2");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    ASSERT_TRUE(WaitForJournal("ch0 begin waitforring", 2)) << Joined(Journal());
    StopAndWait();
    std::vector<std::string> afterGoodbye;
    bool seen = false;
    for (const std::string& e : EventTrail()) {
        if (seen) afterGoodbye.push_back(e);
        seen = seen || e == "OnHook1.Enter(1)";
    }
    const std::vector<std::string> expected =
        connected ? std::vector<std::string>{"OnHook2.Enter(1)", "LineGroup1.PreDisc(1)", "OnHook2.Disconnect(1)",
                                             "LineGroup1.Disconnect(1)"}
                  : std::vector<std::string>{};
    EXPECT_EQ(afterGoodbye, expected) << Joined(EventTrail());
    std::string missing;
    EXPECT_TRUE(InOrder(LogLines(0),
                        {"help digit detected",
                         connected ? "transfer to linegroup control (help digit)" : "no connection on node <5>"},
                        &missing))
        << missing << "\n" << Joined(LogLines(0));
}

INSTANTIATE_TEST_SUITE_P(Calls, HelpDigit, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
    return std::string(info.param ? "Connected" : "Unconnected");
});

TEST_F(Calls, ClosingTheFormEndsALineThatMissedTheStop) {
    // The card is busy in the wait for a ring when the form closes: the stop
    // the close sends finds nothing to end, the wait then begins and no call
    // will ever end it. Closing must still end the line, not wait for ever.
    Scenario("channels 1\nspeed 1\nline 0\npause waitForRing 3000\n");
    BuildDemoForm("1");
    ASSERT_TRUE(Frame(L"StartSystem", 0).Ok());
    std::string missing;
    ASSERT_TRUE(host_->PumpUntil([&] { return InOrder(Journal(), {"ch0 waitForRing pauses"}, &missing); }, 20000))
        << Joined(Journal());
    host_->Clear();
    EXPECT_TRUE(InOrder(Journal(), {"ch0 waitForRing pauses", "ch0 stop", "ch0 begin waitforring", "ch0 stop",
                                    "ch0 waitforring 1 -> 18"},
                        &missing))
        << missing << "\n" << Joined(Journal());
}

}  // namespace
}  // namespace kvo_test
