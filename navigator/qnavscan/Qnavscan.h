// What qnavscan does once its command line is parsed: print the outline of
// every file named, to `out`, and complaints to `err`.
#pragma once
#include <cstdio>
#include <istream>
#include "CommandLine.h"

namespace qv {

// Returns the exit status: 0 when every file was read, 1 when one was not.
// `names` is read for "--files-from -".
int RunQnavscan(const CommandLine& cl, std::istream& names, std::FILE* out, std::FILE* err);

}  // namespace qv
