// Shared helpers of the logging tests: every test starts from a reset
// logger with its clock pinned, an empty KVO32.INI and a scratch folder for
// the log files; log files read back as records.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LogRecord.h"
#include "fw/testing/Files.h"

namespace kvo::test {

// The day and time every logging test runs at: 14 March, 10:20:30.
extern const SYSTEMTIME kPinnedTime;

// Logging enabled, log files into a scratch directory, masks reloaded, the
// clock pinned; whatever an earlier test left in the logger is reset first.
class LoggingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    fw::testing::TempDir dir{"kvolog"};
    fw::testing::IniFileScope ini{"KVO32.INI"};
};

// All records of `channel` in a log file (header must be current).
std::vector<LogRecord> ReadLogFile(const std::string& path, int channel);

}  // namespace kvo::test
