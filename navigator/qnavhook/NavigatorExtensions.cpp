#include "NavigatorExtensions.h"

namespace qnav {

void BuildMenuLayout() {}                                     // arrives with the popup menus
void DrawCaptionButton(HWND, bool) {}                         // arrives with the caption button
bool CaptionButtonHit(HWND, POINT, bool) { return false; }    // arrives with the caption button
void OpenPopupMenu(HWND, UINT) {}                             // arrives with the popup menus
bool ExecuteNavigatorCommand(HWND, UINT) { return false; }    // arrives with the commands
void GoToPending(HWND) {}                                     // arrives with the bookmarks
bool OnViewTrigger(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return false; }  // arrives with the menus

LRESULT CALLBACK ListWindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, msg, wp, lp);                    // arrives with the outline list
}

}  // namespace qnav
