#include "PopupMenu.h"
#include "CaptionButton.h"
#include "HookState.h"
#include "IncludeNames.h"
#include "MenuText.h"
#include "Navigation.h"
#include "PersistedState.h"
#include "ProcessState.h"
#include "HookGdi.h"
#include "Settings.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"
#include "TextLineSource.h"
#include <algorithm>
#include <cstring>

namespace qnav {

namespace {

constexpr std::size_t kMaxIncludes = 80;
constexpr int kIncludesPerColumn = 20;
constexpr int kClickExclusion = 4;

// Sections by record, in their default order.
struct Section { int base; const char* first; const char* second; };
constexpr Section kSections[kMenuRecordCount] = {
    {3, "&Copy", "&Paste"},     {5, "Comment", "&Uncomment"}, {7, "Set &Bookmark", "&Go to Bookmark"},
    {9, "&Includes", nullptr},  {11, "&Functions...", nullptr}, {13, "Fi&le Info...", nullptr},
    {17, "Uninstall", nullptr},
};
constexpr char kTitle[] = "Quorvane";
constexpr ItemHotKey kTitleHotKey{'S', 0x53, 0x0110, 0x1F};

std::vector<MenuRow> g_layout;
std::vector<std::string> g_includes;

// Which sections a document kind offers.
struct Offer { bool title, copyPaste, comment, bookmarks, includes, functions, fileInfo; };

Offer OfferFor(qv::DocKind kind) {
    Offer o{true, true, true, true, true, true, true};
    switch (kind) {
    case 1: case 2: case 3: case 4: case 5: case 7: case 9: break;
    case 6: o.includes = o.functions = false; break;
    case 8: case 11: case 12: o.includes = false; break;
    case 10: o.copyPaste = o.comment = o.includes = o.functions = o.fileInfo = false; break;
    case 13: case 14: o.comment = o.includes = false; break;
    default: o.comment = o.includes = o.functions = false; break;
    }
    return o;
}

const char* FunctionsText(qv::DocKind kind) {
    switch (kind) {
    case qv::kKindHeader: return "Classes/Structs...";
    case qv::kKindResource: return "Resources...";
    case qv::kKindSections: case qv::kKindHelpProject: return "Sections...";
    case qv::kKindLog: return "&Faults...";
    case qv::kKindDigest: return "&Subjects...";
    default: return "&Functions...";
    }
}

std::string Labelled(const char* name, const ItemHotKey& key) {
    return name + text::HotKeyLabel(key.modifiers, key.scanCode, static_cast<char>(key.character));
}

UINT Grey(bool enabled) { return enabled ? MF_ENABLED : MF_GRAYED; }

void Append(HMENU m, UINT flags, UINT_PTR id, const std::string& s) { AppendMenuA(m, MF_STRING | flags, id, s.c_str()); }

HMENU BufferMenu(UINT first, bool paste) {
    HMENU m = CreatePopupMenu();
    bool any = false;
    for (int n = 0; n < 10; ++n) {
        const state::PasteBuffer& b = ProcessPersistedState().Buffer(n);
        const bool empty = b.empty() || b[0] == '\0';
        any |= !empty;
        Append(m, paste ? Grey(!empty) : MF_ENABLED, first + static_cast<UINT>(n),
               text::PasteEntryText(n, b.data(), b.size()));
    }
    if (!paste) {
        AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
        Append(m, Grey(any), kCmdClearBuffers, "Clear All");
    }
    return m;
}

std::string BookmarkText(int n) {
    const auto& b = ProcessPersistedState().BookmarkAt(n);
    return b ? text::BookmarkEntryText(n, b->path, b->line) : text::EmptyBookmarkEntryText(n);
}

bool AnyBookmark() {
    for (int n = 0; n < state::kBookmarkCount; ++n)
        if (ProcessPersistedState().BookmarkAt(n)) return true;
    return false;
}

HMENU BookmarkMenu(UINT first, bool go) {
    HMENU m = CreatePopupMenu();
    for (int n = 0; n < state::kBookmarkCount; ++n)
        Append(m, go ? Grey(ProcessPersistedState().BookmarkAt(n).has_value()) : MF_ENABLED,
               first + static_cast<UINT>(n), BookmarkText(n));
    if (!go) {
        AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
        Append(m, Grey(AnyBookmark()), kCmdClearBookmarks, "Clear All");
    }
    return m;
}

// The includes as entries; a new column every 20 entries.
void AppendIncludes(HMENU m, bool ownMenu) {
    for (std::size_t i = 0; i < g_includes.size(); ++i) {
        UINT flags = MF_ENABLED;
        if (i > 0 && i % kIncludesPerColumn == 0) {
            if (ownMenu) {
                AppendMenuA(m, MF_STRING | MF_GRAYED | MF_MENUBARBREAK, 0, "");
                AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
            } else {
                flags |= MF_MENUBARBREAK;
            }
        }
        Append(m, flags, kCmdIncludeFirst + i, g_includes[i]);
    }
}

struct IncludeCollector final : qv::IncludeSink {
    std::size_t used = 0;
    void AddInclude(const char* name, std::size_t length) override {
        if (g_includes.size() >= kMaxIncludes || used + length + 1 > g_process.includeList.size()) return;
        used += length + 1;
        g_includes.emplace_back(name, length);
    }
};

HWND CaptionOwnerOf(HWND child) { return IsZoomed(child) ? g_process.frame : child; }

}  // namespace

std::vector<MenuRow> MakeMenuLayout(const HookSettings& settings) {
    std::vector<MenuRow> rows;
    rows.push_back(MenuRow{1, false, kTitleHotKey, ItemHotKey{}});
    std::vector<int> order;
    for (int r = 0; r < kMenuRecordCount; ++r)
        if (settings.Menu[r].enabled) order.push_back(r);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return settings.Menu[a].position < settings.Menu[b].position; });
    for (int r : order) {
        const MenuItemOptions& m = settings.Menu[r];
        rows.push_back(MenuRow{kSections[r].base, m.secondFlag != 0, m.hotKey1, m.hotKey2});
    }
    return rows;
}

