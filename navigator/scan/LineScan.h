// Small pieces shared by the line-oriented scanners (everything but C/C++,
// which uses only the bounded text filling): character tests in the C locale
// whatever the process locale is, bounded keyword and name matching on one
// line, and item filling. Every routine takes the line's length and never
// looks past it.
#pragma once
#include <cstddef>
#include <string_view>
#include "Outline.h"

namespace qv::linescan {

// The C library's space test, fixed to the "C" locale.
constexpr bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
constexpr bool IsPrint(unsigned char c) { return c >= 0x20 && c < 0x7F; }
constexpr bool IsWordChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}
constexpr char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Longest name any of these scanners copies.
constexpr std::size_t kMaxName = 120;

// One line as the scanners see it. Lines are numbered from 1; a line longer
// than the outline limit is looked at only up to the limit, which keeps every
// column inside the item's 16-bit fields.
struct Line {
    const char* text = nullptr;
    std::size_t length = 0;
    unsigned number = 0;

    unsigned char At(std::size_t i) const { return static_cast<unsigned char>(text[i]); }
    // True when the upper-case keyword stands at pos, ignoring case.
    bool HasKeyword(std::size_t pos, std::string_view keyword) const;
    // True when the keyword stands at pos and a blank follows it.
    bool HasKeywordBlank(std::size_t pos, std::string_view keyword) const {
        return HasKeyword(pos, keyword) && pos + keyword.size() < length &&
               IsBlank(At(pos + keyword.size()));
    }
    // A keyword at i must begin a word: "GoSub" holds no "Sub".
    bool StartsWord(std::size_t i) const { return i == 0 || !IsWordChar(At(i - 1)); }
    std::size_t SkipBlanks(std::size_t pos) const {
        while (pos < length && IsBlank(At(pos))) ++pos;
        return pos;
    }
    // Length of the run from pos of printable, non-blank characters that are
    // not in stops, at most max.
    std::size_t WordLength(std::size_t pos, std::string_view stops, std::size_t max = kMaxName) const;
    // Length of the run from pos of printable characters (blanks included), at most max.
    std::size_t TextLength(std::size_t pos, std::size_t max = kMaxName) const;
};

class LineReader {
public:
    explicit LineReader(LineSource& source) : source_(source) {}
    // Fetches the next line; false at the end of the document.
    bool Next(Line& line);

private:
    LineSource& source_;
    unsigned count_ = 0;
};

// Calls scanLine for every line of the document, in order.
template <class ScanLine>
void ForEachLine(LineSource& source, ScanLine scanLine) {
    LineReader reader(source);
    Line line;
    while (reader.Next(line)) scanLine(static_cast<const Line&>(line));
}

// Last line an item can name: its line fields are 16 bits wide.
constexpr unsigned kMaxItemLine = 0xFFFF;

// ForEachLine for the outline scanners. Later lines are still read, so the
// document is consumed, but not scanned: an item there would name a line the
// count has wrapped around to.
template <class ScanLine>
void ForEachOutlineLine(LineSource& source, ScanLine scanLine) {
    ForEachLine(source, [&](const Line& line) {
        if (line.number <= kMaxItemLine) scanLine(line);
    });
}

// Passes items on and counts them: every scanner returns the count.
class Reporter {
public:
    explicit Reporter(ItemSink& sink) : sink_(sink) {}
    void Emit(const OutlineItem& item) {
        sink_.AddItem(item);
        ++count;
    }
    int count = 0;

private:
    ItemSink& sink_;
};

// Fills an item at the given place. Text is prefix + name, cut to what the
// item holds; the qualifier is cut likewise.
OutlineItem MakeItem(unsigned line, unsigned topLine, std::size_t startColumn, std::size_t endColumn,
                     unsigned category, std::string_view prefix, std::string_view name,
                     std::string_view qualifier = {});

// Appends text to a zero-terminated buffer of the given size without
// overrunning it; returns the new length.
std::size_t AppendBounded(char* buffer, std::size_t size, std::size_t used, std::string_view text);

}  // namespace qv::linescan
