// qnavscan's command line and its choice of scanner by file extension.
// Portable, so both builds and their tests share it.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "Outline.h"
#include "ScanOptions.h"

namespace qv {

using ScanFunction = int (*)(LineSource&, ItemSink&, const ScanOptions&);

// The scanner the navigator would use for this file name, or nullptr when
// the file's kind has no outline here.
ScanFunction ScannerFor(std::string_view path);

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
