// Callers keying digits, being dialled, transferred and held: GetDigits,
// Dial and Delay in the stand-in container against scripted callers on the
// simulated card, judged by the host's events, the card's journal and the
// channel log.
#include <windows.h>

#include <algorithm>

#include "CallFlowFixture.h"
#include "fw/ole/Text.h"
#include "fw/testing/Dialogs.h"

namespace kvo_flow_test {
namespace {

using container::Variant;

constexpr long kGetDigits = 10, kDial = 20, kDelay = 30, kOnHook = 99, kHelper = 40;

// The items of a greeting `role` saying one wave file.
std::vector<std::string> GreetingItems(const std::string& role, const std::string& file) {
    return {role + "Greeting.NumPhrase = 1", role + "Greeting.Phrase0.File = " + Quoted(file),
            role + "Greeting.Phrase0.Type = 65536"};
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

FormControl OnHook() { return {"Zentrovo.OnHookCtrl.1", "OnHook1", kOnHook, {}, {}}; }

// GetDigits with own error exits (0 "No Digits", 1 "Invalid Digits") and
// the conditions "1", "2", "100-199" and one the host decides, every node
// leading to the OnHook. Keys end with "#"; at most three are collected.
// Keys typed before the collection starts are kept, so a slow machine does
// not lose them.
FormControl Menu(std::vector<std::string> more = {}) {
    FormControl c{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
                  Joined({"ClearDigits = False", "useDefaultError = False", "TermDtmf = 4096", "MaxKeys = 3", "MaxSil = 5",
                          "NumConditions = 4", "Condition0.Name = One", "Condition0.Data = 1",
                          "Condition1.Name = Two", "Condition1.Data = 2", "Condition2.Name = Range",
                          "Condition2.Data = 100-199", "Condition3.Name = Host", "Condition3.UseVB = True"},
                         more),
                  {}, 6};
    for (int node = 0; node < 6; ++node) c.nodes[node] = kOnHook;
    return c;
}

class Flow : public CallFlowTest {
protected:
    // The host accepts the host-decided condition for the keys 42 only.
    void AcceptFortyTwo() {
        onEvent_ = [this](container::EventRecord& e) {
            if (e.control != L"GetDigits1" || e.event != L"Condition") return;
            const auto digits = Member(L"GetDigits1", L"Digits", DISPATCH_PROPERTYGET, {e.args[0]});
            conditionDigits_.push_back(fw::ole::Narrow(digits.value.Str()));
            e.args[2].Get()->boolVal = digits.value.Str() == L"42" ? VARIANT_TRUE : VARIANT_FALSE;
        };
    }
    std::vector<std::string> conditionDigits_;
};

TEST_F(Flow, CallersAreRoutedByTheKeysTheyPress) {
    // One caller per route: 1#, 2#, 150#, 42# (taken by host code), 7#
    // (refused by host code) and 8# (two invalid entries), then silence.
    Scenario("channels 1\nspeed 10\nline 0\n"
             "call ring 50\nkeys 1500 1#\nhangup 60000\n"
             "call ring 50\nkeys 1500 2#\nhangup 60000\n"
             "call ring 50\nkeys 1500 150#\nhangup 60000\n"
             "call ring 50\nkeys 1500 42#\nhangup 60000\n"
             "call ring 50\nkeys 1500 7#\nkeys 4000 8#\nhangup 60000\n"
             "call ring 50\nhangup 60000\n");
    LoadFlow({Menu({"maxRetries = 1"}), OnHook()});
    AcceptFortyTwo();
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 6)) << Diagnosis();
    StopAndWait();

    EXPECT_EQ(ExitNodes(L"GetDigits1"), (std::vector<long>{2, 3, 4, 5, 1, 0})) << Diagnosis();
    EXPECT_EQ(conditionDigits_, (std::vector<std::string>{"42", "7", "8"})) << "asked only when no pattern matched";
    const auto journal = Journal();
    // Three keys end the collection before the "#" of 150#.
    EXPECT_EQ(MissingInOrder(journal, {"getdigits max 3 mask 4096 silence 5 -> 9 '1#'",
                                       "getdigits max 3 mask 4096 silence 5 -> 10 '150'",
                                       "getdigits max 3 mask 4096 silence 5 -> 9 '7#'",
                                       "getdigits max 3 mask 4096 silence 5 -> 9 '8#'",
                                       "getdigits max 3 mask 4096 silence 5 -> 12 ''"}),
              "")
        << Text(journal);
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"waiting for digits, max 3, mask 1000", "exit via node 2 <'One'> value '1'", "exit via node 3 <'Two'> value '2'", "exit via node 4 <'Range'> value '150'",
                                   "exit via node 5 <'Host'> value '42'", "invalid count 1", "error count exceeded, 1",
                                   "exit via node 1 <'Invalid Digits'> value '8'", "silence count exceeded, 1",
                                   "exit via node 0 <No Digits>"}),
              "")
        << Text(log);
}

