// Percent-sign references inside text properties: "%name%" or
// "%name.value%" between literal text. Only the syntax lives here; what a
// reference stands for is Substitute's business.
#pragma once
#include <optional>
#include <string_view>
#include <vector>

namespace kvo {

struct TextPiece {
    bool reference;         // false: literal text, copied as it is
    std::string_view text;  // the literal, or the token between the percent signs
};

// The pieces of `text` in order (views into it), or nullopt when a percent
// sign is left open: such a text is refused as a whole.
std::optional<std::vector<TextPiece>> SplitReferences(std::string_view text);

struct ReferenceToken {
    std::string_view control;
    std::optional<std::string_view> value;  // absent: the control's first value
};
// The control part ends at the first point.
ReferenceToken SplitToken(std::string_view token);

// "this" and "channel" name no control; both are matched without regard to case.
bool IsThisReference(std::string_view control);
bool IsChannelReference(std::string_view control);

inline bool HasReference(std::string_view text) { return text.find('%') != std::string_view::npos; }

}  // namespace kvo
