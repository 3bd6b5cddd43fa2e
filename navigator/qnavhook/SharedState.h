// State shared by every process that maps the hook library: the control
// program and each attached IDE. Lives in one shared data section.
#pragma once
#include <windows.h>

namespace qnav {

constexpr int kSlotCount = 16;

struct HookSlot {
    LONG inUse;
    LONG attached;
    HWND frame;
    HHOOK messageHook;
    LONG threadCount;
};

struct SharedHookState {
    HookSlot slots[kSlotCount];
    HHOOK shellHook;
    HHOOK lastMessageHook;
    HWND controlWindow;
};

// The one shared copy (section ".shared": shared, initialised, read, write).
extern SharedHookState g_shared;

}  // namespace qnav
