#include "References.h"

namespace kvo {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::optional<std::vector<TextPiece>> SplitReferences(std::string_view text) {
    std::vector<TextPiece> pieces;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        if (open == std::string_view::npos) {
            pieces.push_back({false, text.substr(pos)});
            break;
        }
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string_view::npos) return std::nullopt;
        if (open > pos) pieces.push_back({false, text.substr(pos, open - pos)});
        pieces.push_back({true, text.substr(open + 1, close - open - 1)});
        pos = close + 1;
    }
    return pieces;
}

ReferenceToken SplitToken(std::string_view token) {
    const std::size_t dot = token.find('.');
    if (dot == std::string_view::npos) return {token, std::nullopt};
    return {token.substr(0, dot), token.substr(dot + 1)};
}

bool IsThisReference(std::string_view control) { return EqualsNoCase(control, "this"); }
bool IsChannelReference(std::string_view control) { return EqualsNoCase(control, "channel"); }

}  // namespace kvo
