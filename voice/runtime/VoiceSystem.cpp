#include "VoiceSystem.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "DriverVoiceInterface.h"
#include "LogSettings.h"
#include "RuntimeExceptions.h"

namespace kvo {
namespace {

// KVO32.INI through the profile API, with the buffer sizes the keys allow.
class ProfileStore : public SettingsStore {
public:
    std::string ReadString(const char* section, const char* key, const char* def, size_t maxChars) override {
        std::vector<char> buf(maxChars + 1);
        DWORD n = GetPrivateProfileStringA(section, key, def, buf.data(), static_cast<DWORD>(buf.size()), kSuiteIni);
        return std::string(buf.data(), n);
    }
    int ReadInt(const char* section, const char* key, int def) override {
        return ReadSuiteInt(section, key, def);
    }
    bool WriteString(const char* section, const char* key, const std::string& value) override {
        return WritePrivateProfileStringA(section, key, value.c_str(), kSuiteIni) != 0;
    }
};

std::mutex g_settingsLock;
std::unique_ptr<SystemSettings> g_settings;

std::unique_ptr<CVoiceInterface> g_current;
int g_lines = 0;
bool g_noSoundCard = false;
bool g_testOnly = false;
std::atomic<bool> g_shutdown{false};
std::atomic<bool> g_kill{false};

// The sound-card interface opens the machine's wave devices; until it is part
// of the library there is no sound card to open, which the choice below
// already handles as a machine without one.
std::unique_ptr<CVoiceInterface> OpenSoundCardInterface(HWND) { return nullptr; }

}  // namespace

SystemSettings Settings() {
    std::lock_guard lock(g_settingsLock);
    if (!g_settings) {
        ProfileStore store;
        g_settings = std::make_unique<SystemSettings>(LoadSystemSettings(store));
    }
    return *g_settings;
}

void ReloadSettings() {
    ProfileStore store;
    auto fresh = std::make_unique<SystemSettings>(LoadSystemSettings(store));
    std::lock_guard lock(g_settingsLock);
    g_settings = std::move(fresh);
}

bool WriteSettings(const SystemSettings& settings) {
    ProfileStore store;
    const bool ok = SaveSystemSettings(settings, store);
    std::lock_guard lock(g_settingsLock);
    g_settings = std::make_unique<SystemSettings>(settings);
    return ok;
}

std::unique_ptr<CVoiceInterface> OpenDriverInterface(HWND parent) {
    auto driver = std::make_unique<CDriverVoiceInterface>(parent);
    const long count = driver->LoadResult();
    if (count > 0) return driver;
    switch (count) {
    case -3:
        VoiceMessage(parent, "Could not load voice interface DLL.\r\n"
                             "You may have an out of date version of the voice interface library.");
        break;
    case -1:
        VoiceMessage(parent, "No voicecard type configured in KVO32.INI.\r\n"
                             "Put [VoiceCard] LoadDriver=0' in the KVO32.INI file to stop this message.");
        break;
    case -2:
    case 0:
        break;
    default:
        VoiceMessage(parent, "Unknown error loading voice card.");
        break;
    }
    return nullptr;
}

void LoadVoiceSystem(HWND parent) {
    ProfileStore store;
    const int loadDriver = store.ReadInt("Voicecard", "LoadDriver", 1);
    const int useSoundCard = store.ReadInt("Test", "UseSoundCard", 1);
    g_current.reset();
    g_lines = 0;
    // The flags describe this choice, not an earlier one.
    g_noSoundCard = false;
    g_testOnly = false;

    std::unique_ptr<CVoiceInterface> sound = OpenSoundCardInterface(parent);
    std::unique_ptr<CVoiceInterface> driver;
    if (!sound) {
        g_noSoundCard = true;
        if (loadDriver) driver = OpenDriverInterface(parent);
        if (driver) {
            g_current = std::move(driver);
            store.WriteString("Test", "UseSoundCard", "0");
        } else {
            g_testOnly = true;
            g_current = std::make_unique<CVoiceInterface>();
        }
    } else {
        if (loadDriver) driver = OpenDriverInterface(parent);
        if (driver && useSoundCard == 0) {
            g_current = std::move(driver);
        } else {
            if (!driver) {
                store.WriteString("Test", "UseSoundCard", "1");
                g_testOnly = true;
            }
            g_current = std::move(sound);
        }
    }
    g_lines = g_current->ChannelCount();
}

void UnloadVoiceSystem() {
    g_current.reset();
    g_lines = 0;
}

void ResetVoiceSystem() {
    UnloadVoiceSystem();
    UnloadDriverLibrary();
    g_noSoundCard = false;
    g_testOnly = false;
    g_shutdown = false;
    g_kill = false;
    ReloadSettings();
}

void UseVoiceInterface(std::unique_ptr<CVoiceInterface> vi) {
    g_current = std::move(vi);
    g_lines = g_current ? g_current->ChannelCount() : 0;
}

CVoiceInterface* VoiceInterface() { return g_current.get(); }
int NumberOfLines() { return g_lines; }
bool NoSoundCard() { return g_noSoundCard; }
bool TestOnly() { return g_testOnly; }

bool ShutdownRequested() { return g_shutdown; }
void SetShutdownRequested(bool on) { g_shutdown = on; }
bool KillChannelsRequested() { return g_kill; }
void SetKillChannelsRequested(bool on) { g_kill = on; }

void ThrowIfShutdown() {
    if (g_shutdown) throw new ShutdownException();
}

}  // namespace kvo
