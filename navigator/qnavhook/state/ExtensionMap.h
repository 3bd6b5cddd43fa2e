// The user's extension map: extra file extensions that take the document
// kind of one of the built-in extensions.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qnav::state {

constexpr std::size_t kMaxExtensionLength = 16;
constexpr std::size_t kMaxExtensionEntries = 32;

// Built-in extension names and their document kinds.
struct BuiltInType {
    const char* name;
    std::uint16_t kind;
};
// Kind of a built-in type name (case-insensitive), or -1.
int BuiltInKind(std::string_view typeName);

struct ExtensionEntry {
    std::string extension;   // as written in the file, "." for no extension
    std::uint16_t kind;
};

// Entries in file order; over-long keys and unknown type names are skipped,
// and at most kMaxExtensionEntries are kept.
std::vector<ExtensionEntry> BuildExtensionMap(
    const std::vector<std::pair<std::string, std::string>>& keysAndValues);

// Kind for `extension` (case-insensitive) from the user map, or -1.
int UserKind(const std::vector<ExtensionEntry>& map, std::string_view extension);

}  // namespace qnav::state
