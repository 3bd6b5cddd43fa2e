// qnavscan: the navigator's outline of source files, on the console.
#include <cstdio>
#include <iostream>
#include "CommandLine.h"
#include "Qnavscan.h"

int main(int argc, char** argv) {
    const qv::CommandLine cl = qv::ParseCommandLine(argc, argv);
    if (cl.help) {
        std::fputs(qv::Usage().c_str(), stdout);
        return 0;
    }
    if (!cl.error.empty()) {
        std::fprintf(stderr, "qnavscan: %s\n%s", cl.error.c_str(), qv::Usage().c_str());
        return 2;
    }
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    return qv::RunQnavscan(cl, std::cin, stdout, stderr);
}
