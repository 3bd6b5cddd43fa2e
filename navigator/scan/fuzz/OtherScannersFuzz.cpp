// libFuzzer target over the line-oriented scanners and the assembler include
// scan. The first byte chooses the scanner (low three bits), the line
// convention and the assembler options; the rest is the document. Lines are
// handed out in exact-size allocations, so reading past a line is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include "AsmIncludes.h"
#include "ExactLineSource.h"
#include "Scanners.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

class CheckingSink final : public qv::ItemSink {
public:
    explicit CheckingSink(const qvtest::ExactLineSource& lines) : lines_(lines) {}
    void AddItem(const qv::OutlineItem& item) override {
        Check(std::memchr(item.text, 0, sizeof item.text) != nullptr && item.text[0] != '\0');
        Check(std::memchr(item.qualifier, 0, sizeof item.qualifier) != nullptr);
        Check(item.line != 0 && item.line <= lines_.delivered && item.topLine != 0 && item.topLine <= item.line);
        Check(item.startColumn <= item.endColumn && item.endColumn <= qv::kMaxLineLength);
        ++count;
    }
    int count = 0;

private:
    const qvtest::ExactLineSource& lines_;
};

class CheckingIncludes final : public qv::IncludeSink {
public:
    void AddInclude(const char* name, std::size_t length) override {
        Check(length > 0 && length <= qv::kMaxIncludeName && name != nullptr);
        ++count;
    }
    int count = 0;
};

constexpr qv::ScanFunction kScanners[] = {qv::ScanAssembler, qv::ScanResource, qv::ScanSections, qv::ScanBasic,
                              qv::ScanPascal,    qv::ScanFaults,   qv::ScanSubjects};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned selector = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto convention = (selector & 8) ? qv::LineConvention::NoNewline : qv::LineConvention::OwnNewline;
    qvtest::ExactLineSource lines(text, convention);
    if ((selector & 7) == 7) {
        CheckingIncludes includes;
        Check(qv::ScanAsmIncludes(lines, includes) == includes.count);
    } else {
        qv::ScanOptions options;
        options.asmMacros = selector & 16;
        options.asmStructs = selector & 32;
        options.ShowProcAttributes = selector & 64;
        CheckingSink sink(lines);
        Check(kScanners[selector & 7](lines, sink, options) == sink.count);
    }
    // Every scanner reads the document to its end, whatever it contains.
    std::size_t n = 0;
    Check(lines.NextLine(n) == nullptr);
    return 0;
}
