#include "Navigation.h"
#include "Dialogs.h"
#include "HookState.h"
#include "IncludeNames.h"
#include "OutlineList.h"
#include "PersistedState.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "ScanDocument.h"
#include "Settings.h"
#include "SharedState.h"
#include "fw/Handle.h"
#include "WindowHooks.h"
#include "resource.h"
#include <algorithm>
#include <cstring>

namespace qnav {

namespace {

constexpr int kMaxCommentLines = 30;
constexpr UINT kScanDown = 0x50, kScanLeft = 0x4B, kScanRight = 0x4D;

bool IsNt() { return (GetVersion() & 0x80000000u) == 0; }

void PostKeys(HWND view, UINT key, UINT scan, int count) {
    const LPARAM lp = 1 | (static_cast<LPARAM>(scan) << 16) | (1 << 24);
    for (int i = 0; i < count; ++i) PostMessageA(view, WM_KEYDOWN, key, lp);
}

// A click and a double click at the view's top-left corner leave the caret on
// the top line with its first word selected.
void PostTopLeftClicks(HWND view) {
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageA(view, WM_LBUTTONUP, 0, 0);
    PostMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    PostMessageA(view, WM_LBUTTONUP, 0, 0);
}

void ScrollBarsOf(HWND view, HWND& vertical, HWND& horizontal) {
    vertical = horizontal = nullptr;
    for (HWND s = GetWindow(GetParent(view), GW_CHILD); s; s = GetWindow(s, GW_HWNDNEXT)) {
        if (!vertical && IsVerticalScrollBarOf(s, view)) vertical = s;
        else if (!horizontal && IsHorizontalScrollBarOf(s, view)) horizontal = s;
    }
}

// Developer Studio reads the new place from its scroll bar; a line past the
// bar's reach is reached by widening the range for the move.
void ScrollDevStudio(HWND view, int line) {
    HWND vbar = nullptr, hbar = nullptr;
    ScrollBarsOf(view, vbar, hbar);
    const bool showHidden = IsNt() && hbar && !IsWindowVisible(hbar);
    if (showHidden) ShowWindow(hbar, SW_SHOWNA);
    for (int pass = 0; pass < (IsNt() ? 2 : 1); ++pass) {
        if (hbar) SendMessageA(view, WM_HSCROLL, SB_LEFT, reinterpret_cast<LPARAM>(hbar));
        if (!vbar) {
            SendMessageA(view, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::min(line, 0xFFFF)), 0);
            continue;
        }
        int low = 0, high = 0;
        GetScrollRange(vbar, SB_CTL, &low, &high);
        SetScrollPos(vbar, SB_CTL, std::min(line, high), FALSE);
        const int reached = GetScrollPos(vbar, SB_CTL);
        const bool widened = reached < line;
        if (widened) {
            SetScrollRange(vbar, SB_CTL, low, high + (line - reached), FALSE);
            SetScrollPos(vbar, SB_CTL, line, FALSE);
        }
        const int pos = GetScrollPos(vbar, SB_CTL);
        SendMessageA(view, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::min(pos, 0xFFFF)),
                     reinterpret_cast<LPARAM>(vbar));
        if (widened) SetScrollRange(vbar, SB_CTL, low, high, TRUE);
    }
    if (showHidden) ShowWindow(hbar, SW_HIDE);
}

}  // namespace

HWND ViewOfChild(HWND child) {
    if (!IsSourceChild(child)) return nullptr;
    HWND inner = GetWindow(child, GW_CHILD);
    for (HWND v = GetWindow(inner, GW_CHILD); v; v = GetWindow(v, GW_HWNDNEXT))
        if (IsEditorView(v)) return v;
    return nullptr;
}

HWND ChildOfView(HWND view) {
    if (!IsEditorView(view)) return nullptr;
    return GetParent(GetParent(view));
}

bool ViewDocument(HWND view, IdeViewInfo& info) {
    if (!view || !g_process.application) return false;
    return IdeAdapter(g_process.kind, g_process.application).FindView(view, info);
}

qv::DocKind KindOfPath(const std::string& path) {
    return qv::DocKindOf(path, &ProcessPersistedState().Extensions());
}

qv::DocKind KindOfChild(HWND child) {
    IdeViewInfo info;
    return ViewDocument(ViewOfChild(child), info) ? KindOfPath(info.path) : qv::kKindNone;
}

