// Log files: one item per tagged fault line ("$TAG$") or application message
// (" APP: "), so the list shows what went wrong and where.
#include "LineScan.h"
#include "Scanners.h"

namespace qv {

namespace {

using linescan::Line;

// Copies the message from pos: printable characters, blanks included; the
// first two '$' are shown as blanks and a third ends the message. Returns the
// number of characters taken from the line.
std::size_t CopyMessage(const Line& line, std::size_t pos, char (&out)[linescan::kMaxName + 1]) {
    std::size_t n = 0;
    int dollars = 0;
    while (n < linescan::kMaxName && pos + n < line.length && linescan::IsPrint(line.At(pos + n))) {
        char c = line.text[pos + n];
        if (c == '$') {
            if (++dollars == 3) break;
            c = ' ';
        }
        out[n++] = c;
    }
    out[n] = '\0';
    return n;
}

bool IsAppMarker(const Line& line, std::size_t i) {
    return linescan::IsBlank(line.At(i)) && line.HasKeyword(i + 1, "APP:") && i + 5 < line.length &&
           linescan::IsBlank(line.At(i + 5));
}

}  // namespace

int ScanFaults(LineSource& lines, ItemSink& items, const ScanOptions&) {
    linescan::Reporter out(items);
    linescan::ForEachOutlineLine(lines, [&](const Line& line) {
        if (line.length < 7) return;
        for (std::size_t i = 0; i < line.length; ++i) {
            std::size_t textAt = 0;
            unsigned above = 0;  // how far above the marker line the fault's context starts
            if (line.HasKeyword(i, "$TAG$")) {
                textAt = i + 5;
                above = 3;
            } else if (IsAppMarker(line, i)) {
                textAt = i + 6;
                above = 1;
            } else {
                continue;
            }
            const std::size_t start = line.SkipBlanks(textAt);
            char message[linescan::kMaxName + 1];
            const std::size_t n = CopyMessage(line, start, message);
            if (!message[0]) continue;
            const unsigned top = line.number > above ? line.number - above : line.number;
            out.Emit(linescan::MakeItem(line.number, top, start, start + n, 0, "", message));
            return;
        }
    });
    return out.count;
}

}  // namespace qv
