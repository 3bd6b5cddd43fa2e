#include "LogTestSupport.h"

#include <cstring>

#include <fw/Handle.h>

#include "ChannelLog.h"
#include "LogFile.h"
#include "LogSettings.h"

namespace kvo::test {

ScratchDir::ScratchDir() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int serial = 0;
    path_ = std::string(temp) + "kvolog" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++serial) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() {
    WIN32_FIND_DATAA data;
    fw::FindHandle find(FindFirstFileA((path_ + "*").c_str(), &data));
    if (find) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((path_ + data.cFileName).c_str());
        } while (FindNextFileA(find.Get(), &data));
    }
    find.Reset();
    RemoveDirectoryA(path_.c_str());
}

namespace {
std::string IniPath() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\" + kSuiteIni;
}
void ForgetIni() {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, kSuiteIni);  // drops the cache
    DeleteFileA(IniPath().c_str());
}
}  // namespace

SuiteIniScope::SuiteIniScope() { ForgetIni(); }
SuiteIniScope::~SuiteIniScope() { ForgetIni(); }

void SuiteIniScope::Set(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, kSuiteIni);
}

std::string SuiteIniScope::Get(const char* section, const char* key) {
    return ReadSuiteString(section, key);
}

void LoggingTest::SetUp() {
    ini.Set("System", "Logs", "1");
    ini.Set("Directories", "LogFiles", dir.Path().c_str());
    LoadLogMasks();
}

void LoggingTest::TearDown() {
    if (LogSystemRunning()) LogSystemStop(0);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return bytes;
    std::uint8_t buf[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), buf, sizeof buf, &got, nullptr) && got)
        bytes.insert(bytes.end(), buf, buf + got);
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (file) WriteAll(file.Get(), bytes.data(), bytes.size());
}

std::string ReadText(const std::string& path) {
    auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<LogRecord> ReadLogFile(const std::string& path, int channel) {
    auto bytes = ReadBytes(path);
    MemoryByteSource source(bytes.data(), bytes.size());
    std::vector<LogRecord> out;
    if (ReadLogHeader(source) != LogHeaderStatus::Current) return out;
    LogRecord r;
    for (LogReadResult res; (res = ReadLogRecord(source, channel, r)) != LogReadResult::End;)
        if (res == LogReadResult::Record) out.push_back(r);
    return out;
}

void PumpMessages(int ms, const std::function<bool()>& done) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done && done()) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

namespace {
struct FindBox {
    const std::string* title;
    HWND found = nullptr;
};
BOOL CALLBACK FindBoxProc(HWND hwnd, LPARAM lp) {
    auto* find = reinterpret_cast<FindBox*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid != GetCurrentProcessId() || std::string(cls) != "#32770" || !IsWindowVisible(hwnd))
        return TRUE;
    char title[256] = "";
    GetWindowTextA(hwnd, title, sizeof title);
    if (std::string(title).rfind(*find->title, 0) != 0) return TRUE;
    find->found = hwnd;
    return FALSE;
}
}  // namespace

DialogDriver::DialogDriver(std::string title, std::function<void(HWND)> action)
    : title_(std::move(title)), action_(std::move(action)) {
    thread_ = std::thread([this] {
        while (!stop_) {
            FindBox find{&title_};
            EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&find));
            if (find.found) {
                Sleep(50);  // let the dialog finish initialising
                action_(find.found);
                seen_ = true;
                return;
            }
            Sleep(20);
        }
    });
}

void DialogDriver::Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

std::string BoxText(HWND box) {
    std::string best;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (std::string(cls) != "Static") continue;
        char text[512] = "";
        GetWindowTextA(child, text, sizeof text);
        if (std::strlen(text) > best.size()) best = text;
    }
    return best;
}

void Press(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace kvo::test
