// A form of controls and Frames for tests of values and references. It
// records every log record and prompt, and fails a test that asks the user
// when no answer was queued.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Substitute.h"

namespace kvotest {

class FakeOwner : public kvo::ValueOwner {
public:
    FakeOwner(std::string name, std::vector<std::string> valueNames)
        : name_(std::move(name)), names_(std::move(valueNames)) {}

    // Stores a value as the control's own run would, ready flag included.
    void Put(int channel, int index, std::string text) {
        values_[{channel, index}] = std::move(text);
        if (index < kvo::kValueFlagCount) ready_[index] = true;
    }
    void ClearReady() { ready_.fill(false); }

    std::string Name() const override { return name_; }
    std::optional<std::string> GetValueName(int, int index) const override {
        if (index < 0 || index >= static_cast<int>(names_.size())) return std::nullopt;
        return names_[index];
    }
    std::optional<std::string> GetValueText(int channel, int index) const override {
        if (names_.empty()) return std::string();  // a control without values reads empty
        const auto it = values_.find({channel, index});
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void SetValueText(int channel, std::string_view text, int index) override {
        if (!names_.empty()) Put(channel, index, std::string(text));
    }
    bool ValueReady(int index) const override { return ready_[index]; }

private:
    std::string name_;
    std::vector<std::string> names_;
    std::map<std::pair<int, int>, std::string> values_;
    std::array<bool, kvo::kValueFlagCount> ready_{};
};

class FakeValueContext : public kvo::ValueContext {
public:
    FakeOwner& AddControl(std::string name, std::vector<std::string> valueNames) {
        controls_.push_back(std::make_unique<FakeOwner>(std::move(name), std::move(valueNames)));
        return *controls_.back();
    }
    FakeOwner& AddFrame(std::string name, std::vector<std::string> valueNames) {
        frames_.push_back(std::make_unique<FakeOwner>(std::move(name), std::move(valueNames)));
        return *frames_.back();
    }

    kvo::ValueOwner* FindCallFlowControl(std::string_view name, bool& ambiguous) override {
        kvo::ValueOwner* first = nullptr;
        for (const auto& c : controls_) {
            if (c->Name() != name) continue;
            if (first) {
                ambiguous = true;
                break;
            }
            first = c.get();
        }
        return first;
    }
    kvo::ValueOwner* FindFrame(std::string_view name) override {
        for (const auto& f : frames_)
            if (f->Name() == name) return f.get();
        return nullptr;
    }
    bool SystemRunning() const override { return running; }
    bool GreetingsPageOpen() const override { return greetingsPage; }
    std::optional<std::string> AskForValue(kvo::ValueOwner&, std::string_view prompt) override {
        prompts.emplace_back(prompt);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected prompt: " << prompt;
            return std::nullopt;
        }
        std::optional<std::string> a = answers.front();
        answers.pop_front();
        return a;
    }
    void Log(int channel, int kind, std::string_view text) override {
        logs.push_back(std::to_string(channel) + ":" + std::to_string(kind) + ":" + std::string(text));
    }

    bool running = true;
    bool greetingsPage = false;
    std::deque<std::optional<std::string>> answers;  // nullopt: the user cancels
    std::vector<std::string> prompts;
    std::vector<std::string> logs;  // "channel:kind:text"

private:
    std::vector<std::unique_ptr<FakeOwner>> controls_;
    std::vector<std::unique_ptr<FakeOwner>> frames_;
};

}  // namespace kvotest
