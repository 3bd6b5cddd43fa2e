// One information phrase said on a line of the simulated card, in process:
// what a key does to it by the greeting's TermOnDTMF, and that a phrase that
// cannot be said is always a phrase error.
#include <gtest/gtest.h>

#include <string>

#include "DriverVoiceInterface.h"
#include "GreetingPlayer.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"
#include "VoiceTestSupport.h"
#include "VoiceWave.h"
#include "fw/ole/Text.h"

namespace {

constexpr short kWavePhrase = 1;

// "" when the play returned, else the exception it ended with.
std::string Outcome(long& result, kvo::PhraseData phrase, bool termOnDtmf) {
    try {
        result = kvo::PlaySinglePhrase(0, phrase, termOnDtmf, nullptr);
    } catch (kvo::PhraseException* e) {
        e->Delete();
        return "phrase error";
    } catch (kvo::ControlErrorException* e) {
        const std::string s = "error " + std::to_string(e->ErrorType()) + " " + std::to_string(e->ErrorData());
        e->Delete();
        return s;
    }
    return "";
}

TEST(SinglePhrase, AKeyEndsItOnlyWhenTheGreetingSaysSo) {
    fw::testing::TempDir dir{"kvoinfo"};
    // Five seconds of sound; the caller presses 5 early in it.
    const std::string wave = dir.Write("info.wav", kvo_test::VoiceWave(8000 * 5));
    const struct {
        const char* file;
        bool termOnDtmf;
        const char* outcome;
        long result;
        const char* journal;  // the play as the card saw it
    } cases[] = {
        {"info.wav", true, "", 9, "-> 9"},
        {"info.wav", false, "", 0, "mask 0"},
        {"nowhere.wav", true, "phrase error", -1, nullptr},
    };
    for (const auto& c : cases) {
        kvotest::SuiteIni ini;
        ini.Set("VoiceCard", "Type", "RHETOREX");
        kvo::ReloadSettings();
        kvotest::Scenario card("channels 1\nspeed 10\nline 0\ncall ring 10\nkeys 200 5\nhangup 60000\n");
        kvo::UseVoiceInterface(kvo::OpenDriverInterface(nullptr));
        kvo::CVoiceInterface* vi = kvo::VoiceInterface();
        ASSERT_NE(vi, nullptr);
        ASSERT_EQ(vi->WaitForRing(0, 1), 0);
        ASSERT_EQ(vi->OffHook(0), 0);
        kvo::PhraseData phrase{fw::ole::Widen(dir.File(c.file)), L"", -1, kWavePhrase, 0};
        long result = -1;
        EXPECT_EQ(Outcome(result, phrase, c.termOnDtmf), c.outcome) << c.file;
        EXPECT_EQ(result, c.result) << c.file;
        std::string plays;
        for (const std::string& op : card.Operations(0))
            if (op.rfind("play ", 0) == 0) plays += op + "\n";
        if (c.journal) EXPECT_NE(plays.find(c.journal), std::string::npos) << plays;
        else EXPECT_EQ(plays, "") << "nothing is played";
        kvo::UseVoiceInterface(nullptr);
    }
}

}  // namespace
