#include "TextLineSource.h"

namespace qv {

const char* TextLineSource::NextLine(std::size_t& length) {
    if (pos_ >= text_.size()) {
        length = 0;
        return nullptr;
    }
    const std::size_t start = pos_;
    std::size_t end = text_.find('\n', start);
    const bool hasNewline = end != std::string_view::npos;
    if (!hasNewline) end = text_.size();
    pos_ = hasNewline ? end + 1 : end;

    // "\r\n" files: the carriage return is not part of the line's text.
    std::size_t bodyEnd = end;
    if (bodyEnd > start && text_[bodyEnd - 1] == '\r') --bodyEnd;

    std::size_t body = bodyEnd - start;
    if (convention_ == LineConvention::OwnNewline) {
        // The raw line, its own line break included.
        std::size_t raw = (hasNewline ? end + 1 : end) - start;
        if (raw > kMaxLineLength) raw = kMaxLineLength;
        length = raw;
        return text_.data() + start;
    }
    if (body > kMaxLineLength) body = kMaxLineLength;
    length = body;
    return text_.data() + start;
}

}  // namespace qv
