#include <gtest/gtest.h>
#include <cstring>
#include "ListModel.h"

namespace qnav::text {
namespace {

qv::OutlineItem Item(unsigned line, unsigned top, std::uint16_t category, const char* text, const char* qual = "") {
    qv::OutlineItem it;
    it.line = static_cast<std::uint16_t>(line);
    it.topLine = static_cast<std::uint16_t>(top);
    it.category = category;
    it.startColumn = 4;
    it.endColumn = 9;
    std::strncpy(it.text, text, sizeof it.text - 1);
    std::strncpy(it.qualifier, qual, sizeof it.qualifier - 1);
    return it;
}

TEST(ListModel, StoreLimitsAndCategories) {
    EntryStore s;
    for (int i = 0; i < 5000; ++i) s.Add(Item(static_cast<unsigned>(i), static_cast<unsigned>(i), 4, "f"));
    EXPECT_EQ(s.Size(), kMaxListEntries);
    EntryStore t;
    t.Add(Item(1, 1, 20, "high\tcat"));
    t.Add(Item(2, 2, 0xFFFF, "pinned"));
    EXPECT_EQ(t.At(0).category, 14);
    EXPECT_EQ(t.At(0).text, "high cat");
    EXPECT_EQ(t.At(0).length, 5);
    EXPECT_EQ(t.CountOf(14), 1u);
    EXPECT_FALSE(t.AnyQualifier());
}

TEST(ListModel, SortingAndFilter) {
    EntryStore s;
    s.Add(Item(1, 1, 4, "zeta", "B::"));
    s.Add(Item(2, 2, 6, "Alpha"));
    s.Add(Item(3, 3, 4, "alpha", "A::"));
    s.Add(Item(4, 4, 0xFFFF, "zz"));
    EXPECT_EQ(ShownOrder(s, kAllCategories, false, false), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(ShownOrder(s, kAllCategories, true, false), (std::vector<int>{3, 1, 2, 0})) << "pinned, then ordinal";
    EXPECT_EQ(ShownOrder(s, kAllCategories, true, true), (std::vector<int>{3, 1, 2, 0})) << "qualifier first";
    EXPECT_EQ(ShownOrder(s, FilterMaskOf(0), false, false), (std::vector<int>{0, 2, 3})) << "functions + pinned";
    EXPECT_EQ(DisplayText(s.At(0), true), "B::zeta");
    EXPECT_EQ(DisplayText(ListEntry{std::string(130, 'x'), "", 0, 0, 0, 0, 0}, false), std::string(120, 'x') + "...");
}

TEST(ListModel, InitialFilterButton) {
    EntryStore classes;
    classes.Add(Item(1, 1, 6, "A"));
    classes.Add(Item(5, 5, 6, "B"));
    EXPECT_EQ(InitialFilterButton(classes), 4) << "only classes: the classes button";
    classes.Add(Item(9, 9, 4, "f"));
    EXPECT_EQ(InitialFilterButton(classes), 6) << "two categories: all";
}

TEST(ListModel, PreselectionNearCaret) {
    EntryStore s;
    s.Add(Item(10, 8, 4, "a"));
    s.Add(Item(20, 15, 4, "b"));
    s.Add(Item(40, 40, 4, "c"));
    const auto all = ShownOrder(s, kAllCategories, false, false);
    struct Case { unsigned caret0; int want; const char* note; };
    const Case cases[] = {
        {9, 0, "on a's line"},
        {0, 0, "above everything"},
        {14, 1, "b's comment block starts within four lines"},
        {25, 1, "inside b"},
        {38, 2, "c starts within four lines"},
        {500, 2, "past the end"},
    };
    for (const Case& c : cases) EXPECT_EQ(PreselectEntry(s, all, c.caret0), c.want) << c.note;
    EXPECT_EQ(PreselectEntry(s, {}, 3), -1);
}

TEST(ListModel, LayoutClampsToScreen) {
    ListMetrics m{800, 600, 16, 20, 50, 100, 16, 190};
    const ListGeometry g = LayoutList(m, 10, 10);
    EXPECT_EQ(g.rows, 20);
    EXPECT_EQ(g.listWidth, std::max(190 + 18, 100 + 30 + 16) + 2);
    EXPECT_EQ(g.listHeight, 20 * 16 + 2);
    const ListGeometry corner = LayoutList(m, 790, 590);
    EXPECT_EQ(corner.x, 800 - corner.listWidth - 2);
    EXPECT_EQ(corner.y, 600 - corner.listHeight - 33);
    EXPECT_LE(corner.y + corner.listHeight + kBarHeight, 600);
    ListMetrics few = m;
    few.shown = 3;
    EXPECT_EQ(LayoutList(few, 0, 0).rows, 3);
    EXPECT_EQ(LayoutList(few, -50, -50).x, 2) << "never left of 2";
    ListMetrics none = m;
    none.itemHeight = 0;
    EXPECT_EQ(LayoutList(none, 0, 0).rows, 0) << "no font: not shown, no division by zero";
    ListMetrics wide = m;
    wide.widestText = 5000;
    EXPECT_EQ(LayoutList(wide, 0, 0).listWidth, 800 - 8 + 2);
}

}  // namespace
}  // namespace qnav::text
