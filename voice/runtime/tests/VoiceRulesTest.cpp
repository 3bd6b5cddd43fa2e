// What each driver result means for each operation, the pending-digit
// shortcut and the walk over a play list.
#include <gtest/gtest.h>

#include "VoiceRules.h"

using kvo::CheckResult;
using kvo::Verdict;
using kvo::VoiceOp;

TEST(VoiceRules, DigitMaskFollowsKeyIndexOrder) {
    const struct { char key; long bit; } cases[] = {
        {'0', 1024}, {'1', 2}, {'5', 32}, {'9', 512}, {'*', 2048}, {'#', 4096}, {'A', 0}, {'D', 0}, {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(kvo::DigitMaskOf(c.key), c.bit) << "key " << c.key;
}

TEST(VoiceRules, PendingDigitOutcome) {
    const struct { char pending; long maxKeys; long mask; long want; const char* note; } cases[] = {
        {0, 1, 4096, 0, "nothing pending"},
        {'5', 1, 0, 10, "one key wanted: any digit ends it"},
        {'#', 0, 4096, 9, "digit in the mask"},
        {'#', 4, 4096 | 2, 9, "mask wins over a larger maximum"},
        {'5', 4, 4096, 0, "digit not in the mask"},
        {'0', 0, 1024, 9, "the zero key"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvo::PendingDigitOutcome(c.pending, c.maxKeys, c.mask), c.want) << c.note;
}

TEST(VoiceRules, StandardChecksPerOperation) {
    const auto R = Verdict::Return, H = Verdict::Hangup, E = Verdict::Error;
    const struct { VoiceOp op; long result; Verdict::Kind kind; long value; const char* note; } cases[] = {
        {VoiceOp::OffHook, 0, R, 0, "off hook"},
        {VoiceOp::OffHook, 16, H, 16, "caller already gone"},
        {VoiceOp::OnHook, 3, E, 3, "driver failure"},
        {VoiceOp::Delay, 12, R, 0, "delay ran out reads as 0"},
        {VoiceOp::Delay, 18, R, 18, "delay stopped is returned"},
        {VoiceOp::Delay, 9, R, 9, "delay ended by a key"},
        {VoiceOp::Delay, 16, H, 16, ""},
        {VoiceOp::Play, 10, R, 10, ""},
        {VoiceOp::Play, 16, H, 16, "hang-up during play ends the call"},
        {VoiceOp::Play, 18, E, 18, "stopped play is an error"},
        {VoiceOp::Record, 16, R, 16, "hang-up during record keeps the recording"},
        {VoiceOp::Record, 14, R, 14, ""},
        {VoiceOp::Record, 9, E, 9, "record is not ended by 9"},
        {VoiceOp::GetDigits, 12, R, 12, ""},
        {VoiceOp::GetDigits, 18, E, 18, ""},
        {VoiceOp::WaitForDialTone, 27, R, 27, "no dial tone is a result"},
        {VoiceOp::WaitForDialTone, 18, E, 18, ""},
        {VoiceOp::CallString, 29, R, 29, "busy"},
        {VoiceOp::CallString, 16, H, 16, ""},
        {VoiceOp::DialString, 5, R, 5, "anything but 16 and 18"},
        {VoiceOp::WaitForRing, 18, R, 18, "everything returned"},
        {VoiceOp::GetDigit, 16, R, 16, "everything returned"},
    };
    for (const auto& c : cases) {
        const Verdict v = CheckResult(c.op, c.result, false);
        EXPECT_EQ(v.kind, c.kind) << "op " << static_cast<int>(c.op) << " result " << c.result << " " << c.note;
        EXPECT_EQ(v.value, c.value) << "op " << static_cast<int>(c.op) << " result " << c.result << " " << c.note;
    }
    for (VoiceOp op : {VoiceOp::WaitForRing, VoiceOp::Play, VoiceOp::Record})
        EXPECT_EQ(CheckResult(op, 0, true).kind, Verdict::Shutdown) << "shutdown comes first";
}

TEST(VoiceRules, PlayListWalk) {
    using kvo::PlaySegment;
    auto data = [](long length) { PlaySegment s; s.length = length; return s; };
    PlaySegment text;
    text.kind = PlaySegment::Text;
    text.text = "hello";

    const struct {
        std::vector<PlaySegment> list;
        std::vector<long> results;   // what the driver gives per data segment, in order
        long want;
        size_t played;
        bool spoke;
        const char* note;
    } cases[] = {
        {{}, {}, 0, 0, false, "empty list"},
        {{data(1), data(2), data(3)}, {0, 0, 0}, 0, 3, false, "all played"},
        {{data(1), data(2)}, {0, 9}, 9, 2, false, "last result is the result"},
        {{data(1), data(2), data(3)}, {16, 0, 0}, 16, 1, false, "hang-up in the first segment ends the list"},
        {{data(1), text, data(3)}, {0}, 1, 1, true, "text segment stops with 1"},
    };
    for (const auto& c : cases) {
        size_t played = 0;
        bool spoke = false;
        const long r = kvo::RunPlayList(
            c.list, [&](const PlaySegment&) { return c.results.at(played++); },
            [&](const PlaySegment& s) { spoke = s.text == "hello"; });
        EXPECT_EQ(r, c.want) << c.note;
        EXPECT_EQ(played, c.played) << c.note;
        EXPECT_EQ(spoke, c.spoke) << c.note;
    }
}