TEST_F(Flow, RetriesChooseTheirGreetingByTheLastAttempt) {
    // MaxRetries 3 is four attempts: silence, 7#, silence, 8#.
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 7500 7#\nkeys 15000 8#\nhangup 60000\n");
    const std::string invalid = Wave("invalid.wav", 800), silence = Wave("silence.wav", 400);
    LoadFlow({Menu(Joined(Joined({"RetryOnSilence = True", "maxRetries = 3"}, GreetingItems("Invalid", invalid)),
                          GreetingItems("Silence", silence))),
              OnHook()});
    AcceptFortyTwo();
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();

    EXPECT_EQ(ExitNodes(L"GetDigits1"), std::vector<long>{1}) << Diagnosis();
    const auto journal = Journal();
    EXPECT_EQ(MissingInOrder(journal, {"-> 12 ''", "play 400 bytes", "-> 9 '7#'", "play 800 bytes", "-> 12 ''",
                                       "play 400 bytes", "-> 9 '8#'", "onhook"}),
              "")
        << Text(journal);
    size_t attempts = 0;
    // Each attempt ends in one result line (its "begin" line is not counted).
    for (const std::string& l : journal)
        attempts += l.find("getdigits") != std::string::npos && l.find(" -> ") != std::string::npos;
    EXPECT_EQ(attempts, 4u) << Text(journal);
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"invalid count 1", "invalid count 2", "invalid count 3", "error count exceeded, 3"}),
              "")
        << Text(log);
}

TEST_F(Flow, ErrorsGoToTheHandlerWhichMayComeBackThroughTheSecondInput) {
    // Two invalid entries send the caller to Fixer, whose exit leads back
    // into GetDigits' second input: one error is counted at once.
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 1500 7\nkeys 4000 8\nkeys 7000 1\nhangup 60000\n");
    const std::string silence = Wave("silence.wav", 400);
    FormControl menu{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
                     Joined({"ClearDigits = False", "MaxSil = 5", "maxRetries = 1", "InvalidErrorControlName = Fixer",
                             "NumConditions = 1", "Condition0.Name = One", "Condition0.Data = 1"},
                            GreetingItems("Silence", silence)),
                     {{0, kOnHook}}, 1};
    FormControl fixer{"Zentrovo.UserCtrl.1", "Fixer", kHelper, {"Dest0.DestNode = 1"}, {{0, kGetDigits}}, 1};
    LoadFlow({menu, OnHook(), fixer});
    onEvent_ = [this](container::EventRecord& e) {
        if (e.control == L"Fixer" && e.event == L"Enter")
            Member(L"Fixer", L"GotoNode", DISPATCH_PROPERTYPUT, {e.args[0], Variant(short(0))});
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(Count(L"Fixer", L"Enter"), 1u) << Diagnosis();
    EXPECT_EQ(Count(L"GetDigits1", L"ReEnter"), 1u) << Diagnosis();
    EXPECT_EQ(ExitNodes(L"GetDigits1"), std::vector<long>{0}) << Diagnosis();
    // One condition of one key: a single key ends each entry.
    EXPECT_EQ(MissingInOrder(Journal(), {"max 1 mask 2 silence 5 -> 10 '7'", "-> 10 '8'", "play 400 bytes", "-> 9 '1'"}),
              "")
        << Text(Journal());
    EXPECT_EQ(MissingInOrder(LogLines(), {"max invalid digit errors: handler invoked", "'Fixer' (User)",
                                          "'GetDigits1' (GetDigits)", "invalid count 1", "exit via node 0 <'One'> value '1'"}),
              "")
        << Text(LogLines());
}

TEST_F(Flow, HelpDigitDuringTheEntryGreetingGoesToTheHelpHandler) {
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 1500 0\nhangup 60000\n");
    const std::string entry = Wave("menu.wav", 8000 * 5);
    LoadFlow({Menu(Joined({"DisableHelp = False", "HelpdigitControlName = Helper"}, GreetingItems("Entry", entry))),
              OnHook(), {"Zentrovo.UserCtrl.1", "Helper", kHelper, {}, {{0, kOnHook}}}});
    onEvent_ = [this](container::EventRecord& e) {
        if (e.control == L"Helper" && e.event == L"Enter")
            Member(L"Helper", L"GotoNode", DISPATCH_PROPERTYPUT, {e.args[0], Variant(short(0))});
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(Count(L"Helper", L"Enter"), 1u) << Diagnosis();
    EXPECT_EQ(MissingInOrder(Journal(), {"play 40000 bytes format 0 mask 8190 -> 9", "getdigit '0'"}), "")
        << Text(Journal());
    EXPECT_EQ(MissingInOrder(LogLines(), {"help digit detected", "'Helper' (User)"}), "") << Text(LogLines());
}

TEST_F(Flow, AConditionNodeTheHostMadeUpHasNoConnection) {
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 1500 5#\nhangup 60000\n");
    LoadFlow({Menu(), OnHook()});
    onEvent_ = [](container::EventRecord& e) {
        if (e.event != L"Condition") return;
        e.args[1] = Variant(short(42));
        e.args[2].Get()->boolVal = VARIANT_TRUE;
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"GetDigits1", L"Condition", 1)) << Diagnosis();
    // Back in its group, the line waits for the next caller.
    ASSERT_TRUE(WaitForLineStatus(L"waiting for ring")) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(Count(L"OnHook1", L"Enter"), 0u) << Diagnosis();
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"VB set bad node 42", "no connection on node <6>"}), "") << Text(log);
}

