// How tests talk to the stand-in IDE. None of this is used by the hook
// library: it reads the IDE the way it reads the real one.
#pragma once
#include <windows.h>

namespace ide {

// Registered message, sent to a main window or an editor view:
// wParam selects the question, the result is the answer.
constexpr char kQueryMessageName[] = "QvIdeQuery";

enum Query : WPARAM {
    kQueryCaretLine = 1,       // view
    kQueryCaretColumn,         // view
    kQuerySelStartLine,        // view
    kQuerySelStartColumn,      // view
    kQuerySelEndLine,          // view
    kQuerySelEndColumn,        // view
    kQueryTopLine,             // view
    kQueryLineCount,           // view
    kQuerySetCaret,            // view: lParam = MAKELPARAM(line, column); clears the selection
    kQuerySelect,              // view: lParam = MAKELPARAM(line, column), selects from the caret to there
    kQueryProcsOriginal,       // main window: 1 if every window of the tree runs its own class procedure
    kQueryStartThread,         // main window: starts a worker thread that waits for kQueryStopThreads
    kQueryStopThreads,         // main window: ends the workers and waits for them
    kQueryActiveView,          // main window: the active child's editor view
};

// WM_COPYDATA to a main window: dwData selects the action, the data is a
// zero-terminated path. The result is 1 on success.
constexpr ULONG_PTR kCopyOpenFile = 1;

// View WM_GETTEXT answers with the whole document, lines joined by CR LF.

// Where the application object lives: this offset from the start of the
// section that belongs to the kind (".data" for kind 4, ".bss" for kind 2).
constexpr DWORD kAppObjectOffset = 0x100;

}  // namespace ide
