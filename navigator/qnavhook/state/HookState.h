// What the hook library keeps across IDE sessions: paste buffers in
// QNAV.DAT, bookmarks and the extension map in QNAV.INI, plus the read-only
// IDE registry values and the [intl] date settings. One object per IDE
// process, loaded at attachment and saved at detachment.
#pragma once
#include <windows.h>
#include <array>
#include <optional>
#include <string>
#include <vector>
#include "Bookmarks.h"
#include "ExtensionMap.h"
#include "FileDateFormat.h"
#include "PasteBufferFile.h"

namespace qnav::state {

using BookmarkSlots = std::array<std::optional<Bookmark>, kBookmarkCount>;

// QNAV.INI keys of the hook; names from the string table of `strings`.
class HookProfile {
public:
    explicit HookProfile(HINSTANCE strings, std::string fileName = "QNAV.INI")
        : strings_(strings), file_(std::move(fileName)) {}

    void ClearFirstCall() const;
    // PasteBufferFile, else QNAV.DAT next to `hookModule`'s file.
    std::string PasteBufferPath(HMODULE hookModule) const;
    BookmarkSlots LoadBookmarks() const;
    // Writes every slot; an empty slot's key is deleted. False if any write failed.
    bool SaveBookmarks(const BookmarkSlots& slots) const;
    UserExtensionMap LoadExtensions() const;

private:
    std::string Section() const;
    std::string BookmarkKey(int slot) const;
    HINSTANCE strings_;
    std::string file_;
};

// Whole-file read and write of QNAV.DAT. Reading shares the file for reading
// only; writing makes a new file beside it and puts it in its place only once
// it is complete. A file that cannot be read gives no buffers; Save returns
// false (the old file untouched) when the new one cannot be written or moved
// in.
PasteBuffers LoadPasteBufferFile(const std::string& path);
bool SavePasteBufferFile(const std::string& path, const PasteBuffers& buffers);

// Text value `value` of HKEY_CURRENT_USER\`keyPath` ("A\\B\\C"), at most
// `maxBytes` bytes. Keys are opened read-only one level at a time, each
// parent closed as soon as its child is open. False if a key or the value is
// missing or not text.
bool ReadRegistryText(const std::string& keyPath, const char* value, DWORD maxBytes, std::string& out);

IntlSettings ReadIntlSettings();

// Per-process state with change tracking: saving happens only for what
// changed since loading, and a failed save keeps the change pending, also
// through the next Load.
class PersistedState {
public:
    void Load(HINSTANCE strings, HMODULE hookModule);
    void Save();

    const PasteBuffer& Buffer(int n) const { return buffers_[n]; }
    void SetBuffer(int n, PasteBuffer block);
    const std::optional<Bookmark>& BookmarkAt(int slot) const { return bookmarks_[slot]; }
    void SetBookmark(int slot, std::optional<Bookmark> bookmark);
    const UserExtensionMap& Extensions() const { return extensions_; }
    bool BuffersChanged() const { return buffersChanged_; }
    bool BookmarksChanged() const { return bookmarksChanged_; }

private:
    HINSTANCE strings_ = nullptr;
    std::string pastePath_;
    PasteBuffers buffers_;
    BookmarkSlots bookmarks_;
    UserExtensionMap extensions_;
    bool buffersChanged_ = false;
    bool bookmarksChanged_ = false;
};

}  // namespace qnav::state
