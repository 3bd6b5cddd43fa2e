// A LineSource over text held in memory (a file read whole, a test string).
// It plays either IDE's line convention so every scanner can be driven
// outside the IDE exactly as inside it.
#pragma once
#include <string_view>
#include "Outline.h"

namespace qv {

enum class LineConvention {
    OwnNewline,    // each line carries its own final newline (Developer Studio)
    NoNewline,     // lines come without it; the C/C++ scanner adds one (Visual C++ 2.x)
};

class TextLineSource final : public LineSource {
public:
    TextLineSource(std::string_view text, LineConvention convention)
        : text_(text), convention_(convention) {}

    const char* NextLine(std::size_t& length) override;

    // Starts again from the first line (scanners that read twice).
    void Rewind() { pos_ = 0; }

    // For a scanner that splits lines itself (as NextLine would) while
    // they need no cutting: the whole text, where the next line starts, and
    // moving there.
    std::string_view Text() const { return text_; }
    std::size_t Offset() const { return pos_; }
    void SeekTo(std::size_t offset) { pos_ = offset < text_.size() ? offset : text_.size(); }
    LineConvention Convention() const { return convention_; }

private:
    std::string_view text_;
    LineConvention convention_;
    std::size_t pos_ = 0;
};

}  // namespace qv
