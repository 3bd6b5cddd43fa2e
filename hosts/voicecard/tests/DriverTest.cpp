// The simulated card on its own: loaded by name, entered through its
// decorated exports, lines driven by a scenario on real threads. (That it
// exports exactly what the runtime resolves is checked by the runtime's tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "fw/Handle.h"
#include "fw/testing/Files.h"
#include "fw/testing/Wait.h"

namespace {

// The driver, loaded with a scenario of the test's own.
class Card {
public:
    explicit Card(const std::string& scenario)
        : scenario_(dir_.Write("card.scn", scenario)), journal_(dir_.File("card.log")) {
        SetEnvironmentVariableA("KVORHT32_SCENARIO", scenario_.c_str());
        SetEnvironmentVariableA("KVORHT32_JOURNAL", journal_.c_str());
        module_.Reset(LoadLibraryA("kvorht32.dll"));
        if (module_) channels_ = Get<LONG(WINAPI*)()>("_connectVoiceSystem@0")();
    }
    LONG Channels() const { return channels_; }
    template <class Fn>
    Fn Get(const char* name) const { return fw::ProcAddress<Fn>(module_.Get(), name); }
    std::string Journal() const { return fw::testing::ReadText(journal_); }
    bool Journalled(const std::string& text) const { return Journal().find(text) != std::string::npos; }
    // A file of the card's own folder, for voice data.
    std::string File(const std::string& name) const { return dir_.File(name); }

private:
    fw::testing::TempDir dir_{"voicecard"};
    std::string scenario_, journal_;
    fw::Module module_;
    LONG channels_ = 0;
};

using Fn1 = LONG(WINAPI*)(LONG);
using Fn2 = LONG(WINAPI*)(LONG, LONG);
using GetStringFn = LONG(WINAPI*)(LONG, const LONG*, char*);
using PlayFn = LONG(WINAPI*)(LONG, HANDLE, LONG, const LONG*);
using DelayFn = LONG(WINAPI*)(LONG, LONG, LONG, LONG);

}  // namespace

TEST(VoiceCardDriver, ChannelCountComesFromTheScenario) {
    Card card("channels 3\n");
    EXPECT_EQ(card.Channels(), 3);
    EXPECT_EQ(card.Get<Fn1>("_seizeChannel@4")(3), 3) << "no such line";
}

TEST(VoiceCardDriver, BadScenarioConnectsNoChannels) {
    Card card("channels 2\nline 0\nkeys 1 1\n");
    EXPECT_EQ(card.Channels(), 0);
    EXPECT_NE(card.Journal().find(":3: keys outside"), std::string::npos) << card.Journal();
}

