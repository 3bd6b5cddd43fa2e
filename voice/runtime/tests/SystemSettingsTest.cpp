// The settings rules on a store that behaves like the profile API: values
// cut to the buffer, defaults for missing keys, writes in order.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "SystemSettings.h"

namespace {

class MapStore : public kvo::SettingsStore {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> writes;
    int reads = 0;

    std::string ReadString(const char* section, const char* key, const char* def, size_t maxChars) override {
        ++reads;
        auto it = values.find({section, key});
        std::string v = it == values.end() ? def : it->second;
        return v.substr(0, maxChars);
    }
    int ReadInt(const char* section, const char* key, int def) override {
        auto it = values.find({section, key});
        return it == values.end() ? def : std::stoi(it->second);
    }
    bool WriteString(const char* section, const char* key, const std::string& value) override {
        writes.push_back(std::string(section) + "/" + key + "=" + value);
        values[{section, key}] = value;
        return true;
    }
};

}  // namespace

TEST(SystemSettings, DefaultsOfAnEmptyFile) {
    MapStore store;
    const auto s = kvo::LoadSystemSettings(store);
    EXPECT_EQ(s.defaultCpl, "KAVORO.CPL");
    EXPECT_EQ(s.defaultError, "error.wav");
    EXPECT_EQ(s.defaultSilence, "error.wav");
    EXPECT_EQ(s.putOnHold, "!,");
    EXPECT_EQ(s.reconnectFromHold, "!,");
    EXPECT_EQ(s.xfer, "!,");
    EXPECT_EQ(s.connect, ",");
    EXPECT_EQ(s.reconnectFromBusyNoAns, "!");
    EXPECT_EQ(s.waitForRing, 1);
    EXPECT_EQ(s.testChannel, 0);
    EXPECT_EQ(s.stayOffHook, 1);
    EXPECT_EQ(s.testDialNumber, "!");
    EXPECT_EQ(s.mailBoxLen, 3);
    EXPECT_EQ(s.defaultFormat, 0);
    EXPECT_EQ(s.SampleRate(), 8000);
    EXPECT_EQ(s.BytesPerSecond(), 8000);
    EXPECT_EQ(s.detectAnswerTime, 600);
    EXPECT_EQ(s.answerDeglitch, 60);
}

TEST(SystemSettings, RangesAndLengthLimits) {
    const struct { const char* section; const char* key; const char* value; const char* note; } cases[] = {
        {"VoiceCard", "DefaultFormat", "7", "format above 3"},
        {"VoiceCard", "DefaultFormat", "-1", "format below 0"},
    };
    for (const auto& c : cases) {
        MapStore store;
        store.values[{c.section, c.key}] = c.value;
        const auto s = kvo::LoadSystemSettings(store);
        EXPECT_EQ(s.defaultFormat, 3) << c.note;
        EXPECT_EQ(s.BytesPerSecond(), 3000) << c.note;
        EXPECT_EQ(s.SampleRate(), 6000) << c.note;
    }
    const struct { int setting; int channel; } channels[] = {{0, 0}, {1, 0}, {2, 1}, {48, 47}, {49, 0}, {-3, 0}};
    for (const auto& c : channels) EXPECT_EQ(kvo::TestChannelFromSetting(c.setting), c.channel) << c.setting;

    MapStore store;
    store.values[{"PBX", "XFER"}] = "!,123456789";
    store.values[{"Test", "TestDialNumber"}] = "0123456789ABCDEF";
    store.values[{"Phone", "CallerIDName"}] = "A very long caller name";
    const auto s = kvo::LoadSystemSettings(store);
    EXPECT_EQ(s.xfer, "!,1234567") << "PBX strings hold 9 characters";
    EXPECT_EQ(s.testDialNumber, "0123456789ABC");
    EXPECT_EQ(s.callerIdName, "A very long ca");
}

TEST(SystemSettings, LongStringsAreReadAgainWithRoom) {
    MapStore store;
    const std::string longName(300, 'x');
    store.values[{"Run", "DefaultError"}] = longName;
    store.values[{"Run", "DefaultSilence"}] = std::string(2000, 'y');
    store.values[{"Run", "DefaultCPL"}] = std::string(78, 'z');
    const auto s = kvo::LoadSystemSettings(store);
    EXPECT_EQ(s.defaultError, longName);
    EXPECT_EQ(s.defaultSilence.size(), 1023u);
    EXPECT_EQ(s.defaultCpl.size(), 78u);

    MapStore once;
    once.values[{"Run", "DefaultCPL"}] = std::string(78, 'z');
    kvo::ReadIniString(once, "Run", "DefaultCPL", "");
    EXPECT_EQ(once.reads, 1) << "a value that fits is read once";
}

TEST(SystemSettings, WriterStoresCplThenThePbxStrings) {
    MapStore store;
    kvo::SystemSettings s;
    s.defaultCpl = "OFFICE.CPL";
    s.xfer = "!9";
    EXPECT_TRUE(kvo::SaveSystemSettings(s, store));
    const std::vector<std::string> want = {
        "Run/DefaultCPL=OFFICE.CPL", "PBX/PUTONHOLD=!,", "PBX/RECONNECTFROMHOLD=!,",
        "PBX/XFER=!9",               "PBX/CONNECT=,",    "PBX/RECONNECTFROMBUSYNOANS=!",
    };
    EXPECT_EQ(store.writes, want);
    EXPECT_EQ(kvo::LoadSystemSettings(store).xfer, "!9") << "what was written reads back";
}
