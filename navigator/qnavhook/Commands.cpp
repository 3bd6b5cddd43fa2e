// The commands behind the popup menus and keys: paste buffers, comment and
// uncomment, bookmarks, includes, the counterpart file, file information and
// the outline list. They act on the IDE only through its windows.
#include "Clipboard.h"
#include "CommentText.h"
#include "Dialogs.h"
#include "HookState.h"
#include "IdeRegistry.h"
#include "IncludeNames.h"
#include "MenuText.h"
#include "NavigatorExtensions.h"
#include "Navigation.h"
#include "PersistedState.h"
#include "PopupMenu.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "Settings.h"
#include "SharedState.h"
#include "fw/Handle.h"
#include "resource.h"
#include <cstdio>
#include <cstdlib>

namespace qnav {

namespace {

constexpr WPARAM kIdeCopy = MAKEWPARAM(0xE122, 1);
constexpr WPARAM kIdePaste = MAKEWPARAM(0xE125, 1);
constexpr std::size_t kMaxProjectFile = 1 << 20;

void Beep() { MessageBeep(MB_ICONEXCLAMATION); }

// The editor refuses texts at or over its undo size; a text that would be
// refused is stopped here with a beep. An undo size of 0 means no limit.
bool PassesSizeGuard(std::size_t size) {
    std::string value;
    if (!ReadIdeRegistryText(g_process.kind, {"Text Editor"}, "UndoRedoSize", 64, value)) return true;
    const unsigned long limit = std::strtoul(value.c_str(), nullptr, 10);
    if (limit != 0 && limit <= size) {
        Beep();
        return false;
    }
    return true;
}

// The selection of the active view, copied by the IDE itself.
std::optional<std::string> CopySelection(HWND frame) {
    SendMessageA(frame, WM_COMMAND, kIdeCopy, 0);
    return ClipboardText(frame);
}

void PasteText(HWND frame, const std::string& text) {
    if (SetClipboardText(frame, text)) SendMessageA(frame, WM_COMMAND, kIdePaste, 0);
}

int AskYesNo(HWND owner, UINT textId, const std::string& insert) {
    return ShowStringBox(owner, textId, MB_ICONQUESTION | MB_YESNO | MB_TASKMODAL, insert.c_str());
}

std::string SlotLabel(int slot) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%u", text::SlotNumber(slot));
    return buf;
}

void CopyToBuffer(HWND child, int slot) {
    HWND frame = CurrentFrame();
    if (!frame) return;
    std::optional<std::string> taken;
    {
        ClipboardSnapshot keep(frame);
        taken = CopySelection(frame);
    }
    if (!taken || taken->empty() || !PassesSizeGuard(taken->size())) return;
    // A buffer the file cannot hold would vanish at detachment: refuse it now.
    if (taken->size() + 1 > state::kMaxPasteBufferSize) {
        Beep();
        return;
    }
    const state::PasteBuffer& old = ProcessPersistedState().Buffer(slot);
    if (!old.empty() && old[0] != '\0' && AskYesNo(child, IDS_OVERWRITE_BUFFER, SlotLabel(slot)) != IDYES) return;
    ProcessPersistedState().SetBuffer(slot, state::MakePasteBuffer(taken->data(), taken->size(), taken->size() + 1));
}

void PasteFromBuffer(int slot) {
    HWND frame = CurrentFrame();
    const state::PasteBuffer& b = ProcessPersistedState().Buffer(slot);
    if (!frame || b.empty() || b[0] == '\0') return;
    const std::string text(b.data(), strnlen(b.data(), b.size()));
    if (!PassesSizeGuard(text.size())) return;
    ClipboardSnapshot keep(frame);
    PasteText(frame, text);
}

void CommentSelection(HWND child, bool comment) {
    HWND frame = CurrentFrame();
    if (!frame) return;
    const qv::DocKind kind = KindOfChild(child);
    if (!text::HasCommentStyle(kind)) return;
    ClipboardSnapshot keep(frame);
    const std::optional<std::string> selected = CopySelection(frame);
    if (!selected || selected->empty() || !PassesSizeGuard(selected->size())) return;
    const auto changed = comment ? text::CommentBlock(kind, HookSetting(kSetCppComments) != 0, *selected)
                                 : text::UncommentBlock(kind, *selected);
    if (!changed || !PassesSizeGuard(changed->size())) return;
    PasteText(frame, *changed);
}

void SetBookmark(HWND child, int slot) {
    // Path and caret first: a slot is only overwritten once both are known.
    IdeViewInfo info;
    if (!ViewDocument(ViewOfChild(child), info) || info.path.empty()) {
        Beep();
        return;
    }
    if (const auto& old = ProcessPersistedState().BookmarkAt(slot)) {
        char insert[MAX_PATH + 48];
        std::snprintf(insert, sizeof insert, "#%u:  %s  line %u", text::SlotNumber(slot), old->path.c_str(), old->line + 1);
        if (AskYesNo(child, IDS_OVERWRITE_BOOKMARK, insert) != IDYES) return;
    }
    state::Bookmark b;
    b.path = text::UpperPath(info.path);
    b.line = info.caretLine;
    b.column = info.caretColumn;
    ProcessPersistedState().SetBookmark(slot, b);
}

void ClearBookmarks() {
    for (int n = 0; n < state::kBookmarkCount; ++n)
        if (ProcessPersistedState().BookmarkAt(n)) ProcessPersistedState().SetBookmark(n, std::nullopt);
}

void ClearBuffers() {
    for (int n = 0; n < static_cast<int>(state::kPasteBufferCount); ++n)
        if (!ProcessPersistedState().Buffer(n).empty()) ProcessPersistedState().SetBuffer(n, {});
}

void GoToBookmark(int slot, bool mayOpen) {
    const auto& b = ProcessPersistedState().BookmarkAt(slot);
    if (!b) return;
    if (HWND child = ChildShowing(text::UpperPath(b->path))) {
        GoToLineInChild(child, b->line);
        return;
    }
    if (!mayOpen) return;
    g_process.gotoPending = true;
    g_process.pendingBookmark = slot;
    g_process.pendingDropSeen = false;
    if (!DropFileOnFrame(b->path)) g_process.gotoPending = false;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadSmallFile(const std::string& path, std::string& out, FILETIME& written, DWORD& size) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a) || a.nFileSizeHigh ||
        a.nFileSizeLow > kMaxProjectFile)
        return false;
    written = a.ftLastWriteTime;
    size = a.nFileSizeLow;
    fw::FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    if (!f) return false;
    out.resize(size);
    DWORD got = 0;
    if (size && !ReadFile(f.Get(), out.data(), size, &got, nullptr)) return false;
    out.resize(got);
    return true;
}

