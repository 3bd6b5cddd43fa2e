#include "VoiceTestSupport.h"
#include "fw/ModulePath.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "LogText.h"
#include "VoiceSystem.h"

namespace kvotest {
namespace {

const char* const kSections[] = {"VoiceCard", "Test", "PBX", "Run", "Record", "PlayMsgs", "Phone", "System"};

}  // namespace

std::string TempPath(const std::string& name) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    return std::string(tmp) + "kvort_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

std::string ExeDir() {
    return fw::ModuleDirectory();
}

SuiteIni::SuiteIni() {
    for (const char* s : kSections) WritePrivateProfileStringA(s, nullptr, nullptr, "KVO32.INI");
}

SuiteIni::~SuiteIni() {
    for (const char* s : kSections) WritePrivateProfileStringA(s, nullptr, nullptr, "KVO32.INI");
    kvo::ReloadSettings();
}

void SuiteIni::Set(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, "KVO32.INI");
}

std::string SuiteIni::Get(const char* section, const char* key) {
    char buf[1100];
    DWORD n = GetPrivateProfileStringA(section, key, "<missing>", buf, sizeof buf, "KVO32.INI");
    return std::string(buf, n);
}

Scenario::Scenario(const std::string& text)
    : scenario_(TempPath("card.scn")), journal_(TempPath("card.log")) {
    std::ofstream(scenario_) << text;
    DeleteFileA(journal_.c_str());
    SetEnvironmentVariableA("KVORHT32_SCENARIO", scenario_.c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", journal_.c_str());
}

Scenario::~Scenario() {
    kvo::UnloadVoiceSystem();
    DeleteFileA(scenario_.c_str());
    DeleteFileA(journal_.c_str());
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

MessageBoxes::MessageBoxes() : thread_([this] { Watch(); }) {}

MessageBoxes::~MessageBoxes() {
    stop_ = true;
    thread_.join();
}

std::vector<std::string> MessageBoxes::Texts() {
    std::lock_guard lock(m_);
    return texts_;
}

void MessageBoxes::Watch() {
    while (!stop_) {
        EnumWindows(&MessageBoxes::OnWindow, reinterpret_cast<LPARAM>(this));
        Sleep(20);
    }
}

BOOL CALLBACK MessageBoxes::OnWindow(HWND hwnd, LPARAM self) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid != GetCurrentProcessId() || std::string(cls) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
    char text[1024] = {};
    GetDlgItemTextA(hwnd, 0xFFFF, text, sizeof text);
    auto* me = reinterpret_cast<MessageBoxes*>(self);
    {
        std::lock_guard lock(me->m_);
        me->texts_.push_back(text);
    }
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    // Wait until it is gone so one box is not read twice.
    for (int i = 0; i < 200 && IsWindow(hwnd) && IsWindowVisible(hwnd); ++i) Sleep(10);
    return TRUE;
}

LogCapture::LogCapture() : dir_(TempPath("logs\\")) {
    CreateDirectoryA(dir_.c_str(), nullptr);
    WritePrivateProfileStringA("System", "Logs", "1", "KVO32.INI");
    WritePrivateProfileStringA("LogFile", nullptr, nullptr, "KVO32.INI");
    kvo::SetLogDirectory(dir_);
    kvo::LogSystemStart(1);
    kvo::SetTestLogSink(this);
    kvo::SetLogTestMode(true);
}

LogCapture::~LogCapture() {
    kvo::SetLogTestMode(false);
    kvo::SetTestLogSink(nullptr);
    kvo::LogSystemStop(1);
    WritePrivateProfileStringA("System", nullptr, nullptr, "KVO32.INI");
    WIN32_FIND_DATAA fd;
    fw::FindHandle h(FindFirstFileA((dir_ + "*").c_str(), &fd));
    if (h) {
        do DeleteFileA((dir_ + fd.cFileName).c_str());
        while (FindNextFileA(h.Get(), &fd));
        h.Reset();
    }
    RemoveDirectoryA(dir_.c_str());
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

VoiceFile::VoiceFile(size_t bytes) : path_(TempPath("clip" + std::to_string(bytes) + ".raw")) {
    std::ofstream(path_, std::ios::binary) << std::string(bytes, '\x7f');
    handle_.Reset(CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

VoiceFile::~VoiceFile() {
    handle_.Reset();
    DeleteFileA(path_.c_str());
}

}  // namespace kvotest
