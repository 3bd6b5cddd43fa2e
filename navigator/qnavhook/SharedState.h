// State shared by every process that maps the hook library: the control
// program and each attached IDE. Lives in one shared data section and is
// written without locks: a slot is claimed by the control program and
// completed by the IDE's thread.
#pragma once
#include <windows.h>
#include "HookSettings.h"

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
    HookSettings settings;
};

// The one shared copy (section ".shared": shared, initialised, read, write).
extern SharedHookState g_shared;

// Slot of `frame` (first match), or -1.
int FindSlot(HWND frame);

}  // namespace qnav
