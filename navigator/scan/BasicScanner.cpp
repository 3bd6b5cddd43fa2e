// Basic forms and modules: one item per Sub or Function heading.
#include <string_view>
#include "LineScan.h"
#include "Scanners.h"

namespace qv {

namespace {

using linescan::Line;

// The name after a keyword: blanks skipped, up to a blank, '\'' or '('.
bool ReportName(const Line& line, std::size_t pos, linescan::Reporter& out) {
    const std::size_t start = line.SkipBlanks(pos);
    const std::size_t n = line.WordLength(start, "'(");
    if (n) out.Emit(linescan::MakeItem(line.number, line.number, start, start + n, 0, "",
                                       std::string_view(line.text + start, n)));
    return n != 0;
}

}  // namespace

int ScanBasic(LineSource& lines, ItemSink& items, const ScanOptions&) {
    linescan::Reporter out(items);
    linescan::ForEachOutlineLine(lines, [&](const Line& line) {
        if (line.length < 5) return;
        for (std::size_t i = 0; i < line.length; ++i) {
            const char c = line.text[i];
            if (c == '\'') return;
            if (c == '"') {  // a keyword inside a string is text
                while (i + 1 < line.length && line.text[i + 1] != '"') ++i;
                ++i;
                continue;
            }
            if (!line.StartsWord(i)) continue;
            std::size_t nameAt = 0;
            if (line.HasKeywordBlank(i, "SUB")) nameAt = i + 3;
            else if (line.HasKeywordBlank(i, "END")) return;
            else if (line.HasKeywordBlank(i, "FUNCTION") && line.length - i >= 10) nameAt = i + 8;
            if (nameAt && ReportName(line, nameAt, out)) return;
        }
    });
    return out.count;
}

}  // namespace qv
