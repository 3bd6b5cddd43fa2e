#include "HookGdi.h"
#include "Settings.h"
#include <cstddef>
#include <cstring>

namespace qnav {

CaptionGdi g_captionGdi;
ListFont g_listFont;

void CaptionGdi::Rebuild() {
    buttonBrush_.Reset(CreateSolidBrush(HookSetting(kSetButtonColor)));
    frameBrush_.Reset(CreateSolidBrush(RGB(0, 0, 0)));
    greyPen_.Reset(CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80)));
    whitePen_.Reset(CreatePen(PS_SOLID, 1, RGB(0xFF, 0xFF, 0xFF)));
    cxFrame_ = GetSystemMetrics(SM_CXFRAME);
    cxSize_ = GetSystemMetrics(SM_CXSIZE);
    cyFrame_ = GetSystemMetrics(SM_CYFRAME);
    cySize_ = GetSystemMetrics(SM_CYSIZE);
}

void CaptionGdi::Release() {
    buttonBrush_.Reset();
    frameBrush_.Reset();
    greyPen_.Reset();
    whitePen_.Reset();
}

void ListFont::Update(const LOGFONTA& lf) {
    if (lf.lfFaceName[0] == '\0') {
        Release();
        return;
    }
    const bool same = std::memcmp(&lf, &current_, offsetof(LOGFONTA, lfFaceName)) == 0 &&
                      std::strncmp(lf.lfFaceName, current_.lfFaceName, LF_FACESIZE) == 0;
    if (font_ && same) return;
    if (HFONT f = CreateFontIndirectA(&lf)) {
        font_.Reset(f);
        current_ = lf;
    }
}

void ListFont::Release() {
    font_.Reset();
    current_ = LOGFONTA{};
}

}  // namespace qnav
