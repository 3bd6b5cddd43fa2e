// The navigator's popup menus: the layout of rows taken from the settings at
// attachment, building the full, bookmark and includes menus for a document,
// and showing them below a caption or at the mouse.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "DocKind.h"
#include "HookSettings.h"

namespace qnav {

// Command identifiers.
enum NavigatorCommand : UINT {
    kCmdShowControl = 6100,
    kCmdComment = 6102,
    kCmdUncomment = 6103,
    kCmdFunctions = 6105,
    kCmdUninstall = 6106,
    kCmdFileInfo = 6107,
    kCmdCopyFirst = 6201,       // 6201-6210: copy into buffer slot 0-9
    kCmdClearBuffers = 6211,
    kCmdPasteFirst = 6221,      // 6221-6230
    kCmdSetBookmarkFirst = 6241,
    kCmdClearBookmarks = 6251,
    kCmdGoBookmarkFirst = 6261,
    kCmdIncludeFirst = 6500,    // 6500-6598
    kCmdIncludeLast = 6598,
};

// Modifier masks of a menu request.
constexpr UINT kMaskShift = 4, kMaskCtrl = 8, kMaskAlt = 128;

// One row of the full menu.
struct MenuRow {
    int base;                // section base: 1 title, 3 copy/paste, 5 comment, ...
    bool separatorBefore;
    ItemHotKey hotKey1, hotKey2;
};

// Rows in menu order: the title, then the enabled records by position.
std::vector<MenuRow> MakeMenuLayout(const HookSettings& settings);
const std::vector<MenuRow>& CurrentMenuLayout();

// The includes of the document in `view`, as written; also kept for the
// include commands until the next menu.
const std::vector<std::string>& RefreshIncludes(HWND view, qv::DocKind kind);
const std::vector<std::string>& CurrentIncludes();

// Whether comment and uncomment may run in `view` now.
bool CommentAllowed(HWND view);

// Builds the menu for `child` and mode mask (8 includes, 4 bookmarks,
// otherwise full). The caller owns the menu.
HMENU BuildNavigatorMenu(HWND child, UINT mask);

// How a menu is placed.
enum class MenuPlacement { AtMouse, AtButton, AtClick };
void ShowNavigatorMenu(HWND child, UINT mask, MenuPlacement placement, POINT click);

}  // namespace qnav
