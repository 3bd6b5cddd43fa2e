// The greetings of GetDigits, Dial and Delay said through the play list:
// prompt clips and spoken values with references to a Frame's values, and
// the PhraseError and PlayRequest events of each control.
#include <windows.h>

#include <algorithm>

#include "CallFlowFixture.h"
#include "fw/testing/Dialogs.h"

namespace kvo_flow_test {
namespace {

using container::Variant;

constexpr long kGetDigits = 10, kDelay = 30, kDial = 20, kOnHook = 99;
constexpr short kWavePhrase = 1, kSysPhrase = 2, kPromptPhrase = 4;
constexpr short kvoSayNumber = 5, kvoVBPhrase = 9;

struct SavedPhrase {
    short phrsType;
    short type;
    std::string file;
    std::string data;
};

// The saved items of greeting `role` holding `phrases`.
std::vector<std::string> Greeting(const std::string& role, const std::vector<SavedPhrase>& phrases) {
    std::vector<std::string> items{role + "Greeting.NumPhrase = " + std::to_string(phrases.size())};
    for (size_t i = 0; i < phrases.size(); ++i) {
        const std::string p = role + "Greeting.Phrase" + std::to_string(i);
        const long packed = long(unsigned(phrases[i].phrsType) << 16 | unsigned(std::uint16_t(phrases[i].type)));
        items.push_back(p + ".File = " + Quoted(phrases[i].file));
        items.push_back(p + ".Data = " + Quoted(phrases[i].data));
        items.push_back(p + ".Type = " + std::to_string(packed));
    }
    return items;
}

std::vector<std::string> With(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// GetDigits (one condition "1") -> Delay (no time) -> Dial (a blind transfer
// to 205), each with its own items.
std::vector<FormControl> Menu(const std::vector<std::string>& getDigits, const std::vector<std::string>& delay,
                              const std::vector<std::string>& dial) {
    FormControl digits{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
                       With({"ClearDigits = False", "MaxSil = 5", "maxRetries = 1", "useDefaultError = False",
                             "NumConditions = 1", "Condition0.Name = One", "Condition0.Data = 1"},
                            getDigits),
                       {{0, kOnHook}, {1, kOnHook}, {2, kDelay}}, 3};
    FormControl hold{"Zentrovo.DelayCtrl.1", "Delay1", kDelay, With({"DelayTime = 0", "HoldType = 2"}, delay),
                     {{0, kDial}}, 1};
    FormControl transfer{"Zentrovo.DialCtrl.1", "Dial1", kDial,
                         With({"DialNumber = \"205\"", "DoTransfer = True"}, dial), {}, 1};
    return {digits, hold, transfer, {"Zentrovo.OnHookCtrl.1", "OnHook1", kOnHook, {}, {}}};
}

size_t CountLines(const std::vector<std::string>& lines, const std::string& part) {
    return size_t(std::count_if(lines.begin(), lines.end(),
                                [&](const std::string& l) { return l.find(part) != std::string::npos; }));
}

using SpokenGreetings = CallFlowTest;

TEST_F(SpokenGreetings, EveryControlSaysClipsAndValuesOfAFrame) {
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 1500 1\nhangup 60000\n");
    // A clip found by name, then the number host code left in Frame1.Ext.
    const auto entry = Greeting("Entry", {{kPromptPhrase, -1, "kavoro.vap", "that was not a valid entry"},
                                          {kSysPhrase, kvoSayNumber, "%Frame1.Ext%", ""}});
    LoadFlow(Menu(entry, entry, entry));
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control != L"LineGroup1" || e.event != L"Ring") return;
        auto transfer = kvo_test::ObjectProperty(kvo_test::AsDispatch(host_->Find(L"Frame1")).Get(), L"Transfer");
        kvo_test::Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYPUT, {e.args[0], Variant(std::wstring(L"12"))});
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();

    // Clip 0, then "twelve" (clip 12), in each of the three controls.
    const std::string clip = "begin play " + std::to_string(kKavoroBytes) + " bytes";
    const std::string twelve = "begin play " + std::to_string(kKavoroBytes + 12) + " bytes";
    const auto journal = Journal();
    EXPECT_EQ(CountLines(journal, twelve), 3u) << Text(journal);
    EXPECT_EQ(MissingInOrder(journal, {clip, twelve, "getdigits", clip, twelve, clip, twelve, "dial '205'"}), "")
        << Text(journal);
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"found phrase 0 in 'kavoro.vap'"}), "") << Text(log);
}

