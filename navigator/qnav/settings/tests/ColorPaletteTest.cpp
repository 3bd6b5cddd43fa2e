#include <gtest/gtest.h>
#include "ColorPalette.h"
#include "IniValues.h"

using namespace qnav::ini;

TEST(ColorPalette, NearestButton) {
    const Palette p = MakePalette(Rgb(212, 208, 200), Rgb(10, 36, 106), Rgb(255, 255, 255), 0);
    struct Case { std::uint32_t color; int index; const char* note; };
    const Case cases[] = {
        {Rgb(0, 0, 0), 0, "black is the first of two equal buttons (menu text)"},
        {Rgb(255, 255, 255), 1, "white beats highlighted text by index"},
        {Rgb(250, 10, 10), 2, "near red"},
        {Rgb(100, 100, 100), 8, "grey"},
        {Rgb(180, 180, 180), 9, "light grey"},
        {Rgb(210, 208, 200), 16, "menu background"},
        {Rgb(12, 30, 100), 17, "highlight"},
        {Rgb(64, 0, 0), 0, "equally far from black and dark red: the lower button"},
        {Rgb(65, 0, 0), 10, "one step nearer dark red"},
    };
    for (const auto& c : cases) EXPECT_EQ(NearestPaletteIndex(p, c.color), c.index) << c.note;
}
