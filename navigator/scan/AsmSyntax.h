// What the assembler outline and the assembler include scan agree on: the
// character classes, where a directive may stand, and COMMENT blocks, which
// both must step over the same way.
#pragma once
#include <array>
#include "LineScan.h"

namespace qv::asmsyntax {

// 0 ends the walk (comment, directive, string), 2 separates words, 3 and 4
// are the letters keywords are made of (see IsKeywordCandidate), 1 the rest.
constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> t{};
    for (auto& c : t) c = 1;
    for (unsigned char c : {';', '.', '\'', '"', '\0'}) t[c] = 0;
    for (unsigned char c : {' ', '\t', '%', '&'}) t[c] = 2;
    for (char c : {'P', 'B', 'E', 'S'}) {
        t[static_cast<unsigned char>(c)] = 3;
        t[static_cast<unsigned char>(c - 'A' + 'a')] = 3;
    }
    for (char c : {'O', 'G', 'C', 'R', 'M', 'H', 'T'}) {
        t[static_cast<unsigned char>(c)] = 4;
        t[static_cast<unsigned char>(c - 'A' + 'a')] = 4;
    }
    return t;
}
inline constexpr std::array<unsigned char, 256> kClass = MakeClasses();

inline unsigned ClassAt(const linescan::Line& line, std::size_t i) { return kClass[line.At(i)]; }

// A directive counts at the line start or after a separator character.
inline bool AtWordStart(const linescan::Line& line, std::size_t i) {
    return i == 0 || ClassAt(line, i - 1) == 2;
}

// A skip that may run across lines: a COMMENT block up to its delimiter, or
// an angle-bracket text up to '>'.
struct PendingSkip {
    char until = 0;
    bool active = false;

    // Looks for the end mark from pos. Returns the position after it, or
    // the line length (the skip then goes on with the next line).
    std::size_t Resume(const linescan::Line& line, std::size_t pos) {
        for (; pos < line.length; ++pos) {
            if (line.text[pos] == until) {
                active = false;
                return pos + 1;
            }
        }
        return line.length;
    }
    std::size_t Start(const linescan::Line& line, std::size_t pos, char endMark) {
        until = endMark;
        active = true;
        return Resume(line, pos);
    }
};

// At i stands "COMMENT" and a blank: starts the block at its delimiter (the
// first non-blank character after the keyword, on the same line). Returns
// the position to go on from; a COMMENT with no delimiter on its line is
// ignored and ends the line.
inline std::size_t StartCommentBlock(const linescan::Line& line, std::size_t i, PendingSkip& skip) {
    const std::size_t d = line.SkipBlanks(i + 7);
    if (d >= line.length) return line.length;
    return skip.Start(line, d + 1, line.text[d]);
}

}  // namespace qv::asmsyntax
