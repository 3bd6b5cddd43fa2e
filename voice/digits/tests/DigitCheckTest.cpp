// The design-time check of GetDigits: derived termination mask and maximum,
// and every text it reports, in order.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "DigitCheck.h"
#include "DigitMask.h"

namespace {

using kvo::DigitCondition;
using kvo::DigitSettings;
using Lines = std::vector<std::string>;

class RecordingReport : public kvo::CheckReport {
public:
    void Add(kvo::Severity severity, std::string text, int helpTopic) override {
        lines.push_back(std::string(kvo::SeverityWord(severity)) + std::string(text) + " [" +
                        std::to_string(helpTopic) + "]");
    }
    Lines lines;
};

class FormAround : public kvo::DigitCheckContext {
public:
    bool ControlExists(std::string_view name) override { return controls.count(std::string(name)) != 0; }
    bool NodeLeadsBackHere(int node) override {
        if (useDefaultError) ADD_FAILURE() << "error exits looked at while the handlers take errors";
        return loops.count(node) != 0;
    }
    std::set<std::string> controls{"Frame1", "Menu"};
    std::set<int> loops;
    bool useDefaultError = true;
};

// Conditions named N0, N1, ... with the given patterns.
DigitSettings Settings(std::vector<const char*> patterns, long maxKeys = 0, long maxSil = 3, long termDtmf = 0) {
    DigitSettings s;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        s.conditions.push_back({"N" + std::to_string(i), patterns[i], false});
    s.maxKeys = maxKeys;
    s.maxSil = maxSil;
    s.termDtmf = termDtmf;
    return s;
}

struct Checked {
    kvo::DigitRules rules;
    Lines report;
};
Checked Check(const DigitSettings& s, FormAround form = {}) {
    form.useDefaultError = s.useDefaultError;
    RecordingReport report;
    const kvo::DigitRules rules = kvo::CheckDigitSettings(s, form, report);
    return {rules, report.lines};
}

constexpr long K1 = kvo::kvoDigit_1, K2 = kvo::kvoDigit_2, K3 = kvo::kvoDigit_3, K5 = kvo::kvoDigit_5;
constexpr long Star = kvo::kvoDigit_S, Hash = kvo::kvoDigit_N;

TEST(DigitCheck, DerivedMaskAndMaximum) {
    const struct {
        DigitSettings settings;
        long mask;
        long maxKeys;
        long rangeTerm;
        const char* note;
    } cases[] = {
        {Settings({"1", "2", "3"}), K1 | K2 | K3, 1, 0, "a single key ends collection at once"},
        {Settings({"12", "13"}), K2 | K3, 2, 0, "the first key of 12 must not end collection"},
        {Settings({"1$"}, 4), 0, 4, 0, "wildcard: no mask, the maximum set"},
        {Settings({"100-199"}), Star | Hash, 0, Star | Hash, "a range ends on * or #"},
        {Settings({"100-199"}, 3), Star | Hash, 3, Star | Hash, "maximum raised to IMaxKeys"},
        {Settings({"1", "2", "3"}, 0, 3, Hash), K1 | K2 | K3 | Hash, 1, 0, "ITermDtmf added"},
        {Settings({"1", "2", "3"}, 0, 3, kvo::kNoTerminationKey), K1 | K2 | K3, 1, 0, "110 adds no key"},
        {Settings({"?1", "2"}), 0, 2, 0, "? before the last key excludes every key"},
        {Settings({"n1", "5"}), 0, 2, 0, "n before the last key excludes the digits"},
        {Settings({"12", "1$"}, 4), 0, 4, 0, "a later wildcard clears the mask"},
        {Settings({"1?", "2n"}), 0, 2, 0, "? and n at the end add nothing"},
        {Settings({"100-199", "12#"}), Star | Hash, 3, Star, "# is also a pattern's own last key"},
        {Settings({"100-199", "#12"}), Star | K2, 3, Star, "an excluded key ends nothing"},
        {Settings({"%Frame1.Ext%"}, 0, 3, Hash), Hash, 0, 0, "a reference is a wildcard"},
        {Settings({"1A", "2"}), K2, 2, 0, "A is no key of the mask"},
    };
    for (const auto& c : cases) {
        const Checked got = Check(c.settings);
        EXPECT_EQ(kvo::MaskKeys(got.rules.mask), kvo::MaskKeys(c.mask)) << c.note;
        EXPECT_EQ(got.rules.maxKeys, c.maxKeys) << c.note;
        EXPECT_EQ(kvo::MaskKeys(got.rules.rangeTermMask), kvo::MaskKeys(c.rangeTerm)) << c.note;
    }
}

TEST(DigitCheck, HostDecidedConditionIsAWildcard) {
    DigitSettings s = Settings({"1", "2"}, 3);
    s.conditions.push_back({"Host", "", true});
    const Checked got = Check(s);
    EXPECT_EQ(got.rules.mask, 0);
    EXPECT_EQ(got.rules.maxKeys, 3);
}

// Every text but the information line, with its severity and help topic.
TEST(DigitCheck, ReportedProblems) {
    const struct { DigitSettings settings; Lines want; const char* note; } cases[] = {
        {Settings({"1", "2"}), {}, "nothing wrong"},
        {Settings({"12345"}, 3), {"error max keys too small for node N0 [1412]"}, "fixed pattern"},
        {Settings({"123$"}, 2), {"error max keys too small for node N0 [1412]"}, "wild pattern"},
        {Settings({"123$"}, 3), {}, "$ is not counted"},
        {Settings({"100-199"}, 2), {"error max keys too small for node N0 [1412]"}, "range"},
        {Settings({"1?0-199"}), {"error cannot use wild chars in range [0]"}, ""},
        {Settings({"100-1$"}), {"error cannot use wild chars in range [0]",
                                "error range min and max must have the same number of digits [0]"}, ""},
        {Settings({"10-2-"}), {"error cannot use wild chars in range [0]"}, "a second dash"},
        {Settings({"%Menu%-199"}), {"error cannot use control names in range [0]"}, ""},
        {Settings({"10-199"}), {"error range min and max must have the same number of digits [0]"}, ""},
        {Settings({"1$"}), {"warning digit collection will terminate on silence [1411]"}, ""},
        {Settings({"1$"}, 0, 0, kvo::kNoTerminationKey), {"error no valid termination specified [1410]"}, ""},
        {Settings({"1$"}, 0, 0, 0), {"error no valid termination specified [1410]"}, "no key ends it either"},
        {Settings({"1$"}, 0, 0, Hash), {}, "# ends it"},
        {Settings({"1$"}, 0, 3, kvo::kNoTerminationKey), {}, ""},
        {Settings({"%Nobody.X%"}), {"error unknown control name in digit mask %Nobody.X% [1399]"}, ""},
        {Settings({"%Frame1.Ext%1", "%this.Digits%", "%channel%"}), {}, "known names"},
        {Settings({"%Menu"}), {"error unknown control name in digit mask %Menu [1399]"}, "open percent sign"},
        {Settings({"12"}, 0, 0), {"warning no silence timeout but max digits > 1 [1427]"}, ""},
        {Settings({"1"}, 0, 0), {}, "one key needs no silence timeout"},
    };
    for (const auto& c : cases) {
        Lines got = Check(c.settings).report;
        ASSERT_FALSE(got.empty()) << c.note;
        EXPECT_EQ(got.back().rfind("info dtmf termination mask ", 0), 0u) << got.back();
        got.pop_back();
        EXPECT_EQ(got, c.want) << c.note << " [" << c.settings.conditions[0].data << "]";
    }
}

TEST(DigitCheck, HelpDigitHandlerWhileHelpIsDisabled) {
    const struct { bool disable; const char* handler; bool warned; } cases[] = {
        {true, "Help1", true}, {true, "[Default]", false}, {true, "", false}, {false, "Help1", false},
    };
    for (const auto& c : cases) {
        DigitSettings s = Settings({"1"});
        s.disableHelp = c.disable;
        s.helpdigitControl = c.handler;
        const Lines got = Check(s).report;
        const Lines want{"warning Help digit handler specified, but help digit is disabled [1490]"};
        EXPECT_EQ(got.size() == 2 && got[0] == want[0], c.warned) << c.handler << " " << c.disable;
    }
}

TEST(DigitCheck, OwnErrorExitsMustNotLoopBack) {
    DigitSettings s = Settings({"1"});
    s.useDefaultError = false;
    FormAround form;
    form.loops = {0, 1, 2};  // node 2 is a condition: looping back there is allowed
    const Lines got = Check(s, form).report;
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0], "error node No Digits connected to input on same control [1409]");
    EXPECT_EQ(got[1], "error node Invalid Digits connected to input on same control [1409]");
}

TEST(DigitCheck, ReportOrderAndInformationLine) {
    DigitSettings s = Settings({"12345", "10-199"}, 2, 0, Hash);
    s.useDefaultError = false;
    s.helpdigitControl = "Help1";
    FormAround form;
    form.loops = {1};
    const Lines want{
        "error node Invalid Digits connected to input on same control [1409]",
        "warning Help digit handler specified, but help digit is disabled [1490]",
        "error max keys too small for node N0 [1412]",
        "error range min and max must have the same number of digits [0]",
        "warning no silence timeout but max digits > 1 [1427]",
        "info dtmf termination mask 1820 max keys 5 sil time 0 [1118]",
    };
    EXPECT_EQ(Check(s, form).report, want);
}

}  // namespace
