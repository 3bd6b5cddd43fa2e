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
    kQueryHoldKeys,            // main window or view: lParam = kHold* bits held in the IDE thread's key state
    kQueryContextMenus,        // view: how often the view's own context menu opened
    kQueryActiveChild,         // main window: the active MDI child
    kQueryDocumentCount,       // main window: open documents
    kQueryOpenMaximized,       // main window: lParam 1 makes new children open maximized
    kQueryTakeFocus,           // view: activates its frame and takes the keyboard focus
    kQueryMark,                // view: lParam != 0 stores it (post it after input), 0 answers the last stored
};

// Modifier bits of kQueryHoldKeys.
constexpr LPARAM kHoldCtrl = 1, kHoldAlt = 2, kHoldShift = 4;

// WM_COPYDATA to a main window: dwData selects the action, the data is a
// zero-terminated path. The result is 1 on success.
constexpr ULONG_PTR kCopyOpenFile = 1;

// View WM_GETTEXT answers with the whole document, lines joined by CR LF.

// Developer Studio's accelerator that the navigator forwards to its list,
// and the key (Ctrl held) the kind 4 message loop translates into it.
constexpr UINT kCmdListAccelerator = 0x8333;
constexpr WPARAM kListAcceleratorKey = VK_F12;

// Where the application object lives: this offset from the start of the
// section that belongs to the kind (".data" for kind 4, ".bss" for kind 2).
constexpr DWORD kAppObjectOffset = 0x100;

}  // namespace ide