TEST_F(SpokenGreetings, PhraseErrorAndPlayRequestReachTheHostFromEachControl) {
    // "7" is invalid, "1" goes on: the invalid greeting is said once.
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 1500 7\nkeys 4000 1\nhangup 60000\n");
    const std::string repair = Wave("repair.wav", 500), promo = Wave("promo.wav", 700);
    LoadFlow(Menu(Greeting("Invalid", {{kWavePhrase, 0, "nowhere.wav", ""}}),
                  Greeting("Entry", {{kSysPhrase, kvoVBPhrase, "promo", ""}}),
                  Greeting("Entry", {{kWavePhrase, 0, "missing.wav", ""}})));
    std::vector<std::string> seen;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.event != L"PhraseError" && e.event != L"PlayRequest") return;
        seen.push_back(container::ToUtf8(e.control + L"." + e.event));
        IDispatch* object = e.args[2].Get()->pdispVal;
        // GetDigits' phrase is repaired, Dial's is left as it failed.
        if (e.control == L"GetDigits1")
            kvo_test::Dispatch(object, L"CreateWavePhrase", DISPATCH_METHOD, {Variant(fw::ole::Widen(repair))});
        if (e.control == L"Delay1")
            kvo_test::Dispatch(object, L"InsertFile", DISPATCH_METHOD,
                               {Variant(short(-1)), Variant(fw::ole::Widen(promo))});
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();

    EXPECT_EQ(seen, (std::vector<std::string>{"GetDigits1.PhraseError", "Delay1.PlayRequest", "Dial1.PhraseError"}))
        << Diagnosis();
    const auto journal = Journal();
    EXPECT_EQ(MissingInOrder(journal, {" '7'", "begin play 500 bytes", " '1'", "begin play 700 bytes"}), "")
        << Text(journal);
    EXPECT_EQ(CountLines(journal, "dial '205'"), 0u) << "a phrase the host leaves stops the call\n" << Text(journal);
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"invalid user phrase"}), "") << Text(log);
}

TEST_F(SpokenGreetings, TheSystemCheckJudgesEveryGreetingACallSays) {
    const SavedPhrase missingClip{kPromptPhrase, -1, "kavoro.vap", "no such clip"};
    const struct {
        FormControl control;
        const char* reported;
    } cases[] = {
        {{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
          With({"NumConditions = 1", "Condition0.Name = One", "Condition0.Data = 1"},
               Greeting("Invalid", {{kWavePhrase, 0, "hello.wav", ""}, missingClip})),
          {{0, kOnHook}}, 1},
         "error phrase error in Invalid greeting phrase 1 phrase not found no such clip"},
        {{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
          With({"NumConditions = 1", "Condition0.Name = One", "Condition0.Data = 1"},
               Greeting("Silence", {{kSysPhrase, kvoSayNumber, "%Nowhere.Ext%", ""}})),
          {{0, kOnHook}}, 1},
         "error phrase error in Silence greeting phrase control name not found"},
        {{"Zentrovo.DelayCtrl.1", "Delay1", kDelay, With({"HoldType = 1"}, Greeting("Music", {missingClip})),
          {{0, kOnHook}}, 1},
         "error phrase error in Music greeting phrase 0 phrase not found"},
        {{"Zentrovo.DialCtrl.1", "Dial1", kDial,
          With({"DialNumber = 201", "DoTransfer = True"}, Greeting("Entry", {{kSysPhrase, kvoSayNumber, "", ""}})),
          {{0, kOnHook}}, 1},
         "error phrase error in Entry greeting phrase no data"},
    };
    Wave("hello.wav", 100);
    ini_.Set("System", "ShowDialog", "1");
    for (const auto& c : cases) {
        host_->Clear();
        LoadFlow({c.control, {"Zentrovo.OnHookCtrl.1", "OnHook1", kOnHook, {}, {}}});
        fw::testing::MessageBoxLog boxes(IDOK);
        const auto r = Start();
        EXPECT_EQ(r.scode, SCODE(0x800A7E31)) << c.reported;
        const auto texts = boxes.Texts();
        ASSERT_EQ(texts.size(), 1u) << c.reported;
        EXPECT_NE(texts[0].find(c.reported), std::string::npos) << texts[0];
    }
}

}  // namespace
}  // namespace kvo_flow_test
