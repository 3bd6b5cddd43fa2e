#include "WindowHooks.h"
#include "ProcessState.h"
#include "Subclass.h"

namespace qnav {

LRESULT CALLBACK InnerFrameHook::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PARENTNOTIFY:
        if (LOWORD(wp) == WM_CREATE && IsEditorView(reinterpret_cast<HWND>(lp)))
            SubclassWindow(reinterpret_cast<HWND>(lp), &ViewHook::Proc);
        break;
    case WM_NCDESTROY: return UnsubclassAndCallOld(w, msg, wp, lp);
    }
    return CallOldProc(w, msg, wp, lp);
}

}  // namespace qnav
