#include "ColorPalette.h"

namespace qnav::ini {

const std::array<std::uint32_t, kFixedPaletteSize> kFixedPalette = {
    0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00,
    0x808080, 0xC0C0C0, 0x000080, 0x008000, 0x800000, 0x008080, 0x800080, 0x808000,
};

Palette MakePalette(std::uint32_t menu, std::uint32_t highlight, std::uint32_t highlightText,
                    std::uint32_t menuText) {
    Palette p{};
    for (int i = 0; i < kFixedPaletteSize; ++i) p[i] = kFixedPalette[i];
    p[16] = menu;
    p[17] = highlight;
    p[18] = highlightText;
    p[19] = menuText;
    return p;
}

int NearestPaletteIndex(const Palette& palette, std::uint32_t color) {
    auto distance = [&](std::uint32_t other) {
        long sum = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const long d = long((color >> shift) & 0xFF) - long((other >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    int best = 0;
    long bestDistance = distance(palette[0]);
    for (int i = 1; i < kPaletteSize; ++i) {
        const long d = distance(palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace qnav::ini
