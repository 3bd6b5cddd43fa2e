// The outline contract shared by every scanner and the outline list: lines go
// in through a LineSource, items come out through an ItemSink. Portable: no
// Windows headers, no allocation, so a scan can run inside the IDE's thread.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qv {

// Width of the item's text and qualifier buffers, terminating zero included.
constexpr std::size_t kItemTextSize = 122;
constexpr std::size_t kItemQualifierSize = 44;

struct OutlineItem {
    std::uint16_t line = 0;       // line of the item's name
    std::uint16_t topLine = 0;    // first line of the comment run above, or line
    std::uint16_t startColumn = 0;
    std::uint16_t endColumn = 0;  // just past the name
    std::uint16_t category = 0;   // selects the colour; meaning per scanner
    char text[kItemTextSize] = {};
    char qualifier[kItemQualifierSize] = {};
};

// Delivers a document one line at a time. Returns the line's characters and
// sets length, or returns nullptr at the end. The pointer stays valid until
// the next call; the characters need not be zero-terminated.
class LineSource {
public:
    virtual const char* NextLine(std::size_t& length) = 0;
protected:
    ~LineSource() = default;
};

class ItemSink {
public:
    virtual void AddItem(const OutlineItem& item) = 0;
protected:
    ~ItemSink() = default;
};

// Longest line a scanner is given; longer lines are cut here.
constexpr std::size_t kMaxLineLength = 2048;

}  // namespace qv
