// Matching collected keys against digit patterns, and conditions whose
// pattern holds references.
#include <gtest/gtest.h>

#include "DigitPattern.h"
#include "FakeValueContext.h"

namespace {

using kvo::ConditionMatch;

TEST(DigitPattern, MatchTable) {
    const struct { const char* pattern; const char* digits; bool match; const char* note; } cases[] = {
        {"1", "1", true, ""},
        {"1", "2", false, ""},
        {"12", "1", false, "length must be equal"},
        {"1", "12", false, "length must be equal"},
        {"?", "#", true, "? is any key"},
        {"n", "7", true, ""},
        {"n", "*", false, "n is a digit only"},
        {"1n3", "153", true, ""},
        {"*9#", "*9#", true, "keys match themselves"},
        {"1$", "1234", true, "$ takes the rest"},
        {"1$", "1", true, "$ takes nothing"},
        {"1$", "21", false, ""},
        {"$", "9", true, ""},
        {"$5", "5", true, ""},
        {"1$2", "123", true, "keys after the tail's first match may be skipped"},
        {"1$2", "12", true, ""},
        {"1$2", "1", false, "shorter than the pattern without $"},
        {"1$23", "1239", true, "skipping ends with the first match from the right"},
        {"1$23", "1293", false, "once matched, every further character must match"},
        {"12$2", "123", false, "keys matched from the left are not matched again"},
        {"1$$2", "152", true, "a second $ adds nothing"},
        {"n$#", "5#", true, ""},
        {"100-199", "150", true, ""},
        {"100-199", "100", true, "bounds included"},
        {"100-199", "199", true, "bounds included"},
        {"100-199", "15", false, "length of the bounds"},
        {"100-199", "200", false, ""},
        {"100-199", "099", false, ""},
        {"100-199", "150#", false, "terminator not yet removed"},
        {"100-199", "1*0", false, "a key that is no digit"},
        {"100-199", "15#", false, "a key that is no digit, though it sorts inside"},
        {"100-199", "12*", false, ""},
        {"10-199", "150", false, "bounds of unequal length match nothing"},
        {"1", "", false, "an empty entry matches nothing"},
        {"$", "", false, "an empty entry matches nothing"},
        {"", "", false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvo::MatchPattern(c.digits, c.pattern), c.match)
            << "pattern " << c.pattern << " keys " << c.digits << " " << c.note;
}

TEST(DigitPattern, ReferencesAreResolvedBeforeMatching) {
    kvotest::FakeValueContext form;
    form.AddFrame("Frame1", {"CurrentDirectory", "Ext"}).Put(0, 1, "201");
    const kvo::ReferenceResolver resolve = [&form](std::string_view p) {
        return kvo::Substitute(form, nullptr, p, 0);
    };
    EXPECT_EQ(kvo::MatchCondition("201", "%Frame1.Ext%", resolve), ConditionMatch::Match);
    EXPECT_EQ(kvo::MatchCondition("2015", "%Frame1.Ext%$", resolve), ConditionMatch::Match);
    EXPECT_EQ(kvo::MatchCondition("202", "%Frame1.Ext%", resolve), ConditionMatch::NoMatch);
    EXPECT_EQ(kvo::MatchCondition("201", "%Frame2.Ext%", resolve), ConditionMatch::SubstitutionFailed);
    EXPECT_EQ(kvo::MatchCondition("201", "%Frame1.Ext", resolve), ConditionMatch::SubstitutionFailed);
    EXPECT_EQ(form.logs.size(), 2u) << "each failure logged once";
}

TEST(DigitPattern, PlainPatternNeedsNoResolver) {
    EXPECT_EQ(kvo::MatchCondition("5", "5", nullptr), ConditionMatch::Match);
    EXPECT_EQ(kvo::MatchCondition("5", "%A%", nullptr), ConditionMatch::SubstitutionFailed);
}

}  // namespace
