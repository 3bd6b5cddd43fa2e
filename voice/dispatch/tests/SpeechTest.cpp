// Greetings said on a line: kvo32.ocx in the stand-in container on the
// simulated card, the card's journal (file and byte range of every play)
// mapped back to the clips it played through the files' own indexes.
#include <windows.h>

#include <map>
#include <regex>

#include "VoiceWave.h"
#include "KvoTestSupport.h"
#include "fw/Handle.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"
#include "fw/testing/Process.h"

namespace kvo_test {
namespace {

using container::Variant;
using fw::ole::ComPtr;

constexpr short kSysPhrase = 2;
constexpr short kvoMoney = 8, kvoSayDate = 13, kvoSayNumber = 5;

constexpr std::uint32_t kKavoroBase = 1000;  // clip i of kavoro.vap is 1000 + i bytes
constexpr std::uint32_t kMenuBase = 3000;    // clip i of menu.vap is 3000 + i bytes
constexpr std::uint32_t kWaveBytes = 800;

class Speech : public ContainerTest {
protected:
    void SetUp() override {
        ContainerTest::SetUp();
        SetCallSettings(ini_, dir_.Path());
        dir_.Write("kavoro.vap", PromptFileBytes({}, ClipLengths(kKavoroBase, 160)));
        dir_.Write("menu.vap", PromptFileBytes({"intro", "welcome", "goodbye"}, ClipLengths(kMenuBase, 3)));
        dir_.Write("hello.wav", VoiceWave(kWaveBytes));
        dir_.Write("short.wav", VoiceWave(0).substr(0, 200));
        dir_.Write("card.scn", "channels 1\nspeed 50\nline 0\ncall ring 50\nhangup 600000\n");
        SetEnvironmentVariableA("KVORHT32_SCENARIO", dir_.File("card.scn").c_str());
        SetEnvironmentVariableA("KVORHT32_JOURNAL", dir_.File("card.log").c_str());
        host_->OnEvent([this](container::EventRecord& e) {
            if (onEvent_) onEvent_(e);
        });
    }
    void TearDown() override {
        host_->Clear();
        // Held past here, the greeting would keep the library (and the card
        // it connected) loaded for the next test.
        greeting_ = nullptr;
        ContainerTest::TearDown();
        SetEnvironmentVariableA("KVORHT32_SCENARIO", nullptr);
        SetEnvironmentVariableA("KVORHT32_JOURNAL", nullptr);
    }

    // Frame1 with the voice directory; LineGroup1 -> [Lang1 ->] OnHook1 on line 1.
    IDispatch* BuildForm(bool withLanguage = false) {
        EXPECT_NE(Add(L"Zentrovo.FrameCtrl.1", L"Frame1"), nullptr);
        Put(L"Frame1", L"LogDirectory", Variant(fw::ole::Widen(dir_.Path())));
        Put(L"Frame1", L"VoiceDirectory", Variant(fw::ole::Widen(dir_.Path())));
        EXPECT_NE(Add(L"Zentrovo.LineGroupCtrl.1", L"LineGroup1"), nullptr);
        EXPECT_NE(Add(L"Zentrovo.OnHookCtrl.1", L"OnHook1"), nullptr);
        Put(L"LineGroup1", L"LinesInGroup", Variant(std::wstring(L"1")));
        if (withLanguage) {
            EXPECT_NE(Add(L"Zentrovo.LangCtrl.1", L"Lang1"), nullptr);
            Connect(L"LineGroup1", 1, L"Lang1");
            Connect(L"Lang1", 0, L"OnHook1");
        } else {
            Connect(L"LineGroup1", 1, L"OnHook1");
        }
        greeting_ = ObjectProperty(AsDispatch(host_->Find(L"OnHook1")).Get(), L"EntryGreeting");
        return greeting_.Get();
    }
    void Connect(const wchar_t* from, short node, const wchar_t* to) {
        const long id = host_->Find(to)->Get(L"BlockID").value.Long();
        auto r = host_->Find(from)->Call(L"SetBlockPtr", {Variant(node), Variant(id), Variant(0L), Variant(1L)});
        EXPECT_TRUE(r.Ok() && r.value.Long());
    }
    void Put(const wchar_t* control, const wchar_t* member, Variant value) {
        auto r = host_->Find(control)->Put(member, value);
        ASSERT_TRUE(r.Ok()) << container::ToUtf8(member) << " " << std::hex << r.hr;
    }
    void Call(IDispatch* object, const wchar_t* method, std::vector<Variant> args) {
        auto r = Dispatch(object, method, DISPATCH_METHOD, std::move(args));
        ASSERT_TRUE(r.Ok()) << container::ToUtf8(method) << " " << std::hex << r.hr;
    }
    // Host code that notes a phrase error's type and repairs the phrase to
    // the number 7.
    void RepairAsSeven(container::EventRecord& e, std::vector<long>& errors) {
        if (e.event != L"PhraseError") return;
        errors.push_back(e.args[1].Long());
        Call(e.args[2].Get()->pdispVal, L"CreateSysPhrase", {Variant(kvoSayNumber), Variant(std::wstring(L"7"))});
    }
    short Frame(const wchar_t* method) { return short(host_->Find(L"Frame1")->Call(method, {Variant(short(0))}).value.Long()); }

