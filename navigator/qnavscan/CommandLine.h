// qnavscan's command line.
// Portable, so both builds and their tests share it.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "Outline.h"
#include "ScanOptions.h"

namespace qv {

struct CommandLine {
    ScanOptions options;
    std::vector<std::string> files;
    std::vector<std::string> fileLists;  // "--files-from" arguments, "-" = stdin
    bool help = false;
    std::string error;                   // not empty: the arguments are unusable
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The --help text.
std::string Usage();

}  // namespace qv
