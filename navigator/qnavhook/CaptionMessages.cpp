// Caption messages the IDE frame and a source child handle alike: painting
// with the button, the shifted caption text and clicks that open the menu.
#include "WindowHooks.h"
#include "NavigatorExtensions.h"
#include "ProcessState.h"
#include "Subclass.h"
#include <string>

namespace qnav {

UINT ClickModifiers() {
    UINT mask = 0;
    if (GetKeyState(VK_CONTROL) < 0) mask |= 8;
    if (GetKeyState(VK_SHIFT) < 0) mask |= 4;
    if (GetKeyState(VK_MENU) < 0) mask |= 128;
    return mask;
}

namespace {

LRESULT CaptionGetText(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    constexpr char kShift[] = "     ";
    if (msg == WM_GETTEXTLENGTH) return 6;
    const LRESULT length = CallOldProc(w, WM_GETTEXTLENGTH, 0, 0);
    auto* buffer = reinterpret_cast<char*>(lp);
    if (!buffer || wp < static_cast<WPARAM>(length) + 6) return CallOldProc(w, msg, wp, lp);
    std::string title(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got = CallOldProc(w, WM_GETTEXT, title.size(), reinterpret_cast<LPARAM>(title.data()));
    title.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    lstrcpynA(buffer, (kShift + title).c_str(), static_cast<int>(wp));
    const bool nt = (GetVersion() & 0x80000000u) == 0;
    return nt ? got + 6 : got;
}

}  // namespace

bool CaptionMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp, bool (*carriesButton)(HWND), bool onMainFrame,
                    LRESULT& result) {
    switch (msg) {
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
        if (!carriesButton(w)) return false;
        g_process.paintingCaption = true;
        result = CallOldProc(w, msg, wp, lp);
        DrawCaptionButton(w, onMainFrame);
        g_process.paintingCaption = false;
        return true;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        if (!g_process.paintingCaption || !g_process.captionTextShift) return false;
        result = CaptionGetText(w, msg, wp, lp);
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: {
        result = 0;
        if (g_process.captionClicksSuppressed) return true;
        if (!carriesButton(w)) return false;
        const POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const UINT mods = ClickModifiers();
        if (!CaptionButtonHit(w, pt, onMainFrame) && !(wp == HTCAPTION && (mods & (8 | 4)))) return false;
        HWND child = w;
        if (onMainFrame) {
            SetActiveWindow(w);
            child = reinterpret_cast<HWND>(SendMessageA(g_process.mdiClient, WM_MDIGETACTIVE, 0, 0));
        } else {
            SendMessageA(GetParent(w), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
        }
        OpenPopupMenu(child, mods);
        return true;
    }
    }
    return false;
}

}  // namespace qnav
