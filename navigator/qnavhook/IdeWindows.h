// Recognising the IDE: its main window by title and class, and the roles of
// the windows inside it.
#pragma once
#include <windows.h>

namespace qnav {

enum class IdeKind : int { None = -1, VisualCpp2 = 2, DevStudio4 = 4 };

// The kind of IDE whose main window `w` is, or None.
IdeKind IdeKindOf(HWND w);
inline bool IsIdeMainWindow(HWND w) { return IdeKindOf(w) != IdeKind::None; }

// HKEY_CURRENT_USER subkey holding the kind's settings, or nullptr.
const char* IdeRegistryRoot(IdeKind kind);

// Role tests; the kind-dependent ones use the kind of this process's frame.
bool IsMdiClient(HWND w);
bool IsMdiChild(HWND w);
bool IsInnerFrame(HWND w);
bool IsEditorView(HWND w);
bool IsSourceChild(HWND w);
bool IsVerticalScrollBarOf(HWND bar, HWND view);
bool IsHorizontalScrollBarOf(HWND bar, HWND view);

}  // namespace qnav
