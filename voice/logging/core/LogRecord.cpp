#include "LogRecord.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kvo {
namespace {

constexpr std::uint8_t kFormatId[16] = {0x83, 0x41, 0x9D, 0x44, 0x2A, 0x39, 0xCF, 0x11,
                                        0x94, 0xA1, 0x00, 0xC0, 0xF0, 0x04, 0x0A, 0x74};

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t GetU32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

std::array<std::uint8_t, kLogHeaderSize> LogFileHeader() {
    std::array<std::uint8_t, kLogHeaderSize> h{};
    std::memcpy(h.data(), kFormatId, sizeof kFormatId);
    for (int i = 0; i < 4; ++i) h[16 + i] = static_cast<std::uint8_t>(kLogFileVersion >> (8 * i));
    return h;
}

std::optional<LogRecord> MakeLogRecord(std::int32_t channel, std::int32_t kind,
                                       std::initializer_list<LogValue> values) {
    const LogKindInfo* info = FindLogKind(kind);
    if (!info) return std::nullopt;
    LogRecord r;
    r.kind = kind;
    r.channel = channel;

    const int count = LogArgCount(*info);
    std::size_t fixed = 0;  // payload bytes that are not string characters
    for (int i = 0; i < count; ++i) fixed += info->args[i] == LogArgType::Number ? 4 : 1;
    std::size_t budget = kLogMaxPayload - fixed;

    auto value = values.begin();
    for (int i = 0; i < count; ++i) {
        LogArg& a = r.args[i];
        a.type = info->args[i];
        const bool have = value != values.end();
        if (a.type == LogArgType::Number) {
            a.number = have && !value->isString ? value->number : 0;
        } else {
            if (have && value->isString)
                a.text = value->text ? value->text : "";
            else if (have)
                a.text = std::to_string(value->number);
            std::size_t keep = std::min({a.text.size(), kLogMaxString, budget});
            a.text.resize(keep);
            budget -= keep;
        }
        if (have) ++value;
    }
    return r;
}

std::vector<std::uint8_t> EncodeLogRecord(const LogRecord& record) {
    std::vector<std::uint8_t> payload;
    for (const LogArg& a : record.args) {
        if (a.type == LogArgType::None) break;
        if (a.type == LogArgType::Number) {
            PutU32(payload, static_cast<std::uint32_t>(a.number));
        } else {
            payload.insert(payload.end(), a.text.begin(), a.text.end());
            payload.push_back(0);
        }
    }
    std::vector<std::uint8_t> out;
    out.reserve(kLogRecordHeaderSize + payload.size());
    PutU32(out, static_cast<std::uint32_t>(record.kind));
    out.push_back(record.time.minute);
    out.push_back(record.time.hour);
    out.push_back(record.time.unused);
    out.push_back(record.time.second);
    PutU32(out, static_cast<std::uint32_t>(record.channel));
    PutU32(out, static_cast<std::uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

LogHeaderStatus ReadLogHeader(LogByteSource& source) {
    std::uint8_t id[16];
    if (source.Read(id, sizeof id) != sizeof id || std::memcmp(id, kFormatId, sizeof id) != 0)
        return LogHeaderStatus::Invalid;
    std::uint8_t v[4];
    if (source.Read(v, sizeof v) != sizeof v) return LogHeaderStatus::Invalid;
    const std::uint32_t version = GetU32(v);
    if (version == kLogFileVersion) return LogHeaderStatus::Current;
    return version < kLogFileVersion ? LogHeaderStatus::Old : LogHeaderStatus::Newer;
}

LogReadResult ReadLogRecord(LogByteSource& source, std::int32_t channel, LogRecord& out) {
    std::uint8_t head[kLogRecordHeaderSize];
    if (source.Read(head, sizeof head) != sizeof head) return LogReadResult::End;
    const std::uint32_t length = GetU32(head + 12);
    if (length > kLogMaxPayload) return LogReadResult::End;
    // Records of other lines are passed over by their length, unread.
    const std::int32_t recordChannel = static_cast<std::int32_t>(GetU32(head + 8));
    if (recordChannel != channel)
        return source.Skip(length) == length ? LogReadResult::Skipped : LogReadResult::End;
    std::uint8_t payload[kLogMaxPayload];
    if (source.Read(payload, length) != length) return LogReadResult::End;
    const std::int32_t kind = static_cast<std::int32_t>(GetU32(head));
    const LogKindInfo* info = FindLogKind(kind);
    if (!info) return LogReadResult::End;  // no row to read it by: the file is damaged

    // Reset field by field: the strings keep their storage for the next record.
    for (LogArg& a : out.args) {
        a.type = LogArgType::None;
        a.number = 0;
        a.text.clear();
    }
    out.kind = kind;
    out.time = {head[4], head[5], head[6], head[7]};
    out.channel = recordChannel;
    // Arguments the payload does not hold stay missing, never read past it.
    std::size_t pos = 0;
    for (int i = 0; i < kLogArgSlots && info->args[i] != LogArgType::None; ++i) {
        LogArg& a = out.args[i];
        if (info->args[i] == LogArgType::Number) {
            if (length - pos < 4) break;
            a.type = LogArgType::Number;
            a.number = static_cast<std::int32_t>(GetU32(payload + pos));
            pos += 4;
        } else {
            const std::uint8_t* begin = payload + pos;
            const std::uint8_t* end = payload + length;
            const std::uint8_t* nul = std::find(begin, end, 0);
            if (static_cast<std::size_t>(nul - begin) > kLogMaxString) break;
            a.type = LogArgType::String;
            a.text.assign(begin, nul);
            pos = nul == end ? length : static_cast<std::size_t>(nul - payload) + 1;
        }
    }
    return LogReadResult::Record;
}

std::size_t LogByteSource::Skip(std::size_t size) {
    std::uint8_t scratch[512];
    std::size_t done = 0;
    while (done < size) {
        const std::size_t want = std::min(size - done, sizeof scratch);
        const std::size_t got = Read(scratch, want);
        done += got;
        if (got < want) break;
    }
    return done;
}

std::size_t BlockByteSource::Take(std::uint8_t* to, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        if (pos_ == end_) {
            if (drained_) break;
            pos_ = 0;
            end_ = inner_.Read(buffer_.data(), buffer_.size());
            // A short block is the end: the inner source is not asked again.
            drained_ = end_ < buffer_.size();
            if (end_ == 0) break;
        }
        const std::size_t n = std::min(size - done, end_ - pos_);
        if (to) std::memcpy(to + done, buffer_.data() + pos_, n);
        pos_ += n;
        done += n;
    }
    return done;
}

std::size_t BlockByteSource::Read(void* buffer, std::size_t size) {
    return Take(static_cast<std::uint8_t*>(buffer), size);
}

std::size_t BlockByteSource::Skip(std::size_t size) { return Take(nullptr, size); }

std::size_t MemoryByteSource::Read(void* buffer, std::size_t size) {
    const std::size_t n = std::min(size, size_ - pos_);
    if (n) std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

std::string LogFileName(int day, int month) {
    char name[32];
    std::snprintf(name, sizeof name, "kvo%.2i-%.2i.vlg", day, month);
    return name;
}

}  // namespace kvo
