// The voice system answering calls: kvo32.ocx in the stand-in container,
// lines on the simulated voice card, events checked for their order and the
// thread they arrive on, the card's journal and the channel log's text.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "VoiceWave.h"
#include "KvoTestSupport.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"

namespace kvo_test {
namespace {

using container::Variant;
using fw::ole::ComPtr;

constexpr HRESULT kStartBase = HRESULT(0x800A7E2C);  // + StartSystem's result

// Lines of a text file (CR stripped).
std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

// True when each of `wanted` is found in `lines` (as a substring) after the
// previous one; the first one missing is named in `missing`.
bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted, std::string* missing) {
    size_t at = 0;
    for (const std::string& w : wanted) {
        while (at < lines.size() && lines[at].find(w) == std::string::npos) ++at;
        if (at == lines.size()) {
            *missing = w;
            return false;
        }
        ++at;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

class Calls : public ContainerTest {
protected:
    void SetUp() override {
        ContainerTest::SetUp();
        SetCallSettings(ini_, dir_.Path());
        host_->OnEvent([this](container::EventRecord& e) { OnHostEvent(e); });
    }
    void TearDown() override {
        host_->Clear();  // the form goes first: its lines end with it
        ContainerTest::TearDown();
        SetEnvironmentVariableA("KVORHT32_SCENARIO", nullptr);
        SetEnvironmentVariableA("KVORHT32_JOURNAL", nullptr);
    }

    void Scenario(const std::string& text) {
        dir_.Write("card.scn", text);
        SetEnvironmentVariableA("KVORHT32_SCENARIO", dir_.File("card.scn").c_str());
        SetEnvironmentVariableA("KVORHT32_JOURNAL", dir_.File("card.log").c_str());
    }
    std::vector<std::string> Journal() { return ReadLines(dir_.File("card.log")); }

    // Frame1; LineGroup1 on `lines`; Ring -> User1 -> OnHook1, whose entry
    // greeting is a wave file; User1's Enter handler chooses node 0.
    void BuildDemoForm(const char* lines, short maxCallTime = 0) {
        ASSERT_NE(Add(L"Zentrovo.FrameCtrl.1", L"Frame1"), nullptr);
        Put(L"Frame1", L"LogDirectory", Variant(fw::ole::Widen(dir_.Path())));
        ASSERT_NE(Add(L"Zentrovo.LineGroupCtrl.1", L"LineGroup1"), nullptr);
        ASSERT_NE(Add(L"Zentrovo.UserCtrl.1", L"User1"), nullptr);
        ASSERT_NE(Add(L"Zentrovo.OnHookCtrl.1", L"OnHook1"), nullptr);
        Put(L"LineGroup1", L"LinesInGroup", Variant(fw::ole::Widen(lines)));
        Put(L"LineGroup1", L"IMaxCallTime", Variant(maxCallTime));
        Connect(L"LineGroup1", 1, L"User1");
        Connect(L"User1", 0, L"OnHook1");
        dir_.Write("bye.wav", kvo_test::VoiceWave(800));
        ComPtr<IDispatch> greeting = ObjectProperty(AsDispatch(host_->Find(L"OnHook1")).Get(), L"EntryGreeting");
        ASSERT_TRUE(greeting);
        auto r = kvo_test::Dispatch(greeting.Get(), L"InsertFile", DISPATCH_METHOD,
                                    {Variant(short(-1)), Variant(fw::ole::Widen(dir_.File("bye.wav")))});
        ASSERT_TRUE(r.Ok()) << std::hex << r.hr;
        userExit_ = 0;
    }
    void Put(const wchar_t* control, const wchar_t* member, Variant value) {
        auto r = host_->Find(control)->Put(member, value);
        ASSERT_TRUE(r.Ok()) << container::ToUtf8(member) << " " << std::hex << r.hr;
    }
    void Connect(const wchar_t* from, short node, const wchar_t* to) {
        const long id = host_->Find(to)->Get(L"BlockID").value.Long();
        auto r = host_->Find(from)->Call(L"SetBlockPtr", {Variant(node), Variant(id), Variant(0L), Variant(1L)});
        ASSERT_TRUE(r.Ok() && r.value.Long()) << std::hex << r.hr;
    }
    container::CallResult Frame(const wchar_t* method, short flag) {
        return host_->Find(L"Frame1")->Call(method, {Variant(flag)});
    }
    size_t Count(const wchar_t* control, const wchar_t* event) const {
        return size_t(std::count_if(host_->Events().begin(), host_->Events().end(), [&](const auto& e) {
            return e.control == control && e.event == event;
        }));
    }
    bool WaitFor(const wchar_t* control, const wchar_t* event, size_t count, DWORD ms = 20000) {
        return host_->PumpUntil([&] { return Count(control, event) >= count; }, ms);
    }
    // Stops and waits until the stop has finished (StopSystem True).
    void StopAndWait() {
        bool stopped = false;
        host_->PumpUntil([&] { return stopped = Frame(L"StopSystem", 0).value.Long() != 0; }, 20000);
        ASSERT_TRUE(stopped) << "the stop never finished\n" << Joined(Journal()) << LogTextNow();
    }
    // "control.event(ch)" of every event, in arrival order.
    std::vector<std::string> EventTrail() const {
        std::vector<std::string> out;
        for (const auto& e : host_->Events()) {
            std::string s = container::ToUtf8(e.control + L"." + e.event);
            if (!e.args.empty()) s += "(" + std::to_string(e.args[0].Long()) + ")";
            out.push_back(s);
        }
        return out;
    }
    std::string LogText(int line) {
        const std::string log = FindLog();
        if (log.empty()) return "<no log file>";
        fw::Module ocx(LoadLibraryA(BinPath("kvo32.ocx").c_str()));
        auto toText = fw::ProcAddress<short(__stdcall*)(long, const char*, const char*)>(ocx.Get(), "log_to_text");
        if (!toText) return "<no export>";
        const std::string text = dir_.File("log.txt");
        if (short r = toText(line, log.c_str(), text.c_str())) return "<log_to_text " + std::to_string(r) + ">";
        return Joined(ReadLines(text));
    }
    // The log while the system still writes it: a copy is converted.
    std::string LogTextNow() {
        const std::string log = FindLog();
        if (log.empty()) return "<no log file>";
        CopyFileA(log.c_str(), dir_.File("copy.vlg.bak").c_str(), FALSE);
        fw::Module ocx(LoadLibraryA(BinPath("kvo32.ocx").c_str()));
        auto toText = fw::ProcAddress<short(__stdcall*)(long, const char*, const char*)>(ocx.Get(), "log_to_text");
        const std::string text = dir_.File("now.txt");
        if (!toText || toText(0, dir_.File("copy.vlg.bak").c_str(), text.c_str())) return "<no text>";
        return Joined(ReadLines(text));
    }
    std::string FindLog() {
        WIN32_FIND_DATAA found;
        fw::FindHandle find(FindFirstFileA((dir_.Path() + "*.vlg").c_str(), &found));
        return find ? dir_.Path() + found.cFileName : "";
    }

    virtual void OnHostEvent(container::EventRecord& e) {
        events_thread_ok_ = events_thread_ok_ && e.threadId == GetCurrentThreadId();
        if (e.control == L"User1" && e.event == L"Enter" && userExit_ >= 0) {
            auto r = kvo_test::Dispatch(AsDispatch(host_->Find(L"User1")).Get(), L"GotoNode", DISPATCH_PROPERTYPUT,
                                        {Variant(short(e.args[0].Long())), Variant(userExit_)});
            if (userExit_ < 1) {
                EXPECT_TRUE(r.Ok()) << std::hex << r.hr;
            }
            if (!r.Ok()) badNode_ = r.scode;
        }
    }

    fw::testing::IniFileScope ini_{"KVO32.INI"};
    fw::testing::TempDir dir_{"kvodisp"};
    short userExit_ = 0;  // -1: the handler chooses nothing
    HRESULT badNode_ = S_OK;
    bool events_thread_ok_ = true;
};

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

}  // namespace
}  // namespace kvo_test
