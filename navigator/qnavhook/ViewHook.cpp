#include "WindowHooks.h"
#include "NavigatorExtensions.h"
#include "QuorvaneProtocol.h"
#include "Subclass.h"

namespace qnav {

// Commands fake key presses by posting; the thread's key state must agree.
void SetKeyboardShift(bool down) {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return;
    keys[VK_SHIFT] = down ? 0x80 : 0;
    keys[VK_LSHIFT] = keys[VK_RSHIFT] = 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_RCONTROL] = 0;
    keys[VK_MENU] = keys[VK_LMENU] = keys[VK_RMENU] = 0;
    SetKeyboardState(keys);
}

LRESULT CALLBACK ViewHook::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == QNM_SETSHIFT && lp == QNM_TAG) {
        SetKeyboardShift(wp != 0);
        return 0;
    }
    if (msg == WM_NCDESTROY) return UnsubclassAndCallOld(w, msg, wp, lp);
    LRESULT result = 0;
    if (OnViewTrigger(w, msg, wp, lp, result)) return result;
    return CallOldProc(w, msg, wp, lp);
}

}  // namespace qnav