// The project's /I directories, read again only when the file changed.
struct ProjectDirsCache {
    std::string path;
    DWORD size = 0;
    FILETIME written{};
    std::string dirs;
};
ProjectDirsCache g_projectDirs;

std::string ProjectDirs(const std::string& project) {
    if (project.empty()) return {};
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (!GetFileAttributesExA(project.c_str(), GetFileExInfoStandard, &a)) return {};
    ProjectDirsCache& c = g_projectDirs;
    if (c.path == project && c.size == a.nFileSizeLow && CompareFileTime(&c.written, &a.ftLastWriteTime) == 0)
        return c.dirs;
    std::string textOf;
    ProjectDirsCache fresh;
    if (!ReadSmallFile(project, textOf, fresh.written, fresh.size)) return {};
    fresh.path = project;
    fresh.dirs = text::ProjectIncludeDirs(textOf);
    c = fresh;
    return c.dirs;
}

std::initializer_list<const char*> IncludeDirsKey() {
    static const std::initializer_list<const char*> k4 = {"Build System", "Components", "Platforms", "Win32 (x86)",
                                                           "Directories"};
    static const std::initializer_list<const char*> k2 = {"Platforms", "Win32 (x86)"};
    return g_process.kind == IdeKind::DevStudio4 ? k4 : k2;
}

void OpenInclude(HWND child, std::size_t index) {
    const auto& names = CurrentIncludes();
    if (index >= names.size()) return;
    const std::string& name = names[index];
    IdeViewInfo info;
    ViewDocument(ViewOfChild(child), info);
    std::string project;
    IdeAdapter(g_process.kind, g_process.application).ProjectFile(project);
    std::string ideDirs;
    const bool registryRead = ReadIdeRegistryText(g_process.kind, IncludeDirsKey(), "Include Dirs", 2048, ideDirs);
    for (const std::string& candidate :
         text::IncludeCandidates(name, info.path, project, ProjectDirs(project), registryRead ? ideDirs : ""))
        if (FileExists(candidate)) {
            ShowFile(candidate);
            return;
        }
    if (registryRead || text::IsAbsolutePath(name)) ShowFile(name);
}

void SwitchToCounterpart(HWND child) {
    IdeViewInfo info;
    if (!ViewDocument(ViewOfChild(child), info)) {
        Beep();
        return;
    }
    std::vector<const char*> exts;
    switch (KindOfPath(info.path)) {
    case qv::kKindC: case qv::kKindCpp: exts = {".H", ".HPP", ".HXX"}; break;
    case qv::kKindHeader: case qv::kKindDefinition: case qv::kKindResource: exts = {".C", ".CPP", ".CXX"}; break;
    case qv::kKindAsm: exts = {".INC"}; break;
    case qv::kKindAsmInclude: exts = {".ASM"}; break;
    default: break;
    }
    const std::string path = text::UpperPath(info.path);
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("\\/");
    const std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(0, dot) : path;
    for (const char* e : exts)
        if (HWND open = ChildShowing(stem + e)) {
            ActivateChild(open);
            return;
        }
    for (const char* e : exts)
        if (FileExists(stem + e)) {
            DropFileOnFrame(stem + e);
            return;
        }
    Beep();
}

