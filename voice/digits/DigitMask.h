// Digit masks: one bit per telephone key (kvoDigitMaskConstants). A key
// character maps to its bit through VoiceRules' DigitMaskOf ("0"-"9", "*",
// "#"; any other character is no key).
#pragma once
#include <string>

namespace kvo {

enum kvoDigitMaskConstants : long {
    Digit_None = 0,
    kvoDigit_D = 1,
    kvoDigit_1 = 2,
    kvoDigit_2 = 4,
    kvoDigit_3 = 8,
    kvoDigit_4 = 16,
    kvoDigit_5 = 32,
    kvoDigit_6 = 64,
    kvoDigit_7 = 128,
    kvoDigit_8 = 256,
    kvoDigit_9 = 512,
    kvoDigit_0 = 1024,
    kvoDigit_S = 2048,
    kvoDigit_N = 4096,
    kvoDigit_A = 8192,
    kvoDigit_B = 16384,
    kvoDigit_C = 32768,
    kvoDigit_All = 65535,
};

// The keys 0 to 9.
constexpr long kDigitKeysMask = 2046;

// A termination mask of this value means "no termination key" wherever the
// rules look at it (the property pages store it for an empty choice).
constexpr long kNoTerminationKey = 110;

// The keys of a mask for people to read, in key order "0123456789*#ABCD":
// "{1,2,3}", "{}" for none.
std::string MaskKeys(long mask);

}  // namespace kvo
