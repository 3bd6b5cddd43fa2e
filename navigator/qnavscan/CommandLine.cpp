#include "CommandLine.h"
#include "CppScanFlags.h"

namespace qv {

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine cl;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnd || arg.empty() || arg[0] != '-' || arg == "-") {
            cl.files.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "-h" || arg == "--help") {
            cl.help = true;
        } else if (arg == "--lines-without-newline") {
            cl.options.linesCarryNewline = false;
        } else if (arg == "--files-from") {
            if (i + 1 >= argc) {
                cl.error = "--files-from needs a file name";
                break;
            }
            cl.fileLists.emplace_back(argv[++i]);
        } else if (!ApplyCppScanFlag(arg, cl.options)) {
            cl.error = "unknown option " + std::string(arg);
            break;
        }
    }
    if (cl.error.empty() && !cl.help && cl.files.empty() && cl.fileLists.empty())
        cl.error = "no files given";
    return cl;
}

std::string Usage() {
    std::string u =
        "usage: qnavscan [options] file...\n"
        "Prints the outline of each file, one item per line, tab-separated:\n"
        "file, line, top line, start column, end column, category, qualifier, text.\n"
        "C/C++ categories: 4 function, 5 template, 6 class, 7 struct, 8 macro,\n"
        "9 #define.\n"
        "The scanner is chosen by extension, as the navigator chooses it (C/C++,\n"
        "assembler, resource scripts, INI/INF/CLW and help projects, Basic,\n"
        "Pascal, logs, mail digests); other files print nothing.\n"
        "\n"
        "options:\n";
    for (const CppScanFlag& f : kCppScanFlags) {
        std::string name = "  --no-" + std::string(f.name);
        name.resize(28, ' ');
        u += name + "leave out " + std::string(f.help) + "\n";
    }
    u +=
        "  --lines-without-newline   deliver lines without their newline, as the\n"
        "                            older IDE does (the scanner adds it)\n"
        "  --files-from LIST         also scan the files named in LIST, one per\n"
        "                            line (\"-\" reads the names from standard input)\n"
        "  -h, --help                this text\n"
        "Exit status: 0 all files read, 1 a file could not be read, 2 bad usage.\n";
    return u;
}

}  // namespace qv
