#include "CategoryMask.h"

namespace kvo {

CategoryMask::CategoryMask() {
    for (int c = 0; c < kLogCategoryCount; ++c)
        bits_.set(c, c >= kSwitchableCategories || kLogCategoryKeys[c].defaultOn);
}

void CategoryMask::Set(int category, bool on) {
    // Structural categories carry the tree; switching them off would orphan lines.
    if (category >= 0 && category < kSwitchableCategories) bits_.set(category, on);
}

CategoryMask CategoryMask::Load(const std::function<int(const char*, int)>& readInt) {
    CategoryMask m;
    for (int c = 0; c < kSwitchableCategories; ++c)
        m.Set(c, readInt(kLogCategoryKeys[c].key, kLogCategoryKeys[c].defaultOn ? 1 : 0) != 0);
    return m;
}

void CategoryMask::Store(const std::function<void(const char*, const char*)>& write) const {
    for (int c = 0; c < kSwitchableCategories; ++c) write(kLogCategoryKeys[c].key, Has(c) ? "1" : "0");
}

}  // namespace kvo