TEST_F(Flow, ACheckErrorStopsTheStartAndTheReportNamesIt) {
    const struct {
        FormControl control;
        const char* reported;
    } cases[] = {
        // "12" needs two keys: one at most cannot work.
        {{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
          {"MaxKeys = 1", "NumConditions = 1", "Condition0.Name = Twelve", "Condition0.Data = 12"}, {{0, kOnHook}}, 1},
         "error max keys too small for node Twelve\t1412"},
        {{"Zentrovo.GetdgCtrl.1", "GetDigits1", kGetDigits,
          {"NumConditions = 1", "Condition0.Name = Ext", "Condition0.Data = %Nowhere.Ext%"}, {{0, kOnHook}}, 1},
         "error unknown control name in digit mask %Nowhere.Ext%\t1399"},
        {{"Zentrovo.DialCtrl.1", "Dial1", kDial, {}, {{0, kOnHook}}, 1}, "error no dial number specified"},
        {{"Zentrovo.DialCtrl.1", "Dial1", kDial, {"DialNumber = \"%Nowhere%\""}, {{0, kOnHook}}, 1},
         "error unknown control name in dial number %Nowhere%"},
        {{"Zentrovo.DialCtrl.1", "Dial1", kDial, {"UseDatabase = True", "DataFind = Lookup"}, {{0, kOnHook}}, 1},
         "error DataFind control not found: Lookup"},
        {{"Zentrovo.DialCtrl.1", "Dial1", kDial, Joined({"DialNumber = 201"}, GreetingItems("Entry", "hold.wav")),
          {{0, kOnHook}}, 1},
         "error entry greeting is not empty in a dial control without transfer set"},
        {{"Zentrovo.DelayCtrl.1", "Delay1", kDelay, {"HoldType = 1", "MusicGreeting.NumPhrase = 0"}, {{0, kOnHook}}, 1},
         "error must be at least one phrase in music greeting"},
    };
    ini_.Set("System", "ShowDialog", "1");
    for (const auto& c : cases) {
        host_->Clear();
        LoadFlow({c.control, OnHook()});
        fw::testing::MessageBoxLog boxes(IDOK);
        const auto r = Start();
        EXPECT_EQ(r.scode, SCODE(0x800A7E31)) << c.reported;
        EXPECT_EQ(container::ToUtf8(r.description), "system check failed - see test log");
        const auto texts = boxes.Texts();
        ASSERT_EQ(texts.size(), 1u) << c.reported;
        EXPECT_NE(texts[0].find(c.reported), std::string::npos) << texts[0];
    }
}

TEST_F(Flow, ErrorExitsCannotMoveWhileTheSystemRuns) {
    // The nodes cannot change while lines run, so neither may the setting
    // that says which node is which.
    Scenario("channels 1\nspeed 1\nline 0\n");
    LoadFlow({Menu(), OnHook()});
    ASSERT_TRUE(Start().Ok());
    const auto put = Member(L"GetDigits1", L"UseDefaultError", DISPATCH_PROPERTYPUT, {Variant(short(-1))});
    const auto value = Member(L"GetDigits1", L"UseDefaultError", DISPATCH_PROPERTYGET, {});
    StopAndWait();
    EXPECT_EQ(put.scode, SCODE(0x800A7D06)) << "control state does not allow method";
    EXPECT_EQ(value.value.Long(), 0);
}

TEST_F(Flow, ConditionsAreFixedWhileTheSystemRuns) {
    // Host code changing a condition while lines run does not reach them
    // (the keys and the mask the check derived would no longer fit it).
    Scenario("channels 1\nspeed 10\nline 0\ncall ring 50\nkeys 1500 1#\nhangup 60000\n");
    LoadFlow({Menu({"maxRetries = 0"}), OnHook()});
    ASSERT_TRUE(Start().Ok());
    auto conditions = kvo_test::ObjectProperty(kvo_test::AsDispatch(host_->Find(L"GetDigits1")).Get(), L"Conditions");
    EXPECT_TRUE(kvo_test::Dispatch(conditions.Get(), L"Data", DISPATCH_PROPERTYPUT,
                                   {Variant(long(0)), Variant(std::wstring(L"9"))})
                    .Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"GetDigits1"), std::vector<long>{2}) << Diagnosis();
}

