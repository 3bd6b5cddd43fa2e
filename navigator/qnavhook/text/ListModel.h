// The outline list's entries and arithmetic, apart from its window: the
// bounded entry store, display texts, sorting, the category filter, the
// preselection near the caret and the window's size and place.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "DocKind.h"
#include "Outline.h"

namespace qnav::text {

constexpr std::size_t kMaxListEntries = 4096;
constexpr std::uint16_t kTopCategory = 14;          // higher categories are stored as this
constexpr std::uint16_t kPinnedCategory = 0xFFFF;   // always listed, sorted first
constexpr std::size_t kDisplayCut = 120;             // display texts are cut here, "..." added
constexpr unsigned kAllCategories = 0xFFFF;

struct ListEntry {
    std::string text;        // tabs replaced by blanks
    std::string qualifier;   // likewise, may be empty
    std::uint16_t line = 0, topLine = 0, startColumn = 0, length = 0, category = 0;
};

class EntryStore {
public:
    // False once the store holds kMaxListEntries: the entry is dropped.
    bool Add(const qv::OutlineItem& item);
    std::size_t Size() const { return entries_.size(); }
    const ListEntry& At(std::size_t i) const { return entries_[i]; }
    bool AnyQualifier() const { return anyQualifier_; }
    unsigned CountOf(std::uint16_t category) const;
    void Clear();

private:
    std::vector<ListEntry> entries_;
    unsigned counts_[kTopCategory + 1] = {};
    bool anyQualifier_ = false;
};

// Qualifier + text when qualified names are shown, cut to kDisplayCut.
std::string DisplayText(const ListEntry& e, bool qualified);

// Sort order: pinned entries first, then qualifier (when shown), then text,
// both ordinal and case-sensitive.
bool SortsBefore(const ListEntry& a, const ListEntry& b, bool qualified);

// Indices of the entries the list box shows, in its order: entries whose
// category bit is in `filter` (and pinned ones), in report order or sorted.
std::vector<int> ShownOrder(const EntryStore& store, unsigned filter, bool sorted, bool qualified);

// The report-order entry nearest to the caret line as the IDE gives it: back
// from the last while its top line is at or after caret + 4, then at most 10
// more while the previous entry's line is after the caret.
int PreselectEntry(const EntryStore& store, const std::vector<int>& shown, unsigned caretLine);

// Filter buttons of C/C++ lists, left to right, and their categories.
constexpr int kFilterButtons = 7;
constexpr std::uint16_t kFilterCategories[kFilterButtons - 1] = {4, 8, 9, 5, 6, 7};
// The button selected at first: "all" (6) when more than one category has
// entries, else the single category's button.
int InitialFilterButton(const EntryStore& store);
unsigned FilterMaskOf(int button);

struct ListGeometry {
    int rows = 0;
    int listWidth = 0, listHeight = 0;   // the list box, borders included
    int x = 0, y = 0;                    // the popup's place on screen
};

struct ListMetrics {
    int screenWidth, screenHeight;
    int itemHeight;          // 0: no font could be measured
    int rowLimit;
    int shown;               // entries in the list box
    int widestText;          // pixels
    int scrollBarWidth;
    int barWidth;            // the filter buttons and the bitmap
};

constexpr int kBarHeight = 31;
// Rows, sizes and the clamped place for a popup wanted at (x, y); rows is 0
// (the list is not shown) when the item height is 0.
ListGeometry LayoutList(const ListMetrics& m, int x, int y);

}  // namespace qnav::text
