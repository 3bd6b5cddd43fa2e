// What each process that maps the hook library keeps for itself. Inside an
// attached IDE this describes the one IDE frame the process is attached to.
#pragma once
#include <windows.h>
#include <vector>
#include "IdeWindows.h"

namespace qnav {

struct ProcessState {
    HINSTANCE instance = nullptr;
    bool attached = false;            // the attachment in this process is complete
    HHOOK cachedHook = nullptr;       // message hook of this process's slot
    HWND notifyWindow = nullptr;      // control window given at attachment
    IdeKind kind = IdeKind::None;     // kind of the attached frame
    HWND frame = nullptr;
    HWND mdiClient = nullptr;
    DWORD application = 0;            // the IDE's application object, once located

    HWND listWindow = nullptr;        // outline list while one is open
    bool listOpen = false;
    bool menuOpen = false;
    bool captionClicksSuppressed = false;
    bool captionTextShift = false;
    bool paintingCaption = false;
    bool childClicked = false;
    bool shiftRightMouse = false;
    bool gotoPending = false;         // a bookmark's file was dropped on the frame to be opened
    int pendingBookmark = -1;         // the bookmark slot to go to once its window arrives
    bool pendingDropSeen = false;     // the frame has processed the drop of the pending file
    bool frameLostPosted = false;

    // Include list and cached project include directories of the commands.
    std::vector<char> includeList;
    std::vector<char> projectIncludeDirs;
};

extern ProcessState g_process;

// The IDE frame and MDI client of this process, or nullptr once either has
// vanished; the first time that happens the control window hears of it.
HWND CurrentFrame();
HWND CurrentMdiClient();

// Counts a thread starting (+1) or ending (-1) in an attached IDE process
// against its slot; the control program asks for the sum before it lets the
// library go.
void CountThread(LONG delta);

// Shows a string-table text in a message box with the library's title.
int ShowStringBox(HWND owner, UINT textId, UINT style, const char* insert = nullptr);

}  // namespace qnav
