#include "IdeWindows.h"
#include "ProcessState.h"
#include <cstring>
#include <string>

namespace qnav {

namespace {

struct KindTraits {
    IdeKind kind;
    const char* title;
    const char* frameClass;   // prefix of main window and editor view classes
    const char* innerClass;
    const char* registryRoot;
};

// Title test order matters: Developer Studio first.
constexpr KindTraits kKinds[] = {
    {IdeKind::DevStudio4, "Microsoft Developer Studio", "Afx:400000:8", "AfxMDIFrame40",
     "Software\\Microsoft\\Developer"},
    {IdeKind::VisualCpp2, "Microsoft Visual C++", "Afx:8", "AfxMDIFrame", "Software\\Microsoft\\Visual C++ 2.0"},
};

const KindTraits* TraitsOf(IdeKind kind) {
    for (const KindTraits& t : kKinds)
        if (t.kind == kind) return &t;
    return nullptr;
}

std::string ClassOf(HWND w) {
    char buf[256];
    int n = GetClassNameA(w, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

IdeKind IdeKindOf(HWND w) {
    if (!w || !IsWindow(w)) return IdeKind::None;
    char title[64];
    const int n = GetWindowTextA(w, title, sizeof title);
    const std::string text(title, static_cast<std::size_t>(n > 0 ? n : 0));
    for (const KindTraits& t : kKinds) {
        if (!StartsWith(text, t.title)) continue;
        return StartsWith(ClassOf(w), t.frameClass) ? t.kind : IdeKind::None;
    }
    return IdeKind::None;
}

const char* IdeRegistryRoot(IdeKind kind) {
    const KindTraits* t = TraitsOf(kind);
    return t ? t->registryRoot : nullptr;
}

bool IsMdiClient(HWND w) { return w && IsWindow(w) && ClassOf(w) == "MDIClient"; }

bool IsMdiChild(HWND w) {
    return w && IsWindow(w) && StartsWith(ClassOf(w), "Afx:") && IsMdiClient(GetParent(w));
}

bool IsInnerFrame(HWND w) {
    const KindTraits* t = TraitsOf(g_process.kind);
    return t && w && IsWindow(w) && ClassOf(w) == t->innerClass && IsMdiChild(GetParent(w));
}

bool IsEditorView(HWND w) {
    const KindTraits* t = TraitsOf(g_process.kind);
    return t && w && IsWindow(w) && StartsWith(ClassOf(w), t->frameClass) && IsInnerFrame(GetParent(w));
}

bool IsSourceChild(HWND w) { return IsMdiChild(w) && IsInnerFrame(GetWindow(w, GW_CHILD)); }

namespace {
bool IsScrollBarOf(HWND bar, HWND view, LONG styleNibble, int viewShift) {
    if (!bar || !view || !IsWindow(bar) || !IsWindow(view)) return false;
    if (lstrcmpiA(ClassOf(bar).c_str(), "ScrollBar") != 0) return false;
    if ((GetWindowLongA(bar, GWL_STYLE) & 0xF) != styleNibble) return false;
    const int viewId = GetDlgCtrlID(view);
    return (GetDlgCtrlID(bar) & 0xF) == ((viewId >> viewShift) & 0xF);
}
}  // namespace

bool IsVerticalScrollBarOf(HWND bar, HWND view) { return IsScrollBarOf(bar, view, 1, 4); }
bool IsHorizontalScrollBarOf(HWND bar, HWND view) { return IsScrollBarOf(bar, view, 0, 0); }

}  // namespace qnav
