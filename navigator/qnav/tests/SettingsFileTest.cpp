// Loading and storing the settings block through the real profile API, on a
// settings file of the tests' own in the Windows directory (the program's
// QNAV.INI is for the end-to-end tests).
#include <gtest/gtest.h>
#include <cstring>
#include "IniValues.h"
#include "SettingsFile.h"
#include "fw/testing/Files.h"

using qnav::HookSettings;
using qnav::SettingsFile;
using qnav::ini::Rgb;

namespace {

constexpr char kFile[] = "QNAVTEST.INI";

class SettingsFileTest : public ::testing::Test {
protected:
    std::string Ini(const char* section, const char* key) const { return ini.Get(section, key, "<none>"); }
    void Put(const char* section, const char* key, const char* value) const { ini.Set(section, key, value); }
    HookSettings Loaded() const {
        HookSettings s;
        std::memset(&s, 0xCD, sizeof s);   // every field must be set by Load
        file.Load(s);
        return s;
    }
    fw::testing::IniFileScope ini{kFile};
    SettingsFile file{GetModuleHandleA(nullptr), kFile};
};

TEST_F(SettingsFileTest, FreshSystemGetsTheDefaults) {
    const HookSettings s = Loaded();
    EXPECT_EQ(s.FirstCall, 1u);
    EXPECT_EQ(s.HideIcon, 0u);
    EXPECT_EQ(s.ShiftRightMouse, 0u);
    EXPECT_EQ(s.CppComments, 1u);
    EXPECT_EQ(s.ItemCount, 24);
    EXPECT_EQ(s.ThreeDSelection, 0);
    EXPECT_EQ(s.MButtonSpace, 0);
    for (DWORD flag : {s.cTemplates, s.cClasses, s.cStructs, s.cMacros, s.cDefines, s.cMFCMacros,
                       s.asmStructs, s.asmMacros, s.ShowQualifiedClass, s.ShowBaseList, s.ShowProcAttributes})
        EXPECT_EQ(flag, 1u);
    EXPECT_EQ(s.ButtonColor, Rgb(192, 192, 192));
    EXPECT_EQ(s.Font.lfHeight, 0);
    EXPECT_EQ(s.Font.lfFaceName[0], '\0');
    EXPECT_EQ(s.CppColors[0], 0u);
    EXPECT_EQ(s.CppColors[5], Rgb(128, 0, 128)) << "cTemplates";
    EXPECT_EQ(s.ResourceColors[4], Rgb(255, 0, 0)) << "rcAccelerators";
    EXPECT_EQ(s.ResourceColors[13], Rgb(128, 0, 128)) << "rcVersion-Info";
    EXPECT_EQ(s.AsmColors[6], Rgb(0, 128, 128)) << "asmMacros";
    EXPECT_EQ(s.OtherColors[4], 0u) << "Text";

    const DWORD enabled[] = {1, 1, 1, 1, 1, 1, 0}, second[] = {1, 0, 1, 1, 0, 1, 0};
    for (int r = 0; r < qnav::kMenuRecordCount; ++r) {
        EXPECT_EQ(s.Menu[r].size, 40u);
        EXPECT_EQ(s.Menu[r].enabled, enabled[r]) << r;
        EXPECT_EQ(s.Menu[r].secondFlag, second[r]) << r;
        EXPECT_EQ(s.Menu[r].position, r + 1) << r;
        EXPECT_EQ(s.Menu[r].extra, 0u) << r;
    }
    // Fixed hot keys, all Ctrl+Alt.
    const auto& comment = s.Menu[qnav::kMenuComment];
    EXPECT_EQ(comment.hotKey1.character, '/');
    EXPECT_EQ(comment.hotKey1.virtualKey, VK_OEM_2);
    EXPECT_EQ(comment.hotKey1.modifiers, 0x0110);
    EXPECT_EQ(comment.hotKey2.scanCode, 0x34);
    EXPECT_EQ(s.Menu[qnav::kMenuBookmarks].hotKey1.character, 0);
    EXPECT_EQ(s.Menu[qnav::kMenuBookmarks].hotKey2.character, 'J');
    EXPECT_EQ(s.Menu[qnav::kMenuIncludes].hotKey1.scanCode, 0x2D);
    EXPECT_EQ(s.Menu[qnav::kMenuFunctions].hotKey1.virtualKey, 'G');
    EXPECT_EQ(s.Menu[qnav::kMenuCopyPaste].hotKey1.character, 0);
}

TEST_F(SettingsFileTest, MalformedValuesFallBack) {
    Put("Quorvane", "ButtonColor", "10 20");
    Put("Quorvane", "Font", "-13,0,0,0,400,0,0,0,0,3,2,1,34");
    Put("Quorvane", "ItemCount", "65541");
    Put("MenuOptions", "Comment", "0,5,9");
    Put("MenuOptions", "Bookmarks", "2,3,4,5");
    Put("Colors", "Text", "300 -1 7");
    Put("Colors", "rcMenus", "1  2 3");
    HookSettings s = Loaded();
    EXPECT_EQ(s.ButtonColor, Rgb(192, 192, 192));
    EXPECT_EQ(s.Font.lfHeight, 0) << "13 fields give the all-zero font";
    EXPECT_EQ(s.ItemCount, 5) << "16 bits kept";
    const auto& comment = s.Menu[qnav::kMenuComment];
    EXPECT_EQ(comment.enabled, 1u);
    EXPECT_EQ(comment.secondFlag, 0u);
    EXPECT_EQ(comment.position, 2);
    const auto& bookmarks = s.Menu[qnav::kMenuBookmarks];
    EXPECT_EQ(bookmarks.secondFlag, 1u);
    EXPECT_EQ(bookmarks.extra, 5u);
    EXPECT_EQ(s.OtherColors[4], Rgb(44, 255, 7));
    EXPECT_EQ(s.OtherColors[0], 0u) << "leading word is not read from the file";
    EXPECT_EQ(s.ResourceColors[10], Rgb(1, 0, 2));

    EXPECT_TRUE(file.StoreMenuOptions(s));
    EXPECT_EQ(Ini("MenuOptions", "Bookmarks"), "1,1,4,5");
    EXPECT_EQ(Ini("MenuOptions", "Comment"), "1,0,2,0");
}

TEST_F(SettingsFileTest, StoresReadBackAsTheyWereHeld) {
    HookSettings s = Loaded();
    s.HideIcon = 1;
    s.ItemCount = 42;
    s.CppComments = 0;
    s.ThreeDSelection = -3;
    s.EButtonSpace = 2;
    s.asmMacros = 0;
    s.ShowQualifiedClass = 0;
    s.ButtonColor = Rgb(1, 2, 3);
    s.CppColors[9] = Rgb(9, 8, 7);
    s.OtherColors[0] = Rgb(5, 5, 5);
    s.Font.lfHeight = -16;
    s.Font.lfWeight = 700;
    s.Font.lfItalic = 1;
    lstrcpyA(s.Font.lfFaceName, "Arial");
    s.Menu[qnav::kMenuUninstall].enabled = 1;
    s.Menu[qnav::kMenuUninstall].position = 9;
    EXPECT_TRUE(file.StoreOptions(s));
    EXPECT_TRUE(file.StoreColors(s));
    EXPECT_TRUE(file.StoreFont(s));
    EXPECT_TRUE(file.StoreMenuOptions(s));

    EXPECT_EQ(Ini("Quorvane", "ButtonColor"), "1 2 3");
    EXPECT_EQ(Ini("Quorvane", "3DSelection"), "-3");
    EXPECT_EQ(Ini("Quorvane", "Font"), "-16,0,0,0,700,1,0,0,0,0,0,0,0,Arial");
    EXPECT_EQ(Ini("Colors", "cDefines"), "9 8 7");
    EXPECT_EQ(Ini("ParserOptions", "cDefines"), "1") << "same key name, other section";
    EXPECT_EQ(Ini("Quorvane", "FirstCall"), "<none>") << "the control program never writes it";

    const HookSettings r = Loaded();
    EXPECT_EQ(r.HideIcon, 1u);
    EXPECT_EQ(r.ItemCount, 42);
    EXPECT_EQ(r.CppComments, 0u);
    EXPECT_EQ(r.ThreeDSelection, -3);
    EXPECT_EQ(r.EButtonSpace, 2);
    EXPECT_EQ(r.asmMacros, 0u);
    EXPECT_EQ(r.asmStructs, 1u);
    EXPECT_EQ(r.ShowQualifiedClass, 0u);
    EXPECT_EQ(r.CppColors[9], Rgb(9, 8, 7));
    EXPECT_EQ(r.OtherColors[0], 0u);
    EXPECT_EQ(r.Font.lfWeight, 700);
    EXPECT_STREQ(r.Font.lfFaceName, "Arial");
    EXPECT_EQ(r.Menu[qnav::kMenuUninstall].enabled, 1u);
    EXPECT_EQ(r.Menu[qnav::kMenuUninstall].position, 9);
}

TEST_F(SettingsFileTest, FailedWritesAreReportedButFontIsNot) {
    HookSettings s = Loaded();
    // A directory in the file's place makes every write fail.
    ASSERT_TRUE(CreateDirectoryA(ini.Path().c_str(), nullptr));
    s.ItemCount = 7;
    s.CppColors[1] = Rgb(1, 1, 1);
    EXPECT_FALSE(file.StoreOptions(s));
    EXPECT_FALSE(file.StoreColors(s));
    EXPECT_FALSE(file.StoreMenuOptions(s));
    EXPECT_TRUE(file.StoreFont(s));
}

TEST_F(SettingsFileTest, WindowPosition) {
    const SIZE window{200, 100}, screen{1024, 768};
    POINT p = file.RestoreWindowPosition(window, screen);
    EXPECT_EQ(p.x, 412);
    EXPECT_EQ(p.y, 334);
    file.StoreWindowPosition({-5, 2000});
    EXPECT_EQ(Ini("Quorvane", "WindowPosX"), "-5");
    p = file.RestoreWindowPosition(window, screen);
    EXPECT_EQ(p.x, 1024 - 40);
    EXPECT_EQ(p.y, 768 - 40);
    file.StoreWindowPosition({30, 40});
    p = file.RestoreWindowPosition(window, screen);
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 40);
}

}  // namespace
