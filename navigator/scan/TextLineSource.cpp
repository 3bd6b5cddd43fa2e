#include "TextLineSource.h"
#include <cstring>

namespace qv {

const char* TextLineSource::NextLine(std::size_t& length) {
    if (pos_ >= text_.size()) {
        length = 0;
        return nullptr;
    }
    const char* const start = text_.data() + pos_;
    const std::size_t left = text_.size() - pos_;
    const void* newline = std::memchr(start, '\n', left);
    // Up to the newline, or to the end of an unterminated last line.
    const std::size_t body = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - start) : left;
    pos_ += newline ? body + 1 : body;

    std::size_t n;
    if (convention_ == LineConvention::OwnNewline) {
        // The raw line, its own line break included.
        n = newline ? body + 1 : body;
    } else {
        // "\r\n" files: the carriage return is not part of the line's text.
        n = body > 0 && start[body - 1] == '\r' ? body - 1 : body;
    }
    length = n > kMaxLineLength ? kMaxLineLength : n;
    return start;
}

}  // namespace qv
