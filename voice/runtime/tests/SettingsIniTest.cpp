// The system settings through the real profile API on KVO32.INI.
#include <gtest/gtest.h>

#include "VoiceSystem.h"
#include "VoiceTestSupport.h"

TEST(SettingsIni, DefaultsThenValuesFromTheFile) {
    kvotest::SuiteIni ini;
    kvo::ReloadSettings();
    EXPECT_EQ(kvo::Settings().defaultCpl, "KAVORO.CPL");
    EXPECT_EQ(kvo::Settings().xfer, "!,");
    EXPECT_EQ(kvo::Settings().testChannel, 0);

    const std::string longError(200, 'e');
    ini.Set("Run", "DefaultError", longError.c_str());
    ini.Set("PBX", "RECONNECTFROMBUSYNOANS", "!!!!!!!!!!!!");
    ini.Set("Test", "TestChannel", "60");
    ini.Set("VoiceCard", "DefaultFormat", "2");
    kvo::ReloadSettings();
    const auto s = kvo::Settings();
    EXPECT_EQ(s.defaultError, longError) << "long values are read again with room";
    EXPECT_EQ(s.reconnectFromBusyNoAns, "!!!!!!!!!");
    EXPECT_EQ(s.testChannel, 0) << "channel 60 does not exist";
    EXPECT_EQ(s.defaultFormat, 2);
    EXPECT_EQ(s.BytesPerSecond(), 6000);
}

TEST(SettingsIni, WriterStoresWhatThePbxPageApplied) {
    kvotest::SuiteIni ini;
    kvo::ReloadSettings();
    kvo::SystemSettings s = kvo::Settings();
    s.defaultCpl = "OFFICE.CPL";
    s.putOnHold = "!*9";
    s.connect = "";
    ASSERT_TRUE(kvo::WriteSettings(s));
    EXPECT_EQ(kvo::Settings().putOnHold, "!*9") << "in use at once";
    EXPECT_EQ(ini.Get("Run", "DefaultCPL"), "OFFICE.CPL");
    EXPECT_EQ(ini.Get("PBX", "PUTONHOLD"), "!*9");
    EXPECT_EQ(ini.Get("PBX", "XFER"), "!,");
    EXPECT_EQ(ini.Get("PBX", "CONNECT"), "");
    EXPECT_EQ(ini.Get("PBX", "RECONNECTFROMBUSYNOANS"), "!");
    kvo::ReloadSettings();
    EXPECT_EQ(kvo::Settings().defaultCpl, "OFFICE.CPL") << "and read back the same";
    EXPECT_EQ(kvo::Settings().connect, "") << "an empty string stays empty";
}
