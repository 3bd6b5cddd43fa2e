// The system settings of KVO32.INI that the voice runtime reads once at
// module start, and the keys the PBX settings page writes back. Reading and
// writing go through SettingsStore so the rules stay free of Win32.
#pragma once
#include <cstddef>
#include <string>

namespace kvo {

// Lines the runtime serves at most, whatever the card offers.
constexpr int kMaxChannels = 48;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // At most `maxChars` characters of the value (the rest is cut off).
    virtual std::string ReadString(const char* section, const char* key, const char* def, size_t maxChars) = 0;
    virtual int ReadInt(const char* section, const char* key, int def) = 0;
    virtual bool WriteString(const char* section, const char* key, const std::string& value) = 0;
};

// A value of any length the old reader allowed: first 79 characters; a value
// that fills them is read again with room for 1023.
std::string ReadIniString(SettingsStore& store, const char* section, const char* key, const char* def);

enum VoiceFormat { kvoULAW_8K = 0, kvoOKI_8K = 1, kvoULAW_6K = 2, kvoOKI_6K = 3 };
int FormatSampleRate(int format);
int FormatBytesPerSecond(int format);

struct SystemSettings {
    // [Run]
    std::string defaultCpl = "KAVORO.CPL";
    std::string defaultError = "error.wav";
    std::string defaultSilence = "error.wav";
    // [PBX] dial strings
    std::string putOnHold = "!,";
    std::string reconnectFromHold = "!,";
    std::string xfer = "!,";
    std::string connect = ",";
    std::string reconnectFromBusyNoAns = "!";
    // [Test]
    int waitForRing = 1;
    std::string testTapiLine;
    int testChannel = 0;            // 0-based, already brought into range
    int stayOffHook = 1;
    int testDial = 0;
    std::string testDialNumber = "!";
    // [Record], [PlayMsgs]
    int voxConvert = 0;
    int recChop = 0;
    int recChopSil = 0;
    int mailBoxLen = 3;
    // [VoiceCard]
    int defaultFormat = kvoULAW_8K;
    int disableLCDetect = 0;
    // Kept for a driver that wants them; nothing in the runtime reads them.
    int maxDialToneWait = 6;
    int minDialTone = 2;
    int detectDialTone = 10;
    int detectAnswerTime = 600;     // tenths of the stored value
    int answerDeglitch = 60;
    int callerId = 0;
    std::string callerIdName;
    int silenceDebounce = 10;
    int useInflection = 0;

    int SampleRate() const { return FormatSampleRate(defaultFormat); }
    int BytesPerSecond() const { return FormatBytesPerSecond(defaultFormat); }
};

// The 0-based test channel for a [Test] TestChannel value.
int TestChannelFromSetting(int value);

SystemSettings LoadSystemSettings(SettingsStore& store);
// DefaultCPL, then the five PBX strings; false when a write failed.
bool SaveSystemSettings(const SystemSettings& settings, SettingsStore& store);

}  // namespace kvo
