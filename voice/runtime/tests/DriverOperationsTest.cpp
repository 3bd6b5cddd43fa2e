// Operations of the driver-backed voice interface against scripted callers
// on the simulated card: what is returned, what is raised, what the line was
// asked to do, and what went to the channel log.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "DriverVoiceInterface.h"
#include "LineState.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"
#include "VoiceTestSupport.h"

using kvo::CDriverVoiceInterface;
using kvotest::Scenario;
using kvotest::VoiceFile;

namespace {

constexpr long kHash = 4096, kStar = 2048, kFive = 32;

// Which exception a call ended with: "" for none, else its name (and data).
template <class F>
std::string Outcome(F&& f) {
    try {
        f();
    } catch (kvo::HangupException* e) {
        e->Delete();
        return "hangup";
    } catch (kvo::HelpDigitException* e) {
        e->Delete();
        return "help";
    } catch (kvo::ShutdownException* e) {
        e->Delete();
        return "shutdown";
    } catch (kvo::ControlErrorException* e) {
        std::string s = "error " + std::to_string(e->ErrorType()) + " " + std::to_string(e->ErrorData());
        e->Delete();
        return s;
    }
    return "";
}

class DriverOps : public ::testing::Test {
protected:
    void Load(const std::string& scenario) {
        ini_.Set("VoiceCard", "Type", "RHETOREX");
        kvo::ReloadSettings();
        driver_.reset();
        card_.reset();   // its files have the same names as the next one's
        card_ = std::make_unique<Scenario>(scenario);
        auto opened = kvo::OpenDriverInterface(nullptr);
        ASSERT_NE(opened, nullptr);
        driver_.reset(static_cast<CDriverVoiceInterface*>(opened.release()));
    }
    // Answers the scripted call on `ch`.
    void Answer(int ch) {
        ASSERT_EQ(driver_->WaitForRing(ch, 1), 0);
        ASSERT_EQ(driver_->OffHook(ch), 0);
    }
    kvo::PlayList Clip(const VoiceFile& f, long bytes) {
        kvo::PlaySegment s;
        s.file = reinterpret_cast<std::intptr_t>(f.Handle());
        s.length = bytes;
        return {s};
    }
    void TearDown() override {
        driver_.reset();
        kvo::SetShutdownRequested(false);
        for (int ch = 0; ch < 4; ++ch) kvo::SetLineHelpDigit(ch, 0);
    }

    kvotest::SuiteIni ini_;
    std::unique_ptr<Scenario> card_;
    std::unique_ptr<CDriverVoiceInterface> driver_;
};

}  // namespace

TEST_F(DriverOps, DigitTypedDuringPromptEndsTheNextCollection) {
    Load("channels 1\nspeed 20\nline 0\ncall\nkeys 2000 #\nhangup 60000\n");
    Answer(0);
    VoiceFile clip(8000 * 5);
    kvo::PlayParams play;
    play.termMask = kHash;
    EXPECT_EQ(driver_->PlayList(0, Clip(clip, 8000 * 5), play), 9);
    EXPECT_EQ(play.format, 0) << "-1 is replaced by DefaultFormat";
    EXPECT_EQ(driver_->PendingDigit(0), '#');

    kvo::DigitRequest ask;
    ask.silence = 3;
    ask.termMask = kHash;
    std::string digits;
    EXPECT_EQ(driver_->GetDTMFString(0, ask, digits), 9);
    EXPECT_EQ(digits, "#");
    EXPECT_EQ(driver_->PendingDigit(0), 0);
    for (const auto& op : card_->Operations(0))
        EXPECT_EQ(op.find("getdigits"), std::string::npos) << "the driver was not asked: " << op;
}

