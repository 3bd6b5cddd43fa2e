// Demo: a voice menu answers scripted callers on the simulated card.
// LineGroup1 -> GetDigits1 with the conditions "1" (a blind transfer to the
// extension host code leaves in Frame1.Ext), "2" (a call with call-progress
// analysis to a busy number), "100-199" (a hold) and one host code decides
// (it takes 42); every other exit ends at OnHook1. Six callers press 1#, 2#,
// 150#, 42#, two invalid entries, and nothing. Prints the host's events, the
// card's journal and line 1's channel log. KVO32.INI is put back afterwards.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BesideOcx.h"
#include "VoiceWave.h"
#include "Container.h"
#include "FormFile.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"

namespace {

using container::Variant;

constexpr char kScenario[] =
    "channels 1\nspeed 20\nline 0\n"
    "call ring 50\nkeys 1500 1#\nhangup 60000\n"
    "call ring 50\nkeys 1500 2#\nhangup 60000\n"
    "call ring 50\nkeys 1500 150#\nhangup 60000\n"
    "call ring 50\nkeys 1500 42#\nhangup 60000\n"
    "call ring 50\nkeys 1500 7#\nkeys 4000 8#\nhangup 60000\n"
    "call ring 50\nhangup 60000\n"
    "dial 5551234 busy\n";

// Block ids: 1 LineGroup1, 10 GetDigits1, 20 Transfer, 21 Outcall, 30 Hold,
// 99 OnHook1.
constexpr char kForm[] = R"(Begin Zentrovo.FrameCtrl.1 Frame1
 BlockId = 9000
 NumFields = 1
 Field0 = Ext
End
Begin Zentrovo.LineGroupCtrl.1 LineGroup1
 BlockId = 1
 LinesInGroup = 1
 Mode = 2
 DelayTime = 0
 Dest1BlockID = 10
 Dest1.Conn = True
End
Begin Zentrovo.GetdgCtrl.1 GetDigits1
 BlockId = 10
 useDefaultError = False
 TermDtmf = 4096
 MaxKeys = 3
 MaxSil = 5
 maxRetries = 1
 InvalidGreeting.NumPhrase = 1
 InvalidGreeting.Phrase0.File = "invalid.wav"
 InvalidGreeting.Phrase0.Type = 65536
 NumConditions = 4
 Condition0.Name = Transfer
 Condition0.Data = 1
 Condition1.Name = Outcall
 Condition1.Data = 2
 Condition2.Name = Hold
 Condition2.Data = 100-199
 Condition3.Name = Host
 Condition3.UseVB = True
 NumNodes = 6
 Dest0BlockID = 99
 Dest1BlockID = 99
 Dest2BlockID = 20
 Dest3BlockID = 21
 Dest4BlockID = 30
 Dest5BlockID = 99
End
Begin Zentrovo.DialCtrl.1 Transfer
 BlockId = 20
 DialNumber = "%Frame1.Ext%"
 DoTransfer = True
 NumNodes = 1
End
Begin Zentrovo.DialCtrl.1 Outcall
 BlockId = 21
 DialNumber = S5551234
 NumNodes = 7
 Dest0BlockID = 99
 Dest1BlockID = 99
 Dest2BlockID = 99
 Dest3BlockID = 99
 Dest4BlockID = 99
 Dest5BlockID = 99
 Dest6BlockID = 99
End
Begin Zentrovo.DelayCtrl.1 Hold
 BlockId = 30
 DelayTime = 2
 HoldType = 0
 NumNodes = 1
 Dest0BlockID = 99
End
Begin Zentrovo.OnHookCtrl.1 OnHook1
 BlockId = 99
End
)";

// KVO32.INI as it was, written back when the demo ends.
class SavedIni {
public:
    SavedIni() {
        char dir[MAX_PATH] = {};
        GetWindowsDirectoryA(dir, MAX_PATH);
        path_ = std::string(dir) + "\\KVO32.INI";
        existed_ = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
        text_ = fw::testing::ReadText(path_);
    }
    ~SavedIni() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "KVO32.INI");  // drops the cached copy
        if (existed_) fw::testing::WriteText(path_, text_);
        else DeleteFileA(path_.c_str());
    }
    SavedIni(const SavedIni&) = delete;
    SavedIni& operator=(const SavedIni&) = delete;

private:
    std::string path_;
    std::string text_;
    bool existed_ = false;
};

void PrintIndented(const std::string& text) {
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::printf("  %s\n", line.c_str());
        at = end + 1;
    }
}

