#include "WindowHooks.h"
#include "Attachment.h"
#include "HookGdi.h"
#include "NavigatorExtensions.h"
#include "OutlineList.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "Settings.h"
#include "SharedState.h"
#include "Subclass.h"

namespace qnav {

namespace {
constexpr UINT kListAccelerator = 0x600;  // Developer Studio's 0x8333, as the list sees it
constexpr UINT kDevStudioListCommand = 0x8333;
}  // namespace

bool FrameHook::CarriesButton() {
    BOOL maximized = FALSE;
    HWND client = g_process.mdiClient;
    if (!client || !IsWindow(client)) return false;
    auto active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return active && maximized && IsSourceChild(active);
}

LRESULT CALLBACK FrameHook::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCACTIVATE && wp == 0 && g_process.listOpen) return 1;  // keep the active look
    LRESULT result = 0;
    if (CaptionMessage(w, msg, wp, lp, [](HWND) { return CarriesButton(); }, true, result)) return result;
    switch (msg) {
    case WM_DESTROY: return OnDestroy(w, wp, lp);
    case WM_COMMAND: return OnCommand(w, wp, lp);
    case WM_DROPFILES: {
        // An IDE may open a dropped file later: the pending go-to waits for
        // its window unless a further drop shows the file never came.
        const LRESULT r = CallOldProc(w, msg, wp, lp);
        if (g_process.gotoPending && g_process.pendingDropSeen) g_process.gotoPending = false;
        else g_process.pendingDropSeen = g_process.gotoPending;
        return r;
    }
    case WM_WININICHANGE:
        g_captionGdi.Rebuild();
        break;
    default:
        if (lp == QNM_TAG && msg >= QNM_MENUDONE && msg <= QNM_SETSUPPRESS) return OnPrivate(w, msg, wp, lp);
    }
    return CallOldProc(w, msg, wp, lp);
}

LRESULT FrameHook::OnPrivate(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case QNM_MENUDONE:
        if (wp) DestroyMenu(reinterpret_cast<HMENU>(wp));
        g_process.menuOpen = false;
        PostMessageA(w, QNM_SETSUPPRESS, 0, QNM_TAG);
        return 0;
    case QNM_GOTOPENDING:
        GoToPending(reinterpret_cast<HWND>(wp));
        return 0;
    case QNM_SETTINGSCHANGED:
        OnSettingsChanged(w, wp == 1);
        return 0;
    case QNM_DETACH:
        DetachInProcess(w, DetachMode::KeepHook);
        return 1;
    case QNM_ATTACHED:
        return 0;
    case QNM_SETSUPPRESS:
        if (HIWORD(wp) == 0) g_process.captionClicksSuppressed = LOWORD(wp) != 0;
        return 0;
    }
    return CallOldProc(w, msg, wp, lp);
}

void FrameHook::OnSettingsChanged(HWND w, bool repaintCaptions) {
    g_captionGdi.Rebuild();
    g_process.shiftRightMouse = HookSetting(kSetShiftRightMouse) != 0;
    if (repaintCaptions) {
        RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        for (HWND c = GetWindow(g_process.mdiClient, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (IsSourceChild(c)) RedrawWindow(c, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
    g_process.captionTextShift = CaptionTextShiftWanted();
    g_listFont.Update(g_shared.settings.Font);
}

LRESULT FrameHook::OnCommand(HWND w, WPARAM wp, LPARAM lp) {
    if (HIWORD(wp) == 1 && g_process.listOpen) {
        if (g_process.kind == IdeKind::DevStudio4 && LOWORD(wp) == kDevStudioListCommand && g_process.listWindow)
            PostMessageA(g_process.listWindow, kListAccelerator, reinterpret_cast<WPARAM>(OutlineList::FocusToRestore()), 0);
        return 0;
    }
    return CallOldProc(w, WM_COMMAND, wp, lp);
}

LRESULT FrameHook::OnDestroy(HWND w, WPARAM wp, LPARAM lp) {
    const LRESULT r = CallOldProc(w, WM_DESTROY, wp, lp);
    DetachInProcess(w, DetachMode::RemoveHook);
    return r;
}

}  // namespace qnav
