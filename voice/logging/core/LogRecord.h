// Channel log records in memory and in the .vlg file: making a record from a
// writer's arguments, its byte layout, and reading a file back. Portable.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "LogKinds.h"

namespace kvo {

constexpr std::uint32_t kLogFileVersion = 0x100;
constexpr std::size_t kLogHeaderSize = 20;
constexpr std::size_t kLogRecordHeaderSize = 16;
// What a reader accepts; the writer keeps every record within these so that
// one long string never ends the reading of a whole file.
constexpr std::size_t kLogMaxPayload = 272;
constexpr std::size_t kLogMaxString = 256;
constexpr std::int32_t kTestChannel = -1;

// The format identifier and version that open every log file.
std::array<std::uint8_t, kLogHeaderSize> LogFileHeader();

struct LogTime {
    std::uint8_t minute = 0;
    std::uint8_t hour = 0;
    std::uint8_t unused = 0;
    std::uint8_t second = 0;
};

struct LogArg {
    LogArgType type = LogArgType::None;
    std::int32_t number = 0;
    std::string text;
};

struct LogRecord {
    std::int32_t kind = 0;
    LogTime time;
    std::int32_t channel = 0;
    std::array<LogArg, kLogArgSlots> args;
};

// One argument as a writer passes it; a null text is the empty string.
struct LogValue {
    LogValue(long n) : isString(false), number(static_cast<std::int32_t>(n)) {}
    LogValue(int n) : isString(false), number(n) {}
    LogValue(const char* s) : isString(true), text(s) {}
    bool isString;
    std::int32_t number = 0;
    const char* text = nullptr;
};

// A record of `kind` with `values` placed by the kind's argument types; a
// value of the wrong shape for its slot is converted rather than trusted.
// Empty for a kind outside the table.
std::optional<LogRecord> MakeLogRecord(std::int32_t channel, std::int32_t kind,
                                       std::initializer_list<LogValue> values);

// The record as it is appended to the file: 16-byte head, then the payload.
std::vector<std::uint8_t> EncodeLogRecord(const LogRecord& record);

// Where records are read from (a file, a buffer); Read returns the number of
// bytes it could give, fewer only at the end; Skip likewise passes bytes over.
class LogByteSource {
public:
    virtual ~LogByteSource() = default;
    virtual std::size_t Read(void* buffer, std::size_t size) = 0;
    virtual std::size_t Skip(std::size_t size);
};

enum class LogHeaderStatus { Current, Invalid, Old, Newer };

// Checks the header from the source's current position (its start).
LogHeaderStatus ReadLogHeader(LogByteSource& source);

enum class LogReadResult { Record, Skipped, End };

// Reads the next record. Records of another channel are consumed and
// reported as Skipped; a damaged or truncated record ends the reading.
LogReadResult ReadLogRecord(LogByteSource& source, std::int32_t channel, LogRecord& out);

// Reads from a block of memory.
class MemoryByteSource : public LogByteSource {
public:
    MemoryByteSource(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    std::size_t Read(void* buffer, std::size_t size) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Reads another source in large blocks, so that a file of small records costs
// one system call per block instead of two per record.
class BlockByteSource : public LogByteSource {
public:
    static constexpr std::size_t kDefaultBlock = 256 * 1024;
    explicit BlockByteSource(LogByteSource& inner, std::size_t block = kDefaultBlock)
        : inner_(inner), buffer_(block ? block : 1) {}
    std::size_t Read(void* buffer, std::size_t size) override;
    std::size_t Skip(std::size_t size) override;

private:
    // Moves up to `size` bytes on, copying them to `to` unless it is null.
    std::size_t Take(std::uint8_t* to, std::size_t size);

    LogByteSource& inner_;
    std::vector<std::uint8_t> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool drained_ = false;
};

// "kvoDD-MM.vlg" for a day of the month and a month (1-12).
std::string LogFileName(int day, int month);

}  // namespace kvo
