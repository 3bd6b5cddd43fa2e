#include "HookState.h"
#include "fw/ModulePath.h"
#include <algorithm>
#include <cstring>
#include "HookStateIds.h"
#include "fw/Handle.h"
#include "fw/Window.h"

namespace qnav::state {

namespace {

std::string ProfileString(const char* section, const char* key, DWORD capacity, const char* def,
                          const std::string& file) {
    std::vector<char> buf(capacity + 1);
    DWORD n = GetPrivateProfileStringA(section, key, def, buf.data(), capacity + 1, file.c_str());
    return std::string(buf.data(), n);
}

class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(old_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
private:
    HCURSOR old_;
};

}  // namespace

std::string HookProfile::Section() const { return fw::LoadResString(strings_, IDS_HOOK_SECTION); }

std::string HookProfile::BookmarkKey(int slot) const {
    return fw::LoadResString(strings_, IDS_HOOK_BOOKMARK_FIRST + slot);
}

void HookProfile::ClearFirstCall() const {
    WritePrivateProfileStringA(Section().c_str(), "FirstCall", "0", file_.c_str());
}

std::string HookProfile::PasteBufferPath(HMODULE hookModule) const {
    std::string path = ProfileString(Section().c_str(), "PasteBufferFile", MAX_PATH, "", file_);
    if (!path.empty()) return path;
    return fw::BesideModule("QNAV.DAT", hookModule);
}

BookmarkSlots HookProfile::LoadBookmarks() const {
    BookmarkSlots slots;
    const std::string section = Section();
    for (int i = 0; i < kBookmarkCount; ++i)
        slots[i] = ParseBookmark(ProfileString(section.c_str(), BookmarkKey(i).c_str(), MAX_PATH + 32, "", file_));
    return slots;
}

bool HookProfile::SaveBookmarks(const BookmarkSlots& slots) const {
    const std::string section = Section();
    bool ok = true;
    for (int i = 0; i < kBookmarkCount; ++i) {
        const std::string key = BookmarkKey(i);
        const std::string value = slots[i] ? FormatBookmark(*slots[i]) : std::string();
        ok &= WritePrivateProfileStringA(section.c_str(), key.c_str(),
                                         slots[i] ? value.c_str() : nullptr, file_.c_str()) != FALSE;
    }
    return ok;
}

UserExtensionMap HookProfile::LoadExtensions() const {
    const std::string section = fw::LoadResString(strings_, IDS_HOOK_EXTENSIONS);
    char names[257];
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", names, 256, file_.c_str());
    std::vector<std::pair<std::string, std::string>> entries;
    for (const char* key = names; key < names + n && *key; key += std::strlen(key) + 1)
        entries.emplace_back(key, ProfileString(section.c_str(), key, 15, "", file_));
    return UserExtensionMap(entries);
}

PasteBuffers LoadPasteBufferFile(const std::string& path) {
    fw::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    std::vector<std::uint8_t> bytes(kMaxPasteFileSize);
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return {};
    return DecodePasteBuffers(bytes.data(), got);
}

// The buffers go to a new file beside the old one, which is replaced only
// once the new one is complete: a write that fails (a full disk) must not
// cost the buffers saved before.
bool SavePasteBufferFile(const std::string& path, const PasteBuffers& buffers) {
    const std::vector<std::uint8_t> bytes = EncodePasteBuffers(buffers);
    const std::size_t slash = path.find_last_of("\\/");
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char temp[MAX_PATH];
    if (!GetTempFileNameA(dir.c_str(), "qnv", 0, temp)) return false;
    bool written = false;
    {
        fw::FileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                        nullptr));
        DWORD count = 0;
        written = file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                  count == bytes.size() && FlushFileBuffers(file.Get());
    }
    if (written && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temp);
    return false;
}

bool ReadRegistryText(const std::string& keyPath, const char* value, DWORD maxBytes, std::string& out) {
    out.clear();
    fw::RegKey key;
    HKEY parent = HKEY_CURRENT_USER;
    for (std::size_t start = 0; start <= keyPath.size();) {
        const std::size_t end = std::min(keyPath.find('\\', start), keyPath.size());
        fw::RegKey child;
        if (RegOpenKeyExA(parent, keyPath.substr(start, end - start).c_str(), 0, KEY_READ, child.Put()) !=
            ERROR_SUCCESS)
            return false;
        key = std::move(child);
        parent = key.Get();
        start = end + 1;
    }
    std::vector<char> buf(maxBytes + 1, '\0');
    DWORD size = maxBytes, type = 0;
    if (RegQueryValueExA(key.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    out.assign(buf.data());   // a value without its terminator still ends inside the buffer
    return true;
}

IntlSettings ReadIntlSettings() {
    IntlSettings intl;
    char buf[32];
    GetProfileStringA("intl", "sShortDate", "m/d/yy", buf, 21);
    intl.shortDate = buf;
    intl.clock24 = static_cast<int>(GetProfileIntA("intl", "iTime", 0));
    intl.hourLeadingZero = static_cast<int>(GetProfileIntA("intl", "iTLZero", 0));
    GetProfileStringA("intl", "sTime", ":", buf, sizeof buf);
    intl.timeSeparator = buf[0] ? buf[0] : ':';
    GetProfileStringA("intl", "s1159", "", buf, 9);
    intl.amSuffix = buf;
    GetProfileStringA("intl", "s2359", "", buf, 9);
    intl.pmSuffix = buf;
    return intl;
}

void PersistedState::Load(HINSTANCE strings, HMODULE hookModule) {
    strings_ = strings;
    HookProfile profile(strings);
    pastePath_ = profile.PasteBufferPath(hookModule);
    // Changes a failed save left pending stay, rather than the older state
    // on disk; the next detachment saves them again.
    if (!buffersChanged_) buffers_ = LoadPasteBufferFile(pastePath_);
    if (!bookmarksChanged_) bookmarks_ = profile.LoadBookmarks();
    extensions_ = profile.LoadExtensions();
}

void PersistedState::Save() {
    if (buffersChanged_ && !pastePath_.empty()) {
        WaitCursor wait;
        if (SavePasteBufferFile(pastePath_, buffers_)) buffersChanged_ = false;
    }
    if (bookmarksChanged_ && strings_) {
        if (HookProfile(strings_).SaveBookmarks(bookmarks_)) bookmarksChanged_ = false;
    }
}

void PersistedState::SetBuffer(int n, PasteBuffer block) {
    buffers_[n] = std::move(block);
    buffersChanged_ = true;
}

void PersistedState::SetBookmark(int slot, std::optional<Bookmark> bookmark) {
    bookmarks_[slot] = std::move(bookmark);
    bookmarksChanged_ = true;
}

}  // namespace qnav::state
