// kvodigits: the digit rules of a GetDigits control on the console. Given the
// conditions and settings it prints the check report, the derived
// termination mask and maximum, and the exit each caller entry takes.
// Portable, so both builds and their tests share it.
#pragma once
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "DigitCheck.h"

namespace kvo {

struct KvoDigitsArgs {
    DigitSettings settings;
    std::vector<std::string> entries;
    std::map<std::string, std::string> values;  // "Control.Value" -> text, for references
    bool help = false;
    std::string error;  // not empty: the arguments are unusable
};

KvoDigitsArgs ParseKvoDigitsArgs(int argc, const char* const* argv);

// The --help text.
std::string KvoDigitsUsage();

// Prints to `out`; returns 0, or 1 when the check reported an error.
int RunKvoDigits(const KvoDigitsArgs& args, std::FILE* out);

}  // namespace kvo
