// A small library the menu tests hook into the stand-in IDE (WH_CALLWNDPROC
// on its GUI thread). When a popup menu starts, it reads the whole menu back
// through user32 in the IDE's own process, where the menu lives, and sends
// the lines "depth|id|state|text" by WM_COPYDATA to the window of class
// "QvMenuReply". Then it closes the menu with Escape, unless that window
// carries the property "QvKeepMenu".
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

bool g_dumped = false;

void Dump(HMENU menu, int depth, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        const UINT id = GetMenuItemID(menu, i);
        char head[64];
        std::snprintf(head, sizeof head, "%d|%d|%04x|", depth, id == 0xFFFFFFFFu ? -1 : static_cast<int>(id),
                      state & 0xFFFF);
        out += head;
        out += text;
        out += '\n';
        if (HMENU sub = GetSubMenu(menu, i)) Dump(sub, depth + 1, out);
    }
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code >= 0 && m->message == WM_ENTERMENULOOP) g_dumped = false;
    if (code >= 0 && m->message == WM_INITMENUPOPUP && HIWORD(m->lParam) == 0 && !g_dumped) {
        g_dumped = true;
        std::string text;
        Dump(reinterpret_cast<HMENU>(m->wParam), 0, text);
        if (HWND reply = FindWindowA("QvMenuReply", nullptr)) {
            COPYDATASTRUCT cds{2, static_cast<DWORD>(text.size()), text.data()};
            SendMessageA(reply, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
            if (!GetPropA(reply, "QvKeepMenu")) PostMessageA(m->hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
