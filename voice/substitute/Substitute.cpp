#include "Substitute.h"

#include "LogKinds.h"
#include "References.h"

namespace kvo {

FoundOwner FindValueOwner(ValueContext& context, std::string_view name) {
    bool ambiguous = false;
    ValueOwner* control = context.FindCallFlowControl(name, ambiguous);
    ValueOwner* frame = context.FindFrame(name);
    if (control) return {control, ambiguous || frame != nullptr};
    return {frame, false};
}

std::optional<int> FindValueIndex(const ValueOwner& owner, int channel, std::string_view name) {
    for (int i = 0;; ++i) {
        const std::optional<std::string> valueName = owner.GetValueName(channel, i);
        if (!valueName) return std::nullopt;
        if (*valueName == name) return i;
    }
}

std::optional<std::string> GetValue(ValueContext& context, ValueOwner& owner, int channel, int index) {
    const bool running = context.SystemRunning();
    if (!context.GreetingsPageOpen() && (running || index >= kValueFlagCount || owner.ValueReady(index))) {
        if (std::optional<std::string> text = owner.GetValueText(channel, index)) return text;
    }
    if (running) {
        context.Log(channel, LK_DATA_NOT_SET, owner.Name());
        return std::string();
    }
    const std::string prompt = "control " + owner.Name() + " property " +
                               owner.GetValueName(channel, index).value_or(std::string()) +
                               " does not have a valid value. Please enter a value";
    const std::optional<std::string> entered = context.AskForValue(owner, prompt);
    if (!entered) return std::nullopt;
    owner.SetValueText(channel, *entered, index);
    return owner.GetValueText(channel, index);
}

namespace {

// Appends what one reference stands for; false once it has logged why not.
bool AppendReference(ValueContext& context, ValueOwner* self, std::string_view token, int channel,
                     std::string& out) {
    const ReferenceToken ref = SplitToken(token);
    if (IsChannelReference(ref.control)) {
        out += std::to_string(channel + 1);
        return true;
    }
    ValueOwner* owner = self;
    if (IsThisReference(ref.control)) {
        if (!self) {
            context.Log(channel, LK_TEXT, "cannot access 'this' control property from greeting property page");
            return false;
        }
    } else {
        const FoundOwner found = FindValueOwner(context, ref.control);
        if (!found.owner) {
            context.Log(channel, LK_CONTROL_NOT_FOUND, ref.control);
            return false;
        }
        if (found.ambiguous) {
            context.Log(channel, LK_AMBIGUOUS_CONTROL_NAME, ref.control);
            return false;
        }
        owner = found.owner;
    }
    int index = 0;
    if (ref.value) {
        const std::optional<int> found = FindValueIndex(*owner, channel, *ref.value);
        if (!found) {
            context.Log(channel, LK_PROPERTY_NOT_FOUND, token);
            return false;
        }
        index = *found;
    }
    const std::optional<std::string> value = GetValue(context, *owner, channel, index);
    if (!value) {
        context.Log(channel, LK_NO_DATA_IN_CONTROL, owner->Name());
        return false;
    }
    out += *value;
    return true;
}

}  // namespace

std::optional<std::string> Substitute(ValueContext& context, ValueOwner* self,
                                      std::optional<std::string_view> text, int channel) {
    if (!text) {
        context.Log(channel, LK_CONTROL_NOT_FOUND, std::string_view());
        return std::nullopt;
    }
    const auto pieces = SplitReferences(*text);
    if (!pieces) {
        context.Log(channel, LK_CONTROL_NOT_FOUND, *text);
        return std::nullopt;
    }
    std::string out;
    out.reserve(text->size());
    for (const TextPiece& piece : *pieces) {
        if (!piece.reference) out += piece.text;
        else if (!AppendReference(context, self, piece.text, channel, out)) return std::nullopt;
    }
    return out;
}

}  // namespace kvo
