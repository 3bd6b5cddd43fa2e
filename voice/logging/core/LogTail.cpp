#include "LogTail.h"

#include <vector>

namespace kvo {

std::uint64_t WholeRecordsLength(LogByteSource& source) {
    // Read in blocks: a day's file holds many small records.
    std::vector<std::uint8_t> pending;
    std::vector<std::uint8_t> block(64 * 1024);
    std::uint64_t whole = 0;
    for (;;) {
        std::size_t pos = 0;
        while (pending.size() - pos >= kLogRecordHeaderSize) {
            const std::uint8_t* length = pending.data() + pos + 12;
            const std::uint32_t payload = length[0] | length[1] << 8 | length[2] << 16 |
                                          static_cast<std::uint32_t>(length[3]) << 24;
            if (payload > kLogMaxPayload) return whole;
            const std::size_t size = kLogRecordHeaderSize + payload;
            if (pending.size() - pos < size) break;
            pos += size;
            whole += size;
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(pos));
        const std::size_t got = source.Read(block.data(), block.size());
        if (got == 0) return whole;
        pending.insert(pending.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
    }
}

}  // namespace kvo
