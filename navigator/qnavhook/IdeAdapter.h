// What the navigator reads from the IDE's in-memory objects: the application
// object, the open project's file, an editor view's document and caret, and
// the document's text line by line. Every read of IDE memory is checked
// against the process's committed, readable regions first, so a damaged
// object reads as "not found" instead of faulting inside the IDE.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "IdeWindows.h"
#include "Outline.h"

namespace qnav {

struct IdeViewInfo {
    std::string path;       // full path of the view's document
    DWORD caretLine = 0;    // 0-based
    DWORD caretColumn = 0;  // 0-based
    bool hasSelection = false;
    DWORD document = 0;     // what IdeDocumentLines reads
};

class IdeAdapter {
public:
    IdeAdapter(IdeKind kind, DWORD application) : kind_(kind), app_(application) {}

    // The application object of the IDE whose main window is `frame`, or 0.
    static DWORD LocateApplication(HWND frame, IdeKind kind);

    // Path of the open project file (".mak"), false if none is open.
    bool ProjectFile(std::string& path) const;

    // The document shown in editor view `view`, false if no view matches.
    bool FindView(HWND view, IdeViewInfo& info) const;

private:
    std::vector<DWORD> Templates() const;
    IdeKind kind_;
    DWORD app_;
};

// The lines of an IDE document, each cut at qv::kMaxLineLength.
class IdeDocumentLines final : public qv::LineSource {
public:
    explicit IdeDocumentLines(DWORD document);
    const char* NextLine(std::size_t& length) override;

private:
    DWORD lines_ = 0;
    DWORD count_ = 0;
    DWORD next_ = 0;
    std::vector<char> buffer_;
    std::vector<DWORD> table_;      // a block of (characters, length) pairs
    DWORD tableFirst_ = 0;          // index of the block's first line
};

}  // namespace qnav
