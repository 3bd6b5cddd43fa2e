// Test scaffolding for the voice runtime: KVO32.INI sections set per test,
// the simulated card's scenario and journal, message boxes answered from a
// watcher thread, and channel log records captured through the test sink.
#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ChannelLog.h"
#include "fw/Handle.h"

namespace kvotest {

// Clears the voice sections of KVO32.INI on entry and exit; Set writes a key.
class SuiteIni {
public:
    SuiteIni();
    ~SuiteIni();
    void Set(const char* section, const char* key, const char* value);
    std::string Get(const char* section, const char* key);
};

// A scenario for the simulated card, found through KVORHT32_SCENARIO, and
// the journal of what the lines were asked to do.
class Scenario {
public:
    explicit Scenario(const std::string& text);
    ~Scenario();
    std::vector<std::string> Journal() const;
    // Journal lines of one channel without the "chN " prefix.
    std::vector<std::string> Operations(int channel) const;

private:
    std::string scenario_, journal_;
};

// Presses OK on every message box this process shows and keeps their texts.
class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    std::vector<std::string> Texts();

private:
    void Watch();
    static BOOL CALLBACK OnWindow(HWND hwnd, LPARAM self);
    std::atomic<bool> stop_{false};
    std::mutex m_;
    std::vector<std::string> texts_;
    std::thread thread_;
};

// Channel log records as the lines of text the log window would show.
class LogCapture : public kvo::TestLogSink {
public:
    LogCapture();
    ~LogCapture() override;
    void AddRecord(const kvo::LogRecord& record) override;
    std::vector<std::string> Lines();
    bool Has(const std::string& line);

private:
    std::mutex m_;
    std::vector<std::string> lines_;
    std::string dir_;
};

// A file of `bytes` bytes of voice data, opened for reading.
class VoiceFile {
public:
    explicit VoiceFile(size_t bytes);
    ~VoiceFile();
    HANDLE Handle() const { return handle_.Get(); }

private:
    std::string path_;
    fw::FileHandle handle_;
};

std::string TempPath(const std::string& name);
std::string ExeDir();

}  // namespace kvotest
