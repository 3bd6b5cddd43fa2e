// Text of channel log records: the message of a kind applied to a record's
// arguments, and the full line shown in the channel log window and written
// by the log-to-text conversion. Portable.
#pragma once
#include <string>

#include "LogRecord.h"

namespace kvo {

// The text a voice event record shows for a driver result and a value.
std::string ResultCodeText(std::int32_t code, std::int32_t value);

// The kind's format applied to the record's arguments. `format` replaces
// the table's format (the window uses its module's string table).
std::string LogMessageText(const LogRecord& record, const char* format = nullptr);

// "Error: ", the time and channel prefix, then the message (no line end).
std::string LogLineText(const LogRecord& record, const char* format = nullptr);
// The same, appended to `out` (a conversion reuses one buffer for every line).
void AppendLogLineText(std::string& out, const LogRecord& record, const char* format = nullptr);

}  // namespace kvo