const std::vector<MenuRow>& CurrentMenuLayout() { return g_layout; }

void BuildMenuLayout() { g_layout = MakeMenuLayout(g_shared.settings); }

const std::vector<std::string>& RefreshIncludes(HWND view, qv::DocKind kind) {
    g_includes.clear();
    IdeViewInfo info;
    if (!ViewDocument(view, info) || g_process.includeList.empty()) return g_includes;
    IdeDocumentLines lines(info.document);
    IncludeCollector sink;
    switch (kind) {
    case qv::kKindC: case qv::kKindCpp: case qv::kKindHeader: case qv::kKindResource: case qv::kKindHelpProject:
        text::ScanCIncludes(lines, sink);
        break;
    case qv::kKindAsm: case qv::kKindAsmInclude: qv::ScanAsmIncludes(lines, sink); break;
    default: break;
    }
    return g_includes;
}

const std::vector<std::string>& CurrentIncludes() { return g_includes; }

bool CommentAllowed(HWND view) {
    if (g_process.kind == IdeKind::DevStudio4) return true;
    IdeViewInfo info;
    return ViewDocument(view, info) && info.hasSelection;
}

HMENU BuildNavigatorMenu(HWND child, UINT mask) {
    HMENU menu = CreatePopupMenu();
    const qv::DocKind kind = KindOfChild(child);
    if (kind == qv::kKindNone || g_layout.empty()) return menu;
    const Offer offer = OfferFor(kind);
    HWND view = ViewOfChild(child);
    const MenuRow& title = g_layout.front();

    if (mask & kMaskCtrl) {
        Append(menu, MF_ENABLED, kCmdShowControl, Labelled(kTitle, title.hotKey2));
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        if (offer.includes) RefreshIncludes(view, kind);
        else g_includes.clear();
        if (g_includes.empty()) Append(menu, MF_GRAYED, kCmdIncludeFirst, "No Includes");
        else AppendIncludes(menu, true);
        return menu;
    }
    if (mask & kMaskShift) {
        Append(menu, MF_ENABLED, kCmdShowControl, Labelled(kTitle, title.hotKey2));
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        if (!AnyBookmark()) {
            Append(menu, MF_GRAYED, kCmdGoBookmarkFirst, "No Bookmarks");
        } else {
            for (int n = 0; n < state::kBookmarkCount; ++n)
                Append(menu, Grey(ProcessPersistedState().BookmarkAt(n).has_value()),
                       kCmdGoBookmarkFirst + static_cast<UINT>(n), BookmarkText(n));
        }
        return menu;
    }

    const bool comment = offer.comment && CommentAllowed(view);
    for (std::size_t r = 0; r < g_layout.size(); ++r) {
        const MenuRow& row = g_layout[r];
        if (r > 0 && row.separatorBefore) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        switch (row.base) {
        case 1: Append(menu, Grey(offer.title), kCmdShowControl, Labelled(kTitle, row.hotKey1)); break;
        case 3:
            AppendMenuA(menu, MF_POPUP | Grey(offer.copyPaste), reinterpret_cast<UINT_PTR>(BufferMenu(kCmdCopyFirst, false)),
                        Labelled("&Copy", row.hotKey1).c_str());
            AppendMenuA(menu, MF_POPUP | Grey(offer.copyPaste), reinterpret_cast<UINT_PTR>(BufferMenu(kCmdPasteFirst, true)),
                        Labelled("&Paste", row.hotKey2).c_str());
            break;
        case 5:
            Append(menu, Grey(comment), kCmdComment, Labelled("Comment", row.hotKey1));
            Append(menu, Grey(comment), kCmdUncomment, Labelled("&Uncomment", row.hotKey2));
            break;
        case 7:
            AppendMenuA(menu, MF_POPUP | Grey(offer.bookmarks),
                        reinterpret_cast<UINT_PTR>(BookmarkMenu(kCmdSetBookmarkFirst, false)),
                        Labelled("Set &Bookmark", row.hotKey1).c_str());
            AppendMenuA(menu, MF_POPUP | Grey(offer.bookmarks),
                        reinterpret_cast<UINT_PTR>(BookmarkMenu(kCmdGoBookmarkFirst, true)),
                        Labelled("&Go to Bookmark", row.hotKey2).c_str());
            break;
        case 9: {
            if (offer.includes) RefreshIncludes(view, kind);
            else g_includes.clear();
            HMENU sub = CreatePopupMenu();
            AppendIncludes(sub, false);
            AppendMenuA(menu, MF_POPUP | Grey(offer.includes && !g_includes.empty()), reinterpret_cast<UINT_PTR>(sub),
                        Labelled("&Includes", row.hotKey1).c_str());
            break;
        }
        case 11: Append(menu, Grey(offer.functions), kCmdFunctions, Labelled(FunctionsText(kind), row.hotKey1)); break;
        case 13: Append(menu, Grey(offer.fileInfo), kCmdFileInfo, Labelled("Fi&le Info...", row.hotKey1)); break;
        case 17: Append(menu, MF_ENABLED, kCmdUninstall, Labelled("Uninstall", row.hotKey1)); break;
        }
    }
    return menu;
}

