// Where the whole records of a log file end. A write that stopped short (a
// full disk) leaves a torn record at the end; a writer that appends behind
// it would hide every later record from readers, so it cuts the file there
// first.
#pragma once
#include <cstdint>

#include "LogRecord.h"

namespace kvo {

// Reads the source to its end, from just behind the header, and returns the
// length of the records a reader can take whole: each has its 16-byte head,
// a payload length a reader accepts and the payload itself.
std::uint64_t WholeRecordsLength(LogByteSource& source);

}  // namespace kvo
