#include "LineStatusWindow.h"

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include <fw/ModulePath.h>

#include "Dispatcher.h"
#include "KvoResource.h"

namespace kvo {
namespace {

constexpr char kClassName[] = "KvoLineStatusWindow";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 1000;

struct Column {
    const char* title;
    int width;
};
enum : int { kColLine, kColStatus, kColControl, kColCallTime, kColControlTime };
constexpr std::array<Column, 5> kColumns = {{
    {"Line", 40}, {"Status", 170}, {"Control", 120}, {"Call", 60}, {"In control", 70}}};

LineStatusWindow* g_window = nullptr;

std::string SecondsSince(DWORD start, DWORD now) { return FormatCallDuration(long((now - start) / 1000)); }

}  // namespace

LineStatusWindow* LineStatusWindow::Find() { return g_window; }

LineStatusWindow* LineStatusWindow::Open() {
    if (g_window) {
        ShowWindow(g_window->Handle(), SW_SHOWNORMAL);
        g_window->Refresh();
        return g_window;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    HINSTANCE module = fw::ThisModule();
    if (!fw::Window::RegisterClass(module, kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) return nullptr;
    std::unique_ptr<LineStatusWindow> window(new LineStatusWindow());
    if (!window->Create(module, kClassName, "", WS_OVERLAPPEDWINDOW, 0, CW_USEDEFAULT, CW_USEDEFAULT, 500, 360,
                        nullptr))
        return nullptr;
    window->ownsSelf_ = true;
    g_window = window.release();
    g_window->Refresh();
    ShowWindow(g_window->Handle(), SW_SHOWNORMAL);
    return g_window;
}

void LineStatusWindow::Close() {
    if (g_window) g_window->Destroy();
}

LRESULT LineStatusWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_SIZE: OnSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_TIMER:
        if (wp == kRefreshTimer) OnTimer();
        return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefaultMessage(msg, wp, lp);
    }
}

bool LineStatusWindow::OnCreate() {
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER, 0, 0, 0, 0,
                            Handle(), nullptr, fw::ThisModule(), nullptr);
    if (!list_) return false;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int i = 0; i < int(kColumns.size()); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<char*>(kColumns[size_t(i)].title);
        column.cx = kColumns[size_t(i)].width;
        column.iSubItem = i;
        SendMessageA(list_, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&column));
    }
    for (int line = 0; line < kDispatchLines; ++line) {
        const std::string number = std::to_string(line + 1);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = line;
        item.pszText = const_cast<char*>(number.c_str());
        SendMessageA(list_, LVM_INSERTITEMA, 0, LPARAM(&item));
    }
    timer_ = SetTimer(Handle(), kRefreshTimer, kRefreshMs, nullptr);
    return timer_ != 0;
}

void LineStatusWindow::OnSize(int cx, int cy) {
    if (list_) MoveWindow(list_, 0, 0, cx, cy, TRUE);
}

void LineStatusWindow::OnTimer() { Refresh(); }

void LineStatusWindow::OnDestroy() {
    if (timer_) KillTimer(Handle(), timer_);
    timer_ = 0;
    if (g_window == this) g_window = nullptr;
}

void LineStatusWindow::OnNcDestroy() {
    if (ownsSelf_) delete this;
}

void LineStatusWindow::SetCell(int row, int column, const std::string& text) {
    char current[64] = "";
    ListView_GetItemText(list_, row, column, current, int(sizeof current));
    if (text == current) return;  // unchanged cells are not redrawn each second
    ListView_SetItemText(list_, row, column, const_cast<char*>(text.c_str()));
}

void LineStatusWindow::Refresh() {
    const std::string product = fw::LoadResString(fw::ThisModule(), IDS_KAVORO);
    const std::string caption = product + " line status - " + SystemStateText(CurrentSystemState());
    if (fw::WindowText(Handle()) != caption) SetWindowTextA(Handle(), caption.c_str());
    const DWORD now = GetTickCount();
    for (int line = 0; line < kDispatchLines; ++line) {
        const LineView view = ViewLine(line);
        const bool times = StatusShowsTimes(view.code);
        SetCell(line, kColStatus, view.status);
        SetCell(line, kColControl, view.control);
        SetCell(line, kColCallTime, times ? SecondsSince(view.callStart, now) : "");
        SetCell(line, kColControlTime, times ? SecondsSince(view.controlStart, now) : "");
    }
}

}  // namespace kvo
