#include "SettingsFile.h"
#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>
#include "IniValues.h"
#include "SettingsIds.h"
#include "fw/Window.h"

namespace qnav {

namespace {

// [ParserOptions] in the order the options store writes them.
struct ParserFlag {
    const char* key;
    DWORD HookSettings::*field;
};
constexpr ParserFlag kParserFlags[] = {
    {"cTemplates", &HookSettings::cTemplates},
    {"cClasses", &HookSettings::cClasses},
    {"cStructs", &HookSettings::cStructs},
    {"cMacros", &HookSettings::cMacros},
    {"cDefines", &HookSettings::cDefines},
    {"cMFCMacros", &HookSettings::cMFCMacros},
    {"asmMacros", &HookSettings::asmMacros},
    {"asmStructs", &HookSettings::asmStructs},
    {"ShowQualifiedClass", &HookSettings::ShowQualifiedClass},
    {"ShowBaseList", &HookSettings::ShowBaseList},
    {"ShowProcAttributes", &HookSettings::ShowProcAttributes},
};

ini::FontFields ToFields(const LOGFONTA& lf) {
    ini::FontFields f;
    f.height = lf.lfHeight;
    f.width = lf.lfWidth;
    f.escapement = lf.lfEscapement;
    f.orientation = lf.lfOrientation;
    f.weight = lf.lfWeight;
    f.italic = lf.lfItalic;
    f.underline = lf.lfUnderline;
    f.strikeOut = lf.lfStrikeOut;
    f.charSet = lf.lfCharSet;
    f.outPrecision = lf.lfOutPrecision;
    f.clipPrecision = lf.lfClipPrecision;
    f.quality = lf.lfQuality;
    f.pitchAndFamily = lf.lfPitchAndFamily;
    f.faceName.assign(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    return f;
}

LOGFONTA ToLogFont(const ini::FontFields& f) {
    LOGFONTA lf{};
    lf.lfHeight = f.height;
    lf.lfWidth = f.width;
    lf.lfEscapement = f.escapement;
    lf.lfOrientation = f.orientation;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeOut;
    lf.lfCharSet = f.charSet;
    lf.lfOutPrecision = f.outPrecision;
    lf.lfClipPrecision = f.clipPrecision;
    lf.lfQuality = f.quality;
    lf.lfPitchAndFamily = f.pitchAndFamily;
    std::memcpy(lf.lfFaceName, f.faceName.data(), std::min<std::size_t>(f.faceName.size(), LF_FACESIZE - 1));
    return lf;
}

}  // namespace

namespace {
template <class Settings>
auto GroupOf(Settings& s, int group) {
    using Color = std::remove_reference_t<decltype(s.CppColors[0])>;
    switch (group) {
    case 0: return BasicColorGroup<Color>{s.CppColors, kCppColorCount, IDS_COLORS_CPP, ini::kCppColorDefaults.data()};
    case 1: return BasicColorGroup<Color>{s.ResourceColors, kResourceColorCount, IDS_COLORS_RESOURCE, ini::kResourceColorDefaults.data()};
    case 2: return BasicColorGroup<Color>{s.AsmColors, kAsmColorCount, IDS_COLORS_ASM, ini::kAsmColorDefaults.data()};
    default: return BasicColorGroup<Color>{s.OtherColors, kOtherColorCount, IDS_COLORS_OTHER, ini::kOtherColorDefaults.data()};
    }
}
}  // namespace

BasicColorGroup<COLORREF> ColorGroup(HookSettings& s, int group) { return GroupOf(s, group); }
BasicColorGroup<const COLORREF> ColorGroup(const HookSettings& s, int group) { return GroupOf(s, group); }

std::string SettingsFile::Section(UINT id) const { return fw::LoadResString(strings_, id); }

std::string SettingsFile::ReadString(const std::string& section, const char* key) const {
    char buf[ini::kValueCapacity + 1];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", buf, sizeof buf, file_.c_str());
    return std::string(buf, n);
}

int SettingsFile::ReadInt(const std::string& section, const char* key, int def) const {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key, def, file_.c_str()));
}

bool SettingsFile::WriteString(const std::string& section, const char* key,
                               const std::string& value) const {
    return WritePrivateProfileStringA(section.c_str(), key, value.c_str(), file_.c_str()) != FALSE;
}

bool SettingsFile::WriteInt(const std::string& section, const char* key, long value) const {
    return WriteString(section, key, std::to_string(value));
}

