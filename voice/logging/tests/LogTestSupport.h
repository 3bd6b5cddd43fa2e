// Shared helpers of the logging tests: a scratch directory, KVO32.INI in
// the Windows directory, files as bytes, and driving modal boxes.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LogRecord.h"

namespace kvo::test {

// A fresh directory under the temp path, removed with its files.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& Path() const { return path_; }  // ends with a backslash
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Starts every test from an empty KVO32.INI and removes it afterwards.
class SuiteIniScope {
public:
    SuiteIniScope();
    ~SuiteIniScope();
    void Set(const char* section, const char* key, const char* value);
    std::string Get(const char* section, const char* key);
};

// Logging enabled, log files into a scratch directory, masks reloaded; a
// system left running by a test is stopped.
class LoggingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ScratchDir dir;
    SuiteIniScope ini;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string ReadText(const std::string& path);

// All records of `channel` in a log file (header must be current).
std::vector<LogRecord> ReadLogFile(const std::string& path, int channel);

// Dispatches the thread's pending messages for `ms` milliseconds or until
// `done` says so.
void PumpMessages(int ms, const std::function<bool()>& done = {});

// Watches for a dialog box of this process (class #32770) whose title
// starts with `title`, then runs `action` on it from the watcher thread.
class DialogDriver {
public:
    DialogDriver(std::string title, std::function<void(HWND)> action);
    ~DialogDriver() { Finish(); }
    // Whether the action ran. Ends the watch: the dialog the action closed
    // returns its caller before the watcher thread gets to run again.
    bool Seen() {
        Finish();
        return seen_;
    }

private:
    void Finish();

    std::string title_;
    std::function<void(HWND)> action_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

// The longest static text of a message box.
std::string BoxText(HWND box);
// Presses a button of a dialog the way a click does.
void Press(HWND dialog, int id);

}  // namespace kvo::test
