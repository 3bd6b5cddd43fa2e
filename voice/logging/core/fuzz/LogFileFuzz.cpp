// Any bytes as a log file: reading and rendering every record must stay in
// bounds whatever the file holds.
#include <cstddef>
#include <cstdint>

#include "LogText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvo;
    if (size < 4) return 0;
    // The first bytes pick the line; the rest follows a valid header so the
    // record reader always runs.
    const std::int32_t line = static_cast<std::int8_t>(data[0]);
    auto header = LogFileHeader();
    std::vector<std::uint8_t> file(header.begin(), header.end());
    file.insert(file.end(), data + 1, data + size);
    // Through blocks of a size the input picks, so records cross their ends.
    MemoryByteSource memory(file.data(), file.size());
    BlockByteSource source(memory, 1 + size % 61);
    if (ReadLogHeader(source) != LogHeaderStatus::Current) return 0;
    LogRecord record;
    std::string text;
    for (LogReadResult r; (r = ReadLogRecord(source, line, record)) != LogReadResult::End;)
        if (r == LogReadResult::Record) AppendLogLineText(text, record);
    return 0;
}