TEST_F(Flow, NewControlsSaveTheirDefaults) {
    ASSERT_NE(Add(L"Zentrovo.GetdgCtrl.1", L"GetDigits1"), nullptr);
    ASSERT_NE(Add(L"Zentrovo.DialCtrl.1", L"Dial1"), nullptr);
    ASSERT_NE(Add(L"Zentrovo.DelayCtrl.1", L"Delay1"), nullptr);
    const container::Form form = SaveForm();
    const struct {
        const char* control;
        const char* key;
        const char* value;
    } items[] = {
        {"GetDigits1", "useDefaultError", "-1"},
        {"GetDigits1", "MaxKeys", "0"},
        {"GetDigits1", "MaxSil", "3"},
        {"GetDigits1", "TermDtmf", "0"},
        {"GetDigits1", "RetryOnSilence", "0"},
        {"GetDigits1", "DisableHelp", "-1"},
        {"GetDigits1", "maxRetries", "3"},
        {"GetDigits1", "InvalidGreeting.NumPhrase", "1"},
        {"GetDigits1", "InvalidGreeting.Phrase0.Data", "that was not a valid entry"},
        {"GetDigits1", "SilenceGreeting.NumPhrase", "0"},
        {"GetDigits1", "NumConditions", "5"},
        {"GetDigits1", "Condition4.Name", "4"},
        {"GetDigits1", "Condition4.Data", "4"},
        {"GetDigits1", "NumNodes", "5"},
        {"Dial1", "DialNumber", ""},
        {"Dial1", "CustomCPL", ""},
        {"Dial1", "WaitForDialtone", "0"},
        {"Dial1", "DetectAnsMachine", "0"},
        {"Dial1", "DoTransfer", "0"},
        {"Dial1", "UseDatabase", "0"},
        {"Dial1", "DataFind", ""},
        {"Delay1", "DelayTime", "0"},
        {"Delay1", "HoldType", "2"},
        {"Delay1", "HaltDigit", "0"},
        {"Delay1", "MusicGreeting.Phrase0.File", "MUSIC.WAV"},
    };
    for (const auto& i : items)
        EXPECT_EQ(kvo_test::FormValue(form, i.control, i.key), i.value) << i.control << "." << i.key;

    const struct {
        const wchar_t* control;
        short index;
        const wchar_t* name;
    } greetings[] = {{L"GetDigits1", 0, L"Entry"}, {L"GetDigits1", 1, L"Invalid"}, {L"GetDigits1", 2, L"Silence"},
                     {L"GetDigits1", 3, L""},      {L"Delay1", 1, L"Music"},       {L"Dial1", 1, L""}};
    for (const auto& g : greetings)
        EXPECT_EQ(Member(g.control, L"GetGreetingNames", DISPATCH_METHOD, {Variant(g.index)}).value.Str(), g.name)
            << container::ToUtf8(g.control) << " " << g.index;

    // Own error exits come first: two more nodes, and the layout follows
    // the settings that choose it.
    Member(L"GetDigits1", L"UseDefaultError", DISPATCH_PROPERTYPUT, {Variant(short(0))});
    Member(L"Dial1", L"INumToDial", DISPATCH_PROPERTYPUT, {Variant(std::wstring(L"S201"))});
    Member(L"Dial1", L"DetectAnsMachine", DISPATCH_PROPERTYPUT, {Variant(short(-1))});
    const container::Form changed = SaveForm();
    EXPECT_EQ(kvo_test::FormValue(changed, "GetDigits1", "NumNodes"), "7");
    EXPECT_EQ(kvo_test::FormValue(changed, "Dial1", "NumNodes"), "8");

    host_->Clear();
    ASSERT_EQ(LoadText("Begin Zentrovo.DialCtrl.1 Dial2\n DialNumber = S201\n WaitForDialtone = True\nEnd\n"), S_OK);
    EXPECT_EQ(kvo_test::FormValue(SaveForm(), "Dial2", "NumNodes"), "7") << "a form without a node count";
}

// ---- Dial ----

struct ProgressCase {
    const char* result;  // as the scenario names it
    long node;           // -1: no Exit (the call ends)
    const char* note;
};

