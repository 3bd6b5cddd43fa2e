// Parser flags from the bits of one number, as the differential test and the
// fuzzer pick them: bit 0 templates, 1 classes, 2 structs, 3 macros,
// 4 #defines, 5 framework macros, 6 base lists, 7 lines with their newline.
#pragma once
#include "ScanOptions.h"

namespace qvtest {

inline qv::ScanOptions ScanOptionsFromBits(unsigned bits) {
    qv::ScanOptions o;
    o.cTemplates = bits & 1;
    o.cClasses = bits & 2;
    o.cStructs = bits & 4;
    o.cMacros = bits & 8;
    o.cDefines = bits & 16;
    o.cMFCMacros = bits & 32;
    o.ShowBaseList = bits & 64;
    o.linesCarryNewline = bits & 128;
    return o;
}

}  // namespace qvtest
