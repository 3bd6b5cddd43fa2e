// Demo: a scripted caller hears a greeting made of a wave file, a prompt clip
// found by its name, an amount of money and a date. The prompt files are made
// with the prompt editor's own operations (every clip of "kavoro.vap" with a
// length of its own); afterwards every play line of the card's journal is
// mapped back, through the files' indexes, to the clip it played.
#include <windows.h>

#include <cstdio>
#include <regex>
#include <string>

#include "BesideOcx.h"
#include "VoiceWave.h"
#include "Clips.h"
#include "Container.h"
#include "PromptFile.h"
#include "RoleWords.h"
#include "VapEditor.h"
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"

namespace {

using container::Variant;

constexpr int kKavoroClips = 160;

class ConsoleUi : public kvo::VapEditorUi {
public:
    void Show(const std::string& message) override { std::printf("prompt editor: %s\n", message.c_str()); }
    Answer Ask(const std::string&, bool) override { return Answer::Yes; }
};

std::string WaveOf(size_t audioBytes) { return kvo_test::VoiceWave(audioBytes); }

// A prompt file of clips named `names`, clip i holding `firstLength` + i bytes.
bool MakePromptFile(const std::string& dir, const std::string& file, const std::vector<std::string>& names,
                    size_t firstLength) {
    ConsoleUi ui;
    const std::string path = dir + file;
    DeleteFileA(path.c_str());
    if (kvo::VapCreate(path, 0, 0, ui) != 1) return false;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string wave = WaveOf(firstLength + i);
        if (!fw::testing::WriteBytes(dir + "clip.wav", std::vector<std::uint8_t>(wave.begin(), wave.end())) ||
            kvo::VapAppendClip(path, names[i], dir + "clip.wav", ui) != long(i + 1))
            return false;
    }
    return true;
}

// "kavoro.vap clip 51 (and)" for a played byte range, by the file's index.
std::string ClipOf(const std::string& path, unsigned long first, unsigned long last) {
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    const bool prompts = name.size() > 4 && _stricmp(name.c_str() + name.size() - 4, ".vap") == 0;
    auto reader = std::make_unique<kvo::StdioFile>(path, kvo::StdioFile::Mode::Read);
    std::unique_ptr<kvo::PromptFile> file =
        prompts && reader->IsOpen() ? kvo::PromptFile::Open(std::move(reader)) : nullptr;
    if (!file) return name + (first == 308 ? " audio (behind its 308-byte header)" : " (not a prompt file)");
    for (std::uint32_t i = 0; i < file->Count(); ++i) {
        const auto range = file->Range(i);
        if (!range || range->offset != first || range->offset + range->length != last + 1) continue;
        std::string text = name + " clip " + std::to_string(i);
        if (name == "kavoro.vap") text += " (" + kvo::RoleWord({kvo::VoiceFile::Kavoro, int(i)}) + ")";
        else text += " '" + file->ClipName(i) + "'";
        return text;
    }
    return name + " bytes " + std::to_string(first) + "-" + std::to_string(last) + " (no clip)";
}

