// The C/C++ parser flags by their command-line names, shared by qnavscan and
// the golden outline files so both spell an option the same way.
#pragma once
#include <string_view>
#include "ScanOptions.h"

namespace qv {

struct CppScanFlag {
    std::string_view name;   // used as "--no-<name>"
    bool ScanOptions::*field;
    std::string_view help;   // what turning it off leaves out
};

inline constexpr CppScanFlag kCppScanFlags[] = {
    {"templates", &ScanOptions::cTemplates, "template items"},
    {"classes", &ScanOptions::cClasses, "class items"},
    {"structs", &ScanOptions::cStructs, "struct items"},
    {"macros", &ScanOptions::cMacros, "function-like #define items"},
    {"defines", &ScanOptions::cDefines, "#define constant items"},
    {"framework-macros", &ScanOptions::cMFCMacros, "framework-macro and message-map items"},
    {"base-list", &ScanOptions::ShowBaseList, "base lists of classes and template headers"},
};

// Turns "--no-<name>" into the option it names; false if it names none.
inline bool ApplyCppScanFlag(std::string_view arg, ScanOptions& options) {
    constexpr std::string_view prefix = "--no-";
    if (arg.substr(0, prefix.size()) != prefix) return false;
    arg.remove_prefix(prefix.size());
    for (const CppScanFlag& f : kCppScanFlags) {
        if (f.name == arg) {
            options.*f.field = false;
            return true;
        }
    }
    return false;
}

}  // namespace qv