TEST_F(Flow, CallProgressResultsLeaveThroughTheirNodes) {
    const ProgressCase cases[] = {
        {"busy", 3, "Busy"},   {"noanswer", 2, "NoAnswer"},     {"connected", 1, "Answer"},
        {"99", 6, "Ans M/C"}, {"intercept", -1, "call ends"}, {"fastbusy", 4, "FastBusy"},
        {"noring", 5, "NoRinging"}, {"nodialtone", 0, "NoDialTone"},
    };
    std::string scenario = "channels 1\nspeed 20\nline 0\n";
    for (int i = 0; i < int(std::size(cases)); ++i) {
        scenario += "call ring 50\nhangup 60000\n";
        scenario += "dial 55" + std::to_string(i) + " " + cases[i].result + "\n";
    }
    Scenario(scenario);
    // The number is 55 and the extension host code leaves per call; the
    // LineGroup's CallerID value is there but empty.
    FormControl dial{"Zentrovo.DialCtrl.1", "Dial1", kDial,
                     {"DialNumber = \"S55%LineGroup1.CallerID%%Frame1.Ext%\"", "DetectAnsMachine = True"}, {}, 8};
    for (int node = 0; node < 8; ++node) dial.nodes[node] = kOnHook;
    LoadFlow({dial, OnHook()});
    int call = 0;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control != L"LineGroup1" || e.event != L"Ring") return;
        auto transfer = kvo_test::ObjectProperty(kvo_test::AsDispatch(host_->Find(L"Frame1")).Get(), L"Transfer");
        kvo_test::Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYPUT,
                           {e.args[0], Variant(std::to_wstring(call++))});
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", std::size(cases))) << Diagnosis();
    StopAndWait();

    std::vector<long> expected;
    for (const ProgressCase& c : cases)
        if (c.node >= 0) expected.push_back(c.node);
    EXPECT_EQ(ExitNodes(L"Dial1"), expected) << Diagnosis();
    const auto journal = Journal();
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(MissingInOrder(journal, {"call '55" + std::to_string(i) + "' mode 0"}), "") << cases[i].note;
    const auto log = LogLines();
    for (const ProgressCase& c : cases)
        if (c.node >= 0) {
            EXPECT_EQ(MissingInOrder(log, {"<'" + std::string(c.note) + "'>"}), "") << Text(log);
        }
}

TEST_F(Flow, TransfersDialTheExchangesStrings) {
    // A blind transfer to the extension host code left, then supervised
    // ones: the far end takes the call (the card reports 0), is busy, or
    // answers as an outgoing call would (32), which is no completed
    // transfer: the caller is taken back and the call leaves by Answer.
    Scenario("channels 1\nspeed 20\nline 0\n"
             "call ring 50\nhangup 60000\ncall ring 50\nhangup 60000\ncall ring 50\nhangup 60000\n"
             "call ring 50\nhangup 60000\ndial 207 0\ndial 208 busy\ndial 209 32\n");
    ini_.Set("PBX", "XFER", "!X,");
    ini_.Set("PBX", "CONNECT", "C,");
    ini_.Set("PBX", "RECONNECTFROMBUSYNOANS", "!B");
    FormControl blind{"Zentrovo.DialCtrl.1", "Blind", kDial, {"DialNumber = \"%Frame1.Ext%\"", "DoTransfer = True"},
                      {}, 1};
    FormControl supervised{"Zentrovo.DialCtrl.1", "Supervised", kDial + 1,
                           {"DialNumber = \"S%Frame1.Ext%\"", "DoTransfer = True"}, {}, 7};
    for (int node = 0; node < 7; ++node) supervised.nodes[node] = kOnHook;
    FormControl choose{"Zentrovo.UserCtrl.1", "Choose", kHelper, {}, {{0, kDial}, {1, kDial + 1}}, 2};
    LoadFlow({choose, blind, supervised, OnHook()});
    const wchar_t* const extensions[] = {L"205", L"207", L"208", L"209"};
    int call = 0;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control != L"Choose" || e.event != L"Enter") return;
        auto transfer = kvo_test::ObjectProperty(kvo_test::AsDispatch(host_->Find(L"Frame1")).Get(), L"Transfer");
        kvo_test::Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYPUT,
                           {e.args[0], Variant(std::wstring(extensions[call]))});
        Member(L"Choose", L"GotoNode", DISPATCH_PROPERTYPUT, {e.args[0], Variant(short(call == 0 ? 0 : 1))});
        ++call;
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 4)) << Diagnosis();
    StopAndWait();

    const auto journal = Journal();
    EXPECT_EQ(MissingInOrder(journal, {"dial '!X,'", "dial '205'", "onhook", "dial '!X,'", "call '207' mode 0 -> 0",
                                       "dial 'C,'", "onhook", "dial '!X,'", "call '208' mode 0 -> 29", "dial '!B'",
                                       "dial '!X,'", "call '209' mode 0 -> 32", "dial '!B'"}),
              "")
        << Text(journal);
    EXPECT_EQ(ExitNodes(L"Blind"), std::vector<long>{}) << "a blind transfer ends this line's call";
    EXPECT_EQ(ExitNodes(L"Supervised"), (std::vector<long>{3, 1}))
        << "a completed one too; a busy one leaves by Busy, a 32 by Answer";
    EXPECT_EQ(MissingInOrder(LogLines(), {"number to dial '205'", "number to dial 'S207'", "number to dial 'S208'"}),
              "")
        << Text(LogLines());
}

