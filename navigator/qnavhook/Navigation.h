// Moving around the IDE through its own windows: finding a view's document,
// scrolling a view, placing the caret by posted clicks and keys, activating
// the child that shows a file and opening files by a posted file drop.
#pragma once
#include <windows.h>
#include <string>
#include "DocKind.h"
#include "IdeAdapter.h"
#include "ListModel.h"
#include "ScanOptions.h"

namespace qnav {

// The editor view of a source MDI child, or nullptr.
HWND ViewOfChild(HWND child);
// The MDI child an editor view belongs to, or nullptr.
HWND ChildOfView(HWND view);

// The document shown in `view`; false if the IDE has no such view.
bool ViewDocument(HWND view, IdeViewInfo& info);

// The document kind of a path, the user's extension map asked first.
qv::DocKind KindOfPath(const std::string& path);
// The kind of the document in `child`'s view, kNone if it has none.
qv::DocKind KindOfChild(HWND child);

// The scanners' options from the shared settings and this IDE's line convention.
qv::ScanOptions CurrentScanOptions();

// Scrolls `view` so that 0-based `line` is its top line (negative counts as 0).
void ScrollViewToLine(HWND view, int line);

// Moves the caret to a chosen outline entry: its name selected, with up to
// 30 lines of the comment above it in view; only scrolls to the entry's line
// when the view did not have the focus when the list opened.
void PlaceCaretAtItem(HWND view, const text::ListEntry& entry, bool viewHadFocus);

// Shows `child` (restored if minimized) as the active MDI child.
void ActivateChild(HWND child);
// The MDI child whose document path equals `upperPath` (upper case), or nullptr.
HWND ChildShowing(const std::string& upperPath);
// Activates the child showing `path` or opens the file; false if neither happened.
bool ShowFile(const std::string& path);
// Opens `path` by posting the IDE frame a file drop.
bool DropFileOnFrame(const std::string& path);

// The caret at the start of 0-based `line`, that line on top, in `child`.
void GoToLineInChild(HWND child, unsigned line);

// What opened the outline list: the first-use hint shows only for keys and menus.
enum class ListOrigin { Mouse, Key, Menu };
// Opens the outline list for `view` at screen point `at`.
void OpenOutlineList(HWND view, POINT at, ListOrigin origin);

}  // namespace qnav
