// Pascal programs and units, in two phases: nothing before the program
// heading or the implementation part (a unit's interface only declares), then
// one item per function, procedure or constructor heading.
#include <string_view>
#include "LineScan.h"
#include "Scanners.h"

namespace qv {

namespace {

using linescan::Line;

constexpr std::string_view kHeadings[] = {"FUNCTION", "PROCEDURE", "CONSTRUCTOR"};

class PascalOutline {
public:
    explicit PascalOutline(ItemSink& items) : out_(items) {}

    void Scan(const Line& line) {
        bool reported = false;
        std::size_t i = 0;
        while (i < line.length) {
            if (inBraces_) {
                while (i < line.length && line.text[i] != '}') ++i;
                if (i == line.length) return;
                inBraces_ = false;
                ++i;
                continue;
            }
            const char c = line.text[i];
            if (c == '{') {
                inBraces_ = true;
                ++i;
                continue;
            }
            if (c == '\'') {  // a brace or keyword inside a string is text
                ++i;
                while (i < line.length && line.text[i] != '\'') ++i;
                ++i;
                continue;
            }
            if (!reported && line.StartsWord(i)) {
                if (const std::size_t next = implementation_ ? Heading(line, i, reported) : Phase(line, i)) {
                    i = next;
                    continue;
                }
            }
            ++i;
        }
    }

    int Count() const { return out_.count; }

private:
    // Before the program heading or implementation part: returns the
    // position after the keyword that starts the second phase, else 0.
    std::size_t Phase(const Line& line, std::size_t i) {
        std::size_t length = 0;
        if (line.HasKeywordBlank(i, "PROGRAM")) length = 7;
        else if (line.HasKeyword(i, "IMPLEMENTATION")) length = 14;
        if (length) implementation_ = true;
        return length ? i + length : 0;
    }

    // Returns the position after a reported name, else 0.
    std::size_t Heading(const Line& line, std::size_t i, bool& reported) {
        for (std::string_view keyword : kHeadings) {
            if (!line.HasKeywordBlank(i, keyword)) continue;
            const std::size_t start = line.SkipBlanks(i + keyword.size());
            const std::size_t n = line.WordLength(start, "(;:");
            if (!n) return 0;
            out_.Emit(linescan::MakeItem(line.number, line.number, start, start + n, 0, "",
                                              std::string_view(line.text + start, n)));
            reported = true;
            return start + n;
        }
        return 0;
    }

    linescan::Reporter out_;
    bool inBraces_ = false;
    bool implementation_ = false;
};

}  // namespace

int ScanPascal(LineSource& lines, ItemSink& items, const ScanOptions&) {
    PascalOutline outline(items);
    linescan::ForEachOutlineLine(lines, [&](const Line& line) { outline.Scan(line); });
    return outline.Count();
}

}  // namespace qv
