#include "DigitMask.h"

namespace kvo {

std::string MaskKeys(long mask) {
    static const struct { char key; long bit; } keys[] = {
        {'0', kvoDigit_0}, {'1', kvoDigit_1}, {'2', kvoDigit_2}, {'3', kvoDigit_3}, {'4', kvoDigit_4},
        {'5', kvoDigit_5}, {'6', kvoDigit_6}, {'7', kvoDigit_7}, {'8', kvoDigit_8}, {'9', kvoDigit_9},
        {'*', kvoDigit_S}, {'#', kvoDigit_N}, {'A', kvoDigit_A}, {'B', kvoDigit_B}, {'C', kvoDigit_C},
        {'D', kvoDigit_D},
    };
    std::string out = "{";
    for (const auto& k : keys) {
        if (!(mask & k.bit)) continue;
        if (out.size() > 1) out += ',';
        out += k.key;
    }
    return out + "}";
}

}  // namespace kvo
