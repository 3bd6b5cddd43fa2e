#include "LineScan.h"
#include <cstring>

namespace qv::linescan {

bool Line::HasKeyword(std::size_t pos, std::string_view keyword) const {
    if (pos > length || length - pos < keyword.size()) return false;
    for (std::size_t k = 0; k < keyword.size(); ++k)
        if (Upper(text[pos + k]) != keyword[k]) return false;
    return true;
}

std::size_t Line::WordLength(std::size_t pos, std::string_view stops, std::size_t max) const {
    std::size_t n = 0;
    while (n < max && pos + n < length) {
        const unsigned char c = At(pos + n);
        if (!IsPrint(c) || IsBlank(c) || stops.find(static_cast<char>(c)) != std::string_view::npos) break;
        ++n;
    }
    return n;
}

std::size_t Line::TextLength(std::size_t pos, std::size_t max) const {
    std::size_t n = 0;
    while (n < max && pos + n < length && IsPrint(At(pos + n))) ++n;
    return n;
}

bool LineReader::Next(Line& line) {
    std::size_t length = 0;
    const char* text = source_.NextLine(length);
    if (!text) return false;
    line.text = text;
    line.length = length < kMaxLineLength ? length : kMaxLineLength;
    line.number = ++count_;
    return true;
}

std::size_t AppendBounded(char* buffer, std::size_t size, std::size_t used, std::string_view text) {
    if (size == 0) return 0;
    const std::size_t room = used + 1 < size ? size - 1 - used : 0;
    const std::size_t n = text.size() < room ? text.size() : room;
    if (n) std::memcpy(buffer + used, text.data(), n);
    used += n;
    buffer[used] = '\0';
    return used;
}

OutlineItem MakeItem(unsigned line, unsigned topLine, std::size_t startColumn, std::size_t endColumn,
                     unsigned category, std::string_view prefix, std::string_view name,
                     std::string_view qualifier) {
    OutlineItem item;
    item.line = static_cast<std::uint16_t>(line);
    item.topLine = static_cast<std::uint16_t>(topLine);
    item.startColumn = static_cast<std::uint16_t>(startColumn);
    item.endColumn = static_cast<std::uint16_t>(endColumn);
    item.category = static_cast<std::uint16_t>(category);
    const std::size_t used = AppendBounded(item.text, sizeof item.text, 0, prefix);
    AppendBounded(item.text, sizeof item.text, used, name);
    AppendBounded(item.qualifier, sizeof item.qualifier, 0, qualifier);
    return item;
}

}  // namespace qv::linescan
