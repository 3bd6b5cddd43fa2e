// Run-time values that controls and Frames offer per channel, and the one
// way they are read (AccessValue): ready flags at design time, a log record
// while the system runs, and a prompt to the user when nothing is known.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace kvo {

constexpr int kValueFlagCount = 16;

class ValueFlags {
public:
    bool IsSet(int index) const;
    void Set(int index);
    void SetAll(bool on);

private:
    std::atomic<std::uint16_t> bits_{0};
};

// What a control or Frame offers. A control without values keeps the defaults.
class ValueSource {
public:
    virtual ~ValueSource() = default;
    virtual std::string ValueOwnerName() const = 0;
    virtual std::optional<std::string> GetValueName(int channel, int index) const;
    virtual std::optional<std::string> GetValueText(int channel, int index) const;
    virtual void SetValueText(int channel, const std::string& text, int index);
    virtual void SetValueFlags(bool on) { flags_.SetAll(on); }
    ValueFlags& Flags() { return flags_; }
    const ValueFlags& Flags() const { return flags_; }

private:
    ValueFlags flags_;
};

struct ValueContext {
    bool systemRunning = false;
    bool greetingsPageOpen = false;
    // Logs kind 42 "data not set in control '%s'" for the channel.
    std::function<void(int channel, const std::string& control)> logNotSet;
    // Asks the user; none when cancelled (or when there is no one to ask).
    std::function<std::optional<std::string>(const std::string& prompt)> ask;
};

// "control X property Y does not have a valid value. Please enter a value"
std::string ValuePromptText(const std::string& control, const std::string& value);

// Value `index` for `channel` (1-based), or none (the reference fails).
std::optional<std::string> AccessValue(ValueSource& source, int channel, int index, const ValueContext& context);

// Index of the value named `name` (exact, first match); none when absent.
std::optional<int> FindValue(const ValueSource& source, int channel, const std::string& name);

}  // namespace kvo
