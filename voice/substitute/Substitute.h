// Run-time values of controls and the replacement of percent-sign
// references by them. Controls, Frames, the system state, the channel log and
// the user prompt belong to the runtime; it hands them in through the two
// interfaces below, so the rules here run without Win32.
#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvo {

// Error type of the ControlErrorException raised when a reference in a
// property the control needs cannot be replaced.
constexpr long kErrorTypeSubstitution = 32;

// Value indexes below this carry a ready flag.
constexpr int kValueFlagCount = 16;

// The 16 value-ready flags of an owner: set when the owner's work for a call
// produced its values, cleared by the start of a test call. Read by line
// threads while the user interface may clear them.
class ValueReadyFlags {
public:
    bool IsSet(int index) const {
        return index >= 0 && index < kValueFlagCount && ((bits_.load() >> index) & 1u) != 0;
    }
    void Set(int index) {
        if (index >= 0 && index < kValueFlagCount) bits_.fetch_or(std::uint16_t(1u << index));
    }
    void SetAll(bool on) { bits_ = on ? 0xFFFF : 0; }

private:
    std::atomic<std::uint16_t> bits_{0};
};

// A call-flow control or a Frame control as its values are seen: an ordered
// list of named values per channel (channels 0-based).
class ValueOwner {
public:
    virtual ~ValueOwner() = default;
    virtual std::string Name() const = 0;
    // nullopt after the last value.
    virtual std::optional<std::string> GetValueName(int channel, int index) const = 0;
    virtual std::optional<std::string> GetValueText(int channel, int index) const = 0;
    // Keeps a text the user entered and sets the value's ready flag.
    virtual void SetValueText(int channel, std::string_view text, int index) = 0;
    // Ready flag of value index 0 .. kValueFlagCount-1.
    virtual bool ValueReady(int index) const = 0;
};

// What the runtime offers value access and substitution.
class ValueContext {
public:
    virtual ~ValueContext() = default;
    // First call-flow control of exactly this name; sets `ambiguous` when the
    // look-up found a second one.
    virtual ValueOwner* FindCallFlowControl(std::string_view name, bool& ambiguous) = 0;
    // First Frame control of exactly this name.
    virtual ValueOwner* FindFrame(std::string_view name) = 0;
    virtual bool SystemRunning() const = 0;
    // While the greeting editor page exists no value is read.
    virtual bool GreetingsPageOpen() const = 0;
    // Shows `prompt` through the owner's Frame and waits; nullopt when the
    // user cancelled.
    virtual std::optional<std::string> AskForValue(ValueOwner& owner, std::string_view prompt) = 0;
    // One channel-log record of `kind` with a string argument.
    virtual void Log(int channel, int kind, std::string_view text) = 0;
};

struct FoundOwner {
    ValueOwner* owner = nullptr;  // null: no control or Frame of that name
    bool ambiguous = false;
};
// Call-flow controls first, then Frames; a name held by both is ambiguous.
FoundOwner FindValueOwner(ValueContext& context, std::string_view name);

// Index of the first value called exactly `name`, or nullopt.
std::optional<int> FindValueIndex(const ValueOwner& owner, int channel, std::string_view name);

// The value access every reader of values goes through. While the system
// runs a missing value is logged and reads as empty; otherwise the user is
// asked, and nullopt means the prompt was cancelled. A value index without a
// ready flag is read as it is and asked for only when the owner has no text.
std::optional<std::string> GetValue(ValueContext& context, ValueOwner& owner, int channel, int index);

// Replaces every reference in `text` for `channel`; `self` is the control
// the text belongs to (null where none is, as on a greeting page). nullopt
// (the text null, a reference that cannot be resolved) has been logged.
std::optional<std::string> Substitute(ValueContext& context, ValueOwner* self,
                                      std::optional<std::string_view> text, int channel);

}  // namespace kvo
