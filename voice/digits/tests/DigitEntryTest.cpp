// One attempt of GetDigits: the key that ended collection is dropped, the
// conditions are tried in order, the host decides its conditions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DigitEntry.h"
#include "DigitMask.h"

namespace {

using kvo::DigitSettings;

class NoReport : public kvo::CheckReport {
public:
    void Add(kvo::Severity severity, std::string text, int) override {
        if (severity == kvo::Severity::Error) ADD_FAILURE() << "check error: " << text;
    }
};

class PlainForm : public kvo::DigitCheckContext {
public:
    bool ControlExists(std::string_view) override { return true; }
    bool NodeLeadsBackHere(int) override { return false; }
};

// The rules as the check derives them for these settings.
kvo::DigitRules Rules(const DigitSettings& s) {
    PlainForm form;
    NoReport report;
    return kvo::CheckDigitSettings(s, form, report);
}

DigitSettings Menu(std::vector<kvo::DigitCondition> conditions, long termDtmf = 0) {
    DigitSettings s;
    s.conditions = std::move(conditions);
    s.termDtmf = termDtmf;
    return s;
}

const kvo::ReferenceResolver kNoReferences = [](std::string_view p) -> std::optional<std::string> {
    ADD_FAILURE() << "unexpected resolve of " << p;
    return std::nullopt;
};

struct Attempt {
    const char* keys;
    int node;
    const char* kept;  // the keys left for the line's Digits value
    const char* note;
};

void Expect(const DigitSettings& s, const std::vector<Attempt>& attempts, const kvo::HostDecision& decide = nullptr) {
    const kvo::DigitRules rules = Rules(s);
    for (const Attempt& a : attempts) {
        std::string digits = a.keys;
        const kvo::ExitChoice got = kvo::ChooseExit(digits, s, rules, kNoReferences, decide);
        EXPECT_FALSE(got.substitutionFailed) << a.keys;
        EXPECT_EQ(got.node, a.node) << "keys " << a.keys << " " << a.note;
        EXPECT_EQ(digits, a.kept) << "keys " << a.keys << " " << a.note;
    }
}

// The range rule makes "*" and "#" end collection, so the caller ends 150
// with "#"; that key must not spoil the match.
TEST(DigitEntry, RangeTerminatorIsDropped) {
    Expect(Menu({{"Range", "100-199", false}}),
           {
               {"150#", 0, "150", "# ended collection"},
               {"150*", 0, "150", "* ended collection"},
               {"150", 0, "150", "silence ended collection"},
               {"15#", kvo::kExitInvalid, "15", ""},
               {"200#", kvo::kExitInvalid, "200", ""},
               {"#", kvo::kExitInvalid, "", "only the terminator"},
           });
}

TEST(DigitEntry, PatternsOwnLastKeyIsKept) {
    Expect(Menu({{"Range", "100-199", false}, {"Hash", "12#", false}}),
           {
               {"12#", 1, "12#", "# is the pattern's last key, not only a terminator"},
               {"150*", 0, "150", "* still only a terminator"},
           });
}

TEST(DigitEntry, TermDtmfKeyIsDropped) {
    Expect(Menu({{"A", "123", false}}, kvo::kvoDigit_N),
           {
               {"123#", 0, "123", "matched as 123"},
               {"123", 0, "123", ""},
               {"12#", kvo::kExitInvalid, "12", ""},
           });
    Expect(Menu({{"A", "125", false}}, kvo::kNoTerminationKey),
           {{"125", 0, "125", "110 names no termination key, though it holds the bit of 5"}});
}

TEST(DigitEntry, FirstMatchingConditionInOrder) {
    Expect(Menu({{"One", "1", false}, {"Two", "2", false}, {"Any", "$", false}, {"Three", "3", false}}),
           {
               {"1", 0, "1", ""},
               {"2", 1, "2", ""},
               {"3", 2, "3", "the earlier wildcard wins"},
               {"", kvo::kExitNoDigits, "", "no keys"},
           });
    DigitSettings own = Menu({{"One", "1", false}});
    own.useDefaultError = false;
    Expect(own, {{"1", 2, "1", "conditions follow the two error exits"}, {"9", kvo::kExitInvalid, "9", ""}});
}

TEST(DigitEntry, HostDecidesItsConditions) {
    std::vector<int> asked;
    const kvo::HostDecision host = [&asked](int node) -> std::optional<int> {
        asked.push_back(node);
        if (node == 1) return std::nullopt;  // refuses
        return 7;                            // accepts and leaves another node
    };
    Expect(Menu({{"One", "1", false}, {"VB1", "", true}, {"Two", "2", false}, {"VB2", "", true}}),
           {{"1", 0, "1", "matched before any host condition"},
            {"2", 2, "2", "host refused node 1"},
            {"9", 7, "9", "host accepted node 3 and left node 7"}},
           host);
    EXPECT_EQ(asked, (std::vector<int>{1, 1, 3}));
}

TEST(DigitEntry, FailedReferenceIsAControlError) {
    const DigitSettings s = Menu({{"One", "1", false}, {"Ext", "%Frame1.Ext%", false}, {"Two", "2", false}});
    const kvo::DigitRules rules = Rules(s);
    int resolved = 0;
    const kvo::ReferenceResolver failing = [&resolved](std::string_view) -> std::optional<std::string> {
        ++resolved;
        return std::nullopt;
    };
    std::string digits = "2";
    const kvo::ExitChoice got = kvo::ChooseExit(digits, s, rules, failing, nullptr);
    EXPECT_TRUE(got.substitutionFailed);
    EXPECT_EQ(resolved, 1);
    digits = "1";
    EXPECT_EQ(kvo::ChooseExit(digits, s, rules, failing, nullptr).node, 0) << "earlier match needs no reference";
}

}  // namespace
