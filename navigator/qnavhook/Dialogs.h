// The hook's two dialogs: the file information box and the one-time hint
// about the triggers.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "fw/Window.h"

namespace qnav {

// What the File Info box shows about one document.
struct FileFacts {
    std::string path;
    unsigned long textSize = 0;     // bytes in the editor
    unsigned long diskSize = 0;     // 0 when unknown
    unsigned lines = 0;
    std::string lastChange;         // formatted, may be empty
};

class FileInfoDialog final : public fw::Dialog {
public:
    explicit FileInfoDialog(FileFacts facts);

protected:
    BOOL OnInitDialog() override;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnPaint();
    FileFacts facts_;
};

class FirstUseHintDialog final : public fw::Dialog {
public:
    FirstUseHintDialog();

protected:
    BOOL OnInitDialog() override;
};

// Shows the hint modally, centred on the screen.
void ShowFirstUseHint(HWND owner);

// "%lu byte(s)" and, when it differs and is known, the size on disk.
std::string FileSizeText(unsigned long textSize, unsigned long diskSize);

// `path` shortened from the left to fit `width` pixels in `dc`: the drive,
// "...", and as many trailing components as fit.
std::string ShortenPath(HDC dc, const std::string& path, int width);

// Centres `w` on `over` (the screen when nullptr).
void CenterWindow(HWND w, HWND over);

}  // namespace qnav
