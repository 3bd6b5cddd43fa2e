// kvorht32.dll, the simulated voice card: the driver's 24 entry points over
// the lines of a scenario file. The scenario is (re)read by
// _connectVoiceSystem@0 from the file named by KVORHT32_SCENARIO, else from
// kvorht32.scn next to the library, else a default of four quiet lines.
// When KVORHT32_JOURNAL names a file, every line operation is appended to it
// as one text line ("ch<N> <operation> ...") so tests can see what was asked.
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Scenario.h"
#include "SimLine.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"

namespace voicecard {
namespace {

HMODULE g_self = nullptr;

std::string EnvValue(const char* name) {
    char buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string ReadWholeFile(const std::string& path, bool& ok) {
    ok = false;
    fw::FileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h) return {};
    std::string text;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h.Get(), buf, sizeof buf, &n, nullptr) && n > 0) text.append(buf, n);
    ok = true;
    return text;
}

class Card {
public:
    // Reloads the scenario; lines of an earlier scenario stay alive because a
    // thread may still be inside one of them.
    LONG Connect() {
        std::lock_guard lock(m_);
        {
            std::lock_guard journal(journalLock_);
            journalPath_ = EnvValue("KVORHT32_JOURNAL");
        }
        std::string path = EnvValue("KVORHT32_SCENARIO");
        if (path.empty()) path = fw::BesideModule("kvorht32.scn", g_self);
        bool found = false;
        std::string text = ReadWholeFile(path, found);
        Scenario sc;
        if (found) {
            ParseError err;
            auto parsed = ParseScenario(text, err);
            if (!parsed) {
                WriteJournal("scenario " + path + ":" + std::to_string(err.line) + ": " + err.message);
                return 0;
            }
            sc = std::move(*parsed);
        }
        for (auto& l : lines_) retired_.push_back(std::move(l));
        lines_.clear();
        for (int ch = 0; ch < sc.channels; ++ch) {
            auto it = sc.lines.find(ch);
            LineScript script = it == sc.lines.end() ? LineScript{} : it->second;
            lines_.push_back(std::make_unique<SimLine>(
                std::move(script), sc.speed,
                [this, ch](const std::string& text) { WriteJournal("ch" + std::to_string(ch) + " " + text); }));
        }
        return sc.channels;
    }

    SimLine* Line(LONG ch) {
        std::lock_guard lock(m_);
        return ch >= 0 && static_cast<size_t>(ch) < lines_.size() ? lines_[ch].get() : nullptr;
    }

    void WriteJournal(const std::string& text) {
        std::lock_guard lock(journalLock_);
        if (journalPath_.empty()) return;
        fw::FileHandle h(CreateFileA(journalPath_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_ALWAYS, 0, nullptr));
        if (!h) return;
        const std::string line = text + "\r\n";
        DWORD n = 0;
        WriteFile(h.Get(), line.data(), static_cast<DWORD>(line.size()), &n, nullptr);
    }

private:
    std::mutex m_;
    std::mutex journalLock_;
    std::string journalPath_;
    std::vector<std::unique_ptr<SimLine>> lines_;
    std::vector<std::unique_ptr<SimLine>> retired_;
};

Card& TheCard() {
    static Card card;
    return card;
}

constexpr LONG kBadChannel = 3;

// Runs `op` on the channel's line unless the scenario injects a result for
// this export first; a scripted pause comes before either.
template <class Op>
LONG OnLine(LONG ch, const char* exportName, Op op) {
    SimLine* line = TheCard().Line(ch);
    if (!line) return kBadChannel;
    line->PauseBefore(exportName);
    if (auto injected = line->TakeFailure(exportName)) {
        TheCard().WriteJournal("ch" + std::to_string(ch) + " " + exportName + " fails " +
                               std::to_string(*injected));
        return *injected;
    }
    return op(*line);
}

}  // namespace
}  // namespace voicecard

using voicecard::OnLine;
using voicecard::SimLine;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) voicecard::g_self = instance;
    return TRUE;
}

extern "C" {

LONG WINAPI isOffHook(LONG ch) { return OnLine(ch, "isOffHook", [](SimLine& l) { return l.IsOffHook(); }); }
LONG WINAPI getLoopCurrentStatus(LONG ch) {
    return OnLine(ch, "getLoopCurrentStatus", [](SimLine& l) { return l.LoopCurrent(); });
}
LONG WINAPI connectVoiceSystem() { return voicecard::TheCard().Connect(); }
LONG WINAPI initialiseVoiceSystem() { return 0; }
LONG WINAPI shutDownVoiceSystem() { return 0; }
LONG WINAPI seizeChannel(LONG ch) { return OnLine(ch, "seizeChannel", [](SimLine& l) { return l.Seize(); }); }
LONG WINAPI initialiseChannel(LONG ch) {
    return OnLine(ch, "initialiseChannel", [](SimLine& l) { return l.Initialise(); });
}
LONG WINAPI releaseChannel(LONG ch) { return OnLine(ch, "releaseChannel", [](SimLine& l) { return l.Release(); }); }
LONG WINAPI mapLineToChannel(LONG, LONG) { return 0; }
LONG WINAPI waitForRing(LONG ch, LONG rings) {
    return OnLine(ch, "waitForRing", [rings](SimLine& l) { return l.WaitForRing(rings); });
}
LONG WINAPI refuseCall(LONG ch) { return OnLine(ch, "refuseCall", [](SimLine& l) { return l.RefuseCall(); }); }
LONG WINAPI offHook(LONG ch) { return OnLine(ch, "offHook", [](SimLine& l) { return l.OffHook(); }); }
LONG WINAPI onHook(LONG ch) { return OnLine(ch, "onHook", [](SimLine& l) { return l.OnHook(); }); }
LONG WINAPI waitForDialTone(LONG ch) {
    return OnLine(ch, "waitForDialTone", [](SimLine& l) { return l.WaitForDialTone(); });
}
LONG WINAPI callString(LONG ch, const char* number, LONG mode) {
    return OnLine(ch, "callString", [=](SimLine& l) { return l.CallString(number, mode); });
}
LONG WINAPI dialString(LONG ch, const char* number) {
    return OnLine(ch, "dialString", [=](SimLine& l) { return l.DialString(number); });
}
LONG WINAPI playList(LONG ch, HANDLE data, LONG length, const LONG* params) {
    return OnLine(ch, "playList", [=](SimLine& l) { return l.Play(data, length, params); });
}
LONG WINAPI recordSound(LONG ch, const LONG* params) {
    return OnLine(ch, "recordSound", [=](SimLine& l) { return l.Record(params); });
}
LONG WINAPI stopChannel(LONG ch) { return OnLine(ch, "stopChannel", [](SimLine& l) { return l.Stop(); }); }
LONG WINAPI delayChannel(LONG ch, LONG seconds, LONG mask, LONG flag) {
    return OnLine(ch, "delayChannel", [=](SimLine& l) { return l.Delay(seconds, mask, flag); });
}
LONG WINAPI clearDTMFQueue(LONG ch) {
    return OnLine(ch, "clearDTMFQueue", [](SimLine& l) { return l.ClearQueue(); });
}
LONG WINAPI getDTMFString(LONG ch, const LONG* request, char* buffer) {
    return OnLine(ch, "getDTMFString", [=](SimLine& l) { return l.GetDigits(request, buffer); });
}
LONG WINAPI getDTMFDigit(LONG ch, char* digit) {
    return OnLine(ch, "getDTMFDigit", [=](SimLine& l) { return l.GetDigit(digit); });
}
LONG WINAPI getStatus(LONG, LONG) { return 0; }

}  // extern "C"
