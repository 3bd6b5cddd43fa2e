// Application-wide values the Frame control sets and the voice runtime,
// prompts and logs read: voice directories, play format, default language
// settings, prompt-name length and the container's run mode.
#pragma once
#include <string>

namespace kvo {

struct AppSettings {
    std::string systemVoiceDir;   // [Directories] Voice, with a trailing backslash
    std::string projectVoiceDir;  // where relative prompt files are looked for first
    bool projectDirDiffers = false;
    long playFormat = 0;          // kvoFileFormatConstants
    long timeFormat = 0;
    long dateOrder = 0;
    long languageId = 0;
    long scriptSize = 0;
};

// A copy, for readers on any thread.
AppSettings CurrentAppSettings();
void SetAppSettings(const AppSettings& settings);
// KVO32.INI [Directories] Voice (default "c:\kvo32\") with a trailing backslash.
std::string ReadSystemVoiceDir();

// The container's run mode as the last Frame exchange saw it.
bool RunModeFlag();
void SetRunModeFlag(bool on);

// Makes `dir` and its missing parents; true when it exists afterwards.
bool EnsureDirectory(const std::string& dir);

}  // namespace kvo
