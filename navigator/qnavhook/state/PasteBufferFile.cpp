#include "PasteBufferFile.h"
#include <algorithm>
#include <cstring>

namespace qnav::state {

namespace {
std::uint32_t ReadLe32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
void WriteLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
}  // namespace

PasteBuffer MakePasteBuffer(const char* text, std::size_t textSize, std::size_t size) {
    PasteBuffer block(size, '\0');
    const std::size_t limit = std::min(textSize, size);
    const void* zero = std::memchr(text, 0, limit);
    const std::size_t n = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - text) : limit;
    std::copy_n(text, n, block.begin());
    return block;
}

PasteBuffers DecodePasteBuffers(const std::uint8_t* bytes, std::size_t size) {
    PasteBuffers buffers;
    size = std::min(size, kMaxPasteFileSize);
    if (size < kPasteHeaderSize || ReadLe32(bytes) != kPasteSignature) return buffers;
    for (std::size_t n = 0; n < kPasteBufferCount; ++n) {
        const std::uint32_t offset = ReadLe32(bytes + 4 + 8 * n);
        const std::uint32_t length = ReadLe32(bytes + 8 + 8 * n);
        if (length == 0) continue;
        // 64-bit end so a huge offset cannot wrap around into the file.
        const std::uint64_t end = std::uint64_t{offset} + length;
        if (offset < kPasteHeaderSize || end > size || length > kMaxPasteBufferSize) break;
        buffers[n] = MakePasteBuffer(reinterpret_cast<const char*>(bytes) + offset, length, length);
    }
    return buffers;
}

std::vector<std::uint8_t> EncodePasteBuffers(const PasteBuffers& buffers) {
    std::vector<std::uint8_t> out(kPasteHeaderSize, 0);
    WriteLe32(out.data(), kPasteSignature);
    for (std::size_t n = 0; n < kPasteBufferCount; ++n) {
        const PasteBuffer& b = buffers[n];
        if (b.empty() || b.size() > kMaxPasteBufferSize) continue;
        WriteLe32(out.data() + 4 + 8 * n, static_cast<std::uint32_t>(out.size()));
        WriteLe32(out.data() + 8 + 8 * n, static_cast<std::uint32_t>(b.size()));
        PasteBuffer normal = MakePasteBuffer(b.data(), b.size(), b.size());
        out.insert(out.end(), normal.begin(), normal.end());
    }
    return out;
}

}  // namespace qnav::state
