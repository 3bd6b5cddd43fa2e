// Value flags and value access (see Values.h).
#include "Values.h"

namespace kvo {

bool ValueFlags::IsSet(int index) const {
    if (index < 0 || index >= kValueFlagCount) return false;
    return (bits_.load() >> index) & 1;
}

void ValueFlags::Set(int index) {
    if (index >= 0 && index < kValueFlagCount) bits_.fetch_or(std::uint16_t(1u << index));
}

void ValueFlags::SetAll(bool on) { bits_ = on ? 0xFFFF : 0; }

std::optional<std::string> ValueSource::GetValueName(int, int) const { return std::nullopt; }
std::optional<std::string> ValueSource::GetValueText(int, int) const { return std::string(); }
void ValueSource::SetValueText(int, const std::string&, int) {}

std::string ValuePromptText(const std::string& control, const std::string& value) {
    return "control " + control + " property " + value + " does not have a valid value. Please enter a value";
}

std::optional<std::string> AccessValue(ValueSource& source, int channel, int index, const ValueContext& context) {
    std::optional<std::string> value;
    if (!context.greetingsPageOpen) {
        // Indexes without a ready flag (a record's sixteenth field on) are
        // read as they are.
        const bool ready = index >= kValueFlagCount || source.Flags().IsSet(index);
        if (context.systemRunning || ready) value = source.GetValueText(channel, index);
    }
    if (value) return value;
    if (context.systemRunning) {
        if (context.logNotSet) context.logNotSet(channel, source.ValueOwnerName());
        return std::string();
    }
    if (!context.ask) return std::nullopt;
    const std::string name = source.GetValueName(channel, index).value_or(std::string());
    std::optional<std::string> entered = context.ask(ValuePromptText(source.ValueOwnerName(), name));
    if (!entered) return std::nullopt;
    source.SetValueText(channel, *entered, index);
    return source.GetValueText(channel, index);
}

std::optional<int> FindValue(const ValueSource& source, int channel, const std::string& name) {
    for (int i = 0; i < 4096; ++i) {
        std::optional<std::string> n = source.GetValueName(channel, i);
        if (!n) return std::nullopt;
        if (*n == name) return i;
    }
    return std::nullopt;
}

}  // namespace kvo
