#include "Attachment.h"
#include "HookGdi.h"
#include "IdeAdapter.h"
#include "ListWindowClass.h"
#include "NavigatorExtensions.h"
#include "PersistedState.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "Settings.h"
#include "SharedState.h"
#include "Subclass.h"
#include "WindowHooks.h"
#include "resource.h"
#include <vector>

namespace qnav {

namespace {

constexpr std::size_t kIncludeStoreSize = 4096;
constexpr UINT kAttachBoxStyle = MB_ICONINFORMATION | MB_TASKMODAL;

BOOL CALLBACK CollectWindow(HWND w, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> out;
    EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND FindMdiClient(HWND frame) {
    for (HWND c = GetWindow(frame, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsMdiClient(c)) return c;
    return nullptr;
}

void UnsubclassIdeWindows(HWND frame, HWND client) {
    if (client) {
        // By the record rather than the role: a window that changed its place
        // must not keep a procedure of a library that may be unloaded.
        for (HWND w : Descendants(client))
            if (IsSubclassed(w)) UnsubclassWindow(w);
        UnsubclassWindow(client);
    }
    UnsubclassWindow(frame);
}

}  // namespace

bool CaptionTextShiftWanted() { return HookSetting(kSetButtonsRight) == 0 && HasWindows4Look(); }

bool HasWindows4Look() {
    const DWORD version = GetVersion();
    if ((version & 0xC0000000u) == 0xC0000000u) return true;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) && info.dwMajorVersion >= 4;
}

bool SubclassIdeWindows(HWND frame) {
    g_process.kind = IdeKindOf(frame);
    if (g_process.kind == IdeKind::None) {
        g_process.frame = nullptr;
        return false;
    }
    g_process.frame = frame;
    HWND client = FindMdiClient(frame);
    if (IsSubclassed(frame)) {
        g_process.mdiClient = client;
        return true;
    }
    if (!SubclassWindow(frame, &FrameHook::Proc)) return false;
    if (!SubclassWindow(client, &MdiClientHook::Proc)) {
        UnsubclassWindow(frame);
        return false;
    }
    g_process.mdiClient = client;
    for (HWND w : Descendants(client)) {
        if (IsMdiChild(w)) {
            if (IsSourceChild(w) && SubclassWindow(w, &ChildFrameHook::Proc)) PostMessageA(w, WM_NCPAINT, 1, 0);
        } else if (IsInnerFrame(w)) {
            SubclassWindow(w, &InnerFrameHook::Proc);
        } else if (IsEditorView(w)) {
            SubclassWindow(w, &ViewHook::Proc);
        }
    }
    g_process.listOpen = g_process.menuOpen = g_process.captionClicksSuppressed = false;
    g_process.paintingCaption = g_process.childClicked = g_process.gotoPending = false;
    g_process.frameLostPosted = false;
    g_process.shiftRightMouse = HookSetting(kSetShiftRightMouse) != 0;
    g_process.captionTextShift = CaptionTextShiftWanted();
    if ((GetVersion() & 0x80000000u) == 0) InvalidateRect(nullptr, nullptr, TRUE);
    return true;
}

void AttachInProcess(HWND frame, HWND control) {
    const int slot = FindSlot(frame);
    if (slot < 0) return;
    HookSlot& s = g_shared.slots[slot];
    if (!s.attached) {
        const IdeKind kind = IdeKindOf(frame);
        g_process.application = IdeAdapter::LocateApplication(frame, kind);
        if (!g_process.application) {
            ShowStringBox(nullptr, IDS_UNKNOWNERROR, kAttachBoxStyle);
            return;
        }
        BuildMenuLayout();
        g_captionGdi.Rebuild();
        if (!SubclassIdeWindows(frame)) {
            ShowStringBox(nullptr, IDS_SUBCLASSFAILED, kAttachBoxStyle);
            return;
        }
        if (!RegisterListClass()) {
            UnsubclassIdeWindows(frame, g_process.mdiClient);
            ShowStringBox(nullptr, IDS_UNKNOWNERROR, kAttachBoxStyle);
            return;
        }
        g_listFont.Update(g_shared.settings.Font);
        OnProcessAttached();
        g_process.includeList.assign(kIncludeStoreSize, '\0');
        g_process.projectIncludeDirs.assign(kIncludeStoreSize, '\0');
        s.attached = 1;
    }
    g_process.notifyWindow = control;
    g_process.attached = true;
    PostMessageA(frame, QNM_ATTACHED, 0, QNM_TAG);
}

void DetachInProcess(HWND frame, DetachMode mode) {
    const int slot = FindSlot(frame);
    if (slot < 0 || !g_shared.slots[slot].attached) return;
    HookSlot& s = g_shared.slots[slot];

    std::vector<char>().swap(g_process.includeList);
    std::vector<char>().swap(g_process.projectIncludeDirs);
    OnProcessDetaching();
    UnregisterListClass();
    g_listFont.Release();
    g_captionGdi.Release();
    UnsubclassIdeWindows(frame, g_process.mdiClient);
    if (mode == DetachMode::KeepHook) InvalidateRect(nullptr, nullptr, TRUE);

    g_process.notifyWindow = nullptr;
    s.attached = 0;
    if (mode == DetachMode::RemoveHook) {
        if (s.messageHook && UnhookWindowsHookEx(s.messageHook)) s.messageHook = nullptr;
        if (!s.messageHook) {
            s.inUse = 0;
            s.frame = nullptr;
        }
    }
    g_process.attached = false;
    g_process.cachedHook = nullptr;
    g_process.frame = g_process.mdiClient = nullptr;
    g_process.application = 0;
}

}  // namespace qnav
