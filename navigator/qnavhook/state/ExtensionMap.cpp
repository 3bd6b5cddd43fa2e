#include "ExtensionMap.h"
#include <algorithm>

namespace qnav::state {

namespace {
bool EqualNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}
}  // namespace

UserExtensionMap::UserExtensionMap(const std::vector<std::pair<std::string, std::string>>& keysAndValues) {
    for (const auto& [key, value] : keysAndValues) {
        if (entries_.size() == kMaxExtensionEntries) break;
        qv::DocKind kind;
        if (key.empty() || key.size() > kMaxExtensionLength || !qv::BuiltinKind(value, kind)) continue;
        entries_.push_back({key, value});
    }
}

std::string_view UserExtensionMap::TypeNameFor(std::string_view extension) const {
    for (const auto& e : entries_)
        if (EqualNoCase(e.extension, extension)) return e.typeName;
    return {};
}

}  // namespace qnav::state
