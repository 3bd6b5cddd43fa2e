// The INCLUDE directives of an assembler source or include file, for the
// includes menu. Portable: reads through a LineSource like the outline
// scanners, no allocation.
#pragma once
#include <cstddef>
#include "Outline.h"

namespace qv {

// Receives each included file name as written, without brackets or quotes.
// The characters are valid only during the call.
class IncludeSink {
public:
    virtual void AddInclude(const char* name, std::size_t length) = 0;
protected:
    ~IncludeSink() = default;
};

// Longest include name reported; longer names are cut.
constexpr std::size_t kMaxIncludeName = 120;

// Reports every INCLUDE directive outside COMMENT blocks and ';' comments;
// returns how many were reported.
int ScanAsmIncludes(LineSource& lines, IncludeSink& includes);

}  // namespace qv
