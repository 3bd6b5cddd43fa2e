// The two plain exports of kvo32.ocx for host programs: writing a text
// record to a line's log, and converting a log file to text.
#include <windows.h>

#include <string>

#include <fw/Handle.h>

#include "ChannelLog.h"
#include "LogFile.h"
#include "LogText.h"

extern "C" void __stdcall kvo_write_log(unsigned short line, const char* text) {
    if (line < kvo::kMaxLogLines) kvo::WriteLogS(line, kvo::LK_TEXT, text);
}

// 0 done; -1 a null path; 1-14 the cause of a failed open, create or write;
// 100/101/102 not a log file / older / newer format (the text file is left empty).
extern "C" short __stdcall log_to_text(long line, const char* logPath,
                                                             const char* textPath) {
    using namespace kvo;
    if (!logPath || !textPath) return -1;
    // Not shared: a log file the running system still writes is refused.
    fw::FileHandle log(CreateFileA(logPath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) return static_cast<short>(FileErrorCause(GetLastError()));
    fw::FileHandle text(CreateFileA(textPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!text) return static_cast<short>(FileErrorCause(GetLastError()));

    FileByteSource file(log.Get());
    BlockByteSource source(file);
    switch (ReadLogHeader(source)) {
    case LogHeaderStatus::Current: break;
    case LogHeaderStatus::Invalid: return 100;
    case LogHeaderStatus::Old: return 101;
    case LogHeaderStatus::Newer: return 102;
    }
    constexpr std::size_t kWriteBlock = 256 * 1024;
    std::string out;
    out.reserve(kWriteBlock + 1024);
    LogRecord record;
    for (LogReadResult r; (r = ReadLogRecord(source, line, record)) != LogReadResult::End;) {
        if (r == LogReadResult::Skipped) continue;
        AppendLogLineText(out, record);
        out += "\r\n";
        if (out.size() >= kWriteBlock) {
            if (!WriteAll(text.Get(), out.data(), out.size()))
                return static_cast<short>(FileErrorCause(GetLastError()));
            out.clear();
        }
    }
    // A text file that could not be written completely is a failure, not a result.
    if (!out.empty() && !WriteAll(text.Get(), out.data(), out.size()))
        return static_cast<short>(FileErrorCause(GetLastError()));
    return 0;
}
