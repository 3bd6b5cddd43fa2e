// kvosay: a value as the clips of the system prompt files a caller hears.
#include <cstdio>
#include <iostream>

#include "KvosayCli.h"

int main(int argc, char** argv) {
    const kvo::KvosayArgs args = kvo::ParseKvosayArgs(argc, argv);
    if (args.help) {
        std::fputs(kvo::KvosayUsage().c_str(), stdout);
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "kvosay: %s\n%s", args.error.c_str(), kvo::KvosayUsage().c_str());
        return 2;
    }
    const kvo::SystemClock clock;
    return kvo::RunKvosay(args, clock, std::cout, std::cerr);
}
