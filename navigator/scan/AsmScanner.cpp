// Assembler outline: procedures, structures and macros found by a character
// walk that recognises a handful of directives where they stand as words.
#include <string_view>
#include "AsmSyntax.h"
#include "Scanners.h"

namespace qv {

namespace {

using linescan::Line;
using namespace asmsyntax;

constexpr unsigned kProcedure = 4;
constexpr unsigned kStructure = 5;
constexpr unsigned kMacro = 6;

constexpr std::string_view kNameStops = ";,";

struct Span {
    std::size_t start = 0;
    std::size_t length = 0;
};

// A directive must be followed by the line end, a blank, ',' or ';'.
bool EndsWord(const Line& line, std::size_t pos) {
    if (pos >= line.length) return true;
    const unsigned char c = line.At(pos);
    return linescan::IsBlank(c) || c == ',' || c == ';';
}

bool IsDirective(const Line& line, std::size_t i, std::string_view keyword) {
    return line.HasKeyword(i, keyword) && EndsWord(line, i + keyword.size());
}

bool IsNameChar(unsigned char c) {
    return linescan::IsPrint(c) && !linescan::IsBlank(c) && c != ';' && c != ',';
}

// The last word before the directive at i; a '&' right before the directive
// is part of the directive, not of the name.
Span WordBefore(const Line& line, std::size_t i, std::size_t max) {
    std::size_t end = i;
    if (end > 0 && line.text[end - 1] == '&') --end;
    while (end > 0 && linescan::IsBlank(line.At(end - 1))) --end;
    std::size_t start = end;
    while (start > 0 && IsNameChar(line.At(start - 1))) --start;
    const std::size_t length = end - start;
    return {start, length < max ? length : max};
}

Span WordAfter(const Line& line, std::size_t pos, std::size_t max) {
    const std::size_t start = line.SkipBlanks(pos);
    return {start, line.WordLength(start, kNameStops, max)};
}

// The word before the directive, or else the one after it.
Span DirectiveName(const Line& line, std::size_t i, std::size_t keywordLength, std::size_t max) {
    const Span before = WordBefore(line, i, max);
    return before.length ? before : WordAfter(line, i + keywordLength, max);
}

std::string_view Text(const Line& line, Span s) { return {line.text + s.start, s.length}; }

// The procedure's attributes: the words after pos, blanks collapsed, up to a
// ';', a ',' or the word USES, without trailing blanks.
std::size_t AppendAttributes(const Line& line, std::size_t pos, char* text, std::size_t size, std::size_t used) {
    bool pendingBlank = true;
    for (std::size_t j = line.SkipBlanks(pos); j < line.length; ++j) {
        const unsigned char c = line.At(j);
        if (c == ';' || c == ',') break;
        if (linescan::IsBlank(c)) {
            pendingBlank = true;
            continue;
        }
        if (!linescan::IsPrint(c)) break;
        if (pendingBlank && line.HasKeyword(j, "USES") && EndsWord(line, j + 4)) break;
        if (pendingBlank) used = linescan::AppendBounded(text, size, used, " ");
        pendingBlank = false;
        used = linescan::AppendBounded(text, size, used, std::string_view(line.text + j, 1));
    }
    // A full text may end in the blank before a word that did not fit.
    while (used > 0 && text[used - 1] == ' ') text[--used] = '\0';
    return used;
}

class AsmOutline {
public:
    AsmOutline(ItemSink& items, const ScanOptions& options) : out_(items), options_(options) {}

    void Scan(const Line& line) {
        std::size_t i = 0;
        if (skip_.active) i = skip_.Resume(line, 0);
        else if (line.length < 3) return;
        while (i < line.length && !skip_.active) {
            const unsigned cls = ClassAt(line, i);
            if (cls == 0) return;
            if ((cls == 3 || cls == 4) && i + 2 < line.length && ClassAt(line, i + 2) == 4) {
                if (AtWordStart(line, i)) {
                    const std::size_t next = Directive(line, i);
                    if (next == kLineDone) return;
                    if (next != kNoDirective) {
                        i = next;
                        continue;
                    }
                }
            } else if (line.text[i] == '<') {
                i = skip_.Start(line, i + 1, '>');
                continue;
            }
            ++i;
        }
    }

    int Count() const { return out_.count; }

private:
    static constexpr std::size_t kNoDirective = static_cast<std::size_t>(-1);
    static constexpr std::size_t kLineDone = static_cast<std::size_t>(-2);

    // Handles the directive at i, if any. Returns where the walk goes on,
    // kLineDone when the rest of the line is finished, or kNoDirective.
    std::size_t Directive(const Line& line, std::size_t i) {
        if (IsDirective(line, i, "PROC")) return Procedure(line, i) ? kLineDone : kNoDirective;
        for (std::string_view k : {std::string_view("CPROC"), std::string_view("BEGINPROC")}) {
            if (!IsDirective(line, i, k)) continue;
            const Span name = WordAfter(line, i + k.size(), linescan::kMaxName);
            return Report(line, name, kProcedure, "") ? kLineDone : kNoDirective;
        }
        if (options_.asmMacros && IsDirective(line, i, "MACRO"))
            return Report(line, DirectiveName(line, i, 5, 114), kMacro, "MACRO ") ? kLineDone : kNoDirective;
        if (options_.asmStructs) {
            if (IsDirective(line, i, "STRUC"))
                return Report(line, DirectiveName(line, i, 5, 114), kStructure, "STRUC ") ? kLineDone : kNoDirective;
            if (IsDirective(line, i, "STRUCT"))
                return Report(line, DirectiveName(line, i, 6, 113), kStructure, "STRUCT ") ? kLineDone : kNoDirective;
        }
        for (std::string_view k : {"ECHO", "EXTRN", "EXTERN", "OUT"})
            if (IsDirective(line, i, k)) return kLineDone;
        if (line.HasKeywordBlank(i, "COMMENT")) return StartCommentBlock(line, i, skip_);
        return kNoDirective;
    }

    bool Procedure(const Line& line, std::size_t i) {
        Span name = WordBefore(line, i, linescan::kMaxName);
        std::size_t rest = i + 4;
        if (!name.length) {
            name = WordAfter(line, rest, linescan::kMaxName);
            rest = name.start + name.length;
        }
        if (!name.length) return false;
        OutlineItem item = linescan::MakeItem(line.number, line.number, name.start, name.start + name.length,
                                              kProcedure, "", Text(line, name));
        if (options_.ShowProcAttributes)
            AppendAttributes(line, rest, item.text, sizeof item.text, name.length);
        out_.Emit(item);
        return true;
    }

    bool Report(const Line& line, Span name, unsigned category, std::string_view prefix) {
        if (!name.length) return false;
        out_.Emit(linescan::MakeItem(line.number, line.number, name.start, name.start + name.length, category,
                                     prefix, Text(line, name)));
        return true;
    }

    linescan::Reporter out_;
    const ScanOptions& options_;
    PendingSkip skip_;
};

}  // namespace

int ScanAssembler(LineSource& lines, ItemSink& items, const ScanOptions& options) {
    AsmOutline outline(items, options);
    linescan::ForEachOutlineLine(lines, [&](const Line& line) { outline.Scan(line); });
    return outline.Count();
}

}  // namespace qv
