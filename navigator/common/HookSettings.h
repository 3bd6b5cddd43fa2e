// The settings block the control program hands to the hook library, field
// for field as both deliverables lay it out in memory. One declaration for
// both: any change here changes the contract between qnav and qnavhook.
#pragma once
#include <windows.h>
#include <cstddef>

namespace qnav {

// One keyboard shortcut of a menu record; character 0 means none.
struct ItemHotKey {
    WORD character;
    WORD virtualKey;
    WORD modifiers;
    WORD scanCode;
};

// One command group of the hook's popup menu. The control program keeps the
// four stored fields and the fixed hot keys; menuSlot is the hook's own.
struct MenuItemOptions {
    DWORD size;          // always sizeof(MenuItemOptions), 40
    DWORD enabled;
    DWORD secondFlag;
    WORD position;
    DWORD extra;
    ItemHotKey hotKey1;
    ItemHotKey hotKey2;
    DWORD menuSlot;
};

// Menu records in the order they are stored and passed.
enum MenuRecord {
    kMenuCopyPaste, kMenuComment, kMenuBookmarks, kMenuIncludes,
    kMenuFunctions, kMenuFileInfo, kMenuUninstall, kMenuRecordCount
};

// Colour groups: word 0 is the leading colour, 1 background, 2 highlight,
// 3 highlighted text, 4 onwards the categories of the group.
constexpr int kCppColorCount = 10;
constexpr int kResourceColorCount = 14;
constexpr int kAsmColorCount = 7;
constexpr int kOtherColorCount = 5;

struct HookSettings {
    DWORD FirstCall;
    DWORD HideIcon;
    DWORD ShiftRightMouse;
    DWORD CppComments;          // "C++Comments"
    WORD ItemCount;
    LONG ThreeDSelection;       // "3DSelection"
    LONG ButtonsRight;
    WORD MButtonSpace;
    WORD EButtonSpace;
    DWORD cTemplates;
    DWORD cClasses;
    DWORD cStructs;
    DWORD cMacros;
    DWORD cDefines;
    DWORD cMFCMacros;
    DWORD asmStructs;
    DWORD asmMacros;
    DWORD ShowQualifiedClass;
    DWORD ShowBaseList;
    DWORD ShowProcAttributes;
    COLORREF ButtonColor;
    COLORREF CppColors[kCppColorCount];
    COLORREF ResourceColors[kResourceColorCount];
    COLORREF AsmColors[kAsmColorCount];
    COLORREF OtherColors[kOtherColorCount];
    LOGFONTA Font;
    MenuItemOptions Menu[kMenuRecordCount];
};

static_assert(sizeof(ItemHotKey) == 8);
static_assert(sizeof(MenuItemOptions) == 40, "the record states its own size as 40");
static_assert(offsetof(HookSettings, ThreeDSelection) == 20);
static_assert(offsetof(HookSettings, cTemplates) == 32);
static_assert(offsetof(HookSettings, ButtonColor) == 76);
static_assert(offsetof(HookSettings, Font) == 80 + 4 * (10 + 14 + 7 + 5));

}  // namespace qnav
