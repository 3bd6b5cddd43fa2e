// The clipboard round trip of the editing commands: everything the user had
// on the clipboard is kept aside while the commands borrow it for the IDE's
// Copy and Paste, and put back afterwards, every format, not only text.
#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>

namespace qnav {

class ClipboardSnapshot {
public:
    // Takes copies of every format on the clipboard now.
    explicit ClipboardSnapshot(HWND owner);
    ~ClipboardSnapshot();   // puts them back (empties the clipboard if it held nothing)
    ClipboardSnapshot(const ClipboardSnapshot&) = delete;
    ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;

private:
    struct Saved { UINT format; HANDLE data; };
    HWND owner_;
    std::vector<Saved> saved_;
};

// The clipboard's text, or nothing when it holds none.
std::optional<std::string> ClipboardText(HWND owner);
// Replaces the clipboard's contents with `text`.
bool SetClipboardText(HWND owner, const std::string& text);

}  // namespace qnav