TEST(VoiceCardDriver, KeysTypedDuringPlayEndItAndStayQueued) {
    Card card("channels 1\nspeed 10\nline 0\ncall\nkeys 300 5#\nhangup 20000\n");
    ASSERT_EQ(card.Channels(), 1);
    ASSERT_EQ(card.Get<Fn2>("_waitForRing@8")(0, 1), 0);
    ASSERT_EQ(card.Get<Fn1>("_offHook@4")(0), 0);

    // Two seconds of u-law from a real file; '#' ends it at about 0.4 s.
    const std::string clip = card.File("clip.raw");
    fw::testing::WriteText(clip, std::string(16000, '\x7f'));
    fw::FileHandle h(CreateFileA(clip.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(h);
    const LONG play[6] = {4096, 0, 0, 0, 0, 0};
    EXPECT_EQ(card.Get<PlayFn>("_playList@16")(0, h.Get(), 16000, play), 9);
    h.Reset();

    LONG request[5] = {3, 0, 4096, 0, 1};
    char digits[257];
    EXPECT_EQ(card.Get<GetStringFn>("_getDTMFString@12")(0, request, digits), 9);
    EXPECT_STREQ(digits, "5#") << "typed-ahead keys are kept";
    EXPECT_NE(card.Journal().find("ch0 play 16000 bytes format 0 mask 4096 -> 9"), std::string::npos)
        << card.Journal();
}

TEST(VoiceCardDriver, SilenceAndMaximumKeysEndCollection) {
    Card card("channels 1\nspeed 20\nline 0\ncall connected\nkeys 100 123456\n");
    ASSERT_EQ(card.Get<Fn2>("_waitForRing@8")(0, 1), 32);
    char digits[257];
    const LONG maxFour[5] = {5, 4, 0, 0, 1};
    EXPECT_EQ(card.Get<GetStringFn>("_getDTMFString@12")(0, maxFour, digits), 10);
    EXPECT_STREQ(digits, "1234");
    const LONG unlimited[5] = {1, 0, 0, 0, 1};
    EXPECT_EQ(card.Get<GetStringFn>("_getDTMFString@12")(0, unlimited, digits), 12);
    EXPECT_STREQ(digits, "56") << "the silence time-out returns what was typed";
}

TEST(VoiceCardDriver, HangupEndsBlockingCallsAndDelayRunsOut) {
    // The caller hangs up two real seconds in: the short delay runs out long
    // before that however slowly this thread is scheduled, the long one cannot.
    Card card("channels 1\nspeed 10\nline 0\ncall connected\nhangup 20000\n");
    ASSERT_EQ(card.Get<Fn2>("_waitForRing@8")(0, 1), 32);
    EXPECT_EQ(card.Get<DelayFn>("_delayChannel@16")(0, 1, 0, 0), 12);
    EXPECT_EQ(card.Get<DelayFn>("_delayChannel@16")(0, 60, 0, 0), 16);
    EXPECT_EQ(card.Get<Fn1>("_getLoopCurrentStatus@4")(0), 0);
}

TEST(VoiceCardDriver, StopFromAnotherThreadEndsTheWait) {
    Card card("channels 2\n");
    auto wait = card.Get<Fn2>("_waitForRing@8");
    std::atomic<LONG> result{-1};
    const auto start = std::chrono::steady_clock::now();
    std::thread line([&] { result = wait(1, 1); });
    // A stop reaches only a call already waiting, so repeat it until it ended.
    while (result == -1) {
        Sleep(50);
        EXPECT_EQ(card.Get<Fn1>("_stopChannel@4")(1), 0);
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
    line.join();
    EXPECT_EQ(result, 18);
    // A stop with nothing running must not spoil the next operation.
    card.Get<Fn1>("_stopChannel@4")(0);
    EXPECT_EQ(card.Get<DelayFn>("_delayChannel@16")(0, 0, 0, 0), 12);
}

TEST(VoiceCardDriver, DialRulesAndInjectedFailures) {
    Card card("channels 1\nline 0\ndial 200 busy\ndial 300 noanswer after 50\nnodialtone\nfail seizeChannel 6\n");
    auto call = card.Get<LONG(WINAPI*)(LONG, const char*, LONG)>("_callString@12");
    EXPECT_EQ(card.Get<Fn1>("_waitForDialTone@4")(0), 27);
    EXPECT_EQ(call(0, "200", 0), 29);
    EXPECT_EQ(call(0, "300", 0), 30);
    EXPECT_EQ(call(0, "400", 0), 32) << "unscripted numbers answer";
    EXPECT_EQ(card.Get<Fn1>("_seizeChannel@4")(0), 6);
    EXPECT_EQ(card.Get<Fn1>("_seizeChannel@4")(0), 0) << "each injected failure is used once";
}

namespace {

// A file of voice data opened as the runtime opens it.
fw::FileHandle OpenData(const std::string& path) {
    return fw::FileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

TEST(VoiceCardDriver, EveryBlockingCallSaysWhenItBeginsAndAStopAfterThatEndsIt) {
    // Nothing on the line ends these calls by itself: only the stop sent once
    // the begin line is seen does, so a stop that beat the wait would hang.
    Card card("channels 1\nline 0\ncall connected\ndial * busy after 6000000\n");
    ASSERT_EQ(card.Get<Fn2>("_waitForRing@8")(0, 1), 32);
    const std::string clip = card.File("long.raw");
    fw::testing::WriteText(clip, std::string(8000 * 60, '\x7f'));
    fw::FileHandle data = OpenData(clip);
    ASSERT_TRUE(data);
    fw::FileHandle recording(CreateFileA(card.File("rec.raw").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(recording);
    const LONG play[6] = {0, 0, 0, 0, 0, 0};
    const LONG record[6] = {static_cast<LONG>(reinterpret_cast<INT_PTR>(recording.Get())), 0, 0, 0, 0, 0};
    const LONG digits[5] = {0x7fff, 4, 0, 0, 1};
    char buffer[257];
    const struct {
        const char* begin;
        const char* end;
        std::function<LONG()> run;
    } cases[] = {
        {"ch0 begin delay 600000 mask 0 flag 1", "ch0 delay 600000 mask 0 flag 1 -> 18",
         [&] { return card.Get<DelayFn>("_delayChannel@16")(0, 600000, 0, 1); }},
        {"ch0 begin getdigits max 4 mask 0 silence 32767", "ch0 getdigits max 4 mask 0 silence 32767 -> 18 ''",
         [&] { return card.Get<GetStringFn>("_getDTMFString@12")(0, digits, buffer); }},
        {"ch0 begin play 480000 bytes format 0 mask 0 from '", "ch0 play 480000 bytes format 0 mask 0 -> 18 from '",
         [&] { return card.Get<PlayFn>("_playList@16")(0, data.Get(), 480000, play); }},
        {"ch0 begin record max 0 format 0 mask 0", "ch0 record ",
         [&] { return card.Get<LONG(WINAPI*)(LONG, const LONG*)>("_recordSound@8")(0, record); }},
        {"ch0 begin call '555' mode 0", "ch0 call '555' mode 0 -> 18",
         [&] { return card.Get<LONG(WINAPI*)(LONG, const char*, LONG)>("_callString@12")(0, "555", 0); }},
        {"ch0 begin waitforring 1", "ch0 waitforring 1 -> 18", [&] { return card.Get<Fn2>("_waitForRing@8")(0, 1); }},
    };
    for (const auto& c : cases) {
        // Only lines written from now on count: the line waited for a ring before.
        const size_t seen = card.Journal().size();
        auto journalled = [&](const std::string& text) { return card.Journal().find(text, seen) != std::string::npos; };
        std::atomic<LONG> result{-1};
        std::thread line([&] { result = c.run(); });
        const bool began = fw::testing::WaitUntil([&] { return journalled(c.begin); }, 20000);
        EXPECT_TRUE(began) << card.Journal();
        EXPECT_EQ(result, -1) << c.begin << ": ended before the stop";
        // Once begun, one stop must do; if it is lost the join below hangs and the run times out.
        card.Get<Fn1>("_stopChannel@4")(0);
        while (!began && result == -1) {   // no begin line: end the call anyway rather than hang
            card.Get<Fn1>("_stopChannel@4")(0);
            Sleep(10);
        }
        line.join();
        EXPECT_EQ(result, 18) << c.begin;
        EXPECT_TRUE(journalled(c.end)) << card.Journal();
    }
}

TEST(VoiceCardDriver, PlayLinesNameTheFileAndTheBytesPlayed) {
    Card card("channels 1\nspeed 1000\nline 0\ncall connected\n");
    ASSERT_EQ(card.Get<Fn2>("_waitForRing@8")(0, 1), 32);
    const std::string clip = card.File("prompts.vap");
    fw::testing::WriteText(clip, std::string(3000, '\x7f'));
    fw::FileHandle data = OpenData(clip);
    ASSERT_TRUE(data);
    auto playList = card.Get<PlayFn>("_playList@16");
    const LONG play[6] = {4096, 0, 0, 0, 0, 0};
    // Clips are played where the file pointer stands, one after the other.
    SetFilePointer(data.Get(), 1024, nullptr, FILE_BEGIN);
    EXPECT_EQ(playList(0, data.Get(), 1000, play), 0);
    EXPECT_EQ(playList(0, data.Get(), 5000, play), 0) << "the end of the file ends the clip";
    EXPECT_EQ(playList(0, data.Get(), 100, play), 0);
    const std::string from = "from '" + clip + "' bytes ";
    for (const std::string& line : {"ch0 begin play 1000 bytes format 0 mask 4096 " + from + "1024-2023",
                                    "ch0 play 1000 bytes format 0 mask 4096 -> 0 " + from + "1024-2023",
                                    "ch0 play 976 bytes format 0 mask 4096 -> 0 " + from + "2024-2999",
                                    "ch0 play 0 bytes format 0 mask 4096 -> 0 " + from + "none"})
        EXPECT_TRUE(card.Journalled(line + "\r\n")) << line << "\n" << card.Journal();
}
