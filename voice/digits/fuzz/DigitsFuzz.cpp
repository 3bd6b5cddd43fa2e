// libFuzzer target over the digit rules and the reference substitution.
// Input: one byte of flags, then lines: the keys typed, then one condition
// pattern per line. A control "A" (values "V" and "W") and a Frame "F"
// exist; their texts are the keys line, so references feed patterns back in.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DigitEntry.h"
#include "DigitMask.h"
#include "DigitPattern.h"
#include "References.h"
#include "Substitute.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

class Owner : public kvo::ValueOwner {
public:
    Owner(std::string name, std::string text, bool ready) : name_(std::move(name)), text_(std::move(text)) {
        ready_.fill(ready);
    }
    std::string Name() const override { return name_; }
    std::optional<std::string> GetValueName(int, int index) const override {
        if (index == 0) return std::string("V");
        if (index == 1) return std::string("W");
        return std::nullopt;
    }
    std::optional<std::string> GetValueText(int, int index) const override {
        if (index > 1 || !ready_[index]) return std::nullopt;
        return text_;
    }
    void SetValueText(int, std::string_view text, int index) override {
        if (index > 1) return;
        text_ = text;
        ready_[index] = true;
    }
    bool ValueReady(int index) const override { return ready_[index]; }

private:
    std::string name_, text_;
    std::array<bool, kvo::kValueFlagCount> ready_{};
};

class Form : public kvo::ValueContext {
public:
    Form(std::string_view text, unsigned flags)
        : control_("A", std::string(text), flags & 1), frame_("F", std::string(text), flags & 2),
          running_(flags & 4), page_(flags & 8), answer_(flags & 16) {}
    kvo::ValueOwner* FindCallFlowControl(std::string_view name, bool&) override {
        return name == "A" ? &control_ : nullptr;
    }
    kvo::ValueOwner* FindFrame(std::string_view name) override { return name == "F" ? &frame_ : nullptr; }
    bool SystemRunning() const override { return running_; }
    bool GreetingsPageOpen() const override { return page_; }
    std::optional<std::string> AskForValue(kvo::ValueOwner&, std::string_view prompt) override {
        Check(!running_ && !prompt.empty());
        if (!answer_) return std::nullopt;
        return std::string("42");
    }
    void Log(int channel, int, std::string_view) override { Check(channel == 0); }

private:
    Owner control_, frame_;
    bool running_, page_, answer_;
};

class Report : public kvo::CheckReport {
public:
    void Add(kvo::Severity, std::string text, int) override { Check(!text.empty()); }
};

class Around : public kvo::DigitCheckContext {
public:
    bool ControlExists(std::string_view name) override { return name == "A" || name == "F"; }
    bool NodeLeadsBackHere(int node) override {
        Check(node == 0 || node == 1);
        return node == 1;
    }
};

bool IsPlain(std::string_view pattern) { return pattern.find_first_of("?n$-%") == std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned flags = data[0];
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos <= input.size();) {
        std::size_t end = input.find('\n', pos);
        if (end == std::string_view::npos) end = input.size();
        lines.push_back(input.substr(pos, end - pos));
        pos = end + 1;
    }
    const std::string_view keys = lines[0];
    Form form(keys, flags);

    kvo::DigitSettings settings;
    settings.useDefaultError = flags & 32;
    settings.maxKeys = (flags >> 6) * 2;
    settings.maxSil = flags & 1 ? 0 : 3;
    settings.termDtmf = flags & 2 ? kvo::kvoDigit_N : (flags & 4 ? kvo::kNoTerminationKey : 0);
    settings.disableHelp = flags & 8;
    settings.helpdigitControl = flags & 16 ? "Help" : "";
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view p = lines[i];
        const bool matched = kvo::MatchPattern(keys, p);
        if (!keys.empty() && p == keys && IsPlain(p)) Check(matched);
        if (!keys.empty() && p == "$") Check(matched);
        if (keys.empty()) Check(!matched);

        const std::optional<std::string> text = kvo::Substitute(form, nullptr, p, 0);
        if (!kvo::HasReference(p)) Check(text && *text == p);
        settings.conditions.push_back({std::string(p.substr(0, 4)), std::string(p), !p.empty() && p[0] == 'V'});
    }

    Around around;
    Report report;
    const kvo::DigitRules rules = kvo::CheckDigitSettings(settings, around, report);
    Check((rules.rangeTermMask & ~rules.mask) == 0);

    const kvo::ReferenceResolver resolve = [&form](std::string_view p) { return kvo::Substitute(form, nullptr, p, 0); };
    const kvo::HostDecision host = [](int node) -> std::optional<int> {
        if (node % 2) return std::nullopt;
        return node;
    };
    std::string digits(keys);
    const kvo::ExitChoice choice = kvo::ChooseExit(digits, settings, rules, resolve, host);
    const int first = kvo::FirstConditionNode(settings.useDefaultError);
    if (!choice.substitutionFailed) {
        Check(choice.node == kvo::kExitNoDigits || choice.node == kvo::kExitInvalid ||
              (choice.node >= first && choice.node < first + static_cast<int>(settings.conditions.size())));
    }
    Check(digits.size() + 1 >= keys.size() && digits.size() <= keys.size());
    return 0;
}
