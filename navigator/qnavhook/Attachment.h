// Attaching inside an IDE process and detaching again: the work the message
// hook and the frame procedure do on the IDE's own GUI thread.
#pragma once
#include <windows.h>

namespace qnav {

// Completes the attachment to IDE frame `frame` for control window `control`.
void AttachInProcess(HWND frame, HWND control);

enum class DetachMode { KeepHook, RemoveHook };

// Releases everything the attachment made; RemoveHook is the frame's own
// WM_DESTROY, which also gives the slot back.
void DetachInProcess(HWND frame, DetachMode mode);

// Subclasses the frame, its MDI client and every editor window below it.
bool SubclassIdeWindows(HWND frame);

// Whether captions should shift their text to make room for the button.
bool CaptionTextShiftWanted();

// Whether the system has the Windows 4.0 look (its caption has more buttons).
bool HasWindows4Look();

}  // namespace qnav