TEST_F(DriverOps, PendingDigitRules) {
    Load("channels 1\nspeed 20\nline 0\ncall\nkeys 1000 5\nkeys 3000 67\nkeys 4000 5\nhangup 60000\n");
    Answer(0);
    VoiceFile clip(16000);
    kvo::PlayParams play;
    play.termMask = kFive;
    EXPECT_EQ(driver_->PlayList(0, Clip(clip, 16000), play), 9);
    ASSERT_EQ(driver_->PendingDigit(0), '5');

    // Not in the mask: the digit leads the collection and the driver collects one key fewer.
    kvo::DigitRequest ask;
    ask.silence = 5;
    ask.maxKeys = 3;
    ask.termMask = kHash;
    std::string digits;
    EXPECT_EQ(driver_->GetDTMFString(0, ask, digits), 10);
    EXPECT_EQ(digits, "567") << "no key the caller typed is lost";
    EXPECT_EQ(ask.maxKeys, 3) << "the caller's request is left as it was";
    EXPECT_EQ(driver_->PendingDigit(0), 0);
    EXPECT_EQ(card_->Operations(0).back(), "getdigits max 2 mask 4096 silence 5 -> 10 '67'");

    // A single wanted key is satisfied by any pending digit.
    EXPECT_EQ(driver_->PlayList(0, Clip(clip, 16000), play), 9);
    ask.maxKeys = 1;
    EXPECT_EQ(driver_->GetDTMFString(0, ask, digits), 10);
    EXPECT_EQ(digits, "5");
}

TEST_F(DriverOps, PendingDigitIsHandedOutFirstAndForgottenOnClear) {
    Load("channels 1\nspeed 20\nline 0\ncall\nkeys 500 53 0\nkeys 1500 #\nhangup 60000\n");
    Answer(0);
    VoiceFile clip(16000);
    kvo::PlayParams play;
    play.termMask = kFive;
    EXPECT_EQ(driver_->PlayList(0, Clip(clip, 16000), play), 9);
    char d = 0;
    EXPECT_EQ(driver_->GetDTMFDigit(0, &d), 0);
    EXPECT_EQ(d, '5') << "the pending digit comes first";
    EXPECT_EQ(driver_->GetDTMFDigit(0, &d), 0);
    EXPECT_EQ(d, '3') << "then the driver's queue";

    play.termMask = kHash;
    EXPECT_EQ(driver_->PlayList(0, Clip(clip, 16000), play), 9);
    ASSERT_EQ(driver_->PendingDigit(0), '#');
    driver_->ClearDTMFQueue(0);
    EXPECT_EQ(driver_->PendingDigit(0), 0);
    EXPECT_EQ(driver_->GetDTMFDigit(0, nullptr), 0) << "a missing digit slot is no crash";
}

TEST_F(DriverOps, HelpDigit) {
    Load("channels 1\nspeed 20\nline 0\ncall\nkeys 500 *\nkeys 4000 *1\nhangup 60000\n");
    kvo::SetLineHelpDigit(0, '*');
    Answer(0);
    VoiceFile clip(16000);
    kvo::PlayParams play;
    play.termMask = kStar;
    EXPECT_EQ(Outcome([&] { driver_->PlayList(0, Clip(clip, 16000), play); }), "help");
    EXPECT_EQ(driver_->PendingDigit(0), 0) << "the help key is not kept";

    kvo::DigitRequest ask;
    ask.silence = 5;
    ask.maxKeys = 2;
    std::string digits;
    ask.helpFlag = 0;
    EXPECT_EQ(Outcome([&] { driver_->GetDTMFString(0, ask, digits); }), "help");

    // With the flag set the same keys are ordinary digits.
    Load("channels 1\nspeed 20\nline 0\ncall\nkeys 100 *1\nhangup 60000\n");
    Answer(0);
    ask.helpFlag = 1;
    EXPECT_EQ(driver_->GetDTMFString(0, ask, digits), 10);
    EXPECT_EQ(digits, "*1");
}