void Insert(IDispatch* greeting, const wchar_t* method, std::vector<Variant> args) {
    container::InvokeMember(greeting, method, DISPATCH_METHOD, args);
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "kvospeechdemo\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::vector<std::string> roles;
    for (int i = 0; i < kKavoroClips; ++i) roles.push_back(kvo::RoleWord({kvo::VoiceFile::Kavoro, i}));
    if (!MakePromptFile(dir, "kavoro.vap", roles, 1000) ||
        !MakePromptFile(dir, "menu.vap", {"intro", "welcome to the demo", "goodbye"}, 3000)) {
        std::printf("the prompt files cannot be made in %s\n", dir.c_str());
        return 1;
    }
    const std::string wave = WaveOf(1600);
    fw::testing::WriteBytes(dir + "hello.wav", std::vector<std::uint8_t>(wave.begin(), wave.end()));
    const std::string scenario = "channels 1\nspeed 50\nline 0\ncall ring 100\nhangup 600000\n";
    fw::testing::WriteBytes(dir + "card.scn", std::vector<std::uint8_t>(scenario.begin(), scenario.end()));
    DeleteFileA((dir + "card.log").c_str());
    SetEnvironmentVariableA("KVORHT32_SCENARIO", (dir + "card.scn").c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", (dir + "card.log").c_str());
    fw::testing::IniFileScope ini("KVO32.INI");
    ini.Set("VoiceCard", "Type", "RHETOREX");
    ini.Set("System", "ShowDialog", "0");

    OleInitialize(nullptr);
    const fw::Module ocx = kvo_test::LoadRegisteredOcx();
    if (!ocx.Get()) {
        std::printf("kvo32.ocx cannot be registered\n");
        return 1;
    }
    bool ran = false;
    {
        container::Host host;
        host.Create();
        host.Add(L"Zentrovo.FrameCtrl.1", L"Frame1");
        host.Add(L"Zentrovo.LineGroupCtrl.1", L"LineGroup1");
        host.Add(L"Zentrovo.OnHookCtrl.1", L"OnHook1");
        host.Find(L"Frame1")->Put(L"VoiceDirectory", Variant(fw::ole::Widen(dir)));
        host.Find(L"Frame1")->Put(L"LogDirectory", Variant(fw::ole::Widen(dir)));
        host.Find(L"LineGroup1")->Put(L"LinesInGroup", Variant(std::wstring(L"1")));
        const long id = host.Find(L"OnHook1")->Get(L"BlockID").value.Long();
        host.Find(L"LineGroup1")->Call(L"SetBlockPtr", {Variant(short(1)), Variant(id), Variant(0L), Variant(1L)});
        container::CallResult entry = host.Find(L"OnHook1")->Get(L"EntryGreeting");
        if (entry.value.Type() != VT_DISPATCH) return 1;
        IDispatch* greeting = entry.value.Get()->pdispVal;
        Insert(greeting, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
        Insert(greeting, L"InsertNamedPhrase",
               {Variant(short(-1)), Variant(std::wstring(L"menu.vap")), Variant(std::wstring(L"welcome to the demo"))});
        Insert(greeting, L"InsertSysPhrase", {Variant(short(-1)), Variant(short(8)), Variant(std::wstring(L"1250"))});
        Insert(greeting, L"InsertSysPhrase", {Variant(short(-1)), Variant(short(13)), Variant(std::wstring(L"12/25/96")),
                                              Variant(std::wstring(L"Day,MonthName"))});
        std::printf("OnHook1's greeting:\n");
        for (short i = 0; i < 4; ++i) {
            std::vector<Variant> index{Variant(i)};
            std::printf("  %s\n", container::ToUtf8(container::InvokeMember(greeting, L"GetNameAt", DISPATCH_METHOD, index)
                                                        .value.Str())
                                      .c_str());
        }
        auto ended = [&] {
            for (const auto& e : host.Events())
                if (e.control == L"LineGroup1" && e.event == L"Disconnect") return true;
            return false;
        };
        ran = host.Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))}).Ok() && host.PumpUntil(ended, 30000);
        host.PumpUntil([&] { return host.Find(L"Frame1")->Call(L"StopSystem", {Variant(short(0))}).value.Long() != 0; },
                       20000);
        host.Clear();
    }
    OleUninitialize();

    std::printf("what the card played (journal), mapped back to clips:\n");
    const std::string journal = fw::testing::ReadText(dir + "card.log");
    static const std::regex play(R"((ch0 play .*) from '([^']*)' bytes (\d+)-(\d+))");
    int plays = 0;
    for (auto it = std::sregex_iterator(journal.begin(), journal.end(), play); it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        const std::string segment = m.str(2) + " bytes " + m.str(3) + "-" + m.str(4);
        std::printf("  %s\n    -> %s\n", segment.c_str(), ClipOf(m.str(2), std::stoul(m.str(3)), std::stoul(m.str(4))).c_str());
        ++plays;
    }
    std::printf("%d segments played\n", plays);
    return ran && plays > 0 ? 0 : 1;
}
