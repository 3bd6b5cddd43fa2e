// Where the navigator's user-facing parts plug into the attached windows.
// The caption button, the popup menus with their commands and the outline
// list are built separately; until they are, these do nothing.
#pragma once
#include <windows.h>

namespace qnav {

// Orders the enabled menu records into the popup menu layout (at attachment).
void BuildMenuLayout();

// Draws the caption button after the caption itself was painted.
void DrawCaptionButton(HWND window, bool onMainFrame);

// Whether a non-client click at screen point `pt` hits the caption button.
bool CaptionButtonHit(HWND window, POINT pt, bool onMainFrame);

// Opens the navigator's popup menu for MDI child `child`; `modifiers` holds
// Ctrl 8, Shift 4 and Alt 128.
void OpenPopupMenu(HWND child, UINT modifiers);

// Runs navigator command `id` for `child`; false if `id` is not one of them.
bool ExecuteNavigatorCommand(HWND child, UINT id);

// Goes to the pending bookmark in the newly opened MDI child.
void GoToPending(HWND child);

// Trigger keys and mouse buttons of an editor view; true when consumed.
bool OnViewTrigger(HWND view, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

// Procedure of the outline list window class.
LRESULT CALLBACK ListWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace qnav
