#include <gtest/gtest.h>
#include "IniValues.h"

using namespace qnav::ini;

TEST(IniValues, NumberRule) {
    struct Case { const char* text; std::int32_t value; };
    const Case cases[] = {
        {"42", 42}, {"  \t17x", 17}, {"-5", -5}, {"", 0}, {"+3", 0}, {"- 3", 0},
        {"12 34", 12}, {"4294967297", 1}, {"-2147483648", INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(IniValues, Colors) {
    struct Case { const char* text; bool valid; std::uint32_t color; };
    const Case cases[] = {
        {"192 192 192", true, Rgb(192, 192, 192)},
        {"10 20", false, 0},
        {"", false, 0},
        {"300 -1 7", true, Rgb(44, 255, 7)},
        {"10  20 30", true, Rgb(10, 0, 20)},      // two spaces make an empty field
        {"1 2 3 4 5", true, Rgb(1, 2, 3)},
        {"a b c", true, 0},
    };
    for (const auto& c : cases) {
        auto color = ParseColor(c.text);
        ASSERT_EQ(color.has_value(), c.valid) << c.text;
        if (color) { EXPECT_EQ(*color, c.color) << c.text; }
    }
    EXPECT_EQ(FormatColor(Rgb(255, 0, 128)), "255 0 128");
}

TEST(IniValues, FontRecord) {
    EXPECT_FALSE(ParseFont("-13,0,0,0,400,0,0,0,0,3,2,1,34").has_value()) << "13 fields";
    auto font = ParseFont("-13,0,0,0,700,1,0,0,300,3,2,1,34,Courier New,extra");
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->height, -13);
    EXPECT_EQ(font->weight, 700);
    EXPECT_EQ(font->italic, 1);
    EXPECT_EQ(font->charSet, 300 % 256) << "bytes keep 8 bits";
    EXPECT_EQ(font->pitchAndFamily, 34);
    EXPECT_EQ(font->faceName, "Courier New");
    EXPECT_EQ(FormatFont(*font), "-13,0,0,0,700,1,0,0,44,3,2,1,34,Courier New");
    EXPECT_EQ(*ParseFont(FormatFont(*font)), *font);

    auto longFace = ParseFont("1,2,3,4,5,6,7,8,9,10,11,12,13," + std::string(80, 'F'));
    ASSERT_TRUE(longFace.has_value());
    EXPECT_EQ(longFace->faceName, std::string(31, 'F')) << "face name keeps its 31 characters";
}

TEST(IniValues, MenuRecords) {
    EXPECT_FALSE(ParseMenuOption("0,5,9").has_value());
    auto m = ParseMenuOption("2,3,4,5");
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(*m, (MenuFields{1, 1, 4, 5}));
    EXPECT_EQ(FormatMenuOption(*m), "1,1,4,5");
    auto wide = ParseMenuOption("0,0,65537,-1");
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->position, 1) << "position keeps 16 bits";
    EXPECT_EQ(FormatMenuOption(*wide), "0,0,1,4294967295");
    for (const auto& d : kMenuDefaults) EXPECT_TRUE(ParseMenuOption(d.value).has_value()) << d.key;
}

TEST(IniValues, WindowCoordinateClamp) {
    EXPECT_EQ(ClampWindowCoordinate(100, 1024), 100);
    EXPECT_EQ(ClampWindowCoordinate(984, 1024), 984);
    EXPECT_EQ(ClampWindowCoordinate(985, 1024), 984);
    EXPECT_EQ(ClampWindowCoordinate(-5, 1024), 984) << "negative compares unsigned";
}
