// libFuzzer target for the C/C++ scanner. The first byte picks the parser
// flags and the line convention; the rest is the document. It is scanned
// twice: through the text line source, and as raw lines that may be longer
// than the limit and may lack their newline, which only the scanner's own
// bounds can absorb. Every item must be well-formed, and the previous
// scanner, kept as the oracle, must report exactly the same items.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>
#include "Scanners.h"
#include "TextLineSource.h"
#include "ScanOptionBits.h"
#include "reference/CppScannerReference.h"

namespace {

class CheckingSink final : public qv::ItemSink {
public:
    void AddItem(const qv::OutlineItem& item) override {
        ++count;
        items.push_back(item);
        const bool ok = std::memchr(item.text, 0, sizeof item.text) &&
                        std::memchr(item.qualifier, 0, sizeof item.qualifier) &&
                        item.category >= 4 && item.category <= 9 && item.line >= 1 &&
                        item.topLine >= 1 && item.topLine <= item.line &&
                        item.startColumn <= item.endColumn &&
                        item.endColumn <= qv::kMaxLineLength + 1;
        if (!ok) std::abort();
    }
    int count = 0;
    std::vector<qv::OutlineItem> items;
};

bool SameItem(const qv::OutlineItem& a, const qv::OutlineItem& b) {
    return a.line == b.line && a.topLine == b.topLine && a.startColumn == b.startColumn &&
           a.endColumn == b.endColumn && a.category == b.category &&
           std::strcmp(a.text, b.text) == 0 && std::strcmp(a.qualifier, b.qualifier) == 0;
}

// Hands each line over in an allocation of exactly its size, freed at the
// next call, so the sanitizer sees any read past a line or of an old line.
class ExactLines final : public qv::LineSource {
public:
    // raw: lines split at '\n' without it and without any length limit;
    // otherwise as the text line source gives them.
    ExactLines(std::string_view text, bool raw, qv::LineConvention convention)
        : text_(text), raw_(raw), lines_(text, convention) {}
    const char* NextLine(std::size_t& length) override {
        if (ended_) std::abort();  // asked again after the end
        line_.reset();
        const char* p = raw_ ? NextRaw(length) : lines_.NextLine(length);
        if (!p) {
            ended_ = true;
            return nullptr;
        }
        line_ = std::make_unique<char[]>(length);
        if (length) std::memcpy(line_.get(), p, length);
        return line_.get();
    }
private:
    const char* NextRaw(std::size_t& length) {
        length = 0;
        if (pos_ >= text_.size()) return nullptr;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        const char* p = text_.data() + pos_;
        length = end - pos_;
        pos_ = end + 1;
        return p;
    }
    std::string_view text_;
    bool raw_;
    qv::TextLineSource lines_;
    std::size_t pos_ = 0;
    bool ended_ = false;
    std::unique_ptr<char[]> line_;
};

void ExpectSame(const CheckingSink& a, const CheckingSink& b) {
    if (a.items.size() != b.items.size()) std::abort();
    for (std::size_t i = 0; i < a.items.size(); ++i)
        if (!SameItem(a.items[i], b.items[i])) std::abort();
}

// Scans `lines` and compares the items with the oracle's on `sameLines`;
// returns the items.
CheckingSink Check(qv::LineSource& lines, qv::LineSource& sameLines, const qv::ScanOptions& options) {
    CheckingSink sink;
    if (qv::ScanCpp(lines, sink, options) != sink.count) std::abort();
    CheckingSink oracle;
    if (qv::reference::ScanCppReference(sameLines, oracle, options) != oracle.count) std::abort();
    ExpectSame(sink, oracle);
    return sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned flags = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const qv::ScanOptions options = qvtest::ScanOptionsFromBits(flags);

    const qv::LineConvention convention =
        options.linesCarryNewline ? qv::LineConvention::OwnNewline : qv::LineConvention::NoNewline;
    ExactLines lines(text, false, convention), sameLines(text, false, convention);
    const CheckingSink byLine = Check(lines, sameLines, options);
    // The text source itself, whose lines the scanner reads in place.
    qv::TextLineSource inPlace(text, convention);
    CheckingSink sink;
    if (qv::ScanCpp(inPlace, sink, options) != sink.count) std::abort();
    ExpectSame(sink, byLine);
    ExactLines raw(text, true, convention), sameRaw(text, true, convention);
    Check(raw, sameRaw, options);
    return 0;
}
