// Per-process state of the hook library.
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"
#include "fw/Window.h"
#include "resource.h"
#include <cstdio>
#include <cstring>
#include <vector>

namespace qnav {

ProcessState g_process;

int FindSlot(HWND frame) {
    if (!frame) return -1;
    for (int i = 0; i < kSlotCount; ++i)
        if (g_shared.slots[i].frame == frame) return i;
    return -1;
}

namespace {

HWND Vanished() {
    if (!g_process.frameLostPosted && g_process.notifyWindow) {
        g_process.frameLostPosted = true;
        PostMessageA(g_process.notifyWindow, QNM_FRAMELOST, 0, 0);
    }
    return nullptr;
}

}  // namespace

void CountThread(LONG delta) {
    if (!g_process.attached) return;
    const int slot = FindSlot(g_process.frame);
    if (slot < 0) return;
    volatile LONG& count = g_shared.slots[slot].threadCount;
    if (delta > 0) {
        InterlockedIncrement(&count);
        return;
    }
    // Threads older than the attachment also end here; they were never counted.
    for (LONG c = count; c > 0; c = count)
        if (InterlockedCompareExchange(&count, c - 1, c) == c) return;
}

HWND CurrentFrame() {
    return g_process.frame && IsWindow(g_process.frame) ? g_process.frame : Vanished();
}

HWND CurrentMdiClient() {
    if (!CurrentFrame()) return nullptr;
    return g_process.mdiClient && IsWindow(g_process.mdiClient) ? g_process.mdiClient : Vanished();
}

int ShowStringBox(HWND owner, UINT textId, UINT style, const char* insert) {
    std::string text = fw::LoadResString(g_process.instance, textId);
    if (insert) {
        std::vector<char> buf(text.size() + std::strlen(insert) + 1);
        std::snprintf(buf.data(), buf.size(), text.c_str(), insert);
        text = buf.data();
    }
    const std::string title = fw::LoadResString(g_process.instance, IDS_TITLE);
    return MessageBoxA(owner, text.c_str(), title.c_str(), style);
}

}  // namespace qnav
