#include <gtest/gtest.h>
#include <string>
#include "MenuText.h"

namespace qnav::text {
namespace {

TEST(MenuText, SlotNineShowsAsZero) {
    EXPECT_EQ(SlotNumber(0), 1u);
    EXPECT_EQ(SlotNumber(8), 9u);
    EXPECT_EQ(SlotNumber(9), 0u);
    EXPECT_EQ(EmptyBookmarkEntryText(9), "0  ");
}

TEST(MenuText, HotKeyLabels) {
    struct Case { unsigned mods, scan; char ch; const char* want; const char* note; };
    const Case cases[] = {
        {0x0110, 0x1F, 'S', "\tCtrl+Alt+S", "the title entry"},
        {0x0010, 0x22, 'G', "\tCtrl+G", "Ctrl alone"},
        {0x0100, 0x22, 'G', "\tAlt+G", "Alt alone"},
        {0x0001, 0x22, 'G', "\tShift+G", "Shift alone"},
        {0x0111, 0x22, 'G', "\tCtrl+Alt+Shift+G", "all three"},
        {0x0110, 0, 'S', "", "no scan code"},
        {0, 0x1F, 'S', "", "no modifiers"},
    };
    for (const Case& c : cases) EXPECT_EQ(HotKeyLabel(c.mods, c.scan, c.ch), c.want) << c.note;
}

TEST(MenuText, PasteEntries) {
    struct Case { const char* text; const char* want; const char* note; };
    const Case cases[] = {
        {"", "1  ", "empty"},
        {"int x;", "1  int x;", "one line"},
        {"int x;\r\n", "1  int x;", "a final line end is no more text"},
        {"a\r\nb", "1  a...", "more lines follow"},
        {"\r\n  int y;", "1  ...int y;", "starts with a blank line"},
        {"   x", "1  x", "leading blanks only"},
        {"a && b", "1  a &&&& b", "ampersands doubled"},
        {"0123456789012345678901234567890123456789012345", "1  012345678901234567890123456789012345678...",
         "cut at 42 characters"},
    };
    for (const Case& c : cases) {
        const std::string t = c.text;
        EXPECT_EQ(PasteEntryText(0, t.c_str(), t.size() + 1), c.want) << c.note;
    }
    const char noZero[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(PasteEntryText(9, noZero, sizeof noZero), "0  abcd") << "a block without a zero byte stays inside it";
}

TEST(MenuText, BookmarkEntryShowsFileNameAndOneBasedLine) {
    EXPECT_EQ(BookmarkEntryText(2, "C:\\SRC\\MAIN.CPP", 12), "3  MAIN.CPP  13");
    EXPECT_EQ(BookmarkEntryText(9, "MAIN.CPP", 0), "0  MAIN.CPP  1");
}

}  // namespace
}  // namespace qnav::text