    // Runs one call to its hang-up and stops the system.
    void RunOneCall() {
        ASSERT_TRUE(host_->Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))}).Ok());
        const bool ended = host_->PumpUntil([&] { return Has(L"LineGroup1", L"Disconnect"); }, 20000);
        bool stopped = false;
        host_->PumpUntil([&] { return stopped = Frame(L"StopSystem") != 0; }, 20000);
        ASSERT_TRUE(ended && stopped) << fw::testing::ReadText(dir_.File("card.log"));
    }
    bool Has(const wchar_t* control, const wchar_t* event) const {
        for (const auto& e : host_->Events())
            if (e.control == control && e.event == event) return true;
        return false;
    }

    // What each play of the journal was: the file and byte range it names,
    // looked up in that file's index (read by hand); wave files by name.
    std::vector<std::string> PlayedClips() {
        std::vector<std::string> out;
        const std::string journal = fw::testing::ReadText(dir_.File("card.log"));
        static const std::regex play(R"(ch0 play \d+ bytes [^\n]* from '([^']*)' bytes (\d+)-(\d+))");
        for (auto it = std::sregex_iterator(journal.begin(), journal.end(), play); it != std::sregex_iterator(); ++it) {
            const std::string path = (*it)[1];
            const std::string name = path.substr(path.find_last_of('\\') + 1);
            const auto first = std::uint32_t(std::stoul((*it)[2])), last = std::uint32_t(std::stoul((*it)[3]));
            out.push_back(ClipAt(path, name, first, last - first + 1));
        }
        return out;
    }
    static std::string ClipAt(const std::string& path, const std::string& name, std::uint32_t offset,
                              std::uint32_t length) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".vap")
            return offset == 308 ? name : name + " from " + std::to_string(offset);
        const std::string file = fw::testing::ReadText(path);
        auto word = [&](size_t at) {
            std::uint32_t v = 0;
            for (int i = 3; i >= 0; --i) v = v << 8 | std::uint8_t(file.at(at + size_t(i)));
            return v;
        };
        for (std::uint32_t i = 0; i < word(8); ++i) {
            if (word(24 + i * 12) != offset || word(24 + i * 12 + 4) != length) continue;
            return name == "kavoro.vap" ? std::to_string(i) : name + "#" + std::to_string(i);
        }
        return name + " bytes " + std::to_string(offset) + "+" + std::to_string(length);
    }
    std::string LogTextOf() {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((dir_.Path() + "*.vlg").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return "<no log>";
        FindClose(find);
        HMODULE ocx = LoadLibraryA(BinPath("kvo32.ocx").c_str());
        auto toText = reinterpret_cast<short(__stdcall*)(long, const char*, const char*)>(
            reinterpret_cast<void*>(GetProcAddress(ocx, "log_to_text")));
        const std::string text = dir_.File("log.txt");
        const short r = toText ? toText(0, (dir_.Path() + found.cFileName).c_str(), text.c_str()) : -1;
        FreeLibrary(ocx);
        return r ? "<log_to_text failed>" : fw::testing::ReadText(text);
    }

    fw::testing::IniFileScope ini_{"KVO32.INI"};
    fw::testing::TempDir dir_{"kvospeech"};
    ComPtr<IDispatch> greeting_;
    std::function<void(container::EventRecord&)> onEvent_;

    void FailingPhrase(const wchar_t* file, bool repair, const std::vector<std::string>& played, const char* logged);
};

