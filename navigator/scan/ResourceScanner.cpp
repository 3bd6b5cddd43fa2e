// Resource-script outline: a small tokenizer over the whole script that
// reports each named resource and the string tables, and steps over every
// BEGIN...END block so that nothing inside a resource is taken for one.
#include <string_view>
#include "LineScan.h"
#include "Scanners.h"

namespace qv {

namespace {

using linescan::Line;

constexpr unsigned kStringTable = 12;

struct ResourceKind {
    std::string_view keyword;
    std::string_view prefix;
    unsigned category;
    bool hasBlock;
};

constexpr ResourceKind kKinds[] = {
    {"ACCELERATORS", "Accelerators ", 4, true},
    {"DIALOG", "Dialog ", 7, true},
    {"CURSOR", "Cursor ", 6, false},
    {"BITMAP", "Bitmap ", 5, false},
    {"RCDATA", "RCDATA ", 11, true},
    {"ICON", "Icon ", 9, false},
    {"FONT", "Font ", 8, false},
    {"MENU", "Menu ", 10, true},
    {"VERSIONINFO", "Version-Info ", 13, true},
};

bool IsWordChar(unsigned char c) { return linescan::IsWordChar(c) || c == '~'; }

class ResourceOutline {
public:
    explicit ResourceOutline(ItemSink& items) : out_(items) {}

    void Scan(const Line& line) {
        std::size_t i = 0;
        while (i < line.length) {
            if (inComment_) {
                i = EndOfBlockComment(line, i);
                continue;
            }
            const char c = line.text[i];
            const char next = i + 1 < line.length ? line.text[i + 1] : '\0';
            if (c == '/' && next == '/') return;
            if (c == '/' && next == '*') {
                inComment_ = true;
                i += 2;
                continue;
            }
            if (c == '"' || c == '\'') {
                i = EndOfQuoted(line, i);
                if (block_ == Block::None) remembered_ = false;
                continue;
            }
            if (IsWordChar(line.At(i))) {
                std::size_t end = i;
                while (end < line.length && IsWordChar(line.At(end))) ++end;
                Word(line, i, end);
                i = end;
                continue;
            }
            ++i;  // blanks, ';', ',' and everything else
        }
    }

    int Count() const { return out_.count; }

private:
    enum class Block { None, AwaitBegin, Inside };

    std::size_t EndOfBlockComment(const Line& line, std::size_t i) {
        for (; i + 1 < line.length; ++i) {
            if (line.text[i] == '*' && line.text[i + 1] == '/') {
                inComment_ = false;
                return i + 2;
            }
        }
        return line.length;
    }

    // Strings and literals end at their closing quote or, unclosed, at the
    // line end: a stray quote must not swallow the rest of the script.
    static std::size_t EndOfQuoted(const Line& line, std::size_t i) {
        const char quote = line.text[i];
        for (++i; i < line.length; ++i) {
            if (line.text[i] == '\\') ++i;
            else if (line.text[i] == quote) return i + 1;
        }
        return line.length;
    }

    void Word(const Line& line, std::size_t start, std::size_t end) {
        const std::string_view word(line.text + start, end - start);
        if (block_ != Block::None) {
            SkipInBlock(word);
            return;
        }
        if (word == "BEGIN") {
            remembered_ = false;
            block_ = Block::Inside;
            depth_ = 1;
            return;
        }
        if (word == "END") return;
        if (word == "STRINGTABLE") {
            out_.Emit(linescan::MakeItem(line.number, line.number, start, end, kStringTable, "", word));
            remembered_ = false;
            block_ = Block::AwaitBegin;
            return;
        }
        if (remembered_) {
            for (const ResourceKind& kind : kKinds) {
                if (word != kind.keyword) continue;
                const std::size_t room = linescan::kMaxName - kind.prefix.size();
                const std::string_view name(name_, nameLength_ < room ? nameLength_ : room);
                out_.Emit(linescan::MakeItem(nameLine_, nameLine_, nameStart_, nameEnd_, kind.category, kind.prefix,
                                        name));
                remembered_ = false;
                if (kind.hasBlock) block_ = Block::AwaitBegin;
                return;
            }
        }
        Remember(line, start, end);
    }

    void SkipInBlock(std::string_view word) {
        if (word == "BEGIN") {
            if (block_ == Block::AwaitBegin) {
                block_ = Block::Inside;
                depth_ = 1;
            } else {
                ++depth_;
            }
        } else if (word == "END" && block_ == Block::Inside && --depth_ == 0) {
            block_ = Block::None;
        }
    }

    // The word is kept by value: its line is gone when a keyword on a later
    // line names it.
    void Remember(const Line& line, std::size_t start, std::size_t end) {
        nameLength_ = end - start < sizeof name_ ? end - start : sizeof name_;
        for (std::size_t k = 0; k < nameLength_; ++k) name_[k] = line.text[start + k];
        nameLine_ = line.number;
        nameStart_ = start;
        nameEnd_ = end;
        remembered_ = true;
    }

    linescan::Reporter out_;
    bool inComment_ = false;
    Block block_ = Block::None;
    unsigned long depth_ = 0;
    bool remembered_ = false;
    char name_[linescan::kMaxName] = {};
    std::size_t nameLength_ = 0;
    unsigned nameLine_ = 0;
    std::size_t nameStart_ = 0, nameEnd_ = 0;
};

}  // namespace

int ScanResource(LineSource& lines, ItemSink& items, const ScanOptions&) {
    ResourceOutline outline(items);
    linescan::ForEachOutlineLine(lines, [&](const Line& line) { outline.Scan(line); });
    return outline.Count();
}

}  // namespace qv