void ShowNavigatorMenu(HWND child, UINT mask, MenuPlacement placement, POINT click) {
    HWND frame = CurrentFrame();
    if (!frame || !child || g_process.menuOpen) return;
    HMENU menu = BuildNavigatorMenu(child, mask);
    if (!menu) return;
    HWND captionOwner = CaptionOwnerOf(child);
    const bool onFrame = captionOwner == frame;
    UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RIGHTBUTTON;
    POINT at = click;
    TPMPARAMS exclude{sizeof exclude, {}};
    bool useExclude = false;
    if (placement == MenuPlacement::AtMouse) {
        GetCursorPos(&at);
    } else {
        RECT wr;
        GetWindowRect(captionOwner, &wr);
        const CaptionGdi& g = g_captionGdi;
        at.y = wr.top + g.FrameHeight() + g.ButtonHeight();
        if (placement == MenuPlacement::AtButton) {
            g_process.captionClicksSuppressed = true;
            if (HookSetting(kSetButtonsRight)) {
                at.x = wr.right - 2 * g.ButtonWidth();
                flags = (flags & ~TPM_LEFTALIGN) | TPM_RIGHTALIGN;
            } else {
                at.x = wr.left + g.ButtonWidth();
            }
        } else {
            flags = (flags & ~TPM_LEFTALIGN) | TPM_CENTERALIGN;
            exclude.rcExclude = RECT{at.x - kClickExclusion / 2, wr.top, at.x + kClickExclusion / 2, at.y};
            useExclude = true;
        }
    }
    g_process.menuOpen = true;
    SetCaptionButtonPressed(captionOwner, onFrame, placement == MenuPlacement::AtButton);
    if (useExclude) TrackPopupMenuEx(menu, flags | TPM_VERTICAL, at.x, at.y, child, &exclude);
    else TrackPopupMenu(menu, flags, at.x, at.y, 0, child, nullptr);
    SetCaptionButtonPressed(captionOwner, onFrame, false);
    PostMessageA(frame, QNM_MENUDONE, reinterpret_cast<WPARAM>(menu), QNM_TAG);
}

}  // namespace qnav