TEST_F(Speech, AGreetingOfEveryKindPlaysItsClipsInOrder) {
    IDispatch* g = BuildForm();
    Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
    Call(g, L"InsertNamedPhrase", {Variant(short(-1)), Variant(std::wstring(L"menu.vap")), Variant(std::wstring(L"welcome"))});
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoMoney), Variant(std::wstring(L"506"))});
    Call(g, L"InsertSysPhrase",
         {Variant(short(-1)), Variant(kvoSayDate), Variant(std::wstring(L"12/25/96")), Variant(std::wstring(L"Day,MonthName"))});
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoSayNumber), Variant(std::wstring(L"%channel%"))});
    RunOneCall();

    // Five dollars and six cents; the twenty-fifth of December; channel one.
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"hello.wav", "menu.vap#1", "5", "149", "51", "6", "54", "20",
                                                       "98", "41", "1"}))
        << fw::testing::ReadText(dir_.File("card.log"));
    const std::string log = LogTextOf();
    EXPECT_NE(log.find("found phrase 1 in 'menu.vap'"), std::string::npos) << log;
    EXPECT_NE(log.find("playing 'Entry' greeting"), std::string::npos) << log;

    // The clip found by name keeps its index.
    auto phrase = Dispatch(g, L"Phrase", DISPATCH_PROPERTYGET, {Variant(short(1))});
    ASSERT_TRUE(phrase.Ok() && phrase.value.Type() == VT_DISPATCH);
    EXPECT_EQ(Dispatch(phrase.value.Get()->pdispVal, L"Type", DISPATCH_PROPERTYGET).value.Long(), 1);
}

// One phrase, `file`, fails; host code repairs it to hello.wav or leaves it.
void Speech::FailingPhrase(const wchar_t* file, bool repair, const std::vector<std::string>& played,
                           const char* logged) {
    IDispatch* g = BuildForm();
    std::vector<long> errors;
    onEvent_ = [&](container::EventRecord& e) {
        // Put in once the system has started, past the start-up check.
        if (e.control == L"OnHook1" && e.event == L"Enter")
            Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(file))});
        if (e.event != L"PhraseError") return;
        errors.push_back(e.args[1].Long());
        if (repair) Call(e.args[2].Get()->pdispVal, L"CreateWavePhrase", {Variant(std::wstring(L"hello.wav"))});
    };
    RunOneCall();
    EXPECT_EQ(errors, std::vector<long>{0}) << "file not opened";
    EXPECT_EQ(PlayedClips(), played);
    const std::string log = LogTextOf();
    EXPECT_NE(log.find(logged), std::string::npos) << log;
}

TEST_F(Speech, AMissingFileRepairedByTheHostPlaysTheRepair) {
    FailingPhrase(L"nowhere.wav", true, {"hello.wav"}, "file open error");
}

TEST_F(Speech, AWaveFileShorterThanItsHeaderFailsThePhrase) {
    FailingPhrase(L"short.wav", true, {"hello.wav"}, "playing 'Entry' greeting");
}

TEST_F(Speech, APhraseTheHostLeavesStopsTheCallUnplayed) {
    FailingPhrase(L"nowhere.wav", false, {}, "invalid user phrase");
}

