// The control program's access to QNAV.INI through the private-profile API:
// loading the whole settings block and the store operations the dialogs and
// the main window run. Section and key names come from the string table of
// `strings` (the control program's module).
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "HookSettings.h"

namespace qnav {

// One colour group of the settings block as the code walks it.
template <class Color>
struct BasicColorGroup {
    Color* colors;           // word 0 is the leading word, not stored
    int count;
    UINT keyBase;            // string id of word n is keyBase + n
    const std::uint32_t* defaults;
};
constexpr int kColorGroupCount = 4;
BasicColorGroup<COLORREF> ColorGroup(HookSettings& settings, int group);
BasicColorGroup<const COLORREF> ColorGroup(const HookSettings& settings, int group);

class SettingsFile {
public:
    explicit SettingsFile(HINSTANCE strings, std::string fileName = "QNAV.INI")
        : strings_(strings), file_(std::move(fileName)) {}

    void Load(HookSettings& settings) const;
    // Each store attempts every key and reports false if any write failed.
    bool StoreOptions(const HookSettings& settings) const;
    bool StoreColors(const HookSettings& settings) const;
    bool StoreFont(const HookSettings& settings) const;
    bool StoreMenuOptions(const HookSettings& settings) const;
    void StoreWindowPosition(POINT topLeft) const;
    // Top-left corner for a window of `size` on a screen of `screen`.
    POINT RestoreWindowPosition(SIZE size, SIZE screen) const;

    const std::string& FileName() const { return file_; }

private:
    std::string Section(UINT id) const;
    std::string ReadString(const std::string& section, const char* key) const;
    int ReadInt(const std::string& section, const char* key, int def) const;
    bool WriteString(const std::string& section, const char* key, const std::string& value) const;
    bool WriteInt(const std::string& section, const char* key, long value) const;

    HINSTANCE strings_;
    std::string file_;
};

// The hot keys the control program fixes in the menu records after loading.
void FixMenuHotKeys(HookSettings& settings);

}  // namespace qnav
