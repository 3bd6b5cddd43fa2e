// Application-wide values (see AppSettings.h).
#include "AppSettings.h"

#include <windows.h>

#include <atomic>
#include <mutex>

#include "SavedForm.h"
#include "VoiceSystem.h"

namespace kvo {

namespace {
std::mutex g_lock;
std::atomic<bool> g_runMode{false};

AppSettings& Stored() {
    static AppSettings settings = [] {
        AppSettings s;
        s.systemVoiceDir = ReadSystemVoiceDir();
        s.projectVoiceDir = s.systemVoiceDir;
        s.playFormat = Settings().defaultFormat;
        return s;
    }();
    return settings;
}
}  // namespace

AppSettings CurrentAppSettings() {
    std::lock_guard guard(g_lock);
    return Stored();
}

void SetAppSettings(const AppSettings& settings) {
    std::lock_guard guard(g_lock);
    Stored() = settings;
}

std::string ReadSystemVoiceDir() {
    char dir[MAX_PATH] = {};
    GetPrivateProfileStringA("Directories", "Voice", "c:\\kvo32\\", dir, sizeof dir, "KVO32.INI");
    return WithTrailingBackslash(dir);
}

bool RunModeFlag() { return g_runMode; }
void SetRunModeFlag(bool on) { g_runMode = on; }

bool EnsureDirectory(const std::string& dir) {
    std::string path = dir;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':') EnsureDirectory(path.substr(0, slash));
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace kvo