TEST_F(Speech, LanguageEventsAnsweredByHostCodeAddTheirOwnClips) {
    IDispatch* g = BuildForm(true);
    Put(L"Lang1", L"EventMask", Variant(long(1 << kvoMoney | 1 << kvoSayNumber)));
    Put(L"Lang1", L"LanguageId", Variant(1L));  // French rules: 71 is one clip
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoMoney), Variant(std::wstring(L"506"))});
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoSayNumber), Variant(std::wstring(L"71"))});

    // Outside its events the control has no call to add to.
    auto outside = host_->Find(L"Lang1")->Put(L"AddType", Variant(short(17)));
    EXPECT_EQ(outside.scode, HRESULT(0x800A7D05)) << std::hex << outside.hr;
    EXPECT_EQ(outside.description, L"method cannot be performed if call not in this control");

    std::vector<std::string> events;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control != L"Lang1" || e.event == L"Enter" || e.event == L"Exit") return;
        events.push_back(container::ToUtf8(e.event + L" " + e.args[0].Str()));
        if (e.event != L"Money") return;  // Number: the built-in rule
        auto* lang = AsDispatch(host_->Find(L"Lang1")).Get();
        ASSERT_TRUE(Dispatch(lang, L"FileName", DISPATCH_PROPERTYPUT, {Variant(std::wstring(L"menu.vap"))}).Ok());
        ASSERT_TRUE(Dispatch(lang, L"PhraseName", DISPATCH_PROPERTYPUT, {Variant(std::wstring(L"goodbye"))}).Ok());
        EXPECT_EQ(Dispatch(lang, L"PhraseIndex", DISPATCH_PROPERTYGET).value.Long(), 2);
        ASSERT_TRUE(Dispatch(lang, L"AddType", DISPATCH_PROPERTYPUT, {Variant(short(17))}).Ok());
        auto custom = Dispatch(lang, L"AddType", DISPATCH_PROPERTYPUT, {Variant(short(19))});
        EXPECT_EQ(custom.scode, HRESULT(0x800A7D0A)) << "cannot use this type of phrase";
        auto unknown = Dispatch(lang, L"PhraseName", DISPATCH_PROPERTYPUT, {Variant(std::wstring(L"nothing"))});
        EXPECT_EQ(unknown.scode, HRESULT(0x800A7D0C)) << "phrase not found";
        e.args.back() = Variant(short(0));  // handled
    };
    RunOneCall();

    EXPECT_EQ(events, (std::vector<std::string>{"Money 506", "Number 71"}));
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"menu.vap#2", "133"}))
        << fw::testing::ReadText(dir_.File("card.log"));
    const std::string log = LogTextOf();
    for (const char* text : {"language 'Lang1' set", "fire language event 8", "fire language event 5"})
        EXPECT_NE(log.find(text), std::string::npos) << text << "\n" << log;
}

TEST_F(Speech, ProgramPhrasesComeFromThePlayRequestEvent) {
    constexpr short kvoVBPhrase = 9;
    IDispatch* g = BuildForm();
    for (const wchar_t* name : {L"balance", L"silent", L"again"})
        Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoVBPhrase), Variant(std::wstring(name))});
    Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
    std::vector<std::string> requests;
    std::vector<long> errors;
    onEvent_ = [&](container::EventRecord& e) {
        RepairAsSeven(e, errors);
        if (e.event != L"PlayRequest") return;
        const std::wstring name = e.args[1].Str();
        requests.push_back(container::ToUtf8(name));
        IDispatch* supply = e.args[2].Get()->pdispVal;
        // One dollar; nothing (host code said it itself); a request for itself.
        if (name == L"balance")
            Call(supply, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoMoney), Variant(std::wstring(L"100"))});
        if (name == L"again")
            Call(supply, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoVBPhrase), Variant(std::wstring(L"again"))});
    };
    RunOneCall();
    EXPECT_EQ(requests, (std::vector<std::string>{"balance", "silent", "again"}));
    EXPECT_EQ(errors, std::vector<long>{7}) << "a program phrase that asks for itself is unavailable";
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"1", "148", "51", "0", "54", "7", "hello.wav"}));
}

