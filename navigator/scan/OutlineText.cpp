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
    out.append(file);
    for (unsigned v : {unsigned{item.line}, unsigned{item.topLine}, unsigned{item.startColumn},
                       unsigned{item.endColumn}, unsigned{item.category}}) {
        out += '\t';
        out += std::to_string(v);
    }
    out += '\t';
    out.append(Bounded(item.qualifier, sizeof item.qualifier));
    out += '\t';
    out.append(Bounded(item.text, sizeof item.text));
    return out;
}

}  // namespace qv
