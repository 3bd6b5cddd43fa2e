#include "ExtensionMap.h"
#include <algorithm>
#include <iterator>

namespace qnav::state {

namespace {
// Until the shared document-kind table exists this mirrors it.
constexpr BuiltInType kBuiltInTypes[] = {
    {"C", 1},    {"CPP", 2}, {"H", 3},   {"ASM", 4},  {"INC", 5},  {"RC", 7},   {"DEF", 6},
    {"MAK", 10}, {"MDP", 10}, {"INL", 1}, {"CXX", 1},  {"HPP", 3},  {"HXX", 3},  {"RC2", 7},
    {"DLG", 7},  {"INI", 8}, {"INF", 8}, {"CLW", 8},  {"HPJ", 9},  {"PAS", 12}, {"BAS", 11},
    {"FRM", 11}, {"FAQ", 14}, {"LOG", 13}, {"BSC", 0xFFFF}, {"RCV", 7},
};

bool EqualNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}
}  // namespace

int BuiltInKind(std::string_view typeName) {
    auto it = std::find_if(std::begin(kBuiltInTypes), std::end(kBuiltInTypes),
                           [&](const BuiltInType& t) { return EqualNoCase(t.name, typeName); });
    return it == std::end(kBuiltInTypes) ? -1 : it->kind;
}

std::vector<ExtensionEntry> BuildExtensionMap(
    const std::vector<std::pair<std::string, std::string>>& keysAndValues) {
    std::vector<ExtensionEntry> map;
    for (const auto& [key, value] : keysAndValues) {
        if (map.size() == kMaxExtensionEntries) break;
        if (key.empty() || key.size() > kMaxExtensionLength) continue;
        const int kind = BuiltInKind(value);
        if (kind < 0) continue;
        map.push_back({key, static_cast<std::uint16_t>(kind)});
    }
    return map;
}

int UserKind(const std::vector<ExtensionEntry>& map, std::string_view extension) {
    for (const auto& e : map)
        if (EqualNoCase(e.extension, extension)) return e.kind;
    return -1;
}

}  // namespace qnav::state
