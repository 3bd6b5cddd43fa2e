#include "AppObject.h"
#include "IdeControl.h"
#include <cstring>
#include <fstream>

namespace ide {

namespace {

constexpr char kSourceDocString[] = "\nCpp\nC/C++ Source\nC/C++ Files (*.cpp)\n.cpp";
constexpr char kProjectDocString4[] = "\nProjWkspc\nProject Workspace\nProject Workspaces (*.mdp)\n.mdp";
constexpr char kProjectDocString2[] = "\nProj\nProject\nProjects (*.mak)\n.mak";
constexpr char kAppName4[] = "Microsoft Developer Studio";
constexpr char kAppName2[] = "Microsoft Visual C++";

// Start of a section of this program, from its own PE headers.
BYTE* OwnSection(const char* name) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    IMAGE_SECTION_HEADER* sec = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++sec)
        if (std::strncmp(reinterpret_cast<const char*>(sec->Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0)
            return base + sec->VirtualAddress;
    return nullptr;
}

// An address that is reserved but never committed: any read of it fails.
void* UnreadableAddress() {
    static void* page = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    return page;
}

void Unlink(raw::Document*& head, raw::Document* doc) {
    for (raw::Document** p = &head; *p; p = &(*p)->next)
        if (*p == doc) { *p = doc->next; return; }
}

}  // namespace

bool Document::Load() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (lines.empty()) lines.emplace_back();
    SetLines(std::move(lines));
    return true;
}

void Document::SetLines(std::vector<std::string> lines) {
    if (lines.empty()) lines.emplace_back();
    lines_ = std::move(lines);
    refs_.clear();
    withEnds_.clear();
    // Developer Studio counts a line's end as part of the line, all but the last.
    const bool ends = Application::Instance().Kind() == 4;
    if (ends) {
        for (std::size_t i = 0; i < lines_.size(); ++i) withEnds_.push_back(lines_[i] + (i + 1 < lines_.size() ? "\r\n" : ""));
    }
    const std::vector<std::string>& shown = ends ? withEnds_ : lines_;
    for (const std::string& l : shown) refs_.push_back({l.c_str(), static_cast<DWORD>(l.size())});
    raw_.lines = refs_.data();
    raw_.lineCount = static_cast<DWORD>(refs_.size());
}

std::string Document::Text() const {
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i) text += "\r\n";
        text += lines_[i];
    }
    return text;
}

Application& Application::Instance() {
    static Application app;
    return app;
}

bool Application::Install(int kind, AppMode mode) {
    kind_ = kind;
    unsigned char* place = kind == 2 ? g_bssPlace : g_dataPlace;
    BYTE* section = OwnSection(kind == 2 ? ".bss" : ".data");
    if (!section || place - section != static_cast<std::ptrdiff_t>(kAppObjectOffset)) return false;
    std::memset(place, 0, kPlaceSize);
    if (mode == AppMode::Absent) return true;

    sourceTemplate_.docString = kSourceDocString;
    sourceTemplate_.next = &projectTemplate_;
    projectTemplate_.docString = kind == 2 ? kProjectDocString2 : kProjectDocString4;
    const char* name = kind == 2 ? kAppName2 : kAppName4;
    raw::DocTemplate* templates = &sourceTemplate_;
    if (mode == AppMode::BadName) name = static_cast<const char*>(UnreadableAddress());
    if (mode == AppMode::BadTemplates) templates = static_cast<raw::DocTemplate*>(UnreadableAddress());

    if (kind == 2) {
        auto* app = reinterpret_cast<raw::AppKind2*>(place);
        app->appName = name;
        app->firstTemplate = templates;
    } else {
        auto* app = reinterpret_cast<raw::AppKind4*>(place);
        app->tag = 0x41505034;  // "4PPA": just not zero
        app->appName = name;
        app->firstTemplate = templates;
    }
    return true;
}

Document* Application::OpenSource(const std::string& path, Content content) {
    Document& doc = sources_.emplace_back(path);
    // A bare name such as "Watch" is one of the debugger's windows: no file behind it.
    const bool debuggerWindow = path.find_first_of("\\/.:") == std::string::npos;
    if (content == Content::Text && !doc.Load() && !debuggerWindow) { sources_.pop_back(); return nullptr; }
    Relink();
    return &doc;
}

Document* Application::OpenProject(const std::string& path) {
    Document& doc = projects_.emplace_back(path);
    Relink();
    return &doc;
}

void Application::Close(Document* doc) {
    Unlink(sourceTemplate_.firstDocument, doc->Raw());
    Unlink(projectTemplate_.firstDocument, doc->Raw());
    sources_.remove_if([doc](const Document& d) { return &d == doc; });
    projects_.remove_if([doc](const Document& d) { return &d == doc; });
    Relink();
}

// Rebuilds both document chains from the owning lists, in opening order.
void Application::Relink() {
    auto chain = [](std::list<Document>& docs, raw::DocTemplate& tmpl) {
        raw::Document** tail = &tmpl.firstDocument;
        for (Document& d : docs) { *tail = d.Raw(); tail = &d.Raw()->next; }
        *tail = nullptr;
    };
    chain(sources_, sourceTemplate_);
    chain(projects_, projectTemplate_);
}

void Application::AddView(Document* doc, raw::View* view) {
    view->document = doc->Raw();
    raw::View** tail = &doc->Raw()->firstView;
    while (*tail) tail = &(*tail)->next;
    *tail = view;
    view->next = nullptr;
}

void Application::RemoveView(Document* doc, raw::View* view) {
    for (raw::View** p = &doc->Raw()->firstView; *p; p = &(*p)->next)
        if (*p == view) { *p = view->next; return; }
}

}  // namespace ide
