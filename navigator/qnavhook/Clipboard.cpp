#include "Clipboard.h"
#include <cstring>

namespace qnav {

namespace {

// Opening can fail while another program holds the clipboard for a moment.
bool OpenWithRetry(HWND owner) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(5);
    }
    return false;
}

struct ClipboardOpen {
    bool open;
    explicit ClipboardOpen(HWND owner) : open(OpenWithRetry(owner)) {}
    ~ClipboardOpen() { if (open) CloseClipboard(); }
};

HGLOBAL CopyGlobal(HANDLE from) {
    const SIZE_T size = GlobalSize(from);
    const void* src = GlobalLock(from);
    if (!src) return nullptr;
    HGLOBAL to = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    if (to) {
        std::memcpy(GlobalLock(to), src, size);
        GlobalUnlock(to);
    }
    GlobalUnlock(from);
    return to;
}

// A copy the clipboard can own later; nullptr for formats whose handles
// cannot be duplicated here (those are left to their owner).
HANDLE CopyFormat(UINT format, HANDLE data) {
    switch (format) {
    case CF_BITMAP: return CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
    case CF_ENHMETAFILE: return CopyEnhMetaFile(static_cast<HENHMETAFILE>(data), nullptr);
    case CF_PALETTE: case CF_METAFILEPICT: case CF_OWNERDISPLAY: case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT: case CF_DSPENHMETAFILE: return nullptr;
    default:
        if (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST) return nullptr;
        return GlobalSize(data) ? CopyGlobal(data) : nullptr;
    }
}

void FreeFormat(UINT format, HANDLE data) {
    if (!data) return;
    if (format == CF_BITMAP) DeleteObject(data);
    else if (format == CF_ENHMETAFILE) DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
    else GlobalFree(data);
}

}  // namespace

ClipboardSnapshot::ClipboardSnapshot(HWND owner) : owner_(owner) {
    ClipboardOpen clip(owner);
    if (!clip.open) return;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
        HANDLE data = GetClipboardData(f);
        if (HANDLE copy = data ? CopyFormat(f, data) : nullptr) saved_.push_back({f, copy});
    }
}

ClipboardSnapshot::~ClipboardSnapshot() {
    ClipboardOpen clip(owner_);
    if (!clip.open) {
        for (const Saved& s : saved_) FreeFormat(s.format, s.data);
        return;
    }
    EmptyClipboard();
    for (const Saved& s : saved_)
        if (!SetClipboardData(s.format, s.data)) FreeFormat(s.format, s.data);
}

std::optional<std::string> ClipboardText(HWND owner) {
    ClipboardOpen clip(owner);
    if (!clip.open) return std::nullopt;
    HANDLE mem = GetClipboardData(CF_TEXT);
    if (!mem) return std::nullopt;
    const char* p = static_cast<const char*>(GlobalLock(mem));
    if (!p) return std::nullopt;
    std::string text(p, strnlen(p, GlobalSize(mem)));
    GlobalUnlock(mem);
    return text;
}

bool SetClipboardText(HWND owner, const std::string& text) {
    ClipboardOpen clip(owner);
    if (!clip.open) return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!mem) return false;
    std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
    GlobalUnlock(mem);
    if (SetClipboardData(CF_TEXT, mem)) return true;
    GlobalFree(mem);
    return false;
}

}  // namespace qnav
