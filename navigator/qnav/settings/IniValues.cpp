#include "IniValues.h"
#include <cstdio>

namespace qnav::ini {

std::int32_t ParseNumber(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\n' ||
                                field[i] == '\r' || field[i] == '\v' || field[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < field.size() && field[i] == '-') {
        negative = true;
        ++i;
    }
    std::uint32_t value = 0;   // unsigned so an overlong number wraps instead of overflowing
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(field[i] - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::vector<std::string_view> SplitFields(std::string_view value, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = value.find(separator, start);
        if (at == std::string_view::npos) {
            fields.push_back(value.substr(start));
            return fields;
        }
        fields.push_back(value.substr(start, at - start));
        start = at + 1;
    }
}

std::optional<std::uint32_t> ParseColor(std::string_view value) {
    auto fields = SplitFields(value.substr(0, kValueCapacity), ' ');
    if (fields.size() < 3) return std::nullopt;
    auto component = [&](int n) { return static_cast<std::uint32_t>(ParseNumber(fields[n])) & 0xFF; };
    return Rgb(component(0), component(1), component(2));
}

std::string FormatColor(std::uint32_t colorref) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u %u %u", colorref & 0xFF, (colorref >> 8) & 0xFF,
                  (colorref >> 16) & 0xFF);
    return buf;
}

std::optional<FontFields> ParseFont(std::string_view value) {
    auto fields = SplitFields(value.substr(0, kValueCapacity), ',');
    if (fields.size() < 14) return std::nullopt;
    FontFields f;
    std::int32_t* ints[] = {&f.height, &f.width, &f.escapement, &f.orientation, &f.weight};
    for (int i = 0; i < 5; ++i) *ints[i] = ParseNumber(fields[i]);
    std::uint8_t* bytes[] = {&f.italic, &f.underline, &f.strikeOut, &f.charSet,
                             &f.outPrecision, &f.clipPrecision, &f.quality, &f.pitchAndFamily};
    for (int i = 0; i < 8; ++i) *bytes[i] = static_cast<std::uint8_t>(ParseNumber(fields[5 + i]));
    f.faceName = std::string(fields[13].substr(0, kFaceNameCapacity));
    return f;
}

std::string FormatFont(const FontFields& f) {
    char buf[kValueCapacity + 1];
    std::snprintf(buf, sizeof buf, "%ld,%ld,%ld,%ld,%ld,%u,%u,%u,%u,%u,%u,%u,%u,%.31s",
                  static_cast<long>(f.height), static_cast<long>(f.width),
                  static_cast<long>(f.escapement), static_cast<long>(f.orientation),
                  static_cast<long>(f.weight), unsigned{f.italic}, unsigned{f.underline},
                  unsigned{f.strikeOut}, unsigned{f.charSet}, unsigned{f.outPrecision},
                  unsigned{f.clipPrecision}, unsigned{f.quality}, unsigned{f.pitchAndFamily},
                  f.faceName.c_str());
    return buf;
}

std::optional<MenuFields> ParseMenuOption(std::string_view value) {
    auto fields = SplitFields(value.substr(0, kValueCapacity), ',');
    if (fields.size() < 4) return std::nullopt;
    MenuFields m;
    m.enabled = ParseNumber(fields[0]) != 0;
    m.secondFlag = ParseNumber(fields[1]) != 0;
    m.position = static_cast<std::uint16_t>(ParseNumber(fields[2]));
    m.extra = static_cast<std::uint32_t>(ParseNumber(fields[3]));
    return m;
}

std::string FormatMenuOption(const MenuFields& m) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d,%d,%u,%lu", m.enabled ? 1 : 0, m.secondFlag ? 1 : 0,
                  unsigned{m.position}, static_cast<unsigned long>(m.extra));
    return buf;
}

const std::array<MenuDefault, 7> kMenuDefaults = {{
    {"CopyPaste", "1,1,1,0"},
    {"Comment", "1,0,2,0"},
    {"Bookmarks", "1,1,3,0"},
    {"Includes", "1,1,4,0"},
    {"Functions", "1,0,5,0"},
    {"FileInfo", "1,1,6,0"},
    {"Uninstall", "0,0,7,0"},
}};

namespace {
constexpr std::uint32_t kSilver = Rgb(192, 192, 192), kBlue = Rgb(0, 0, 255),
                        kWhite = Rgb(255, 255, 255), kBlack = 0, kPurple = Rgb(128, 0, 128),
                        kMaroon = Rgb(128, 0, 0), kNavy = Rgb(0, 0, 128), kTeal = Rgb(0, 128, 128),
                        kGrey = Rgb(128, 128, 128), kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 128, 0);
}

const std::array<std::uint32_t, 10> kCppColorDefaults = {
    0, kSilver, kBlue, kWhite, kBlack, kPurple, kMaroon, kNavy, kTeal, kGrey};
const std::array<std::uint32_t, 14> kResourceColorDefaults = {
    0, kSilver, kBlue, kWhite, kRed, kBlack, kTeal, kNavy, kGreen, kPurple, kMaroon, kBlack,
    kGrey, kPurple};
const std::array<std::uint32_t, 7> kAsmColorDefaults = {0, kSilver, kBlue, kWhite,
                                                        kBlack, kNavy, kTeal};
const std::array<std::uint32_t, 5> kOtherColorDefaults = {0, kSilver, kBlue, kWhite, kBlack};

int ClampWindowCoordinate(int stored, int screenExtent) {
    const int limit = screenExtent - 40;
    return static_cast<unsigned>(stored) > static_cast<unsigned>(limit) ? limit : stored;
}

}  // namespace qnav::ini
