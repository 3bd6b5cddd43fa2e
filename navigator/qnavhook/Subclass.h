// Subclassing of IDE windows. The replaced procedure is kept in the window
// property "QuorvaneOldProc", so the record travels with the window and a
// second subclassing is recognised.
#pragma once
#include <windows.h>

namespace qnav {

constexpr char kOldProcProperty[] = "QuorvaneOldProc";

// Installs `proc`; does nothing (and succeeds) if the window already carries
// the property. False if the window is gone or refuses the new procedure.
bool SubclassWindow(HWND w, WNDPROC proc);

// Puts the stored procedure back if it is still code, then drops the property.
void UnsubclassWindow(HWND w);

bool IsSubclassed(HWND w);

// Passes a message to the stored procedure; 0 if there is none usable.
LRESULT CallOldProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);

// For WM_NCDESTROY: restores the old procedure first, then passes the message on.
LRESULT UnsubclassAndCallOld(HWND w, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace qnav
