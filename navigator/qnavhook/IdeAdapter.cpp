// Layout of the IDE objects as this adapter reads them (all fields 32-bit):
//   application object: at offset 0x100 of the kind's data section
//     (".data" for kind 4, ".bss" for kind 2); kind 4 keeps the name pointer
//     at +4 and the template list at +8, kind 2 at +0 and +4
//   document template: next, document string, first document
//   document: next, path name, first view, line table, line count
//   view: next, window, caret line, caret column, document, selection
//     anchor line, selection anchor column (the anchor equals the caret
//     when nothing is selected)
//   line table entry: characters, length
#include "IdeAdapter.h"
#include "fw/Handle.h"
#include <cstring>

namespace qnav {

namespace {

constexpr DWORD kAppPlace = 0x100;
constexpr DWORD kTemplateNext = 0, kTemplateDocString = 4, kTemplateFirstDoc = 8;
constexpr DWORD kDocNext = 0, kDocPath = 4, kDocFirstView = 8, kDocLines = 12, kDocLineCount = 16;
constexpr DWORD kViewNext = 0, kViewWindow = 4, kViewCaretLine = 8, kViewCaretColumn = 12, kViewDocument = 16;
constexpr DWORD kViewAnchorLine = 20, kViewAnchorColumn = 24;
constexpr int kChainLimit = 4096;  // a damaged list must not loop for ever

struct KindLayout {
    const char* section;
    DWORD nameOffset;
    DWORD templatesOffset;
    const char* appName;
    const char* projectDocString;
};

const KindLayout* LayoutOf(IdeKind kind) {
    static const KindLayout k4{".data", 4, 8, "Microsoft Developer Studio",
                               "\nProjWkspc\nProject Workspace\nProject Workspaces (*.mdp)\n.mdp"};
    static const KindLayout k2{".bss", 0, 4, "Microsoft Visual C++", "\nProj\nProject\nProjects (*.mak)\n.mak"};
    return kind == IdeKind::DevStudio4 ? &k4 : kind == IdeKind::VisualCpp2 ? &k2 : nullptr;
}

// Whether [address, address + size) is committed, readable memory of this
// process. The last readable region is remembered: a document's lines mostly
// lie in a few regions, and asking for every line made long documents slow
// (a read through ReadProcessMemory costs a round trip to the server under Wine).
bool Readable(ULONG_PTR address, std::size_t size) {
    static ULONG_PTR knownFrom = 0, knownTo = 0;
    constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const ULONG_PTR end = address + size;
    if (end < address) return false;
    ULONG_PTR at = address;
    while (at < end) {
        if (at >= knownFrom && at < knownTo) {
            at = knownTo;
            continue;
        }
        MEMORY_BASIC_INFORMATION mbi{};
        if (!VirtualQuery(reinterpret_cast<LPCVOID>(at), &mbi, sizeof mbi) || mbi.State != MEM_COMMIT ||
            !(mbi.Protect & kReadable) || (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
            return false;
        knownFrom = reinterpret_cast<ULONG_PTR>(mbi.BaseAddress);
        knownTo = knownFrom + mbi.RegionSize;
        at = knownTo;
    }
    return true;
}

bool ReadBytes(DWORD address, void* out, std::size_t size) {
    if (address == 0 || !Readable(address, size)) return false;
    std::memcpy(out, reinterpret_cast<const void*>(static_cast<ULONG_PTR>(address)), size);
    return true;
}

bool ReadWord(DWORD address, DWORD& out) { return ReadBytes(address, &out, sizeof out); }

DWORD Word(DWORD address) {
    DWORD v = 0;
    return ReadWord(address, v) ? v : 0;
}

// A zero-terminated string of at most `limit` characters; false if it is
// unreadable or longer.
bool ReadString(DWORD address, std::size_t limit, std::string& out) {
    out.clear();
    char c = 0;
    for (std::size_t i = 0; i <= limit; ++i) {
        if (!ReadBytes(address + static_cast<DWORD>(i), &c, 1)) return false;
        if (c == '\0') return true;
        out += c;
    }
    return false;
}

// Virtual address of `name` in the module file, read from the file on disk.
DWORD SectionAddressInFile(const char* path, const char* name) {
    fw::FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    fw::KernelHandle mapping(CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping || size == INVALID_FILE_SIZE) return 0;
    struct View {
        const BYTE* p;
        ~View() { if (p) UnmapViewOfFile(p); }
    } view{static_cast<const BYTE*>(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0))};
    if (!view.p || size < sizeof(IMAGE_DOS_HEADER)) return 0;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(view.p);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
        static_cast<DWORD>(dos->e_lfanew) > size - sizeof(IMAGE_NT_HEADERS32))
        return 0;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(view.p + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return 0;
    const DWORD first = static_cast<DWORD>(dos->e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                        nt->FileHeader.SizeOfOptionalHeader;
    const DWORD count = nt->FileHeader.NumberOfSections;
    if (first > size || count > (size - first) / sizeof(IMAGE_SECTION_HEADER)) return 0;
    const auto* sec = reinterpret_cast<const IMAGE_SECTION_HEADER*>(view.p + first);
    for (DWORD i = 0; i < count; ++i)
        if (std::strncmp(reinterpret_cast<const char*>(sec[i].Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0)
            return sec[i].VirtualAddress;
    return 0;
}

}  // namespace

DWORD IdeAdapter::LocateApplication(HWND frame, IdeKind kind) {
    const KindLayout* layout = LayoutOf(kind);
    if (!layout) return 0;
    auto* module = reinterpret_cast<HMODULE>(GetWindowLongPtrA(frame, GWLP_HINSTANCE));
    char path[MAX_PATH];
    const DWORD n = module ? GetModuleFileNameA(module, path, sizeof path) : 0;
    if (n == 0 || n >= sizeof path) return 0;
    const DWORD rva = SectionAddressInFile(path, layout->section);
    if (!rva) return 0;

    // The section is found among the process's memory regions, not trusted
    // from the file alone: it must be mapped where the file says.
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const BYTE* target = base + rva;
    const BYTE* at = base;
    for (int i = 0; i < kChainLimit; ++i) {
        MEMORY_BASIC_INFORMATION mbi{};
        if (!VirtualQuery(at, &mbi, sizeof mbi)) return 0;
        const auto* region = static_cast<const BYTE*>(mbi.BaseAddress);
        if (region == target) {
            const DWORD app = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(region)) + kAppPlace;
            std::string name;
            if (ReadString(Word(app + layout->nameOffset), 64, name) && name == layout->appName) return app;
            return 0;
        }
        if (region > target || mbi.RegionSize == 0) return 0;
        at = region + mbi.RegionSize;
    }
    return 0;
}

std::vector<DWORD> IdeAdapter::Templates() const {
    std::vector<DWORD> out;
    const KindLayout* layout = LayoutOf(kind_);
    if (!layout || !app_) return out;
    for (DWORD t = Word(app_ + layout->templatesOffset); t && out.size() < kChainLimit; t = Word(t + kTemplateNext))
        out.push_back(t);
    return out;
}

bool IdeAdapter::ProjectFile(std::string& path) const {
    const KindLayout* layout = LayoutOf(kind_);
    if (!layout) return false;
    for (DWORD t : Templates()) {
        std::string docString;
        if (!ReadString(Word(t + kTemplateDocString), 256, docString) || docString != layout->projectDocString)
            continue;
        const DWORD doc = Word(t + kTemplateFirstDoc);
        if (!doc || !ReadString(Word(doc + kDocPath), MAX_PATH, path) || path.empty()) return false;
        if (kind_ == IdeKind::DevStudio4) {
            const std::size_t slash = path.find_last_of("\\/");
            const std::size_t dot = path.find_last_of('.');
            if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
            path += ".mak";
        }
        return true;
    }
    return false;
}

bool IdeAdapter::FindView(HWND view, IdeViewInfo& info) const {
    for (DWORD t : Templates()) {
        int guard = 0;
        for (DWORD doc = Word(t + kTemplateFirstDoc); doc && ++guard < kChainLimit; doc = Word(doc + kDocNext)) {
            int viewGuard = 0;
            for (DWORD v = Word(doc + kDocFirstView); v && ++viewGuard < kChainLimit; v = Word(v + kViewNext)) {
                if (Word(v + kViewWindow) != static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(view))) continue;
                if (!ReadString(Word(doc + kDocPath), MAX_PATH, info.path)) return false;
                info.caretLine = Word(v + kViewCaretLine);
                info.caretColumn = Word(v + kViewCaretColumn);
                info.hasSelection = Word(v + kViewAnchorLine) != info.caretLine ||
                                    Word(v + kViewAnchorColumn) != info.caretColumn;
                info.document = doc;
                return true;
            }
        }
    }
    return false;
}

IdeDocumentLines::IdeDocumentLines(DWORD document) {
    if (!ReadWord(document + kDocLines, lines_) || !ReadWord(document + kDocLineCount, count_)) count_ = 0;
}

const char* IdeDocumentLines::NextLine(std::size_t& length) {
    if (next_ >= count_) return nullptr;
    // The line table is read a block at a time: one guarded read per line
    // made long documents slow.
    constexpr DWORD kBlock = 512;
    if (table_.empty() || next_ < tableFirst_ || next_ >= tableFirst_ + table_.size() / 2) {
        const DWORD n = count_ - next_ < kBlock ? count_ - next_ : kBlock;
        table_.assign(std::size_t{n} * 2, 0);
        tableFirst_ = next_;
        if (!ReadBytes(lines_ + next_ * 8, table_.data(), table_.size() * sizeof(DWORD))) {
            table_.clear();
            count_ = 0;  // a damaged table ends the document here
            return nullptr;
        }
    }
    const DWORD chars = table_[(next_ - tableFirst_) * 2], size = table_[(next_ - tableFirst_) * 2 + 1];
    ++next_;
    length = size > qv::kMaxLineLength ? qv::kMaxLineLength : size;
    buffer_.resize(length + 1);
    if (length && !ReadBytes(chars, buffer_.data(), length)) {
        count_ = 0;
        return nullptr;
    }
    buffer_[length] = '\0';
    return buffer_.data();
}

}  // namespace qnav
