#include "Hooks.h"
#include "Attachment.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"

namespace qnav {

namespace {

LRESULT CALLBACK ShellProc(int code, WPARAM wp, LPARAM lp) {
    // Every hook in the chain runs this, and the hook of a control program
    // that was ended (a crash) can stay there a while beside the new one:
    // each window is reported once.
    static HWND reported = nullptr;
    const HWND window = reinterpret_cast<HWND>(wp);
    if (code == HSHELL_WINDOWCREATED && window != reported && g_shared.controlWindow && IsIdeMainWindow(window)) {
        reported = window;
        PostMessageA(g_shared.controlWindow, QNM_FRAMECREATED, wp, 0);
    }
    return g_shared.shellHook ? CallNextHookEx(g_shared.shellHook, code, wp, lp) : 0;
}

// Runs in the IDE's thread; the tagged WM_NULL is what brings it there.
// Only a message taken from the queue counts: a loop that peeks first would
// otherwise run the attachment (and show its failure) twice.
LRESULT CALLBACK GetMessageProc(int code, WPARAM wp, LPARAM lp) {
    if (code >= 0 && (wp & PM_REMOVE) && !g_process.attached) {
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (!g_process.cachedHook) {
            const int slot = FindSlot(m->hwnd);
            if (slot >= 0) g_process.cachedHook = g_shared.slots[slot].messageHook;
        }
        if (m->message == WM_NULL && m->lParam == QNM_TAG) {
            AttachInProcess(m->hwnd, g_shared.controlWindow);
            return 1;
        }
    }
    HHOOK next = g_process.cachedHook ? g_process.cachedHook : g_shared.lastMessageHook;
    return next ? CallNextHookEx(next, code, wp, lp) : 0;
}

void ReleaseMessageHook(HookSlot& s) {
    if (s.messageHook) UnhookWindowsHookEx(s.messageHook);
    s.messageHook = nullptr;
}

void FreeSlot(HookSlot& s) {
    s.inUse = 0;
    s.frame = nullptr;
    s.threadCount = 0;
}

BOOL CALLBACK AttachOne(HWND w, LPARAM) {
    if (!IsIdeMainWindow(w) || FindSlot(w) >= 0) return TRUE;
    HookSlot* slot = nullptr;
    for (HookSlot& s : g_shared.slots)
        if (!s.inUse) { slot = &s; break; }
    if (!slot) return FALSE;
    slot->inUse = 1;
    const DWORD thread = GetWindowThreadProcessId(w, nullptr);
    if (!thread) {
        slot->inUse = 0;
        return FALSE;
    }
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &GetMessageProc, g_process.instance, thread);
    if (!hook) {
        slot->inUse = 0;
        return FALSE;
    }
    slot->messageHook = hook;
    g_shared.lastMessageHook = hook;
    slot->attached = 0;
    slot->frame = w;
    slot->threadCount = 0;
    PostMessageA(w, WM_NULL, 0, QNM_TAG);
    return TRUE;
}

}  // namespace

LRESULT InstallShellHook(HWND control) {
    // A control window that is gone means its program ended without removing
    // the hook (a crash): the system took the hook with it, and nothing
    // would report new IDEs any more.
    if (g_shared.shellHook && !IsWindow(g_shared.controlWindow)) RemoveShellHook();
    if (g_shared.shellHook) return 1;
    HHOOK hook = SetWindowsHookExA(WH_SHELL, &ShellProc, g_process.instance, 0);
    if (!hook) return 0;
    g_shared.shellHook = hook;
    g_shared.controlWindow = control;
    return 1;
}

LRESULT RemoveShellHook() {
    if (g_shared.shellHook) UnhookWindowsHookEx(g_shared.shellHook);
    g_shared.shellHook = nullptr;
    g_shared.controlWindow = nullptr;
    return 1;
}

LRESULT RemoveAllHooks() {
    RemoveShellHook();
    for (HookSlot& s : g_shared.slots) ReleaseMessageHook(s);
    return 1;
}

LRESULT UpdateSettings(const HookSettings* settings) {
    if (!settings) return 1;  // nothing to copy; keep the block in use
    const HookSettings& old = g_shared.settings;
    const bool captions = old.ButtonColor != settings->ButtonColor || old.ButtonsRight != settings->ButtonsRight ||
                          old.MButtonSpace != settings->MButtonSpace || old.EButtonSpace != settings->EButtonSpace;
    // An IDE that showed the first-use hint cleared FirstCall here; the
    // control program's copy never hears of it.
    const bool hintShown = old.FirstCall == 0;
    g_shared.settings = *settings;
    if (hintShown) g_shared.settings.FirstCall = 0;
    for (const HookSlot& s : g_shared.slots)
        if (s.frame && IsWindow(s.frame)) PostMessageA(s.frame, QNM_SETTINGSCHANGED, captions ? 1 : 0, QNM_TAG);
    return 1;
}

LRESULT AttachAll(const HookSettings* settings) {
    if (settings) g_shared.settings = *settings;
    EnumWindows(&AttachOne, 0);
    return 1;
}

LRESULT DetachAll() {
    // By the slots: a frame whose title changed since it was attached still
    // runs our procedures. An IDE that does not answer (hung) keeps its slot
    // and its hook, so our code stays mapped under those procedures; the
    // result then says not everything was detached.
    constexpr UINT kAnswerMs = 5000;
    LRESULT result = 1;
    for (HookSlot& s : g_shared.slots) {
        if (!s.inUse) continue;
        if (s.frame && IsWindow(s.frame)) {
            DWORD_PTR answer = 0;
            if (!SendMessageTimeoutA(s.frame, QNM_DETACH, 0, QNM_TAG, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerMs,
                                     &answer)) {
                result = 0;
                continue;
            }
        } else {
            s.attached = 0;   // its IDE ended without detaching
        }
        ReleaseMessageHook(s);
        if (!s.attached) FreeSlot(s);
    }
    return result;
}

LRESULT QueryAttached(LONG* threadCount) {
    // Threads counted for a frame that is gone (its IDE ended without
    // detaching) hold nothing; counting them would refuse the uninstall for
    // as long as any other IDE stays attached.
    LONG sum = 0;
    for (const HookSlot& s : g_shared.slots)
        if (s.frame && IsIdeMainWindow(s.frame)) sum += s.threadCount;
    if (threadCount) *threadCount = sum;
    return sum != 0 ? 1 : 0;
}

}  // namespace qnav