TEST_F(Speech, APromptFileIsLookedForInTheLanguageFolderFirst) {
    IDispatch* g = BuildForm(true);
    Put(L"Lang1", L"Directory", Variant(std::wstring(L"french\\")));
    CreateDirectoryA(dir_.File("french").c_str(), nullptr);
    dir_.Write("french\\kavoro.vap", fw::testing::ReadText(dir_.File("kavoro.vap")));
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoSayNumber), Variant(std::wstring(L"3"))});
    Call(g, L"InsertIndexPhrase", {Variant(short(-1)), Variant(std::wstring(L"menu.vap")), Variant(short(0))});
    RunOneCall();
    const std::string journal = fw::testing::ReadText(dir_.File("card.log"));
    // Only the language folder has kavoro.vap's French recordings; menu.vap
    // is found in the project's voice folder.
    EXPECT_NE(journal.find("french\\kavoro.vap' bytes"), std::string::npos) << journal;
    EXPECT_NE(journal.find(dir_.File("menu.vap") + "' bytes"), std::string::npos) << journal;
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"3", "menu.vap#0"}));
}

TEST_F(Speech, TheGreetingsFormatAndKeyRuleReachTheCard) {
    IDispatch* g = BuildForm();
    Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
    ASSERT_TRUE(Dispatch(g, L"TermOnDTMF", DISPATCH_PROPERTYPUT, {Variant(short(0))}).Ok());
    ASSERT_TRUE(Dispatch(g, L"Fileformat", DISPATCH_PROPERTYPUT, {Variant(2L)}).Ok());
    RunOneCall();
    const std::string journal = fw::testing::ReadText(dir_.File("card.log"));
    EXPECT_NE(journal.find("ch0 play 800 bytes format 2 mask 0 -> 0"), std::string::npos) << journal;
}

TEST_F(Speech, AFormatTheCardDoesNotKnowPlaysInTheSystemFormat) {
    IDispatch* g = BuildForm();
    Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
    ASSERT_TRUE(Dispatch(g, L"Fileformat", DISPATCH_PROPERTYPUT, {Variant(7L)}).Ok());
    RunOneCall();
    const std::string journal = fw::testing::ReadText(dir_.File("card.log"));
    EXPECT_NE(journal.find("ch0 play 800 bytes format 0 mask"), std::string::npos) << journal;
}

TEST_F(Speech, APhraseThatFailsPartWayIsNotHeardBeforeItsRepair) {
    constexpr short kvoVBPhrase = 9;
    IDispatch* g = BuildForm();
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoVBPhrase), Variant(std::wstring(L"pair"))});
    std::vector<long> errors;
    onEvent_ = [&](container::EventRecord& e) {
        RepairAsSeven(e, errors);
        if (e.event != L"PlayRequest") return;
        // The first of the pair is added before the second fails.
        for (const wchar_t* file : {L"hello.wav", L"nowhere.wav"})
            Call(e.args[2].Get()->pdispVal, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(file))});
    };
    RunOneCall();
    EXPECT_EQ(errors, std::vector<long>{0});
    EXPECT_EQ(PlayedClips(), std::vector<std::string>{"7"});
}

TEST_F(Speech, ClipIndexTextsAreReadWholeWithoutWrapping) {
    constexpr short kvoVAPPhraseIndex = 17;
    IDispatch* g = BuildForm();
    std::vector<long> errors;
    onEvent_ = [&](container::EventRecord& e) {
        // Leading zeros; too large for any file; 2^32, which wraps to clip 0.
        // Put in past the start-up check, which refuses the missing clips.
        if (e.control == L"OnHook1" && e.event == L"Enter")
            for (const wchar_t* index : {L"0000000002", L"99999999999999999999", L"4294967296", L"1"})
                Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoVAPPhraseIndex),
                                             Variant(std::wstring(L"menu.vap")), Variant(std::wstring(index))});
        RepairAsSeven(e, errors);
    };
    RunOneCall();
    EXPECT_EQ(errors, (std::vector<long>{1, 1})) << "prompt id not found";
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"menu.vap#2", "7", "7", "menu.vap#1"}));
}

TEST_F(Speech, PhrasesThatCannotBeSaidReportATypeHostCodeKnows) {
    constexpr short kvoCustom = 19, kvoSayText = 20;
    IDispatch* g = BuildForm();
    std::vector<long> errors;
    onEvent_ = [&](container::EventRecord& e) {
        // Past the start-up check, which refuses them.
        if (e.control == L"OnHook1" && e.event == L"Enter") {
            for (short kind : {kvoSayText, kvoCustom})
                Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kind), Variant(std::wstring(L"x")), Variant(std::wstring(L"y"))});
            Call(g, L"AddNewPhrse", {Variant(short(0)), Variant(short(0)), Variant(std::wstring(L"")), Variant(std::wstring(L""))});
        }
        RepairAsSeven(e, errors);
    };
    RunOneCall();
    EXPECT_EQ(errors, (std::vector<long>{1, 1, 1})) << "phrase not found";
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"7", "7", "7"}));
}

