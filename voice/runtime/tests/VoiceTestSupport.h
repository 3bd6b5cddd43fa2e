// Test scaffolding for the voice runtime: KVO32.INI set per test, the
// simulated card's scenario and journal, and channel log records captured
// through the test sink. Every test starts with no voice system loaded.
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "ChannelLog.h"
#include "fw/Handle.h"
#include "fw/testing/Files.h"

namespace kvotest {

// KVO32.INI missing on entry and exit, with the settings reloaded each time.
class SuiteIni : public fw::testing::IniFileScope {
public:
    SuiteIni();
    ~SuiteIni();
};

// A scenario for the simulated card, found through KVORHT32_SCENARIO, and
// the journal of what the lines were asked to do; the voice system is
// unloaded when it goes.
class Scenario {
public:
    explicit Scenario(const std::string& text);
    ~Scenario();
    std::vector<std::string> Journal() const;
    // Journal lines of one channel without the "chN " prefix.
    std::vector<std::string> Operations(int channel) const;

private:
    fw::testing::TempDir dir_{"kvocard"};
    std::string scenario_, journal_;
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
    fw::testing::TempDir dir_{"kvologs"};
};

// A file of `bytes` bytes of voice data, opened for reading.
class VoiceFile {
public:
    explicit VoiceFile(size_t bytes);
    HANDLE Handle() const { return handle_.Get(); }

private:
    fw::testing::TempDir dir_{"kvoclip"};
    fw::FileHandle handle_;
};

}  // namespace kvotest