std::string Described(const container::EventRecord& e) {
    std::string s = container::ToUtf8(e.control + L"." + e.event) + "(";
    for (size_t i = 0; i < e.args.size(); ++i) s += (i ? ", " : "") + fw::ole::Narrow(e.args[i].Str());
    return s + ")";
}

// Host code: the extension for transfers, the host's own condition, and
// the events as they arrive.
void OnEvent(container::Host& host, container::EventRecord& e) {
    std::printf("event %s\n", Described(e).c_str());
    if (e.control == L"GetDigits1" && e.event == L"Enter") {
        std::vector<Variant> ext{e.args[0], Variant(std::wstring(L"205"))};
        container::CallResult transfer = host.Find(L"Frame1")->Get(L"Transfer");
        if (transfer.value.Type() == VT_DISPATCH)
            container::InvokeMember(transfer.value.Get()->pdispVal, L"Prop00", DISPATCH_PROPERTYPUT, ext);
    }
    if (e.control == L"GetDigits1" && e.event == L"Condition") {
        std::vector<Variant> channel{e.args[0]};
        const std::wstring digits = host.Find(L"GetDigits1")->Invoke(L"Digits", DISPATCH_PROPERTYGET, channel).value.Str();
        const bool take = digits == L"42";
        e.args[2].Get()->boolVal = take ? VARIANT_TRUE : VARIANT_FALSE;
        std::printf("  host code: digits '%s' %s\n", fw::ole::Narrow(digits).c_str(), take ? "taken" : "refused");
    }
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "kvodigitsdemo\\";
    fw::testing::RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), nullptr);
    fw::testing::WriteText(dir + "calls.scn", kScenario);
    // What an invalid entry hears, found in the project's voice folder: a
    // wave header and 800 bytes of sound.
    fw::testing::WriteText(dir + "invalid.wav", kvo_test::VoiceWave(800));
    SetEnvironmentVariableA("KVORHT32_SCENARIO", (dir + "calls.scn").c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", (dir + "calls.log").c_str());
    SavedIni saved;
    WritePrivateProfileStringA("VoiceCard", "Type", "RHETOREX", "KVO32.INI");
    WritePrivateProfileStringA("System", "Logs", "1", "KVO32.INI");
    WritePrivateProfileStringA("System", "ShowDialog", "0", "KVO32.INI");
    WritePrivateProfileStringA("Directories", "LogFiles", dir.c_str(), "KVO32.INI");

    OleInitialize(nullptr);
    // The library beside the demo is the one the form uses.
    const fw::Module ocx = kvo_test::LoadRegisteredOcx();
    if (!ocx.Get()) {
        std::printf("kvo32.ocx cannot be registered\n");
        return 1;
    }
    int result = 1;
    {
        container::Host host;
        host.Create();
        container::Form form;
        if (container::ParseForm(kForm, form) || FAILED(host.Load(form))) {
            std::printf("the form does not load\n");
            return 1;
        }
        host.Find(L"Frame1")->Put(L"LogDirectory", Variant(fw::ole::Widen(dir)));
        host.Find(L"Frame1")->Put(L"VoiceDirectory", Variant(fw::ole::Widen(dir)));
        size_t calls = 0;
        host.OnEvent([&](container::EventRecord& e) {
            OnEvent(host, e);
            calls += e.control == L"LineGroup1" && e.event == L"Disconnect";
        });
        const auto frame = [&](const wchar_t* method) { return host.Find(L"Frame1")->Call(method, {Variant(short(0))}); };
        const container::CallResult start = frame(L"StartSystem");
        std::printf("StartSystem: %s\n", start.Ok() ? "started" : container::ToUtf8(start.description).c_str());
        const bool answered = start.Ok() && host.PumpUntil([&] { return calls >= 6; }, 60000);
        // A stop is finished once StopSystem says so.
        const bool stopped = host.PumpUntil([&] { return frame(L"StopSystem").value.Long() != 0; }, 20000);
        std::printf("StopSystem: %s\n", stopped ? "stopped" : "still stopping");
        host.Clear();
        result = answered && stopped ? 0 : 1;
    }
    std::printf("voice card journal:\n");
    PrintIndented(fw::testing::ReadText(dir + "calls.log"));
    auto toText = fw::ProcAddress<short(__stdcall*)(long, const char*, const char*)>(ocx.Get(), "log_to_text");
    WIN32_FIND_DATAA found;
    fw::FindHandle log(FindFirstFileA((dir + "*.vlg").c_str(), &found));
    if (log && toText && toText(0, (dir + found.cFileName).c_str(), (dir + "log.txt").c_str()) == 0) {
        std::printf("channel log, line 1:\n");
        PrintIndented(fw::testing::ReadText(dir + "log.txt"));
    }
    OleUninitialize();
    return result;
}
