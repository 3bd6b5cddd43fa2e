#include "MainFrame.h"
#include "IdeControl.h"
#include "IdeKind.h"
#include <shellapi.h>
#include <algorithm>

namespace ide {

namespace {
int g_openFrames = 0;  // the process ends with its last main window

// Files dropped on the frame open after the drop message returns, as the IDE
// opens them from its message loop.
constexpr UINT kOpenDropped = WM_APP + 7;

UINT QueryMessage() {
    static const UINT msg = RegisterWindowMessageA(kQueryMessageName);
    return msg;
}

DWORD WINAPI WorkerMain(LPVOID stop) {
    WaitForSingleObject(static_cast<HANDLE>(stop), INFINITE);
    return 0;
}
}  // namespace

bool MainFrame::Create(const char* className, const char* title) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (!RegisterClass(inst, className, 0, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1))) return false;
    if (!fw::Window::Create(inst, className, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                            WS_EX_ACCEPTFILES, CW_USEDEFAULT, CW_USEDEFAULT, 800, 700, nullptr))
        return false;
    originalProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Handle(), GWLP_WNDPROC));
    ++g_openFrames;
    return mdiClient_ != nullptr;
}

bool MainFrame::OpenFile(const std::string& path, Content content) {
    Document* doc = Application::Instance().OpenSource(path, content);
    if (!doc) return false;
    auto child = std::make_unique<ChildFrame>(doc, Handle());
    if (!child->Create(mdiClient_, NamesOf(Application::Instance().Kind()).childClass, openMaximized_)) {
        child.reset();
        Application::Instance().Close(doc);
        return false;
    }
    children_.push_back(std::move(child));
    return true;
}

LRESULT MainFrame::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == QueryMessage()) return OnQuery(wp, lp);
    switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wp)); return 0;
    case kOpenDropped: OnOpenDropped(); return 0;
    case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lp));
    case ChildFrame::kChildGone: OnChildGone(reinterpret_cast<ChildFrame*>(lp)); return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == kCmdCopy || LOWORD(wp) == kCmdPaste) {
            if (ChildFrame* child = ActiveChild()) return SendMessageA(child->Handle(), msg, wp, lp);
            return 0;
        }
        break;
    case WM_DESTROY: OnDestroy(); return 0;
    }
    return Default(msg, wp, lp);
}

void MainFrame::OnCreate() {
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    mdiClient_ = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                 WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0,
                                 Handle(), reinterpret_cast<HMENU>(0xCAC), GetModuleHandleA(nullptr), &ccs);
    if (mdiClient_) clientProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(mdiClient_, GWLP_WNDPROC));
}

void MainFrame::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH];
        if (DragQueryFileA(drop, i, path, sizeof path)) dropped_.push_back(path);
    }
    DragFinish(drop);
    if (count) PostMessageA(Handle(), kOpenDropped, 0, 0);
}

void MainFrame::OnOpenDropped() {
    std::vector<std::string> files;
    files.swap(dropped_);
    for (const std::string& f : files) OpenFile(f);
}

LRESULT MainFrame::OnCopyData(const COPYDATASTRUCT* cds) {
    if (!cds || cds->dwData != kCopyOpenFile || !cds->lpData || cds->cbData == 0) return 0;
    const char* p = static_cast<const char*>(cds->lpData);
    return OpenFile(std::string(p, strnlen(p, cds->cbData))) ? 1 : 0;
}

void MainFrame::OnChildGone(ChildFrame* child) {
    auto it = std::find_if(children_.begin(), children_.end(), [child](auto& c) { return c.get() == child; });
    if (it == children_.end()) return;
    Document* doc = child->Doc();
    children_.erase(it);
    Application::Instance().Close(doc);
}

ChildFrame* MainFrame::ActiveChild() const {
    HWND active = reinterpret_cast<HWND>(SendMessageA(mdiClient_, WM_MDIGETACTIVE, 0, 0));
    for (auto& c : children_)
        if (c->Handle() == active) return c.get();
    return nullptr;
}

// Every window of the tree still runs the procedure it was created with.
bool MainFrame::ProcsOriginal() {
    auto same = [](HWND h, WNDPROC p) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == p; };
    if (!same(Handle(), originalProc_) || !same(mdiClient_, clientProc_)) return false;
    for (auto& c : children_) {
        if (!c->Handle()) continue;
        if (!same(c->Handle(), c->OriginalProc())) return false;
        if (!same(c->Inner().Handle(), c->Inner().OriginalProc())) return false;
        if (!same(c->Inner().View().Handle(), c->Inner().View().OriginalProc())) return false;
    }
    return true;
}

LRESULT MainFrame::OnQuery(WPARAM what, LPARAM arg) {
    switch (what) {
    case kQueryHoldKeys: HoldKeys(arg); return 1;
    case kQueryActiveChild: {
        ChildFrame* child = ActiveChild();
        return child ? reinterpret_cast<LRESULT>(child->Handle()) : 0;
    }
    case kQueryDocumentCount: return static_cast<LRESULT>(children_.size());
    case kQueryOpenMaximized: openMaximized_ = arg != 0; return 1;
    case kQueryProcsOriginal: return ProcsOriginal() ? 1 : 0;
    case kQueryStartThread: {
        HANDLE t = CreateThread(nullptr, 0, &WorkerMain, stopWorkers_.Get(), 0, nullptr);
        if (!t) return 0;
        workers_.emplace_back(t);
        return 1;
    }
    case kQueryStopThreads:
        SetEvent(stopWorkers_.Get());
        for (auto& t : workers_) WaitForSingleObject(t.Get(), 5000);
        workers_.clear();
        ResetEvent(stopWorkers_.Get());
        return 1;
    case kQueryActiveView: {
        ChildFrame* child = ActiveChild();
        return child ? reinterpret_cast<LRESULT>(child->Inner().View().Handle()) : 0;
    }
    }
    return 0;
}

void MainFrame::OnDestroy() {
    children_.clear();
    SetEvent(stopWorkers_.Get());
    for (auto& t : workers_) WaitForSingleObject(t.Get(), 5000);
    workers_.clear();
    if (--g_openFrames == 0) PostQuitMessage(0);
}

}  // namespace ide
