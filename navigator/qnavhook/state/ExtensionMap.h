// The user's extension map: extra file extensions that take the document
// kind of one of the built-in extensions, as the [Extensions] section of the
// settings file lists them.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include "DocKind.h"

namespace qnav::state {

constexpr std::size_t kMaxExtensionLength = 16;
constexpr std::size_t kMaxExtensionEntries = 32;

struct ExtensionEntry {
    std::string extension;   // as written in the file, "." for no extension
    std::string typeName;    // a built-in type name
};

class UserExtensionMap final : public qv::ExtensionMap {
public:
    UserExtensionMap() = default;
    // Keys and values in file order; over-long keys and values that name no
    // built-in type are skipped, and at most kMaxExtensionEntries are kept.
    explicit UserExtensionMap(const std::vector<std::pair<std::string, std::string>>& keysAndValues);

    std::string_view TypeNameFor(std::string_view extension) const override;
    const std::vector<ExtensionEntry>& Entries() const { return entries_; }

private:
    std::vector<ExtensionEntry> entries_;
};

}  // namespace qnav::state
