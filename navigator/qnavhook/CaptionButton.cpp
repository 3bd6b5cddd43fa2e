#include "CaptionButton.h"
#include "Attachment.h"
#include "HookGdi.h"
#include "NavigatorExtensions.h"
#include "Settings.h"
#include <algorithm>

namespace qnav {

namespace {
HWND g_pressed = nullptr;   // the window whose button is drawn pressed
}  // namespace

RECT CaptionButtonRect(HWND w, bool onMainFrame) {
    const CaptionGdi& g = g_captionGdi;
    const int space = static_cast<int>(std::min<DWORD>(HookSetting(onMainFrame ? kSetMButtonSpace : kSetEButtonSpace), 2));
    RECT wr{};
    GetWindowRect(w, &wr);
    int left = 0;
    if (HookSetting(kSetButtonsRight)) {
        const int slots = space + (HasWindows4Look() ? 2 : 1);
        left = (wr.right - wr.left) - (2 + slots) * g.ButtonWidth() - g.FrameWidth() - 3;
    } else {
        left = g.FrameWidth() + 2 + (space + 1) * g.ButtonWidth();
    }
    return RECT{left, g.FrameHeight(), left + g.ButtonWidth(), g.FrameHeight() + g.ButtonHeight()};
}

void DrawCaptionButton(HWND w, bool onMainFrame) {
    const CaptionGdi& g = g_captionGdi;
    if (!g.ButtonBrush() || !IsWindow(w)) return;
    const RECT area = CaptionButtonRect(w, onMainFrame);
    const int cx = g.ButtonWidth(), cy = g.ButtonHeight();
    const int side = cx / 2 + 1;
    const RECT box{area.left + cx / 4, area.top + cy / 4, area.left + cx / 4 + side, area.top + cy / 4 + side};
    HDC dc = GetWindowDC(w);
    if (!dc) return;
    FillRect(dc, &box, g.ButtonBrush());
    FrameRect(dc, &box, g.FrameBrush());
    const bool pressed = g_pressed == w;
    {
        fw::SelectObjectScope pen(dc, pressed ? g.GreyPen() : g.WhitePen());
        MoveToEx(dc, box.left + 1, box.bottom - 2, nullptr);
        LineTo(dc, box.left + 1, box.top + 1);
        LineTo(dc, box.right - 1, box.top + 1);
        SelectObject(dc, pressed ? g.WhitePen() : g.GreyPen());
        MoveToEx(dc, box.right - 2, box.top + 2, nullptr);
        LineTo(dc, box.right - 2, box.bottom - 2);
        LineTo(dc, box.left + 1, box.bottom - 2);
    }
    ReleaseDC(w, dc);
}

bool CaptionButtonHit(HWND w, POINT pt, bool onMainFrame) {
    RECT wr{};
    GetWindowRect(w, &wr);
    const POINT inWindow{pt.x - wr.left, pt.y - wr.top};
    const RECT area = CaptionButtonRect(w, onMainFrame);
    return PtInRect(&area, inWindow) != FALSE;
}

void SetCaptionButtonPressed(HWND w, bool onMainFrame, bool pressed) {
    g_pressed = pressed ? w : nullptr;
    DrawCaptionButton(w, onMainFrame);
}

}  // namespace qnav
