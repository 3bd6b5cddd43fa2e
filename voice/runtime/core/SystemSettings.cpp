#include "SystemSettings.h"

namespace kvo {
namespace {

constexpr size_t kShortValue = 79;
constexpr size_t kLongValue = 1023;
constexpr size_t kPbxString = 9;
constexpr size_t kDialNumber = 13;
constexpr size_t kCallerName = 14;

}  // namespace

std::string ReadIniString(SettingsStore& store, const char* section, const char* key, const char* def) {
    std::string value = store.ReadString(section, key, def, kShortValue);
    if (value.size() >= kShortValue) value = store.ReadString(section, key, def, kLongValue);
    return value;
}

int FormatSampleRate(int format) {
    return format == kvoULAW_6K || format == kvoOKI_6K ? 6000 : 8000;
}

int FormatBytesPerSecond(int format) {
    static const int table[] = {8000, 4000, 6000, 3000};
    return format >= 0 && format <= 3 ? table[format] : table[kvoOKI_6K];
}

int TestChannelFromSetting(int value) {
    const int ch = value - 1;
    return ch < 0 || ch >= kMaxChannels ? 0 : ch;
}

SystemSettings LoadSystemSettings(SettingsStore& s) {
    SystemSettings r;
    r.defaultCpl = ReadIniString(s, "Run", "DefaultCPL", "KAVORO.CPL");
    r.defaultError = ReadIniString(s, "Run", "DefaultError", "error.wav");
    r.defaultSilence = ReadIniString(s, "Run", "DefaultSilence", "error.wav");
    r.putOnHold = s.ReadString("PBX", "PUTONHOLD", "!,", kPbxString);
    r.reconnectFromHold = s.ReadString("PBX", "RECONNECTFROMHOLD", "!,", kPbxString);
    r.xfer = s.ReadString("PBX", "XFER", "!,", kPbxString);
    r.connect = s.ReadString("PBX", "CONNECT", ",", kPbxString);
    r.reconnectFromBusyNoAns = s.ReadString("PBX", "RECONNECTFROMBUSYNOANS", "!", kPbxString);
    r.waitForRing = s.ReadInt("Test", "WaitForRing", 1);
    r.testTapiLine = ReadIniString(s, "Test", "TestTapiLine", "");
    r.testChannel = TestChannelFromSetting(s.ReadInt("Test", "TestChannel", 0));
    r.stayOffHook = s.ReadInt("Test", "StayOffHook", 1);
    r.testDial = s.ReadInt("Test", "TestDial", 0);
    r.testDialNumber = s.ReadString("Test", "TestDialNumber", "!", kDialNumber);
    r.voxConvert = s.ReadInt("Record", "Voxconvert", 0);
    r.recChop = s.ReadInt("Record", "RecChop", 0);
    r.recChopSil = s.ReadInt("Record", "RecChopSil", 0);
    r.mailBoxLen = s.ReadInt("PlayMsgs", "MailBoxLen", 3);
    r.defaultFormat = s.ReadInt("VoiceCard", "DefaultFormat", 0);
    if (r.defaultFormat < 0 || r.defaultFormat > 3) r.defaultFormat = kvoOKI_6K;
    r.disableLCDetect = s.ReadInt("VoiceCard", "DisableLCDetect", 0);
    r.maxDialToneWait = s.ReadInt("PBX", "MaxDialToneWait", 6);
    r.minDialTone = s.ReadInt("PBX", "MinDialTone", 2);
    r.detectDialTone = s.ReadInt("PBX", "DetectDialTone", 10);
    r.detectAnswerTime = s.ReadInt("PBX", "DetectAnswerTime", 6000) / 10;
    r.answerDeglitch = s.ReadInt("PBX", "AnswerDeglitch", 600) / 10;
    r.callerId = s.ReadInt("Phone", "CallerID", 0);
    r.callerIdName = s.ReadString("Phone", "CallerIDName", "", kCallerName);
    r.silenceDebounce = s.ReadInt("Record", "SilenceDebounce", 10);
    r.useInflection = s.ReadInt("System", "Use_Inflection", 0);
    return r;
}

bool SaveSystemSettings(const SystemSettings& r, SettingsStore& s) {
    bool ok = s.WriteString("Run", "DefaultCPL", r.defaultCpl);
    ok = s.WriteString("PBX", "PUTONHOLD", r.putOnHold) && ok;
    ok = s.WriteString("PBX", "RECONNECTFROMHOLD", r.reconnectFromHold) && ok;
    ok = s.WriteString("PBX", "XFER", r.xfer) && ok;
    ok = s.WriteString("PBX", "CONNECT", r.connect) && ok;
    ok = s.WriteString("PBX", "RECONNECTFROMBUSYNOANS", r.reconnectFromBusyNoAns) && ok;
    return ok;
}

}  // namespace kvo
