// Files a test owns: a private temporary folder and a private-profile (INI)
// file, each cleared before the test uses it (whatever ran before) and
// removed afterwards.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace fw::testing {

// A fresh folder under the temporary path, named after `stem`, this process
// and a serial; removed with everything in it.
class TempDir {
public:
    explicit TempDir(const std::string& stem = "qvtest");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }   // ends with a backslash
    std::string File(const std::string& name) const { return path_ + name; }
    // Writes `text` to File(name) and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;

private:
    std::string path_;
};

// Removes `path` and, for a folder, everything below it.
void RemoveTree(const std::string& path);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool WriteText(const std::string& path, const std::string& text);

// A private-profile file by its name in the Windows directory ("QNAV.INI"),
// or by a full path: missing when the scope begins and when it ends. The
// profile cache is dropped each time, so what another process wrote is seen.
class IniFileScope {
public:
    explicit IniFileScope(std::string name);
    ~IniFileScope();
    IniFileScope(const IniFileScope&) = delete;
    IniFileScope& operator=(const IniFileScope&) = delete;

    const std::string& Name() const { return name_; }
    std::string Path() const;
    // Writes a key (nullptr value: removes it; nullptr key: the section).
    void Set(const char* section, const char* key, const char* value) const;
    // The stored value, or `missing`.
    std::string Get(const char* section, const char* key, const char* missing = "<missing>") const;
    // Removes the file (and a folder standing in its place).
    void Remove() const;

private:
    std::string name_;
};

}  // namespace fw::testing
