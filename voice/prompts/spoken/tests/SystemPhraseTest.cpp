#include <gtest/gtest.h>

#include <map>

#include "SpokenTestSupport.h"
#include "SystemPhrase.h"

namespace {

using namespace spokentest;
using kvo::PhraseOutcome;

// A Language control whose program code answers each kind with a set
// `UseDefault`; any event not expected fails the test.
class FakeLanguageControl : public kvo::LanguageEvents {
public:
    bool InRunMode() const override { return runMode; }
    short FirePhraseEvent(int kind, const std::string& data1, const std::string& data2) override {
        fired.push_back(std::to_string(kind) + ":" + data1 + "/" + data2);
        const auto it = answers.find(kind);
        if (it == answers.end()) {
            ADD_FAILURE() << "unexpected event for kind " << kind;
            return -1;
        }
        return it->second;
    }
    bool runMode = true;
    std::map<int, short> answers;
    std::vector<std::string> fired;
};

class FakeFiles : public kvo::VoiceFileFacts {
public:
    std::optional<Facts> FactsOf(const std::string& path, long& error) override {
        asked.push_back(path);
        const auto it = files.find(path);
        if (it == files.end()) {
            error = 2;
            return std::nullopt;
        }
        return it->second;
    }
    long CountMatching(const std::string& pattern) override { return pattern == "c:\\box\\*.msg" ? 3 : 0; }
    std::map<std::string, Facts> files;
    std::vector<std::string> asked;
};

class SystemPhrase : public testing::Test {
protected:
    kvo::SystemPhraseResult Speak(int kind, const std::string& d1, const std::string& d2 = "") {
        const kvo::SystemPhraseContext context{language, clock, log, &files, "c:\\box", 8000};
        return kvo::SpeakSystemPhrase(kind, d1, d2, context);
    }
    kvo::LanguageSettings language = kEnglish;
    kvo::FixedClock clock{{2026, 12, 7, 11, 0, 0}};
    RecordingLog log;
    FakeFiles files;
    FakeLanguageControl control;
};

TEST_F(SystemPhrase, BuiltInRulesWithoutALanguageControl) {
    struct Case { int kind; const char* d1; const char* d2; const char* clips; } cases[] = {
        {kvo::kvoSayNumber, "115", "", "1 28 51 15"},
        {kvo::kvoSayNumberShort, "12", "", "52"},
        {kvo::kvoDigits, "4#", "", "4 48"},
        {kvo::kvoMoney, "506", "", "5 149 51 6 54"},
        {kvo::kvoInitialGreeting, "", "", "61"},
        {kvo::kvoSayTime, "1400", "", "2 46"},
        {kvo::kvoSayDate, "12/08/26", "Day,MonthName", "42"},
        {kvo::kvoTimeNow, "", "", "11 45"},
        {kvo::kvoDateToday, "Day,MonthName", "", "100 41"},
        {kvo::kvoNumberOrdinal, "21", "", "20 94"},
        {kvo::kvoNumFiles, "*.msg", "", "3"},
    };
    for (const auto& c : cases) {
        const auto r = Speak(c.kind, c.d1, c.d2);
        EXPECT_EQ(r.outcome, PhraseOutcome::Spoken) << c.kind;
        EXPECT_EQ(Text(r.spoken.clips), c.clips) << "kind " << c.kind;
    }
    EXPECT_TRUE(log.lines.empty());
    for (int kind : {kvo::kvoFileCustom, kvo::kvoVBPhrase, kvo::kvoVAPPhrase, kvo::kvoVAPPhraseIndex, kvo::kvoSayText})
        EXPECT_EQ(Speak(kind, "x").outcome, PhraseOutcome::NotSpokenHere) << kind;
    EXPECT_EQ(Speak(kvo::kvoCustom, "x").outcome, PhraseOutcome::Failed);
}

TEST_F(SystemPhrase, FilePhrasesSpeakTheFileOrLogWhyNot) {
    files.files["c:\\box\\m1.msg"] = {8000 * 61, {2026, 12, 6, 9, 30, 0}};
    files.files["d:\\abs.msg"] = {8000 * 5, {2026, 11, 2, 16, 0, 0}};
    EXPECT_EQ(Text(Speak(kvo::kvoFileSize, "m1.msg").spoken.clips), "1 56 51 1 55");
    EXPECT_EQ(Text(Speak(kvo::kvoFileDate, "m1.msg", "Day,MonthName").spoken.clips), "43");
    EXPECT_EQ(Text(Speak(kvo::kvoFileTime, "m1.msg").spoken.clips), "9 21 45");
    EXPECT_EQ(Text(Speak(kvo::kvoFileDateTime, "d:\\abs.msg", "Day,MonthName").spoken.clips), "95 40 4 46");

    const auto missing = Speak(kvo::kvoFileSize, "gone.msg");
    EXPECT_EQ(missing.outcome, PhraseOutcome::Failed);
    EXPECT_EQ(missing.spoken.error, kvo::kPhraseFileNotOpened);
    EXPECT_EQ(log.lines, std::vector<std::string>{"91: file open error 'c:\\box\\gone.msg', code 2"});
}

TEST_F(SystemPhrase, TheLanguageControlIsAskedFirstForItsKinds) {
    language.control = &control;
    language.eventMask = 1u << kvo::kvoSayNumber | 1u << kvo::kvoMoney | 1u << kvo::kvoNumberOrdinal;
    control.answers = {{kvo::kvoSayNumber, -1}, {kvo::kvoMoney, 0}};

    // UseDefault left at -1: the built-in rule still speaks.
    auto r = Speak(kvo::kvoSayNumber, "7", "F");
    EXPECT_EQ(r.outcome, PhraseOutcome::Spoken);
    EXPECT_EQ(Text(r.spoken.clips), "7");
    // Program code handled it: nothing is added, the phrase counts.
    r = Speak(kvo::kvoMoney, "100");
    EXPECT_EQ(r.outcome, PhraseOutcome::Handled);
    EXPECT_TRUE(r.spoken.clips.empty());
    // Ordinals have an event but no rule fires it; kinds outside the mask never fire.
    EXPECT_EQ(Text(Speak(kvo::kvoNumberOrdinal, "2").spoken.clips), "95");
    EXPECT_EQ(Text(Speak(kvo::kvoDigits, "1").spoken.clips), "1");

    EXPECT_EQ(control.fired, (std::vector<std::string>{"5:7/F", "8:100/"}));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"180: fire language event 5", "180: fire language event 8"}));
}

TEST_F(SystemPhrase, AnEventOutsideRunModeStopsTheCall) {
    language.control = &control;
    language.eventMask = 1u << kvo::kvoSayTime;
    control.runMode = false;
    const auto r = Speak(kvo::kvoSayTime, "1200");
    EXPECT_EQ(r.outcome, PhraseOutcome::StopCall);
    EXPECT_TRUE(control.fired.empty());
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"181: phrase requires language control event: VB not in run mode"});
}

TEST(LanguageEvents, NamesInTheControlsOrder) {
    const std::map<int, std::string> named = {
        {2, "File_Size"}, {3, "File_Date"},   {4, "File_Time"},   {5, "Number"},           {6, "NumberShort"},
        {7, "Digits"},    {8, "Money"},       {10, "FileDateTime"}, {11, "InitialGreeting"}, {12, "TimeV"},
        {13, "DateV"},    {14, "TimeNow"},    {15, "DateToday"},
    };
    for (int kind = -1; kind <= 21; ++kind) {
        const char* name = kvo::LanguageEventName(kind);
        const auto it = named.find(kind);
        EXPECT_EQ(name ? std::string(name) : "", it == named.end() ? "" : it->second) << kind;
    }
}

}  // namespace
