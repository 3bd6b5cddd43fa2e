#include "fw/testing/Files.h"

#include <atomic>

#include "fw/Handle.h"

namespace fw::testing {

TempDir::TempDir(const std::string& stem) {
    static std::atomic<int> serial{0};
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + stem + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial) +
            "\\";
    RemoveTree(path_.substr(0, path_.size() - 1));   // a dead process's folder of the same name
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(path_.substr(0, path_.size() - 1)); }

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    WriteText(File(name), text);
    return File(name);
}

void RemoveTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA data;
    fw::FindHandle find(FindFirstFileA((path + "\\*").c_str(), &data));
    if (find) {
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") RemoveTree(path + "\\" + name);
        } while (FindNextFileA(find.Get(), &data));
    }
    find.Reset();
    RemoveDirectoryA(path.c_str());
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!file) return bytes;
    std::uint8_t buf[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), buf, sizeof buf, &got, nullptr) && got) bytes.insert(bytes.end(), buf, buf + got);
    return bytes;
}

std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

namespace {
bool WriteAll(const std::string& path, const void* data, std::size_t size) {
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return size == 0 ||
           (WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size);
}
}  // namespace

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return WriteAll(path, bytes.data(), bytes.size());
}

bool WriteText(const std::string& path, const std::string& text) { return WriteAll(path, text.data(), text.size()); }

IniFileScope::IniFileScope(std::string name) : name_(std::move(name)) { Remove(); }

IniFileScope::~IniFileScope() { Remove(); }

std::string IniFileScope::Path() const {
    if (name_.find_first_of("\\/:") != std::string::npos) return name_;
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\" + name_;
}

void IniFileScope::Set(const char* section, const char* key, const char* value) const {
    WritePrivateProfileStringA(section, key, value, name_.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name_.c_str());   // to disk, for other processes
}

std::string IniFileScope::Get(const char* section, const char* key, const char* missing) const {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name_.c_str());   // drop the cache: see other writers
    char buf[1100];
    const DWORD n = GetPrivateProfileStringA(section, key, missing, buf, sizeof buf, name_.c_str());
    return std::string(buf, n);
}

void IniFileScope::Remove() const {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, name_.c_str());
    RemoveTree(Path());
}

}  // namespace fw::testing
