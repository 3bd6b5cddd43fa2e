// A small library the adapter tests hook into the stand-in IDE, so the IDE
// adapter runs where it runs in production: inside the IDE's GUI thread.
// On a WM_NULL tagged kProbeTag it reads the application object, the project
// file and the active view's document, and sends the report back by
// WM_COPYDATA to the window in wParam.
#include <windows.h>
#include <string>
#include "IdeAdapter.h"
#include "ProcessState.h"

namespace {
constexpr LPARAM kProbeTag = 0x5151;

std::string Report(HWND frame) {
    using namespace qnav;
    const IdeKind kind = IdeKindOf(frame);
    g_process.kind = kind;  // the role tests below depend on it
    const DWORD app = IdeAdapter::LocateApplication(frame, kind);
    std::string out = "app=" + std::string(app ? "1" : "0") + "\n";
    if (!app) return out;
    IdeAdapter adapter(kind, app);
    std::string project;
    out += "project=" + (adapter.ProjectFile(project) ? project : "-") + "\n";

    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    HWND inner = child ? GetWindow(child, GW_CHILD) : nullptr;
    HWND view = nullptr;
    for (HWND w = inner ? GetWindow(inner, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsEditorView(w)) view = w;
    IdeViewInfo info;
    if (!view || !adapter.FindView(view, info)) return out + "view=-\n";
    out += "view=" + info.path + "|" + std::to_string(info.caretLine) + "|" + std::to_string(info.caretColumn) + "\n";
    IdeDocumentLines lines(info.document);
    std::size_t length = 0;
    while (const char* p = lines.NextLine(length)) out += "line:" + std::string(p, length) + "\n";
    return out;
}
}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wp, LPARAM lp) {
    auto* m = reinterpret_cast<MSG*>(lp);
    if (code >= 0 && wp == PM_REMOVE && m->message == WM_NULL && m->lParam == kProbeTag) {
        const std::string text = Report(m->hwnd);
        COPYDATASTRUCT cds{1, static_cast<DWORD>(text.size()), const_cast<char*>(text.data())};
        SendMessageA(reinterpret_cast<HWND>(m->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
