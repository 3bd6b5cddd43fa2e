// The square button the navigator draws into the caption of a source child
// (or of the IDE frame while that child is maximized).
#pragma once
#include <windows.h>

namespace qnav {

// The button's clickable area in window coordinates of `w`.
RECT CaptionButtonRect(HWND w, bool onMainFrame);

// Draws the button of `w` pressed while its menu is open.
void SetCaptionButtonPressed(HWND w, bool onMainFrame, bool pressed);

}  // namespace qnav
