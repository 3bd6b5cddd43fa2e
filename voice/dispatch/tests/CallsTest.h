// The fixture of the call tests: kvo32.ocx in the stand-in container, lines
// on the simulated voice card, the demo form, the host's events with the
// thread they arrive on, the card's journal and the channel log's text.
#pragma once
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "KvoTestSupport.h"
#include "VoiceWave.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"
#include "fw/testing/Wait.h"

namespace kvo_test {

using container::Variant;
using fw::ole::ComPtr;

inline constexpr HRESULT kStartBase = HRESULT(0x800A7E2C);  // + StartSystem's result

// Lines of a text file (CR stripped).
inline std::vector<std::string> ReadLines(const std::string& path) {
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
inline bool InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted, std::string* missing) {
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

inline std::string Joined(const std::vector<std::string>& lines) {
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
    // Waits until the journal holds `count` lines containing `text` (a wait
    // that began writes "chN begin ..." once the line really blocks).
    bool WaitForJournal(const std::string& text, size_t count) {
        return host_->PumpUntil(
            [&] {
                const auto lines = Journal();
                return size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
                           return l.find(text) != std::string::npos;
                       })) >= count;
            },
            20000);
    }

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
    std::vector<std::string> LogLines(int line) {
        std::istringstream in(LogText(line));
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
    // A LineGroup method taking a 1-based channel.
    container::CallResult LineMethod(const wchar_t* group, const wchar_t* method, short channel) {
        return host_->Find(group)->Call(method, {Variant(channel)});
    }
    std::string LineStatus(short channel) {
        auto r = kvo_test::Dispatch(AsDispatch(host_->Find(L"LineGroup1")).Get(), L"LineStatus", DISPATCH_PROPERTYGET,
                                    {Variant(channel)});
        return r.Ok() ? fw::ole::Narrow(r.value.Str()) : "<error " + std::to_string(r.scode) + ">";
    }
    bool WaitForStatus(short channel, const std::string& status) {
        return host_->PumpUntil([&] { return LineStatus(channel) == status; }, 20000);
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

}  // namespace kvo_test
