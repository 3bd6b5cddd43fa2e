// Which categories of records reach one destination (the log file, the test
// log window, a channel log window). Portable: the settings are read through
// a callback so the profile API stays outside.
#pragma once
#include <bitset>
#include <functional>

#include "LogKinds.h"

namespace kvo {

class CategoryMask {
public:
    // Switchable categories at their defaults, structural ones on.
    CategoryMask();

    bool Has(int category) const {
        return category >= 0 && category < kLogCategoryCount && bits_.test(category);
    }
    void Set(int category, bool on);

    // Reads the eight switchable keys with `readInt(key, default)`; the
    // structural categories are always on.
    static CategoryMask Load(const std::function<int(const char* key, int def)>& readInt);
    // Writes the eight keys as "1" or "0".
    void Store(const std::function<void(const char* key, const char* value)>& write) const;

private:
    std::bitset<kLogCategoryCount> bits_;
};

}  // namespace kvo
