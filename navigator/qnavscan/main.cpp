// qnavscan: the navigator's outline of source files, on the console.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include "CommandLine.h"
#include "OutlineText.h"
#include "TextLineSource.h"

namespace {

// Writes each item as it comes, so a large file needs no item list.
class PrintingSink final : public qv::ItemSink {
public:
    explicit PrintingSink(std::string_view file) : file_(file) {}
    void AddItem(const qv::OutlineItem& item) override {
        line_ = qv::FormatItem(file_, item);
        line_ += '\n';
        std::fwrite(line_.data(), 1, line_.size(), stdout);
    }
private:
    std::string_view file_;
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

bool ScanFile(const std::string& path, const qv::ScanOptions& options, std::string& text) {
    const qv::ScanFunction scan = qv::ScannerFor(path);
    if (!ReadFile(path, text)) {
        std::fprintf(stderr, "qnavscan: cannot read %s\n", path.c_str());
        return false;
    }
    if (!scan) return true;
    qv::TextLineSource lines(text, options.linesCarryNewline ? qv::LineConvention::OwnNewline
                                                             : qv::LineConvention::NoNewline);
    PrintingSink sink(path);
    scan(lines, sink, options);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const qv::CommandLine cl = qv::ParseCommandLine(argc, argv);
    if (cl.help) {
        std::fputs(qv::Usage().c_str(), stdout);
        return 0;
    }
    if (!cl.error.empty()) {
        std::fprintf(stderr, "qnavscan: %s\n%s", cl.error.c_str(), qv::Usage().c_str());
        return 2;
    }
    static char out[1 << 16];
    std::setvbuf(stdout, out, _IOFBF, sizeof out);
    bool ok = true;
    std::string text;  // reused: one buffer for every file
    for (const std::string& path : cl.files) ok = ScanFile(path, cl.options, text) && ok;
    for (const std::string& list : cl.fileLists) {
        std::ifstream file;
        if (list != "-") {
            file.open(list);
            if (!file) {
                std::fprintf(stderr, "qnavscan: cannot read %s\n", list.c_str());
                ok = false;
                continue;
            }
        }
        std::istream& in = list == "-" ? std::cin : file;
        for (std::string path; std::getline(in, path);) {
            if (!path.empty() && path.back() == '\r') path.pop_back();
            if (!path.empty()) ok = ScanFile(path, cl.options, text) && ok;
        }
    }
    std::fflush(stdout);
    return ok ? 0 : 1;
}