TEST_F(Flow, NoDialToneLeavesThroughItsNode) {
    // A blind transfer and a plain call that wait for a dial tone that never comes.
    Scenario("channels 1\nspeed 20\nline 0\nnodialtone\ncall ring 50\nhangup 60000\ncall ring 50\nhangup 60000\n");
    FormControl choose{"Zentrovo.UserCtrl.1", "Choose", kHelper, {}, {{0, kDial}, {1, kDial + 1}}, 2};
    LoadFlow({choose,
              {"Zentrovo.DialCtrl.1", "Blind", kDial, {"DialNumber = 205", "DoTransfer = True", "WaitForDialtone = True"},
               {{0, kOnHook}, {1, kOnHook}}, 2},
              {"Zentrovo.DialCtrl.1", "Plain", kDial + 1, {"DialNumber = 206", "WaitForDialtone = True"},
               {{0, kOnHook}, {1, kOnHook}}, 2},
              OnHook()});
    int call = 0;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control == L"Choose" && e.event == L"Enter")
            Member(L"Choose", L"GotoNode", DISPATCH_PROPERTYPUT, {e.args[0], Variant(short(call++))});
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 2)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Blind"), std::vector<long>{0});
    EXPECT_EQ(ExitNodes(L"Plain"), std::vector<long>{0});
    EXPECT_EQ(MissingInOrder(LogLines(), {"exit via node 0 <'NoDialTone'>", "exit via node 0 <'NoDialTone'>"}), "")
        << Text(LogLines());
    for (const std::string& l : Journal()) EXPECT_EQ(l.find("dial '20"), std::string::npos) << l;
}

TEST_F(Flow, AnEmptyNumberIsAFailedReferenceNotADialledCall) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\n");
    LoadFlow({{"Zentrovo.DialCtrl.1", "Dial1", kDial, {"DialNumber = \"%Frame1.Ext%\""}, {{0, kOnHook}}, 1},
              OnHook()});
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Dial1"), std::vector<long>{}) << "not through \"Dialled\"";
    EXPECT_EQ(Count(L"OnHook1", L"Enter"), 0u);
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"number to dial ''", "32"}), "") << Text(log);
    for (const std::string& l : Journal()) EXPECT_EQ(l.find("dial '"), std::string::npos) << l;
}

TEST_F(Flow, NothingAfterTheProgressMarkIsAnEmptyNumber) {
    // "S" and a reference that resolved empty: no call is placed, and the
    // control does not report an answer.
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 60000\n");
    FormControl dial{"Zentrovo.DialCtrl.1", "Dial1", kDial, {"DialNumber = \"S%Frame1.Ext%\""}, {}, 7};
    for (int node = 0; node < 7; ++node) dial.nodes[node] = kOnHook;
    LoadFlow({dial, OnHook()});
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Dial1"), std::vector<long>{0}) << Diagnosis();
    for (const std::string& l : Journal()) EXPECT_EQ(l.find("call '"), std::string::npos) << l;
}

// ---- Delay ----

class Hold : public Flow {
protected:
    // LineGroup -> Delay1 (the given hold) -> OnHook.
    void LoadDelay(std::vector<std::string> items) {
        LoadFlow({{"Zentrovo.DelayCtrl.1", "Delay1", kDelay, std::move(items), {{0, kOnHook}}, 1}, OnHook()});
    }
    container::CallResult Delay(const wchar_t* member) {
        return host_->Find(L"Delay1")->Call(member, {Variant(short(1))});
    }
};

TEST_F(Hold, StopDelayEndsAPlainDelayThroughItsNode) {
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\n");
    LoadDelay({"DelayTime = 600", "HoldType = 2"});
    ASSERT_TRUE(Start().Ok());
    // The card drops a stop sent before its wait begins, as a real one does.
    ASSERT_TRUE(host_->PumpUntil([&] { return MissingInOrder(Journal(), {"begin delay"}).empty(); }, 20000))
        << Diagnosis();
    EXPECT_TRUE(Delay(L"StopDelay").Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Delay1"), std::vector<long>{0});
    EXPECT_EQ(Count(L"OnHook1", L"Enter"), 1u);
    EXPECT_EQ(MissingInOrder(Journal(), {"delay 600 mask 0 flag 1 -> 18"}), "") << Text(Journal());
}

TEST_F(Hold, StopCallDuringADelayIsACallStopped) {
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\n");
    LoadDelay({"DelayTime = 600", "HoldType = 2"});
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitForLineStatus(L"delay")) << Diagnosis();
    EXPECT_TRUE(host_->Find(L"LineGroup1")->Call(L"StopCall", {Variant(short(1))}).Ok());
    ASSERT_TRUE(host_->PumpUntil([&] { return MissingInOrder(Journal(), {"-> 18"}).empty(); }, 20000));
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Delay1"), std::vector<long>{});
    const auto log = LogLines();
    EXPECT_EQ(MissingInOrder(log, {"call being stopped by code or maxtime", "transfer to linegroup control (call stopped)"}),
              "")
        << Text(log);
}