TEST_F(DriverOps, HangupDuringRecordIsReturnedDuringPlayRaised) {
    // Both callers hang up two real seconds after answering, time enough for
    // the record to begin under load.
    Load("channels 2\nspeed 4\nline 0\ncall\nhangup 8000\nline 1\ncall\nhangup 8000\n");
    Answer(0);
    Answer(1);
    fw::testing::TempDir dir("kvorec");
    const std::string path = dir.File("rec.raw");
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    kvo::RecordParams rec;
    rec.control[0] = reinterpret_cast<LONG>(file.Get());
    rec.control[1] = 30;
    EXPECT_EQ(driver_->RecordSound(0, rec), 16);
    file.Reset();
    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info);
    // At least a second at 8000 bytes a second; ended by the hangup, not by
    // the 30-second limit.
    EXPECT_GE(info.nFileSizeLow, 8000u);
    EXPECT_LT(info.nFileSizeLow, 30u * 8000u);

    VoiceFile clip(80000);
    kvo::PlayParams play;
    EXPECT_EQ(Outcome([&] { driver_->PlayList(1, Clip(clip, 80000), play); }), "hangup");
}

TEST_F(DriverOps, StandardChecks) {
    Load("channels 1\nspeed 20\nline 0\ncall\nhangup 0\ncall\nhangup 60000\ncall\nfail onHook 7\n");
    ASSERT_EQ(driver_->WaitForRing(0, 1), 0);
    EXPECT_EQ(Outcome([&] { driver_->OffHook(0); }), "hangup") << "caller gone before answer";
    Answer(0);
    EXPECT_EQ(Outcome([&] { driver_->OnHook(0); }), "error 34 7");
    EXPECT_EQ(driver_->DelayChannel(0, 1, 0, 0), 0) << "a delay that runs out reads 0, not 12";
    kvo::DigitRequest ask;
    ask.silence = 1;
    std::string digits = "stale";
    EXPECT_EQ(driver_->GetDTMFString(0, ask, digits), 12);
    EXPECT_EQ(digits, "") << "a time-out returns no digits";
    kvo::SetShutdownRequested(true);
    EXPECT_EQ(Outcome([&] { driver_->StopChannel(0); }), "") << "stopping never raises";
    EXPECT_EQ(Outcome([&] { driver_->OnHook(0); }), "shutdown");
    EXPECT_EQ(Outcome([&] { driver_->WaitForRing(0, 1); }), "shutdown") << "even when a call rings";
}

