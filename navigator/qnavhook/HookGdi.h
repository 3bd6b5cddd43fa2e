// Window-system objects of an attached IDE process: what the caption button
// is drawn with, and the outline list's font. Rebuilt on every settings change.
#pragma once
#include <windows.h>
#include "fw/Handle.h"

namespace qnav {

class CaptionGdi {
public:
    // Recreates the brushes and pens from the settings and re-reads the metrics.
    void Rebuild();
    void Release();

    HBRUSH ButtonBrush() const { return buttonBrush_.Get(); }
    HBRUSH FrameBrush() const { return frameBrush_.Get(); }
    HPEN GreyPen() const { return greyPen_.Get(); }
    HPEN WhitePen() const { return whitePen_.Get(); }
    int FrameWidth() const { return cxFrame_; }
    int FrameHeight() const { return cyFrame_; }
    int ButtonWidth() const { return cxSize_; }
    int ButtonHeight() const { return cySize_; }

private:
    fw::Brush buttonBrush_, frameBrush_;
    fw::Pen greyPen_, whitePen_;
    int cxFrame_ = 0, cxSize_ = 0, cyFrame_ = 0, cySize_ = 0;
};

class ListFont {
public:
    // Makes a font only when `lf` differs from the one in use and names a
    // face; an empty face name drops the font so the system font is used.
    void Update(const LOGFONTA& lf);
    void Release();
    HFONT Get() const { return font_.Get(); }

private:
    fw::Font font_;
    LOGFONTA current_{};
};

extern CaptionGdi g_captionGdi;
extern ListFont g_listFont;

}  // namespace qnav
