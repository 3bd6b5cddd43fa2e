#include "ListWindowClass.h"
#include "NavigatorExtensions.h"
#include "OutlineList.h"
#include "ProcessState.h"
#include "fw/Handle.h"

namespace qnav {

namespace {
fw::Brush g_listBrush;
fw::Pen g_listGreyPen;
}  // namespace

bool RegisterListClass() {
    WNDCLASSA wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = &ListWindowProc;
    wc.hInstance = g_process.instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kListClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    if (!LoadListBitmaps(g_process.instance)) return false;
    g_listBrush.Reset(CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0)));
    g_listGreyPen.Reset(CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80)));
    return g_listBrush && g_listGreyPen;
}

void UnregisterListClass() {
    if (OutlineList* list = OutlineList::Current()) list->Close(nullptr);
    if (g_process.listWindow && IsWindow(g_process.listWindow)) DestroyWindow(g_process.listWindow);
    g_process.listWindow = nullptr;
    g_process.listOpen = false;
    UnregisterClassA(kListClassName, g_process.instance);
    g_listBrush.Reset();
    g_listGreyPen.Reset();
    FreeListBitmaps();
}

}  // namespace qnav