TEST_F(DriverOps, StopFromAnotherThreadEndsBlockingCalls) {
    Load("channels 2\nline 1\ncall connected\nhangup 600000\n");
    ASSERT_EQ(driver_->WaitForRing(1, 1), 32);
    std::atomic<long> ring{-1}, delay{-1};
    const auto start = std::chrono::steady_clock::now();
    std::thread line0([&] { ring = driver_->WaitForRing(0, 1); });
    std::thread line1([&] { delay = driver_->DelayChannel(1, 300, 0, 1); });
    // A stop reaches only a call already waiting, so repeat it until both ended.
    while (ring == -1 || delay == -1) {
        Sleep(50);
        if (ring == -1) {
            EXPECT_EQ(driver_->StopChannel(0), 0);
        }
        if (delay == -1) {
            EXPECT_EQ(driver_->StopChannel(1), 0);
        }
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
    line0.join();
    line1.join();
    EXPECT_EQ(ring, 18);
    EXPECT_EQ(delay, 18) << "a stopped delay is returned, not raised";
}

TEST_F(DriverOps, PlayListStopsAtTextSegment) {
    Load("channels 1\nspeed 50\nline 0\ncall connected\nhangup 600000\n");
    ASSERT_EQ(driver_->WaitForRing(0, 1), 32);
    kvotest::LogCapture log;
    VoiceFile clip(4000);
    kvo::PlayList list = Clip(clip, 4000);
    kvo::PlaySegment text;
    text.kind = kvo::PlaySegment::Text;
    text.text = "hello";
    list.push_back(text);
    list.push_back(list.front());
    kvo::PlayParams play;
    EXPECT_EQ(driver_->PlayList(0, list, play), 1);
    int plays = 0;
    for (const auto& op : card_->Operations(0)) plays += op.rfind("play ", 0) == 0;
    EXPECT_EQ(plays, 1);
    EXPECT_TRUE(log.Has("TTS not supported"));
    EXPECT_TRUE(log.Has("voice play"));
    EXPECT_EQ(driver_->PlayList(0, {}, play), 0) << "an empty list";
}

TEST_F(DriverOps, DialResults) {
    Load("channels 2\nspeed 20\n"
         "line 0\ndial 100 busy after 200\ndial 200 noanswer\ndial 300 connected\n"
         "line 1\nnodialtone\n");
    kvotest::LogCapture log;
    EXPECT_EQ(driver_->DialOut(0, "100", true, 0), 29);
    EXPECT_EQ(driver_->DialOut(0, "200", false, 0), 30);
    EXPECT_EQ(driver_->DialOut(0, "300", true, 0), 32);
    EXPECT_EQ(driver_->DialOut(1, "100", true, 0), 27) << "no dial tone: nothing dialled";
    EXPECT_EQ(card_->Operations(1).back(), "dialtone -> 27");
    EXPECT_EQ(driver_->DialNoProgress(0, "555", false), 0);
    EXPECT_EQ(card_->Operations(0).back(), "dial '555'");
    EXPECT_EQ(kvo::LineStatusCodeOf(0), kvo::LS_DIALLING);
    EXPECT_EQ(kvo::LineStatusTextOf(0), "555");
    EXPECT_TRUE(log.Has("voice call '100'"));
    EXPECT_TRUE(log.Has("voice event 'RC_BUSY 61'  "));
}

TEST_F(DriverOps, TransfersDialThePbxStrings) {
    ini_.Set("PBX", "XFER", "!9");
    ini_.Set("PBX", "CONNECT", ",,");
    Load("channels 1\nspeed 20\nline 0\ndial 200 0\ndial 300 busy\ndial 400 connected\n");
    auto dials = [&] {
        std::vector<std::string> out;
        for (const auto& op : card_->Operations(0))
            if (op.rfind("dial", 0) == 0 || op.rfind("call", 0) == 0) out.push_back(op);
        return out;
    };
    const struct { const char* number; bool supervised; long result; std::vector<std::string> dialled; } cases[] = {
        {"200", false, 0, {"dial '!9'", "dial '200'"}},
        {"200", true, 0, {"dial '!9'", "call '200' mode 0 -> 0", "dial ',,'"}},
        {"300", true, 29, {"dial '!9'", "call '300' mode 0 -> 29", "dial '!'"}},
        {"400", true, 32, {"dial '!9'", "call '400' mode 0 -> 32", "dial '!'"}},
    };
    size_t seen = 0;
    for (const auto& c : cases) {
        const long r = c.supervised ? driver_->TransferSupervised(0, c.number, false)
                                    : driver_->TransferBlind(0, c.number, false);
        EXPECT_EQ(r, c.result) << c.number;
        auto all = dials();
        std::vector<std::string> fresh(all.begin() + seen, all.end());
        seen = all.size();
        EXPECT_EQ(fresh, c.dialled) << c.number << (c.supervised ? " supervised" : " blind");
    }
}

TEST_F(DriverOps, EndTestCallTouchesTheLineOnlyWithoutStayOffHook) {
    ini_.Set("Test", "TestChannel", "2");
    Load("channels 2\n");
    EXPECT_EQ(driver_->GetTestChannel(), 1);
    EXPECT_EQ(driver_->EndTestCall(), 1);
    EXPECT_TRUE(card_->Operations(1).empty());
    ini_.Set("Test", "StayOffHook", "0");
    kvo::ReloadSettings();
    EXPECT_EQ(driver_->EndTestCall(), 1);
    EXPECT_EQ(card_->Operations(1), std::vector<std::string>{"initialise"});
}
