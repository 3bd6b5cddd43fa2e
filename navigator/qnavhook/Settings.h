// The hook's only way to read the settings block: one accessor by index,
// with the clamps the hook relies on.
#pragma once
#include <windows.h>

namespace qnav {

// Setting indices (the same numbers the control program uses in messages).
enum SettingIndex : int {
    kSetFirstCall = 0, kSetShiftRightMouse = 1, kSetCppComments = 2, kSetItemCount = 3,
    kSet3DSelection = 4, kSetButtonsRight = 5, kSetMButtonSpace = 6, kSetEButtonSpace = 7,
    kSetCTemplates = 20, kSetCClasses, kSetCStructs, kSetCMacros, kSetCDefines, kSetCMFCMacros,
    kSetAsmMacros = 26, kSetAsmStructs = 27,
    kSetShowQualifiedClass = 30, kSetShowBaseList = 31, kSetShowProcAttributes = 32,
    kSetButtonColor = 60,
    kSetCppColors = 61, kSetResourceColors = 62, kSetAsmColors = 63, kSetOtherColors = 64,
};

// Largest colour group, for callers' buffers.
constexpr int kMaxColorGroup = 14;

// Value of setting `index`. FirstCall is cleared by reading it. For the
// colour groups (61-64) the group is copied into `group`, which must hold
// kMaxColorGroup entries, and the result is the number of colours copied.
// Unknown indices answer 0.
DWORD HookSetting(int index, COLORREF* group = nullptr);

// The outline list toggled the qualified-names flag: keep it in the shared
// block and tell the control program, which stores it in QNAV.INI.
void StoreShowQualifiedClass(DWORD value);

}  // namespace qnav
