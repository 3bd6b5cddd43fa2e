// Positioned byte access to a prompt file, so the format code never sees a
// handle: the editor and the tests use stdio files, the fuzzer and tests use
// memory, and the run time can put a shared read-only handle behind it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kvo {

class ByteReader {
public:
    virtual ~ByteReader() = default;
    // Bytes read at `pos`; fewer than `size` only at the end or on an error.
    virtual std::size_t ReadAt(std::uint64_t pos, void* buffer, std::size_t size) = 0;
    virtual std::uint64_t Size() = 0;
};

class ByteFile : public ByteReader {
public:
    // All of `size` bytes at `pos` (a gap past the end reads as zeros), or false.
    virtual bool WriteAt(std::uint64_t pos, const void* data, std::size_t size) = 0;
    // The operating system's code of the last failure (0 if none is known).
    virtual int LastError() const = 0;
};

class MemoryFile : public ByteFile {
public:
    MemoryFile() = default;
    explicit MemoryFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    MemoryFile(const void* data, std::size_t size)
        : bytes_(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size) {}
    std::size_t ReadAt(std::uint64_t pos, void* buffer, std::size_t size) override;
    std::uint64_t Size() override { return bytes_.size(); }
    bool WriteAt(std::uint64_t pos, const void* data, std::size_t size) override;
    int LastError() const override { return 0; }
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// A file on disk through stdio; owns its FILE*.
class StdioFile : public ByteFile {
public:
    enum class Mode { Read, Update, Create };  // Create truncates
    StdioFile(const std::string& path, Mode mode);
    ~StdioFile() override;
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // errno of a failed open.
    int OpenError() const { return openError_; }
    bool Close();  // flushes; false when the flush failed

    std::size_t ReadAt(std::uint64_t pos, void* buffer, std::size_t size) override;
    std::uint64_t Size() override;
    bool WriteAt(std::uint64_t pos, const void* data, std::size_t size) override;
    int LastError() const override { return lastError_; }

private:
    bool Seek(std::uint64_t pos);
    std::FILE* file_ = nullptr;
    int openError_ = 0;
    int lastError_ = 0;
};

}  // namespace kvo
