// kvodigits: derived digit rules and matching of caller entries, on the console.
#include <cstdio>

#include "KvoDigits.h"

int main(int argc, char** argv) {
    const kvo::KvoDigitsArgs args = kvo::ParseKvoDigitsArgs(argc, argv);
    if (args.help) {
        std::fputs(kvo::KvoDigitsUsage().c_str(), stdout);
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "kvodigits: %s\n%s", args.error.c_str(), kvo::KvoDigitsUsage().c_str());
        return 2;
    }
    return kvo::RunKvoDigits(args, stdout);
}
