// Scenario files as test authors write them, and the mistakes the reader must
// point at instead of guessing.
#include <gtest/gtest.h>
#include "Scenario.h"

using voicecard::ParseError;
using voicecard::ParseScenario;

TEST(Scenario, ReadsLinesCallsAndDialRules) {
    ParseError err;
    auto sc = ParseScenario(R"(# two lines, fast
channels 2
speed 50
line 1
call ring 200
keys 500 12# 50      ; typed during the prompt
hangup 3000
call connected
dial 5551234 busy after 400
dial * connected
keys 100 9
nodialtone
fail seizeChannel 6
pause waitForRing 500
)", err);
    ASSERT_TRUE(sc) << err.line << ": " << err.message;
    EXPECT_EQ(sc->channels, 2);
    EXPECT_EQ(sc->speed, 50);
    const auto& line = sc->lines.at(1);
    ASSERT_EQ(line.calls.size(), 2u);
    EXPECT_EQ(line.calls[0].ringAfter, 200);
    ASSERT_EQ(line.calls[0].caller.keys.size(), 3u);
    EXPECT_EQ(line.calls[0].caller.keys[2].key, '#') << "'#' is a key, not a comment";
    EXPECT_EQ(line.calls[0].caller.keys[2].at, 600);
    EXPECT_EQ(line.calls[0].caller.hangupAt, 3000);
    EXPECT_TRUE(line.calls[1].connected);
    EXPECT_FALSE(line.dialTone);
    EXPECT_EQ(line.failures.at("seizeChannel"), std::vector<int>{6});
    EXPECT_EQ(line.pauses.at("waitForRing"), std::vector<int64_t>{500});

    auto* busy = voicecard::FindDialRule(line, "5551234");
    ASSERT_NE(busy, nullptr);
    EXPECT_EQ(busy->result, 29);
    EXPECT_EQ(busy->after, 400);
    auto* other = voicecard::FindDialRule(line, "777");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->result, 32);
    EXPECT_EQ(other->caller.keys.size(), 1u);
}

TEST(Scenario, KeysAreKeptInTimeOrder) {
    ParseError err;
    auto sc = ParseScenario("line 0\ncall\nkeys 900 5\nkeys 100 12 10\n", err);
    ASSERT_TRUE(sc);
    const auto& keys = sc->lines.at(0).calls[0].caller.keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(std::string() + keys[0].key + keys[1].key + keys[2].key, "125");
}

TEST(Scenario, RejectsWhatItCannotMean) {
    const struct { const char* text; int line; const char* note; } cases[] = {
        {"keys 10 1\n", 1, "statement outside a line"},
        {"line 0\nkeys 10 1\n", 2, "keys before any call"},
        {"line 0\ncall\nkeys 10 1x\n", 3, "not a key"},
        {"line 0\ncall\nhangup -5\n", 3, "negative time"},
        {"speed 0\n", 1, "speed below 1"},
        {"line 0\ndial 123 maybe\n", 2, "unknown result name"},
        {"line 0\ncall ring\n", 2, "ring without time"},
        {"line x\n", 1, "line without number"},
        {"line 0\npause waitForRing\n", 2, "pause without time"},
        {"ringtone 5\n", 1, "unknown statement"},
        {"channels 100000000\n", 1, "more lines than a card could have"},
        {"channels 5000000000\n", 1, "a count beyond 32 bits"},
        {"speed 4294967296\n", 1, "a speed that would wrap to 0"},
    };
    for (const auto& c : cases) {
        ParseError err;
        EXPECT_FALSE(ParseScenario(c.text, err)) << c.note;
        EXPECT_EQ(err.line, c.line) << c.note;
        EXPECT_FALSE(err.message.empty()) << c.note;
    }
}
