// Bookmark values of the settings file: "line,column,path".
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace qnav::state {

constexpr int kBookmarkCount = 10;

struct Bookmark {
    unsigned line = 0;     // counted from 0
    unsigned column = 0;   // counted from 0
    std::string path;      // upper case
    bool operator==(const Bookmark&) const = default;
};

// nullopt for a value without two commas or with an empty path.
std::optional<Bookmark> ParseBookmark(std::string_view value);
std::string FormatBookmark(const Bookmark& bookmark);

}  // namespace qnav::state
