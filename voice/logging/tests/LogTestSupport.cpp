#include "LogTestSupport.h"

#include "ChannelLog.h"
#include "LogFile.h"

namespace kvo::test {

const SYSTEMTIME kPinnedTime = {1997, 3, 5, 14, 10, 20, 30, 0};

namespace {
void WINAPI PinnedClock(SYSTEMTIME* now) { *now = kPinnedTime; }
}  // namespace

void LoggingTest::SetUp() {
    ResetChannelLog();
    SetLogClock(&PinnedClock);
    ini.Set("System", "Logs", "1");
    ini.Set("Directories", "LogFiles", dir.Path().c_str());
    LoadLogMasks();
}

void LoggingTest::TearDown() {
    if (LogSystemRunning()) LogSystemStop(0);
    ResetChannelLog();
}

std::vector<LogRecord> ReadLogFile(const std::string& path, int channel) {
    auto bytes = fw::testing::ReadBytes(path);
    MemoryByteSource source(bytes.data(), bytes.size());
    std::vector<LogRecord> out;
    if (ReadLogHeader(source) != LogHeaderStatus::Current) return out;
    LogRecord r;
    for (LogReadResult res; (res = ReadLogRecord(source, channel, r)) != LogReadResult::End;)
        if (res == LogReadResult::Record) out.push_back(r);
    return out;
}

}  // namespace kvo::test
