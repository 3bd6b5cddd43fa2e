// Section files (INI, INF, class-wizard and help-project files): one item per
// "[name]" line.
#include "LineScan.h"
#include "Scanners.h"

namespace qv {

namespace {
// "[" + name + "]" must fit the item's text.
constexpr std::size_t kMaxSectionName = 119;
}  // namespace

int ScanSections(LineSource& lines, ItemSink& items, const ScanOptions&) {
    linescan::Reporter out(items);
    linescan::ForEachOutlineLine(lines, [&](const linescan::Line& line) {
        std::size_t i = 0;
        while (line.length - i > 2 && linescan::IsBlank(line.At(i))) ++i;
        if (i >= line.length || line.text[i] != '[') return;
        const std::size_t start = i + 1;
        std::size_t close = start;
        while (close < line.length && line.text[close] != ']') ++close;
        if (close == line.length) return;
        std::size_t n = 0;
        while (n < kMaxSectionName && start + n < close && linescan::IsPrint(line.At(start + n))) ++n;
        if (!n) return;
        OutlineItem item = linescan::MakeItem(line.number, line.number, start, start + n, 0, "[",
                                              std::string_view(line.text + start, n));
        linescan::AppendBounded(item.text, sizeof item.text, n + 1, "]");
        out.Emit(item);
    });
    return out.count;
}

}  // namespace qv
