// Log files on disk: reading through the portable reader, and the causes
// file-open failures are reported with.
#pragma once
#include <windows.h>

#include "LogRecord.h"

namespace kvo {

class FileByteSource : public LogByteSource {
public:
    explicit FileByteSource(HANDLE file) : file_(file) {}
    std::size_t Read(void* buffer, std::size_t size) override;

private:
    HANDLE file_;
};

// The cause number of a failed file operation (1 generic ... 14 end of file).
int FileErrorCause(DWORD error);

// Writes all of `size` bytes; false on any failure.
bool WriteAll(HANDLE file, const void* data, std::size_t size);

}  // namespace kvo
