#include "QuorvaneApp.h"
#include "fw/ModulePath.h"
#include <commctrl.h>
#include <cstring>
#include "HookLibrary.h"
#include "QuorvaneDialog.h"
#include "fw/Window.h"
#include "resource.h"

namespace qnav {

CQuorvaneApp& App() {
    static CQuorvaneApp app;
    return app;
}

int CQuorvaneApp::Run(HINSTANCE instance, const char* commandLine) {
    instance_ = instance;
    // One instance per session: the first one comes to the front instead.
    if (HWND first = FindWindowA("QNAV", nullptr)) {
        AllowSetForegroundWindow(ASFW_ANY);
        PostMessageA(first, QNM_SHOWCONTROL, 0, 0);
        return 0;
    }
    helpFile_ = fw::BesideModule("QNAV.HLP");
    startup_ = commandLine && std::strcmp(commandLine, "/startup") == 0;
    helpContext_ = HELP_MAIN;
    InitCommonControls();

    HookLibrary hook;
    if (!hook.Load() || hook.Version() != kHookVersion) {
        Message(nullptr, IDS_VERSION_MISMATCH, MB_OK | MB_ICONSTOP);
        return 1;
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_QNAV));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = "QNAV";
    if (!RegisterClassA(&wc)) return 1;

    CQuorvaneDialog main(instance, hook);
    if (!main.CreateModeless(nullptr)) {
        Message(nullptr, IDS_NO_DIALOG);
        return 1;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (main.PreTranslate(msg)) continue;
        if (main.Handle() && IsDialogMessageA(main.Handle(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

bool CQuorvaneApp::ShowHelp(HWND owner, UINT command, DWORD data) const {
    // Without the file the help engine would complain in a box of its own.
    if (GetFileAttributesA(helpFile_.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    return WinHelpA(owner, helpFile_.c_str(), command, data) != FALSE;
}

int CQuorvaneApp::Message(HWND owner, UINT textId, UINT flags) const {
    return MessageText(owner, fw::LoadResString(instance_, textId), flags);
}

int CQuorvaneApp::MessageText(HWND owner, const std::string& text, UINT flags) const {
    return MessageBoxA(owner, text.c_str(), fw::LoadResString(instance_, IDS_APP_TITLE).c_str(), flags);
}

}  // namespace qnav

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return qnav::App().Run(instance, commandLine);
}
