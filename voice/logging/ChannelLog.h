// Writing channel log records from any thread, and the logging side of
// system start and stop. A record goes to the day's .vlg file and to the
// line's channel log window, each under its own category mask; in test mode
// it goes to the test log only. Writers pass the line counted from 0 and a
// kind from LogKinds.h; arguments follow the kind's argument list, and a
// null string is logged as the empty string.
#pragma once
#include <windows.h>

#include <string>

#include "CategoryMask.h"
#include "LogKinds.h"
#include "LogRecord.h"

namespace kvo {

constexpr int kMaxLogLines = 48;

void WriteLog(int channel, int kind);
void WriteLogN(int channel, int kind, long n);
void WriteLogNN(int channel, int kind, long n1, long n2);
void WriteLogS(int channel, int kind, const char* s);
void WriteLogSS(int channel, int kind, const char* s1, const char* s2);
void WriteLogSSS(int channel, int kind, const char* s1, const char* s2, const char* s3);
void WriteLogSSSS(int channel, int kind, const char* s1, const char* s2, const char* s3,
                  const char* s4);
void WriteLogNS(int channel, int kind, long n, const char* s);
void WriteLogSN(int channel, int kind, const char* s, long n);
void WriteLogNSS(int channel, int kind, long n, const char* s1, const char* s2);
void WriteLogSSN(int channel, int kind, const char* s1, const char* s2, long n);

// Called by the dispatcher. Start reads [System] Logs, opens or creates the
// day's file, leaves test mode, marks the system running and writes a
// "System Start" record per line; Stop writes "System Stop" per line, marks
// the system stopped and closes the file.
void LogSystemStart(int lineCount);
void LogSystemStop(int lineCount);

bool LoggingEnabled();
bool LogSystemRunning();

// The directory log files go to. Until the Frame sets one it comes from
// KVO32.INI ([Directories] LogFiles, else the Voice directory).
void SetLogDirectory(const std::string& directory);
std::string LogDirectory();
// The file the last system start opened (empty before the first start).
std::string TodayLogPath();

// Reloads the file and test-window masks from KVO32.INI (suite start, and
// after the filter dialog changed them).
void LoadLogMasks();
// The test log window's mask as last loaded.
CategoryMask TestLogWindowMask();

// Test mode: records are stamped channel -1 and handed to the sink only.
class TestLogSink {
public:
    virtual ~TestLogSink() = default;
    // Called on the thread that logged; the sink owns the copy it keeps.
    virtual void AddRecord(const LogRecord& record) = 0;
};
void SetLogTestMode(bool on);
void SetTestLogSink(TestLogSink* sink);

// Where records and the day's file name get their local time; nullptr puts
// the system clock back. Tests pin it, so the day cannot turn under them.
using LogClock = void(WINAPI*)(SYSTEMTIME*);
void SetLogClock(LogClock clock);

// Back to the state of a freshly loaded library: stopped and disabled, no
// file, no directory set, not in test mode, no sink, the system clock, masks
// from KVO32.INI. For tests, which share one process. Open log windows stay.
void ResetChannelLog();

}  // namespace kvo
