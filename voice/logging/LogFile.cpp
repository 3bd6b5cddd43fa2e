#include "LogFile.h"

namespace kvo {

std::size_t FileByteSource::Read(void* buffer, std::size_t size) {
    std::size_t total = 0;
    auto* p = static_cast<char*>(buffer);
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file_, p + total, static_cast<DWORD>(size - total), &got, nullptr) || got == 0)
            break;
        total += got;
    }
    return total;
}

int FileErrorCause(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return 2;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return 3;
    case ERROR_TOO_MANY_OPEN_FILES: return 4;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return 5;
    case ERROR_INVALID_HANDLE: return 6;
    case ERROR_CURRENT_DIRECTORY: return 7;
    case ERROR_CANNOT_MAKE: return 8;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return 9;
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_CRC: return 10;
    case ERROR_SHARING_VIOLATION: return 11;
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED: return 12;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return 13;
    case ERROR_HANDLE_EOF: return 14;
    default: return 1;
    }
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace kvo
