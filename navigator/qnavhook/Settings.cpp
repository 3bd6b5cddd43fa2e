#include "Settings.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"
#include <algorithm>
#include <iterator>

namespace qnav {

namespace {
template <std::size_t N>
DWORD CopyGroup(const COLORREF (&from)[N], COLORREF* to) {
    static_assert(N <= kMaxColorGroup);
    if (to) std::copy(std::begin(from), std::end(from), to);
    return N;
}
}  // namespace

DWORD HookSetting(int index, COLORREF* group) {
    HookSettings& s = g_shared.settings;
    switch (index) {
    case kSetFirstCall: return static_cast<DWORD>(InterlockedExchange(reinterpret_cast<LONG*>(&s.FirstCall), 0));
    case kSetShiftRightMouse: return s.ShiftRightMouse;
    case kSetCppComments: return s.CppComments;
    case kSetItemCount: return std::clamp<DWORD>(s.ItemCount, 5, 99);
    case kSet3DSelection: return static_cast<DWORD>(s.ThreeDSelection);
    case kSetButtonsRight: return static_cast<DWORD>(s.ButtonsRight);
    case kSetMButtonSpace: return s.MButtonSpace;
    case kSetEButtonSpace: return s.EButtonSpace;
    case kSetCTemplates: return s.cTemplates;
    case kSetCClasses: return s.cClasses;
    case kSetCStructs: return s.cStructs;
    case kSetCMacros: return s.cMacros;
    case kSetCDefines: return s.cDefines;
    case kSetCMFCMacros: return s.cMFCMacros;
    case kSetAsmMacros: return s.asmMacros;
    case kSetAsmStructs: return s.asmStructs;
    case kSetShowQualifiedClass: return s.ShowQualifiedClass;
    case kSetShowBaseList: return s.ShowBaseList;
    case kSetShowProcAttributes: return s.ShowProcAttributes;
    case kSetButtonColor: return s.ButtonColor;
    case kSetCppColors: return CopyGroup(s.CppColors, group);
    case kSetResourceColors: return CopyGroup(s.ResourceColors, group);
    case kSetAsmColors: return CopyGroup(s.AsmColors, group);
    case kSetOtherColors: return CopyGroup(s.OtherColors, group);
    default: return 0;
    }
}

void StoreShowQualifiedClass(DWORD value) {
    g_shared.settings.ShowQualifiedClass = value;
    if (g_process.notifyWindow)
        PostMessageA(g_process.notifyWindow, QNM_QUALIFIEDCHANGED, kShowQualifiedClassIndex, static_cast<LPARAM>(value));
}

}  // namespace qnav