TEST_F(Speech, AClipFoundBeyondWhatAPhraseHoldsIsLookedUpEachTime) {
    constexpr std::uint32_t kFar = 32768;
    std::vector<std::string> names(kFar + 1);
    names[kFar] = "far";
    dir_.Write("big.vap", PromptFileBytes(names, std::vector<std::uint32_t>(kFar + 2, 10)));
    IDispatch* g = BuildForm();
    Call(g, L"InsertNamedPhrase", {Variant(short(-1)), Variant(std::wstring(L"big.vap")), Variant(std::wstring(L"far"))});
    RunOneCall();
    EXPECT_EQ(PlayedClips(), std::vector<std::string>{"big.vap#32768"});
    auto phrase = Dispatch(g, L"Phrase", DISPATCH_PROPERTYGET, {Variant(short(0))});
    ASSERT_TRUE(phrase.Ok() && phrase.value.Type() == VT_DISPATCH);
    EXPECT_EQ(Dispatch(phrase.value.Get()->pdispVal, L"Type", DISPATCH_PROPERTYGET).value.Long(), -1);
}

TEST_F(Speech, AWaveFileBeyondTheCardsReachFailsThePhrase) {
    {
        // Sparse: 3 GB of nothing, past what a 32-bit offset can name.
        fw::FileHandle file(CreateFileA(dir_.File("huge.wav").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        LARGE_INTEGER end;
        end.QuadPart = 3LL << 30;
        ASSERT_TRUE(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()));
    }
    FailingPhrase(L"huge.wav", true, {"hello.wav"}, "file open error");
}

TEST_F(Speech, TwoLinesSayOneGreetingWhileHostCodeEditsIt) {
    dir_.Write("card.scn", "channels 2\nspeed 50\nline 0\ncall ring 50\nhangup 600000\nline 1\ncall ring 50\nhangup 600000\n");
    IDispatch* g = BuildForm();
    Put(L"LineGroup1", L"LinesInGroup", Variant(std::wstring(L"1-2")));
    Call(g, L"InsertNamedPhrase", {Variant(short(-1)), Variant(std::wstring(L"menu.vap")), Variant(std::wstring(L"welcome"))});
    Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
    auto disconnects = [&] {
        int n = 0;
        for (const auto& e : host_->Events()) n += e.control == L"LineGroup1" && e.event == L"Disconnect";
        return n;
    };
    ASSERT_TRUE(host_->Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))}).Ok());
    // Host code adds and takes away a phrase all the while the lines play.
    const bool ended = host_->PumpUntil(
        [&] {
            Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
            const short count = short(Dispatch(g, L"Count", DISPATCH_PROPERTYGET).value.Long());
            Call(g, L"RemoveAt", {Variant(short(count - 1))});
            return disconnects() == 2;
        },
        20000);
    bool stopped = false;
    host_->PumpUntil([&] { return stopped = Frame(L"StopSystem") != 0; }, 20000);
    const std::string journal = fw::testing::ReadText(dir_.File("card.log"));
    ASSERT_TRUE(ended && stopped) << journal;
    for (const char* channel : {"ch0 play", "ch1 play"})
        EXPECT_NE(journal.find(std::string(channel) + " " + std::to_string(kMenuBase + 1)), std::string::npos)
            << channel << "\n" << journal;
    auto phrase = Dispatch(g, L"Phrase", DISPATCH_PROPERTYGET, {Variant(short(0))});
    ASSERT_TRUE(phrase.Ok() && phrase.value.Type() == VT_DISPATCH);
    EXPECT_EQ(Dispatch(phrase.value.Get()->pdispVal, L"Type", DISPATCH_PROPERTYGET).value.Long(), 1) << "index kept";
    EXPECT_EQ(Dispatch(g, L"Count", DISPATCH_PROPERTYGET).value.Long(), 2);
}

