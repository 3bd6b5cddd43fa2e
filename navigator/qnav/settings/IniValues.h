// Value syntaxes of the navigator's settings file: the number rule, colour
// triples, the font record and menu records. Pure text in, plain values out;
// the profile-file access itself lives with the control program.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qnav::ini {

// Values longer than this are cut by the profile reader before parsing.
constexpr std::size_t kValueCapacity = 255;
// The face name is a 32-byte field including its terminator.
constexpr std::size_t kFaceNameCapacity = 31;

// Leading white space, optional '-', decimal digits up to the first
// non-digit; an empty field is 0. Overflow wraps like 32-bit arithmetic.
std::int32_t ParseNumber(std::string_view field);

// Splits at every occurrence of `separator`; adjacent separators give empty
// fields. Always at least one field.
std::vector<std::string_view> SplitFields(std::string_view value, char separator);

// "R G B" as 0x00BBGGRR, each component taken modulo 256; nullopt when fewer
// than three space-separated fields (the caller uses its default).
std::optional<std::uint32_t> ParseColor(std::string_view value);
std::string FormatColor(std::uint32_t colorref);
constexpr std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}

// The stored font record, field for field in the order it is written.
struct FontFields {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    std::uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string faceName;   // at most kFaceNameCapacity characters
    bool operator==(const FontFields&) const = default;
};
// nullopt (an all-zero font) when fewer than 14 comma-separated fields.
std::optional<FontFields> ParseFont(std::string_view value);
std::string FormatFont(const FontFields& font);

// The four stored numbers of a menu record.
struct MenuFields {
    std::uint32_t enabled = 0;      // 0/1
    std::uint32_t secondFlag = 0;   // 0/1
    std::uint16_t position = 0;
    std::uint32_t extra = 0;
    bool operator==(const MenuFields&) const = default;
};
// nullopt when fewer than four comma-separated fields.
std::optional<MenuFields> ParseMenuOption(std::string_view value);
std::string FormatMenuOption(const MenuFields& menu);

// Menu record keys in stored order, with their defaults.
struct MenuDefault {
    const char* key;
    const char* value;
};
extern const std::array<MenuDefault, 7> kMenuDefaults;

// Defaults of the colour groups, index 0 being the (unstored) leading word.
extern const std::array<std::uint32_t, 10> kCppColorDefaults;
extern const std::array<std::uint32_t, 14> kResourceColorDefaults;
extern const std::array<std::uint32_t, 7> kAsmColorDefaults;
extern const std::array<std::uint32_t, 5> kOtherColorDefaults;
constexpr std::uint32_t kButtonColorDefault = Rgb(192, 192, 192);

// Screen coordinate of a restored window: values past `screenExtent` - 40,
// negative ones included (compared unsigned), become `screenExtent` - 40.
int ClampWindowCoordinate(int stored, int screenExtent);

}  // namespace qnav::ini
