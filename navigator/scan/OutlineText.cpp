#include "OutlineText.h"
#include <cstring>

namespace qv {

namespace {
std::string_view Bounded(const char* text, std::size_t size) {
    // A missing terminator must not let the printer run past the buffer.
    const void* end = std::memchr(text, 0, size);
    return {text, end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : size};
}
}  // namespace

std::string FormatItem(std::string_view file, const OutlineItem& item) {
    std::string out;
    out.reserve(file.size() + 64);
    AppendItem(out, file, item);
    return out;
}

void AppendItem(std::string& out, std::string_view file, const OutlineItem& item) {
    // The fields after the file name are put together here and appended in
    // one go: a large tree prints hundreds of thousands of items.
    char fields[5 * 6 + 2 + sizeof item.qualifier + sizeof item.text];
    char* f = fields;
    for (unsigned v : {unsigned{item.line}, unsigned{item.topLine}, unsigned{item.startColumn},
                       unsigned{item.endColumn}, unsigned{item.category}}) {
        char digits[5];
        char* d = digits + sizeof digits;
        do *--d = static_cast<char>('0' + v % 10); while (v /= 10);
        *f++ = '\t';
        while (d < digits + sizeof digits) *f++ = *d++;
    }
    for (std::string_view part : {Bounded(item.qualifier, sizeof item.qualifier), Bounded(item.text, sizeof item.text)}) {
        *f++ = '\t';
        std::memcpy(f, part.data(), part.size());
        f += part.size();
    }
    out.append(file);
    out.append(fields, f);
}

}  // namespace qv