TEST_F(Hold, AStoppedHoldReconnectsTheCallerBeforeTheErrorIsHandled) {
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\n");
    ini_.Set("PBX", "PUTONHOLD", "!H");
    ini_.Set("PBX", "RECONNECTFROMHOLD", "!R");
    LoadDelay({"DelayTime = 600", "HoldType = 0"});
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitForLineStatus(L"delay")) << Diagnosis();
    EXPECT_TRUE(host_->Find(L"LineGroup1")->Call(L"StopCall", {Variant(short(1))}).Ok());
    ASSERT_TRUE(host_->PumpUntil([&] { return MissingInOrder(Journal(), {"dial '!R'"}).empty(); }, 20000))
        << Text(Journal());
    StopAndWait();
    EXPECT_EQ(MissingInOrder(Journal(), {"dial '!H'", "onhook", "delay 600 mask 0 flag 0 -> 18", "offhook",
                                         "dial '!R'"}),
              "")
        << Text(Journal());
}

TEST_F(Hold, AHoldThatRunsOutReconnectsAndLeaves) {
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 600000\n");
    ini_.Set("PBX", "PUTONHOLD", "!H");
    ini_.Set("PBX", "RECONNECTFROMHOLD", "!R");
    LoadDelay({"DelayTime = 2", "HoldType = 0"});
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Delay1"), std::vector<long>{0});
    EXPECT_EQ(MissingInOrder(Journal(), {"dial '!H'", "onhook", "delay 2 mask 0 flag 0 -> 12", "offhook", "dial '!R'"}),
              "")
        << Text(Journal());
    EXPECT_EQ(MissingInOrder(LogLines(), {"dialling on hold digits", "delay start 2", "reconnecting from hold",
                                          "delay completed"}),
              "")
        << Text(LogLines());
}

TEST_F(Hold, MusicThatPlaysNothingWaitsAsAPlainDelay) {
    // The default music file is not there.
    Scenario("channels 1\nspeed 20\nline 0\ncall ring 50\nhangup 600000\n");
    LoadDelay({"DelayTime = 3", "HoldType = 1"});
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Delay1"), std::vector<long>{0});
    EXPECT_EQ(MissingInOrder(Journal(), {"delay 3 mask 0 flag 1 -> 12", "onhook"}), "") << Text(Journal());
}

TEST_F(Hold, StopDelayDuringMusicLeavesThroughTheNode) {
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\n");
    const std::string music = Wave("music.wav", 8000 * 600);
    LoadDelay(Joined({"DelayTime = 600", "HoldType = 1"}, GreetingItems("Music", music)));
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(host_->PumpUntil([&] { return MissingInOrder(Journal(), {"begin play"}).empty(); }, 20000))
        << Diagnosis();
    EXPECT_TRUE(Delay(L"StopDelay").Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Delay1"), std::vector<long>{0});
    EXPECT_EQ(MissingInOrder(Journal(), {"stop", "play 4800000 bytes format 0 mask 0 -> 18"}), "") << Text(Journal());
}

TEST_F(Hold, StopDelayBeforeTheWaitBeginsIsNotLost) {
    // Host code decides in the Delay's own Enter event that no wait is
    // needed; the stop must hold for the wait that follows, plain or on hold.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nhangup 600000\ncall ring 10\nhangup 600000\n");
    FormControl choose{"Zentrovo.UserCtrl.1", "Choose", kHelper, {}, {{0, kDelay}, {1, kDelay + 1}}, 2};
    LoadFlow({choose, {"Zentrovo.DelayCtrl.1", "Plain", kDelay, {"DelayTime = 600", "HoldType = 2"}, {{0, kOnHook}}, 1},
              {"Zentrovo.DelayCtrl.1", "OnHold", kDelay + 1, {"DelayTime = 600", "HoldType = 0"}, {{0, kOnHook}}, 1},
              OnHook()});
    int call = 0;
    std::vector<container::CallResult> stops;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control == L"Choose" && e.event == L"Enter")
            Member(L"Choose", L"GotoNode", DISPATCH_PROPERTYPUT, {e.args[0], Variant(short(call++))});
        if ((e.control == L"Plain" || e.control == L"OnHold") && e.event == L"Enter")
            stops.push_back(Member(e.control.c_str(), L"StopDelay", DISPATCH_METHOD, {e.args[0]}));
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 2)) << Diagnosis();
    StopAndWait();
    ASSERT_EQ(stops.size(), 2u);
    for (const auto& s : stops) EXPECT_TRUE(s.Ok()) << std::hex << s.scode;
    EXPECT_EQ(ExitNodes(L"Plain"), std::vector<long>{0}) << Diagnosis();
    EXPECT_EQ(ExitNodes(L"OnHold"), std::vector<long>{0}) << Diagnosis();
    for (const std::string& l : Journal()) EXPECT_EQ(l.find("delay 600"), std::string::npos) << l;
}

