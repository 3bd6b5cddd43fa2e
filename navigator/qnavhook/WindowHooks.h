// The procedures the hook puts in front of the IDE's own windows, one class
// per kind of window. Each passes on what it does not consume.
#pragma once
#include <windows.h>

namespace qnav {

// Modifier mask of a caption click: Ctrl 8, Shift 4, Alt 128.
UINT ClickModifiers();

// The IDE main window.
class FrameHook {
public:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    // Whether the frame's caption carries the button (maximized source child).
    static bool CarriesButton();

private:
    static LRESULT OnPrivate(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT OnCommand(HWND w, WPARAM wp, LPARAM lp);
    static LRESULT OnDestroy(HWND w, WPARAM wp, LPARAM lp);
    static void OnSettingsChanged(HWND w, bool repaintCaptions);
};

// An MDI child holding an editor (a source child).
class ChildFrameHook {
public:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
private:
    static LRESULT OnCommand(HWND w, WPARAM wp, LPARAM lp);
};

// The MDI client: notices new MDI children.
class MdiClientHook {
public:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    // Subclasses the inner frame and views of `child` and the child itself.
    static void AdoptChild(HWND child);
private:
    static LRESULT OnParentNotify(HWND w, WPARAM wp, LPARAM lp);
};

// The frame inside an MDI child: notices new editor views.
class InnerFrameHook {
public:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
};

// An editor view.
class ViewHook {
public:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
};

// Sets the thread's keyboard state: Shift down or up, Ctrl and Alt up.
void SetKeyboardShift(bool down);

// The caption messages of a window whose caption may carry the button
// (`carriesButton` says whether it does now). True when handled, with `result` set.
bool CaptionMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp, bool (*carriesButton)(HWND), bool onMainFrame,
                    LRESULT& result);

}  // namespace qnav
