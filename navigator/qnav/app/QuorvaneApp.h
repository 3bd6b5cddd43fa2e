// The application object: single instance, start-up mode, the help file and
// the help context of whatever window is in front.
#pragma once
#include <windows.h>
#include <string>

namespace qnav {

class CQuorvaneApp {
public:
    int Run(HINSTANCE instance, const char* commandLine);

    HINSTANCE Instance() const { return instance_; }
    bool StartupMode() const { return startup_; }

    void SetHelpContext(DWORD context) { helpContext_ = context; }
    DWORD HelpContext() const { return helpContext_; }
    // WinHelp on QNAV.HLP; does nothing (and says so with false) when the
    // help file is not there.
    bool ShowHelp(HWND owner, UINT command, DWORD data) const;

    // A string-table text in a message box with OK, owned by `owner`.
    int Message(HWND owner, UINT textId, UINT flags = MB_OK | MB_ICONEXCLAMATION) const;
    int MessageText(HWND owner, const std::string& text, UINT flags = MB_OK | MB_ICONEXCLAMATION) const;

private:
    HINSTANCE instance_ = nullptr;
    bool startup_ = false;
    DWORD helpContext_ = 0;
    std::string helpFile_;
};

CQuorvaneApp& App();

}  // namespace qnav
