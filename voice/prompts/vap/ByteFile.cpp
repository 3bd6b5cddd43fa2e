#include "ByteFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kvo {

std::size_t MemoryFile::ReadAt(std::uint64_t pos, void* buffer, std::size_t size) {
    if (size == 0 || pos >= bytes_.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(size, bytes_.size() - pos);
    std::memcpy(buffer, bytes_.data() + pos, n);
    return n;
}

bool MemoryFile::WriteAt(std::uint64_t pos, const void* data, std::size_t size) {
    // A memory file stands for a real one: refuse what no 32-bit offset reaches.
    if (pos + size > 0xFFFFFFFFull) return false;
    if (pos + size > bytes_.size()) bytes_.resize(pos + size);
    if (size) std::memcpy(bytes_.data() + pos, data, size);
    return true;
}

StdioFile::StdioFile(const std::string& path, Mode mode) {
    const char* how = mode == Mode::Read ? "rb" : mode == Mode::Update ? "r+b" : "w+b";
    errno = 0;
    file_ = std::fopen(path.c_str(), how);
    if (!file_) openError_ = errno ? errno : ENOENT;
}

StdioFile::~StdioFile() { Close(); }

bool StdioFile::Close() {
    if (!file_) return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

bool StdioFile::Seek(std::uint64_t pos) {
    if (!file_ || pos > 0x7FFFFFFFull) {
        // stdio's long offset is 32 bits on the Windows runtime; prompt files
        // stay far below 2 GB, so anything beyond is treated as out of reach.
        lastError_ = EINVAL;
        return false;
    }
    if (std::fseek(file_, static_cast<long>(pos), SEEK_SET) != 0) {
        lastError_ = errno;
        return false;
    }
    return true;
}

std::size_t StdioFile::ReadAt(std::uint64_t pos, void* buffer, std::size_t size) {
    if (size == 0 || !Seek(pos)) return 0;
    const std::size_t n = std::fread(buffer, 1, size, file_);
    if (n < size && std::ferror(file_)) {
        lastError_ = errno;
        std::clearerr(file_);
    }
    return n;
}

std::uint64_t StdioFile::Size() {
    if (!file_ || std::fseek(file_, 0, SEEK_END) != 0) return 0;
    const long end = std::ftell(file_);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

bool StdioFile::WriteAt(std::uint64_t pos, const void* data, std::size_t size) {
    if (size == 0) return true;
    if (!Seek(pos)) return false;
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size || std::fflush(file_) != 0) {
        lastError_ = errno ? errno : EIO;
        std::clearerr(file_);
        return false;
    }
    return true;
}

}  // namespace kvo
