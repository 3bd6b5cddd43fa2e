#include "Bookmarks.h"
#include <cstdio>

namespace qnav::state {

namespace {
unsigned ParseUnsigned(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
    unsigned v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10u + unsigned(s[i] - '0');
    return v;
}
}  // namespace

std::optional<Bookmark> ParseBookmark(std::string_view value) {
    const std::size_t first = value.find(',');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = value.find(',', first + 1);
    if (second == std::string_view::npos || second + 1 >= value.size()) return std::nullopt;
    Bookmark b;
    b.line = ParseUnsigned(value.substr(0, first));
    b.column = ParseUnsigned(value.substr(first + 1, second - first - 1));
    for (char c : value.substr(second + 1))
        b.path.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    return b;
}

std::string FormatBookmark(const Bookmark& b) {
    char numbers[32];
    std::snprintf(numbers, sizeof numbers, "%u,%u,", b.line, b.column);
    return numbers + b.path;
}

}  // namespace qnav::state