qv::ScanOptions CurrentScanOptions() {
    qv::ScanOptions o;
    o.cTemplates = HookSetting(kSetCTemplates) != 0;
    o.cClasses = HookSetting(kSetCClasses) != 0;
    o.cStructs = HookSetting(kSetCStructs) != 0;
    o.cMacros = HookSetting(kSetCMacros) != 0;
    o.cDefines = HookSetting(kSetCDefines) != 0;
    o.cMFCMacros = HookSetting(kSetCMFCMacros) != 0;
    o.asmMacros = HookSetting(kSetAsmMacros) != 0;
    o.asmStructs = HookSetting(kSetAsmStructs) != 0;
    o.ShowQualifiedClass = HookSetting(kSetShowQualifiedClass) != 0;
    o.ShowBaseList = HookSetting(kSetShowBaseList) != 0;
    o.ShowProcAttributes = HookSetting(kSetShowProcAttributes) != 0;
    o.linesCarryNewline = g_process.kind == IdeKind::DevStudio4;
    return o;
}

void ScrollViewToLine(HWND view, int line) {
    line = std::max(line, 0);
    if (g_process.kind == IdeKind::DevStudio4) {
        ScrollDevStudio(view, line);
        return;
    }
    SendMessageA(view, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    SendMessageA(view, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::min(line, 0xFFFF)), 0);
}

void PlaceCaretAtItem(HWND view, const text::ListEntry& e, bool viewHadFocus) {
    if (!IsWindow(view)) return;
    const int line = e.line;
    if (!viewHadFocus) {
        ScrollViewToLine(view, line - 1);
        return;
    }
    int top = std::min<int>(e.topLine, line);
    if (line - top > kMaxCommentLines) top = line - kMaxCommentLines;
    ScrollViewToLine(view, top - 1);
    PostTopLeftClicks(view);
    SetKeyboardShift(false);
    PostKeys(view, VK_DOWN, kScanDown, line - top);
    PostKeys(view, VK_LEFT, kScanLeft, 1);
    PostKeys(view, VK_RIGHT, kScanRight, e.startColumn);
    PostMessageA(view, QNM_SETSHIFT, 1, QNM_TAG);
    PostKeys(view, VK_RIGHT, kScanRight, e.length);
    PostMessageA(view, QNM_SETSHIFT, 0, QNM_TAG);
}

void ActivateChild(HWND child) {
    HWND client = GetParent(child);
    if (IsIconic(child)) SendMessageA(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
}

HWND ChildShowing(const std::string& upperPath) {
    HWND client = CurrentMdiClient();
    if (!client) return nullptr;
    for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        IdeViewInfo info;
        if (ViewDocument(ViewOfChild(c), info) && text::UpperPath(info.path) == upperPath) return c;
    }
    return nullptr;
}

bool DropFileOnFrame(const std::string& path) {
    HWND frame = CurrentFrame();
    if (!frame || path.empty() || path.size() > text::kMaxPath) return false;
    struct DropHeader { DWORD files; POINT pt; BOOL nonClient; BOOL wide; };
    static_assert(sizeof(DropHeader) == 20);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DropHeader) + path.size() + 2);
    if (!mem) return false;
    auto* p = static_cast<char*>(GlobalLock(mem));
    DropHeader header{sizeof(DropHeader), {0, 0}, FALSE, FALSE};
    std::memcpy(p, &header, sizeof header);
    std::memcpy(p + sizeof header, path.c_str(), path.size());
    GlobalUnlock(mem);
    if (PostMessageA(frame, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0)) return true;
    GlobalFree(mem);
    return false;
}

bool ShowFile(const std::string& path) {
    const std::string upper = text::UpperPath(path);
    if (HWND child = ChildShowing(upper)) {
        ActivateChild(child);
        return true;
    }
    return DropFileOnFrame(upper);
}

void GoToLineInChild(HWND child, unsigned line) {
    HWND view = ViewOfChild(child);
    if (!view) return;
    ActivateChild(child);
    ScrollViewToLine(view, static_cast<int>(std::min(line, 0x7FFFu)));
    PostTopLeftClicks(view);
    SetKeyboardShift(false);
    PostKeys(view, VK_LEFT, kScanLeft, 1);
}

void OpenOutlineList(HWND view, POINT at, ListOrigin origin) {
    if (g_process.listOpen || !view) return;
    IdeViewInfo info;
    if (!ViewDocument(view, info)) return;
    const qv::DocKind kind = KindOfPath(info.path);
    if (kind == qv::kKindNone) return;
    const bool viewHadFocus = GetFocus() == view;
    OutlineList* list = OutlineList::Open(view, kind, at, viewHadFocus);
    if (!list) return;
    IdeDocumentLines lines(info.document);
    const int found = qv::ScanDocument(kind, lines, *list, CurrentScanOptions());
    if (found > 0 && g_shared.settings.FirstCall && HookSetting(kSetFirstCall)) {
        state::HookProfile(g_process.instance).ClearFirstCall();
        if (origin != ListOrigin::Mouse) ShowFirstUseHint(view);
    }
    // The hint may have closed the list by taking the focus.
    if (OutlineList::Current() == list) list->Show(static_cast<int>(HookSetting(kSetItemCount)), info.caretLine);
}

}  // namespace qnav
