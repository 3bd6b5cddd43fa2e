#include "Qnavscan.h"
#include <fstream>
#include <string>
#include "OutlineText.h"
#include "ScanDocument.h"
#include "TextLineSource.h"

namespace qv {

namespace {

// Writes each item as it comes, so a large file needs no item list.
class PrintingSink final : public ItemSink {
public:
    PrintingSink(std::string_view file, std::FILE* out) : file_(file), out_(out) {}
    void AddItem(const OutlineItem& item) override {
        line_ = FormatItem(file_, item);
        line_ += '\n';
        std::fwrite(line_.data(), 1, line_.size(), out_);
    }
private:
    std::string_view file_;
    std::FILE* out_;
    std::string line_;
};

bool ReadFile(const std::string& path, std::string& text) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    // One read of the whole file where its size is known (not for pipes).
    long size = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
    if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) size = 0;
    text.resize(static_cast<std::size_t>(size));
    std::size_t n = size > 0 ? std::fread(text.data(), 1, text.size(), f) : 0;
    text.resize(n);
    char chunk[1 << 16];
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

class Run {
public:
    Run(const ScanOptions& options, std::FILE* out, std::FILE* err)
        : options_(options), out_(out), err_(err) {}

    void File(const std::string& path) {
        const DocKind kind = DocKindOf(path);
        if (!ReadFile(path, text_)) return Complain(path);
        if (!HasOutline(kind)) return;
        TextLineSource lines(text_, options_.linesCarryNewline ? LineConvention::OwnNewline
                                                               : LineConvention::NoNewline);
        PrintingSink sink(path, out_);
        ScanDocument(kind, lines, sink, options_);
    }

    void List(std::istream& in) {
        for (std::string path; std::getline(in, path);) {
            if (!path.empty() && path.back() == '\r') path.pop_back();
            if (!path.empty()) File(path);
        }
    }

    void Complain(const std::string& path) {
        std::fprintf(err_, "qnavscan: cannot read %s\n", path.c_str());
        ok_ = false;
    }

    bool ok() const { return ok_; }

private:
    const ScanOptions& options_;
    std::FILE* out_;
    std::FILE* err_;
    std::string text_;  // one buffer for every file
    bool ok_ = true;
};

}  // namespace

int RunQnavscan(const CommandLine& cl, std::istream& names, std::FILE* out, std::FILE* err) {
    Run run(cl.options, out, err);
    for (const std::string& path : cl.files) run.File(path);
    for (const std::string& list : cl.fileLists) {
        if (list == "-") {
            run.List(names);
            continue;
        }
        std::ifstream file(list);
        if (file) run.List(file);
        else run.Complain(list);
    }
    std::fflush(out);
    return run.ok() ? 0 : 1;
}

}  // namespace qv