// Text size as the editor holds it: Developer Studio lines carry their line
// end, Visual C++ 2.x lines count two more each but the last.
unsigned long TextSize(unsigned long lineBytes, unsigned lines) {
    if (g_process.kind == IdeKind::DevStudio4) return lineBytes;
    const unsigned long withEnds = lineBytes + 2ul * lines;
    return withEnds >= 2 ? withEnds - 2 : 0;
}

void ShowFileInfo(HWND child) {
    IdeViewInfo info;
    if (!ViewDocument(ViewOfChild(child), info)) return;
    FileFacts facts;
    facts.path = info.path;
    IdeDocumentLines lines(info.document);
    unsigned long bytes = 0;
    std::size_t length = 0;
    while (lines.NextLine(length)) {
        bytes += length;
        ++facts.lines;
    }
    facts.textSize = TextSize(bytes, facts.lines);
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (GetFileAttributesExA(info.path.c_str(), GetFileExInfoStandard, &a)) {
        facts.diskSize = a.nFileSizeLow;
        FILETIME local{};
        WORD date = 0, time = 0;
        if (FileTimeToLocalFileTime(&a.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
            facts.lastChange = state::FormatFileDateTime(date, time, state::ReadIntlSettings());
    }
    FileInfoDialog dialog(std::move(facts));
    dialog.DoModal(CurrentFrame());
}

}  // namespace

bool ExecuteNavigatorCommand(HWND child, UINT id) {
    const bool ours = (id >= kCmdShowControl && id <= kCmdFileInfo && id != 6101 && id != 6104) ||
                      (id >= kCmdCopyFirst && id <= kCmdClearBuffers) || (id >= kCmdPasteFirst && id < kCmdPasteFirst + 10) ||
                      (id >= kCmdSetBookmarkFirst && id <= kCmdClearBookmarks) ||
                      (id >= kCmdGoBookmarkFirst && id < kCmdGoBookmarkFirst + 10) ||
                      (id >= kCmdIncludeFirst && id <= kCmdIncludeLast);
    if (!ours) return false;
    if (!CurrentFrame()) return true;
    switch (id) {
    case kCmdShowControl:
        if (g_process.notifyWindow) PostMessageA(g_process.notifyWindow, QNM_SHOWCONTROL, 0, 0);
        return true;
    case kCmdComment: CommentSelection(child, true); return true;
    case kCmdUncomment: CommentSelection(child, false); return true;
    case kCmdFunctions: {
        POINT at;
        GetCursorPos(&at);
        OpenOutlineList(ViewOfChild(child), at, ListOrigin::Menu);
        return true;
    }
    case kCmdUninstall:
        if (g_process.notifyWindow) PostMessageA(g_process.notifyWindow, QNM_FRAMELOST, 0, 0);
        return true;
    case kCmdFileInfo: ShowFileInfo(child); return true;
    case kCmdClearBuffers: ClearBuffers(); return true;
    case kCmdClearBookmarks: ClearBookmarks(); return true;
    }
    if (id >= kCmdCopyFirst && id < kCmdCopyFirst + 10) CopyToBuffer(child, static_cast<int>(id - kCmdCopyFirst));
    else if (id >= kCmdPasteFirst && id < kCmdPasteFirst + 10) PasteFromBuffer(static_cast<int>(id - kCmdPasteFirst));
    else if (id >= kCmdSetBookmarkFirst && id < kCmdSetBookmarkFirst + 10) SetBookmark(child, static_cast<int>(id - kCmdSetBookmarkFirst));
    else if (id >= kCmdGoBookmarkFirst && id < kCmdGoBookmarkFirst + 10) GoToBookmark(static_cast<int>(id - kCmdGoBookmarkFirst), true);
    else if (id >= kCmdIncludeFirst) OpenInclude(child, id - kCmdIncludeFirst);
    return true;
}

void GoToPending(HWND child) {
    const int slot = g_process.pendingBookmark;
    g_process.pendingBookmark = -1;
    if (slot < 0 || slot >= state::kBookmarkCount) return;
    const auto& b = ProcessPersistedState().BookmarkAt(slot);
    IdeViewInfo info;
    if (!b || !ViewDocument(ViewOfChild(child), info) || text::UpperPath(info.path) != text::UpperPath(b->path)) return;
    GoToLineInChild(child, b->line);
}

void OpenPopupMenu(HWND child, UINT modifiers) {
    if (!child) return;
    const bool onFrame = IsZoomed(child) != FALSE;
    HWND captionOwner = onFrame ? g_process.frame : child;
    const DWORD pos = GetMessagePos();
    const POINT click{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    const bool onButton = CaptionButtonHit(captionOwner, click, onFrame);
    if (!onButton && (modifiers & (kMaskCtrl | kMaskAlt)) == (kMaskCtrl | kMaskAlt)) {
        SwitchToCounterpart(child);
        return;
    }
    const UINT mask = modifiers & kMaskCtrl ? kMaskCtrl : modifiers & kMaskShift ? kMaskShift : 0;
    ShowNavigatorMenu(child, mask, onButton ? MenuPlacement::AtButton : MenuPlacement::AtClick, click);
}

}  // namespace qnav
