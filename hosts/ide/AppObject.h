// The stand-in IDE's in-memory objects, in the plain layout the navigator's
// IDE adapter reads (documented in README.md). The C++ classes own the data;
// the raw structs only mirror it, as linked lists of plain pointers.
#pragma once
#include <windows.h>
#include <list>
#include <string>
#include <vector>

namespace ide {

constexpr std::size_t kPlaceSize = 256;
extern unsigned char g_dataPlace[kPlaceSize];
extern unsigned char g_bssPlace[kPlaceSize];

namespace raw {
struct Document;
struct LineRef { const char* chars; DWORD length; };
struct View { View* next; HWND window; DWORD caretLine; DWORD caretColumn; Document* document;
              DWORD anchorLine; DWORD anchorColumn; };
struct Document { Document* next; const char* pathName; View* firstView; const LineRef* lines; DWORD lineCount; };
struct DocTemplate { DocTemplate* next; const char* docString; Document* firstDocument; };
// The two kinds keep the name and the template list at different offsets.
struct AppKind4 { DWORD tag; const char* appName; DocTemplate* firstTemplate; };
struct AppKind2 { const char* appName; DocTemplate* firstTemplate; };
}  // namespace raw

enum class AppMode { Normal, Absent, BadName, BadTemplates };

// What a child window shows of its document: the text, or (a browse window)
// something that is not text, so nothing is read.
enum class Content { Text, Browse };

class Document {
public:
    explicit Document(std::string path) : path_(std::move(path)) { raw_.pathName = path_.c_str(); }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    bool Load();                       // reads path_ from disk
    const std::string& Path() const { return path_; }
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(std::vector<std::string> lines);
    std::string Text() const;          // lines joined by CR LF
    raw::Document* Raw() { return &raw_; }

private:
    std::string path_;
    std::vector<std::string> lines_{std::string()};
    std::vector<raw::LineRef> refs_;
    std::vector<std::string> withEnds_;   // Developer Studio's lines carry CR LF
    raw::Document raw_{};
};

// The application: its templates, documents and the object at its place.
class Application {
public:
    static Application& Instance();
    // Writes the application object for `kind` (2 or 4) at its place.
    // Returns false if the place is not where the layout promises.
    bool Install(int kind, AppMode mode);
    int Kind() const { return kind_; }

    Document* OpenSource(const std::string& path, Content content = Content::Text);   // nullptr if unreadable
    Document* OpenProject(const std::string& path);  // no file needed
    void Close(Document* doc);

    void AddView(Document* doc, raw::View* view);

    // How new editor panes look: a split pane has a second (decoy) vertical
    // scroll bar beside the view's own; the horizontal bar may be hidden.
    struct PaneOptions { bool split = false; bool hideHorizontal = false; };
    void SetPaneOptions(PaneOptions o) { pane_ = o; }
    PaneOptions Pane() const { return pane_; }
    void RemoveView(Document* doc, raw::View* view);

private:
    Application() = default;
    void Relink();

    int kind_ = 4;
    PaneOptions pane_;
    raw::DocTemplate sourceTemplate_{};
    raw::DocTemplate projectTemplate_{};
    std::list<Document> sources_;
    std::list<Document> projects_;
};

}  // namespace ide
