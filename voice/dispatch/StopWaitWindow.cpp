#include "StopWaitWindow.h"

#include <string>

#include <fw/ModulePath.h>

#include "KvoResource.h"

namespace kvo {
namespace {
constexpr char kClassName[] = "KvoStopWaitWindow";
constexpr char kText[] = "Waiting for the telephone lines to end their calls...";
}  // namespace

bool StopWaitWindow::Show(HWND owner) {
    HINSTANCE module = fw::ThisModule();
    if (!RegisterClass(module, kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    const std::string title = fw::LoadResString(module, IDS_KAVORO);
    if (!Create(module, kClassName, title.c_str(), WS_POPUP | WS_CAPTION | WS_BORDER, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                360, 90, owner))
        return false;
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return true;
}

LRESULT StopWaitWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) return OnCreate() ? 0 : -1;
    return DefaultMessage(msg, wp, lp);
}

bool StopWaitWindow::OnCreate() {
    RECT client;
    GetClientRect(Handle(), &client);
    return CreateWindowExA(0, "STATIC", kText, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0, client.right,
                           client.bottom, Handle(), nullptr, fw::ThisModule(), nullptr) != nullptr;
}

}  // namespace kvo