void SettingsFile::Load(HookSettings& s) const {
    const std::string main = Section(IDS_SECTION_QUORVANE);
    s.FirstCall = ReadInt(main, "FirstCall", 1);
    s.HideIcon = ReadInt(main, "HideIcon", 0);
    s.ShiftRightMouse = ReadInt(main, "ShiftRightMouse", 0);
    s.CppComments = ReadInt(main, "C++Comments", 1);
    s.ItemCount = static_cast<WORD>(ReadInt(main, "ItemCount", 24));
    s.ThreeDSelection = ReadInt(main, "3DSelection", 0);
    s.ButtonsRight = ReadInt(main, "ButtonsRight", 0);
    s.MButtonSpace = static_cast<WORD>(ReadInt(main, "MButtonSpace", 0));
    s.EButtonSpace = static_cast<WORD>(ReadInt(main, "EButtonSpace", 0));
    s.ButtonColor = ini::ParseColor(ReadString(main, "ButtonColor")).value_or(ini::kButtonColorDefault);

    const std::string parser = Section(IDS_SECTION_PARSER);
    for (const auto& flag : kParserFlags) s.*flag.field = ReadInt(parser, flag.key, 1);

    const std::string colors = Section(IDS_SECTION_COLORS);
    for (int g = 0; g < kColorGroupCount; ++g) {
        auto group = ColorGroup(s, g);
        group.colors[0] = 0;
        for (int i = 1; i < group.count; ++i) {
            const std::string key = fw::LoadResString(strings_, group.keyBase + i);
            group.colors[i] = ini::ParseColor(ReadString(colors, key.c_str())).value_or(group.defaults[i]);
        }
    }

    s.Font = ToLogFont(ini::ParseFont(ReadString(main, "Font")).value_or(ini::FontFields{}));

    const std::string menu = Section(IDS_SECTION_MENU);
    for (int r = 0; r < kMenuRecordCount; ++r) {
        const auto& def = ini::kMenuDefaults[r];
        auto fields = ini::ParseMenuOption(ReadString(menu, def.key));
        if (!fields) fields = ini::ParseMenuOption(def.value);
        MenuItemOptions& rec = s.Menu[r];
        rec.size = sizeof(MenuItemOptions);
        rec.enabled = fields->enabled;
        rec.secondFlag = fields->secondFlag;
        rec.position = fields->position;
        rec.extra = fields->extra;
    }
    FixMenuHotKeys(s);
}

void FixMenuHotKeys(HookSettings& s) {
    for (auto& rec : s.Menu) {
        for (ItemHotKey* key : {&rec.hotKey1, &rec.hotKey2}) {
            key->character = 0;
            key->modifiers = 0;
            key->scanCode = 0;
        }
    }
    constexpr WORD kCtrlAlt = 0x0110;
    auto set = [&](ItemHotKey& key, WORD ch, WORD vk, WORD scan) { key = {ch, vk, kCtrlAlt, scan}; };
    set(s.Menu[kMenuComment].hotKey1, '/', VK_OEM_2, 0x35);
    set(s.Menu[kMenuComment].hotKey2, '.', VK_OEM_PERIOD, 0x34);
    set(s.Menu[kMenuBookmarks].hotKey2, 'J', 'J', 0x24);
    set(s.Menu[kMenuIncludes].hotKey1, 'X', 'X', 0x2D);
    set(s.Menu[kMenuFunctions].hotKey1, 'G', 'G', 0x22);
}

bool SettingsFile::StoreOptions(const HookSettings& s) const {
    const std::string main = Section(IDS_SECTION_QUORVANE);
    bool ok = true;
    ok &= WriteInt(main, "HideIcon", static_cast<long>(s.HideIcon));
    ok &= WriteInt(main, "ItemCount", s.ItemCount);
    ok &= WriteInt(main, "ShiftRightMouse", static_cast<long>(s.ShiftRightMouse));
    ok &= WriteInt(main, "C++Comments", static_cast<long>(s.CppComments));
    ok &= WriteInt(main, "ButtonsRight", s.ButtonsRight);
    ok &= WriteInt(main, "MButtonSpace", s.MButtonSpace);
    ok &= WriteInt(main, "EButtonSpace", s.EButtonSpace);
    ok &= WriteInt(main, "3DSelection", s.ThreeDSelection);
    ok &= WriteString(main, "ButtonColor", ini::FormatColor(s.ButtonColor));
    const std::string parser = Section(IDS_SECTION_PARSER);
    for (const auto& flag : kParserFlags) ok &= WriteInt(parser, flag.key, static_cast<long>(s.*flag.field));
    return ok;
}

bool SettingsFile::StoreColors(const HookSettings& s) const {
    const std::string colors = Section(IDS_SECTION_COLORS);
    bool ok = true;
    for (int g = 0; g < kColorGroupCount; ++g) {
        auto group = ColorGroup(s, g);
        for (int i = 1; i < group.count; ++i) {
            const std::string key = fw::LoadResString(strings_, group.keyBase + i);
            ok &= WriteString(colors, key.c_str(), ini::FormatColor(group.colors[i]));
        }
    }
    return ok;
}

bool SettingsFile::StoreFont(const HookSettings& s) const {
    // A failed font write is not reported: the caller treats it as stored.
    WriteString(Section(IDS_SECTION_QUORVANE), "Font", ini::FormatFont(ToFields(s.Font)));
    return true;
}

bool SettingsFile::StoreMenuOptions(const HookSettings& s) const {
    const std::string menu = Section(IDS_SECTION_MENU);
    bool ok = true;
    for (int r = 0; r < kMenuRecordCount; ++r) {
        const MenuItemOptions& rec = s.Menu[r];
        ini::MenuFields f{rec.enabled, rec.secondFlag, rec.position, rec.extra};
        ok &= WriteString(menu, ini::kMenuDefaults[r].key, ini::FormatMenuOption(f));
    }
    return ok;
}

void SettingsFile::StoreWindowPosition(POINT topLeft) const {
    const std::string main = Section(IDS_SECTION_QUORVANE);
    WriteInt(main, "WindowPosX", topLeft.x);
    WriteInt(main, "WindowPosY", topLeft.y);
}

POINT SettingsFile::RestoreWindowPosition(SIZE size, SIZE screen) const {
    const std::string main = Section(IDS_SECTION_QUORVANE);
    const int x = ReadInt(main, "WindowPosX", (screen.cx - size.cx) / 2);
    const int y = ReadInt(main, "WindowPosY", (screen.cy - size.cy) / 2);
    return {ini::ClampWindowCoordinate(x, screen.cx), ini::ClampWindowCoordinate(y, screen.cy)};
}

}  // namespace qnav