TEST_F(Speech, TheFramesLanguageGoesThroughTheLanguageTable) {
    // Taken as rule flags, French (1) would have been the English rules.
    IDispatch* g = BuildForm();
    Put(L"Frame1", L"LanguageId", Variant(1L));
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoSayNumber), Variant(std::wstring(L"71"))});
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoSayNumber), Variant(std::wstring(L"115"))});
    RunOneCall();
    EXPECT_EQ(PlayedClips(), (std::vector<std::string>{"133", "125", "15"}));
}

TEST_F(Speech, ClosingOneLanguageControlLeavesTheChannelsAnotherSet) {
    IDispatch* g = BuildForm(true);
    Put(L"Lang1", L"LanguageId", Variant(1L));  // French rules: 71 is one clip
    EXPECT_NE(Add(L"Zentrovo.LangCtrl.1", L"Lang2"), nullptr);
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoSayNumber), Variant(std::wstring(L"71"))});
    // The call has passed Lang1 when it enters OnHook1; Lang2 goes then.
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control == L"OnHook1" && e.event == L"Enter") host_->Remove(L"Lang2");
    };
    ASSERT_TRUE(host_->Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))}).Ok());
    const bool released = host_->PumpUntil(
        [&] { return fw::testing::ReadText(dir_.File("card.log")).find("ch0 release") != std::string::npos; }, 20000);
    bool stopped = false;
    host_->PumpUntil([&] { return stopped = Frame(L"StopSystem") != 0; }, 20000);
    ASSERT_TRUE(released && stopped) << released << stopped;
    EXPECT_EQ(host_->Find(L"Lang2"), nullptr);
    EXPECT_EQ(PlayedClips(), std::vector<std::string>{"133"});
}

TEST_F(Speech, GreetingsAndLanguageSettingsComeBackFromASavedForm) {
    IDispatch* g = BuildForm(true);
    Put(L"Lang1", L"EventMask", Variant(long(1 << kvoMoney)));
    Put(L"Lang1", L"Directory", Variant(std::wstring(L"french\\")));
    Put(L"Lang1", L"LanguageId", Variant(1L));
    Put(L"Lang1", L"DateOrder", Variant(3L));
    Call(g, L"InsertFile", {Variant(short(-1)), Variant(std::wstring(L"hello.wav"))});
    Call(g, L"InsertNamedPhrase", {Variant(short(-1)), Variant(std::wstring(L"menu.vap")), Variant(std::wstring(L"welcome"))});
    Call(g, L"InsertSysPhrase", {Variant(short(-1)), Variant(kvoMoney), Variant(std::wstring(L"%channel%00"))});
    Dispatch(g, L"TermOnDTMF", DISPATCH_PROPERTYPUT, {Variant(short(0))});

    const std::string text = container::FormatForm(SaveForm());
    host_->Clear();
    ASSERT_EQ(LoadText(text), S_OK);
    container::Form again = SaveForm();
    EXPECT_EQ(container::FormatForm(again), text);
    EXPECT_EQ(FormValue(again, "Lang1", "EventMask"), "256");
    EXPECT_EQ(FormValue(again, "Lang1", "Directory"), "french\\");
    EXPECT_EQ(FormValue(again, "OnHook1", "EntryGreeting.NumPhrase"), "3");
    EXPECT_EQ(FormValue(again, "OnHook1", "EntryGreeting.Phrase1.Type"), std::to_string(4 << 16 | 0xFFFF));

    ComPtr<IDispatch> loaded = ObjectProperty(AsDispatch(host_->Find(L"OnHook1")).Get(), L"EntryGreeting");
    EXPECT_EQ(Dispatch(loaded.Get(), L"Count", DISPATCH_PROPERTYGET).value.Long(), 3);
    EXPECT_EQ(Dispatch(loaded.Get(), L"GetNameAt", DISPATCH_METHOD, {Variant(short(1))}).value.Str(), L"menu.vap: welcome");
    EXPECT_EQ(Dispatch(loaded.Get(), L"TermOnDTMF", DISPATCH_PROPERTYGET).value.Long(), 0);
}

