#include "ListModel.h"
#include <algorithm>
#include <cstring>

namespace qnav::text {

namespace {
std::string Untabbed(const char* s, std::size_t size) {
    std::string out(s, strnlen(s, size));
    std::replace(out.begin(), out.end(), '\t', ' ');
    return out;
}

std::size_t CountIndex(std::uint16_t category) { return category > kTopCategory ? kTopCategory : category; }
}  // namespace

bool EntryStore::Add(const qv::OutlineItem& item) {
    if (entries_.size() >= kMaxListEntries) return false;
    ListEntry e;
    e.text = Untabbed(item.text, sizeof item.text);
    e.qualifier = Untabbed(item.qualifier, sizeof item.qualifier);
    e.line = item.line;
    e.topLine = item.topLine;
    e.startColumn = item.startColumn;
    e.length = static_cast<std::uint16_t>(item.endColumn - item.startColumn);
    e.category = item.category == kPinnedCategory || item.category <= kTopCategory ? item.category : kTopCategory;
    if (e.category != kPinnedCategory) ++counts_[CountIndex(e.category)];
    anyQualifier_ |= !e.qualifier.empty();
    entries_.push_back(std::move(e));
    return true;
}

unsigned EntryStore::CountOf(std::uint16_t category) const {
    return category == kPinnedCategory ? 0 : counts_[CountIndex(category)];
}

void EntryStore::Clear() {
    entries_.clear();
    std::fill(std::begin(counts_), std::end(counts_), 0u);
    anyQualifier_ = false;
}

std::string DisplayText(const ListEntry& e, bool qualified) {
    std::string s = qualified ? e.qualifier + e.text : e.text;
    if (s.size() > kDisplayCut) {
        s.resize(kDisplayCut);
        s += "...";
    }
    return s;
}

bool SortsBefore(const ListEntry& a, const ListEntry& b, bool qualified) {
    const bool pa = a.category == kPinnedCategory, pb = b.category == kPinnedCategory;
    if (pa != pb) return pa;
    if (qualified) {
        if (const int c = a.qualifier.compare(b.qualifier)) return c < 0;
    }
    return a.text < b.text;
}

std::vector<int> ShownOrder(const EntryStore& store, unsigned filter, bool sorted, bool qualified) {
    std::vector<int> out;
    for (std::size_t i = 0; i < store.Size(); ++i) {
        const std::uint16_t c = store.At(i).category;
        if (c == kPinnedCategory || filter == kAllCategories || (c < 32 && (filter & (1u << c))))
            out.push_back(static_cast<int>(i));
    }
    if (sorted)
        std::stable_sort(out.begin(), out.end(),
                         [&](int a, int b) { return SortsBefore(store.At(a), store.At(b), qualified); });
    return out;
}

int PreselectEntry(const EntryStore& store, const std::vector<int>& shown, unsigned caretLine) {
    if (shown.empty()) return -1;
    std::vector<int> report(shown);
    std::sort(report.begin(), report.end());
    const unsigned caret = caretLine;
    std::size_t i = report.size() - 1;
    while (i > 0 && store.At(report[i]).topLine >= caret + 4) --i;
    for (int more = 0; more < 10 && i > 0 && store.At(report[i - 1]).line > caret; ++more) --i;
    return report[i];
}

int InitialFilterButton(const EntryStore& store) {
    int used = 0, last = kFilterButtons - 1;
    for (int b = 0; b < kFilterButtons - 1; ++b)
        if (store.CountOf(kFilterCategories[b])) {
            ++used;
            last = b;
        }
    return used == 1 ? last : kFilterButtons - 1;
}

unsigned FilterMaskOf(int button) {
    return button >= 0 && button < kFilterButtons - 1 ? 1u << kFilterCategories[button] : kAllCategories;
}

ListGeometry LayoutList(const ListMetrics& m, int x, int y) {
    ListGeometry g;
    if (m.itemHeight <= 0) return g;
    g.rows = std::min({(m.screenHeight - 51) / m.itemHeight, std::max(m.rowLimit, 5), m.shown});
    if (g.rows < 0) g.rows = 0;
    int width = m.widestText + 30;
    if (g.rows < m.shown) width += m.scrollBarWidth;
    width = std::min(width, m.screenWidth - 8);
    g.listWidth = std::max(m.barWidth + 18, width) + 2;
    g.listHeight = std::max(g.rows * m.itemHeight, 1) + 2;
    g.x = x;
    g.y = y;
    if (g.y + g.listHeight + kBarHeight > m.screenHeight) g.y = m.screenHeight - g.listHeight - 33;
    if (g.x + g.listWidth > m.screenWidth) g.x = m.screenWidth - g.listWidth - 2;
    g.x = std::max(g.x, 2);
    g.y = std::max(g.y, 2);
    return g;
}

}  // namespace qnav::text
