// The main window: a modeless dialog of class "QNAV" that owns the settings
// block, drives the hook library and reacts to its posted messages.
#pragma once
#include <windows.h>
#include "HookLibrary.h"
#include "HookSettings.h"
#include "SettingsFile.h"
#include "fw/Handle.h"
#include "fw/Window.h"

namespace qnav {

class CQuorvaneDialog : public fw::Dialog {
public:
    CQuorvaneDialog(HINSTANCE instance, const HookLibrary& hook);

    // Escape and Clear in the main window mean Continue, not Quit.
    bool PreTranslate(const MSG& msg);

protected:
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnCancel() override { OnQuit(); }

private:
    void RebuildSystemMenu();
    void Layout();
    void ShowInitialState();
    void StartHook();
    void OnPaint();
    bool OnSysCommand(UINT command);
    void OnInitMenuPopup(HMENU menu, bool systemMenu);
    void OnShowControl();
    void OnFrameCreated();
    void OnFrameLost();
    void OnQualifiedChanged(WPARAM index, LPARAM value);
    void OnSettingsEnvironmentChanged();
    void OnEndSession(bool ending);
    void OnDestroy();
    void OnQuit();
    void OnOptions();
    void OnColors();
    void OnFont();

    // False (after telling the user how many) when IDE threads still use the hook.
    bool NothingAttached();
    // Hands the block to the hook and stores it with `store`; reports failures.
    void ActivateAndStore(bool (SettingsFile::*store)(const HookSettings&) const);
    void Reply(LRESULT result) { SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, result); }

    const HookLibrary& hook_;
    SettingsFile file_;
    HookSettings settings_{};
    fw::Bitmap logo_;
    RECT logoRect_{};
    bool hidden_ = false;
};

}  // namespace qnav