// The phrase and greeting objects as a script host sees them: Wine's cscript
// runs VBScript (and JScript) with late binding through IDispatch only.
TEST(Script, PhrasesAndGreetingsThroughTheirDispatchInterfaces) {
    ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK);
    fw::testing::TempDir dir("kvophrase");
    const std::string out = dir.File("out.txt");
    const std::string gone = dir.File("gone.wav");
    const std::string script = dir.Write(
        "phrases.vbs",
        "Set out = CreateObject(\"Scripting.FileSystemObject\").CreateTextFile(\"" + out + "\")\r\n"
        "On Error Resume Next\r\n"
        "Set g = CreateObject(\"kvo.greeting\")\r\n"
        "g.Name = \"Entry\"\r\n"
        "g.InsertFile -1, \"hello.wav\"\r\n"
        "g.InsertIndexPhrase 0, \"menu.vap\", 2\r\n"
        "g.InsertSysPhrase -1, 8, \"506\"\r\n"
        "g.InsertNamedPhrase 1, \"menu.vap\", \"welcome\"\r\n"
        "out.WriteLine g.Count\r\n"
        "For i = 0 To g.Count - 1\r\n"
        "  out.WriteLine i & \" \" & g.Phrase(i).PhrsType & \" \" & g.Phrase(i).Type & \" \" & g.GetNameAt(i)\r\n"
        "Next\r\n"
        "g.InsertFile g.Count + 1, \"x.wav\"\r\n"
        "out.WriteLine Err.Number & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "g.InsertFile -2, \"x.wav\"\r\n"
        "out.WriteLine Err.Number & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "g.RemoveAt g.Count\r\n"
        "out.WriteLine Err.Number & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "g.RemoveAt -1\r\n"
        "out.WriteLine Err.Number & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "g.AddNewPhrse 2, 5, \"42\", \"F\"\r\n"
        "out.WriteLine g.Count & \" \" & g.GetNameAt(4)\r\n"
        "Set p = CreateObject(\"kvo.phrase\")\r\n"
        "p.CreateNamedPhrase \"only.vap\"\r\n"
        "out.WriteLine p.PhrsType & \" [\" & p.Filename & \"]\"\r\n"
        "p.CreateSysPhrase 7, \"12#\", Null\r\n"
        "out.WriteLine p.PhrsType & \" \" & p.Type & \" \" & p.Filename & \" [\" & p.Phrasename & \"]\"\r\n"
        "p.CheckPhrase\r\n"
        "out.WriteLine Err.Number\r\n"
        "p.CreateWavePhrase \"" + gone + "\"\r\n"
        "p.CheckPhrase\r\n"
        "out.WriteLine Err.Number & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "p.CreateSysPhrase 13, \"12/25/96\"\r\n"
        "p.CheckPhrase\r\n"
        "out.WriteLine Err.Number & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "Set g2 = CreateObject(\"kvo.greeting\")\r\n"
        "g.TermOnDTMF = False\r\n"
        "g2.Copy g\r\n"
        "out.WriteLine g2.Count & \" \" & g2.Name & \" \" & g2.TermOnDTMF & \" \" & g2.GetNameAt(1)\r\n"
        "out.Close\r\n");
    EXPECT_EQ(fw::testing::RunToEnd("cscript.exe", "//nologo \"" + script + "\"", 60000), 0u);
    EXPECT_EQ(fw::testing::ReadText(out),
              "4\r\n"
              "0 4 2 menu.vap: #2\r\n"
              "1 4 -1 menu.vap: welcome\r\n"
              "2 1 -1 hello.wav\r\n"
              "3 2 8 system phrase 8: 506\r\n"
              "381 invalid index\r\n"
              "381 invalid index\r\n"
              "381 invalid index\r\n"
              "381 invalid index\r\n"
              "5 system phrase 5: 42, F\r\n"
              "4 []\r\n"
              "2 7 12# []\r\n"
              "0\r\n"
              "32503 could not open file " + gone + "\r\n"
              "32505 no data\r\n"
              "5 Entry False menu.vap: welcome\r\n");
}

}  // namespace
}  // namespace kvo_test
