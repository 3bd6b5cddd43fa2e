#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "LogText.h"
#include "VoiceSystem.h"

namespace kvotest {
namespace {

// Every test of the program starts as in a fresh process, whatever ran
// before it: no scenario, no voice system, a reset logger. (KVO32.INI is the
// SuiteIni's: a copy of the program run by a test reads its parent's.)
class FreshStart : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        SetEnvironmentVariableA("KVORHT32_SCENARIO", nullptr);
        SetEnvironmentVariableA("KVORHT32_JOURNAL", nullptr);
        kvo::ResetChannelLog();
        kvo::ResetVoiceSystem();
    }
};

const bool g_freshStart = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    return true;
}();

}  // namespace

SuiteIni::SuiteIni() : IniFileScope("KVO32.INI") { kvo::ReloadSettings(); }

SuiteIni::~SuiteIni() {
    Remove();
    kvo::ReloadSettings();
}

Scenario::Scenario(const std::string& text) : scenario_(dir_.File("card.scn")), journal_(dir_.File("card.log")) {
    dir_.Write("card.scn", text);
    SetEnvironmentVariableA("KVORHT32_SCENARIO", scenario_.c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", journal_.c_str());
}

Scenario::~Scenario() {
    kvo::UnloadVoiceSystem();
    SetEnvironmentVariableA("KVORHT32_SCENARIO", nullptr);
    SetEnvironmentVariableA("KVORHT32_JOURNAL", nullptr);
}

std::vector<std::string> Scenario::Journal() const {
    std::ifstream in(journal_);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        lines.push_back(l);
    }
    return lines;
}

std::vector<std::string> Scenario::Operations(int channel) const {
    const std::string prefix = "ch" + std::to_string(channel) + " ";
    std::vector<std::string> out;
    for (const auto& l : Journal())
        if (l.rfind(prefix, 0) == 0) out.push_back(l.substr(prefix.size()));
    return out;
}

LogCapture::LogCapture() {
    kvo::ResetChannelLog();
    WritePrivateProfileStringA("System", "Logs", "1", "KVO32.INI");
    WritePrivateProfileStringA("LogFile", nullptr, nullptr, "KVO32.INI");
    kvo::SetLogDirectory(dir_.Path());
    kvo::LogSystemStart(1);
    kvo::SetTestLogSink(this);
    kvo::SetLogTestMode(true);
}

LogCapture::~LogCapture() {
    kvo::SetLogTestMode(false);
    kvo::SetTestLogSink(nullptr);
    kvo::LogSystemStop(1);
    WritePrivateProfileStringA("System", nullptr, nullptr, "KVO32.INI");
    kvo::ResetChannelLog();
}

void LogCapture::AddRecord(const kvo::LogRecord& record) {
    std::lock_guard lock(m_);
    lines_.push_back(kvo::LogMessageText(record));
}

std::vector<std::string> LogCapture::Lines() {
    std::lock_guard lock(m_);
    return lines_;
}

bool LogCapture::Has(const std::string& line) {
    auto lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

VoiceFile::VoiceFile(size_t bytes) {
    const std::string path = dir_.Write("clip.raw", std::string(bytes, '\x7f'));
    handle_.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace kvotest
