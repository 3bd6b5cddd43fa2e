#include "Qnavscan.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include "OutlineText.h"
#include "ScanDocument.h"
#include "TextLineSource.h"

#ifndef O_BINARY
#define O_BINARY 0  // POSIX reads every file as bytes already
#endif

namespace qv {

namespace {

// All output goes through one buffer, written out in large pieces.
class Output {
public:
    explicit Output(std::FILE* out) : out_(out) { text_.reserve(kBlock + 4096); }
    ~Output() { Flush(); }
    std::string& Text() { return text_; }
    void Filled() {
        if (text_.size() >= kBlock) Flush();
    }
    void Flush() {
        if (!text_.empty()) std::fwrite(text_.data(), 1, text_.size(), out_);
        text_.clear();
    }

private:
    static constexpr std::size_t kBlock = 1 << 20;
    std::FILE* out_;
    std::string text_;
};

class PrintingSink final : public ItemSink {
public:
    PrintingSink(std::string_view file, Output& out) : file_(file), out_(out) {}
    void AddItem(const OutlineItem& item) override {
        AppendItem(out_.Text(), file_, item);
        out_.Text() += '\n';
        out_.Filled();
    }
private:
    std::string_view file_;
    Output& out_;
};

// Reads whole files into one buffer kept from file to file: one read of the
// known size, no stream layer, no clearing of what the read overwrites.
class FileReader {
public:
    bool Read(const std::string& path, std::string_view& text) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_BINARY);
        if (fd < 0) return false;
        struct stat st {};
        std::size_t size = 0;
        bool ok = true;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            Reserve(static_cast<std::size_t>(st.st_size));
            while (size < capacity_) {  // a file that grows meanwhile is read as it was
                const auto n = ::read(fd, buffer_.get() + size, static_cast<unsigned>(capacity_ - size));
                if (n < 0) ok = false;
                if (n <= 0) break;
                size += static_cast<std::size_t>(n);
                if (size == static_cast<std::size_t>(st.st_size)) break;
            }
        } else {
            // Pipes and devices have no size: read them until they end.
            for (;;) {
                Reserve(size + (1 << 16));
                const auto n = ::read(fd, buffer_.get() + size, static_cast<unsigned>(capacity_ - size));
                if (n < 0) ok = false;
                if (n <= 0) break;
                size += static_cast<std::size_t>(n);
            }
        }
        ::close(fd);
        text = {buffer_.get(), size};
        return ok;
    }

private:
    // Grows the buffer to hold at least `size` bytes, keeping what it holds.
    void Reserve(std::size_t size) {
        if (size <= capacity_) return;
        const std::size_t grown = std::max(size, capacity_ * 2);
        auto bigger = std::make_unique<char[]>(grown);
        if (capacity_) std::memcpy(bigger.get(), buffer_.get(), capacity_);
        buffer_ = std::move(bigger);
        capacity_ = grown;
    }

    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
};

class Run {
public:
    Run(const ScanOptions& options, std::FILE* out, std::FILE* err)
        : options_(options), out_(out), err_(err) {}

    void File(const std::string& path) {
        const DocKind kind = DocKindOf(path);
        std::string_view text;
        if (!reader_.Read(path, text)) return Complain(path);
        if (!HasOutline(kind)) return;
        TextLineSource lines(text, options_.linesCarryNewline ? LineConvention::OwnNewline
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
        out_.Flush();  // complaints follow what was printed before them
        std::fprintf(err_, "qnavscan: cannot read %s\n", path.c_str());
        ok_ = false;
    }

    bool ok() const { return ok_; }
    void Finish() { out_.Flush(); }

private:
    const ScanOptions& options_;
    Output out_;
    std::FILE* err_;
    FileReader reader_;
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
    run.Finish();
    std::fflush(out);
    return run.ok() ? 0 : 1;
}

}  // namespace qv
