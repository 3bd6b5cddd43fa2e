// The Colors dialog's palette: 16 fixed colours followed by four system
// colours, and the nearest-colour rule that maps any stored colour onto it.
#pragma once
#include <array>
#include <cstdint>

namespace qnav::ini {

constexpr int kPaletteSize = 20;
constexpr int kFixedPaletteSize = 16;
// 0x00BBGGRR: black, white, red, green, blue, yellow, magenta, cyan, grey,
// light grey, dark red, dark green, dark blue, olive, purple, teal.
extern const std::array<std::uint32_t, kFixedPaletteSize> kFixedPalette;

using Palette = std::array<std::uint32_t, kPaletteSize>;
// The fixed colours followed by menu background, highlight, highlighted text
// and menu text.
Palette MakePalette(std::uint32_t menu, std::uint32_t highlight, std::uint32_t highlightText,
                    std::uint32_t menuText);

// Index of the palette colour with the smallest sum of squared component
// differences; the lowest index wins a tie.
int NearestPaletteIndex(const Palette& palette, std::uint32_t color);

}  // namespace qnav::ini
