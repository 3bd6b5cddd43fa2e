#include "NoticeWindow.h"

#include <string>

#include <fw/ModulePath.h>

#include "KvoResource.h"

namespace kvo {
namespace {
constexpr char kClassName[] = "KvoNoticeWindow";
}  // namespace

bool NoticeWindow::Show(HWND owner, const char* text) {
    HINSTANCE module = fw::ThisModule();
    if (!RegisterClass(module, kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    const std::string title = fw::LoadResString(module, IDS_KAVORO);
    if (!Create(module, kClassName, title.c_str(), WS_POPUP | WS_CAPTION | WS_BORDER, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                360, 90, owner))
        return false;
    SetWindowTextA(GetWindow(Handle(), GW_CHILD), text);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return true;
}

LRESULT NoticeWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) return OnCreate() ? 0 : -1;
    return DefaultMessage(msg, wp, lp);
}

bool NoticeWindow::OnCreate() {
    RECT client;
    GetClientRect(Handle(), &client);
    return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0, client.right,
                           client.bottom, Handle(), nullptr, fw::ThisModule(), nullptr) != nullptr;
}

}  // namespace kvo