TEST_F(Hold, OnlyAHaltKeyEndsTheMusic) {
    // "5" is no halt key: the music goes on; "#" ends it.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nkeys 1000 5\nkeys 3000 #\nhangup 600000\n");
    const std::string music = Wave("music.wav", 8000 * 600);
    LoadDelay(Joined({"DelayTime = 600", "HoldType = 1", "HaltDigit = 4096"}, GreetingItems("Music", music)));
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_EQ(ExitNodes(L"Delay1"), std::vector<long>{0});
    const auto journal = Journal();
    size_t endedByKey = 0;
    for (const std::string& l : journal) endedByKey += l.find("play 4800000 bytes") != std::string::npos && l.find("-> 9") != std::string::npos;
    EXPECT_EQ(endedByKey, 2u) << Text(journal);
}

TEST_F(Hold, StopDelayOutsideThisDelayLeavesTheLineAlone) {
    // The caller is in GetDigits when host code asks the Delay to stop.
    Scenario("channels 1\nspeed 1\nline 0\ncall ring 10\nkeys 1500 1#\nhangup 600000\n");
    FormControl menu = Menu();
    for (int node = 0; node < 6; ++node) menu.nodes[node] = kDelay;
    LoadFlow({menu, {"Zentrovo.DelayCtrl.1", "Delay1", kDelay, {"DelayTime = 0", "HoldType = 2"}, {{0, kOnHook}}, 1},
              OnHook()});
    container::CallResult stop;
    onEvent_ = [&](container::EventRecord& e) {
        if (e.control == L"GetDigits1" && e.event == L"Enter") stop = Delay(L"StopDelay");
    };
    ASSERT_TRUE(Start().Ok());
    ASSERT_TRUE(WaitFor(L"LineGroup1", L"Disconnect", 1)) << Diagnosis();
    StopAndWait();
    EXPECT_TRUE(stop.Ok()) << std::hex << stop.scode;
    EXPECT_EQ(ExitNodes(L"GetDigits1"), std::vector<long>{2}) << "the collection went on: " << Diagnosis();
    // No stop during the call (the system's own stop of the ring wait comes later).
    const auto journal = Journal();
    const auto has = [](const char* what) { return [what](const std::string& l) { return l.find(what) != std::string::npos; }; };
    const auto answered = std::find_if(journal.begin(), journal.end(), has("waitforring 1 -> 0"));
    const auto hungUp = std::find_if(answered, journal.end(), has("onhook"));
    EXPECT_TRUE(std::none_of(answered, hungUp, has("stop"))) << Text(journal);
    EXPECT_EQ(MissingInOrder(journal, {"getdigits max 3 mask 4096 silence 5 -> 9 '1#'", "delay 0", "onhook"}), "")
        << Text(journal);
}

TEST_F(Hold, PerLinePropertiesRefuseChannelsOutsideTheLines) {
    LoadFlow({Menu(), {"Zentrovo.DelayCtrl.1", "Delay1", kDelay, {}, {{0, kOnHook}}, 1},
              {"Zentrovo.DialCtrl.1", "Dial1", kDial, {}, {{0, kOnHook}}, 1}, OnHook()});
    const struct {
        const wchar_t* control;
        const wchar_t* member;
    } members[] = {{L"GetDigits1", L"Digits"}, {L"GetDigits1", L"MaxKeys"}, {L"GetDigits1", L"TermDtmf"},
                   {L"GetDigits1", L"MaxSil"}, {L"Delay1", L"DelayTime"},   {L"Dial1", L"NumToDial"},
                   {L"Dial1", L"CallResult"},  {L"Dial1", L"CallTime"},     {L"Dial1", L"CPLFile"}};
    for (const auto& m : members)
        for (short channel : {short(0), short(49)}) {
            auto r = Member(m.control, m.member, DISPATCH_PROPERTYGET, {Variant(channel)});
            EXPECT_EQ(r.scode, SCODE(0x800A017D)) << container::ToUtf8(m.member) << "(" << channel << ")";
        }
}

}  // namespace
}  // namespace kvo_flow_test
