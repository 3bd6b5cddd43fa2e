// INCLUDE stands at the line start or after a blank and is followed by a
// blank; the name is written bare, in angle brackets or in double quotes.
// An unclosed bracket or quote takes the name to the end of the line (as the
// C include scan does), without trailing blanks; a bare name ends at a blank,
// a comment, a comma or a quote or bracket character.
#include <string_view>
#include "AsmIncludes.h"
#include "AsmSyntax.h"

namespace qv {

namespace {

using linescan::Line;

std::size_t BareNameLength(const Line& line, std::size_t pos) {
    return line.WordLength(pos, ";,\"<>", kMaxIncludeName);
}

std::size_t EnclosedNameLength(const Line& line, std::size_t pos, char close) {
    std::size_t length = 0;
    while (pos + length < line.length && line.text[pos + length] != close &&
           linescan::IsPrint(line.At(pos + length)))
        ++length;
    while (length > 0 && linescan::IsBlank(line.At(pos + length - 1))) --length;
    return length < kMaxIncludeName ? length : kMaxIncludeName;
}

}  // namespace

int ScanAsmIncludes(LineSource& lines, IncludeSink& includes) {
    int count = 0;
    asmsyntax::PendingSkip comment;
    linescan::ForEachLine(lines, [&](const Line& line) {
        std::size_t i = comment.active ? comment.Resume(line, 0) : 0;
        while (i < line.length && !comment.active) {
            if (line.text[i] == ';') break;
            if (asmsyntax::AtWordStart(line, i) && line.HasKeywordBlank(i, "COMMENT")) {
                i = asmsyntax::StartCommentBlock(line, i, comment);
                continue;
            }
            const bool wordStart = i == 0 || linescan::IsBlank(line.At(i - 1));
            if (wordStart && line.HasKeywordBlank(i, "INCLUDE")) {
                const std::size_t start = line.SkipBlanks(i + 7);
                std::size_t from = start, length = 0;
                if (start < line.length && (line.text[start] == '<' || line.text[start] == '"')) {
                    from = start + 1;
                    length = EnclosedNameLength(line, from, line.text[start] == '<' ? '>' : '"');
                } else {
                    length = BareNameLength(line, start);
                }
                if (length) {
                    includes.AddInclude(line.text + from, length);
                    ++count;
                }
                break;
            }
            ++i;
        }
    });
    return count;
}

}  // namespace qv
