// Value access: ready flags at design time, kind 42 while running, the
// user's answer kept for the next read.
#include <gtest/gtest.h>

#include <map>

#include "Values.h"

namespace kvo_test {
namespace {

// One per-channel value "Value", as the User control keeps it.
class OneValue : public kvo::ValueSource {
public:
    std::string ValueOwnerName() const override { return "User1"; }
    std::optional<std::string> GetValueName(int, int index) const override {
        return index == 0 ? std::optional<std::string>("Value") : std::nullopt;
    }
    std::optional<std::string> GetValueText(int channel, int index) const override {
        if (index != 0) return std::nullopt;
        auto it = values_.find(channel);
        return it == values_.end() ? std::string() : it->second;
    }
    void SetValueText(int channel, const std::string& text, int index) override {
        if (index != 0) return;
        values_[channel] = text;
        Flags().Set(index);
    }
    std::map<int, std::string> values_;
};

struct Recorder {
    std::vector<std::string> prompts;
    std::vector<std::string> notSet;
    std::optional<std::string> answer;
    kvo::ValueContext Context(bool running) {
        kvo::ValueContext c;
        c.systemRunning = running;
        c.logNotSet = [this](int, const std::string& control) { notSet.push_back(control); };
        c.ask = [this](const std::string& prompt) {
            prompts.push_back(prompt);
            return answer;
        };
        return c;
    }
};

TEST(Values, DesignTimeAsksOnceAndKeepsTheAnswer) {
    OneValue user;
    Recorder r;
    r.answer = "42";
    EXPECT_EQ(kvo::AccessValue(user, 1, 0, r.Context(false)), "42");
    ASSERT_EQ(r.prompts.size(), 1u);
    EXPECT_EQ(r.prompts[0], "control User1 property Value does not have a valid value. Please enter a value");
    EXPECT_EQ(kvo::AccessValue(user, 1, 0, r.Context(false)), "42");
    EXPECT_EQ(r.prompts.size(), 1u) << "an entered value is not asked for again";
}

TEST(Values, CancelFailsAndNoOneToAskCountsAsCancel) {
    OneValue user;
    Recorder r;
    EXPECT_EQ(kvo::AccessValue(user, 1, 0, r.Context(false)), std::nullopt);
    kvo::ValueContext noFrame;
    EXPECT_EQ(kvo::AccessValue(user, 1, 0, noFrame), std::nullopt);
}

TEST(Values, RunningReadsWithoutFlagsAndLogsWhatIsMissing) {
    OneValue user;
    Recorder r;
    EXPECT_EQ(kvo::AccessValue(user, 2, 0, r.Context(true)), "");
    EXPECT_TRUE(r.notSet.empty()) << "an empty text is a value";
    EXPECT_EQ(kvo::AccessValue(user, 2, 3, r.Context(true)), "");
    EXPECT_EQ(r.notSet, std::vector<std::string>{"User1"});
    EXPECT_TRUE(r.prompts.empty());
}

TEST(Values, AfterTheControlRanItsValuesAreReadWithoutAsking) {
    OneValue user;
    user.values_[1] = "7";
    user.SetValueFlags(true);
    Recorder r;
    EXPECT_EQ(kvo::AccessValue(user, 1, 0, r.Context(false)), "7");
    auto greetingsPage = r.Context(false);
    greetingsPage.greetingsPageOpen = true;
    r.answer = "8";
    EXPECT_EQ(kvo::AccessValue(user, 1, 0, greetingsPage), "8") << "a greetings page hides values";
    EXPECT_EQ(kvo::FindValue(user, 1, "Value"), 0);
    EXPECT_EQ(kvo::FindValue(user, 1, "value"), std::nullopt);
}

}  // namespace
}  // namespace kvo_test
