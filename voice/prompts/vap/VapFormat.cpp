#include "VapFormat.h"

#include <algorithm>

namespace kvo {
namespace {

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

// Header and slot both start with three words; the header's rest is zero.
template <std::size_t N>
std::array<std::uint8_t, N> ThreeWords(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::array<std::uint8_t, N> bytes{};
    Put32(&bytes[0], a);
    Put32(&bytes[4], b);
    Put32(&bytes[8], c);
    return bytes;
}

}  // namespace

std::array<std::uint8_t, kVapHeaderSize> EncodeVapHeader(const VapHeader& h) {
    return ThreeWords<kVapHeaderSize>(h.capacity, h.sampleRate, h.count);
}

VapHeader DecodeVapHeader(const std::uint8_t* bytes) { return {Get32(bytes), Get32(bytes + 4), Get32(bytes + 8)}; }

std::array<std::uint8_t, kVapSlotSize> EncodeVapSlot(const VapSlot& s) {
    return ThreeWords<kVapSlotSize>(s.dataOffset, s.dataLength, s.textOffset);
}

VapSlot DecodeVapSlot(const std::uint8_t* bytes) { return {Get32(bytes), Get32(bytes + 4), Get32(bytes + 8)}; }

std::optional<VapHeader> ReadVapHeader(ByteReader& file) {
    std::uint8_t b[kVapHeaderSize];
    if (file.ReadAt(0, b, sizeof b) != sizeof b) return std::nullopt;
    return DecodeVapHeader(b);
}

const char* VapHeaderFault(const VapHeader& header, std::uint64_t fileSize, bool wholeIndex) {
    if (header.count > header.capacity) return "more entries than index slots";
    if (VapSlotPosition(wholeIndex ? header.capacity : header.count) > fileSize)
        return "index runs past the end of the file";
    return nullptr;
}

std::string ReadVapName(ByteReader& file, std::uint32_t textOffset) {
    if (textOffset == 0) return {};
    char window[kVapNameWindow];
    const std::size_t n = file.ReadAt(textOffset, window, sizeof window);
    // A name that fills the window is cut at 199 characters.
    const std::size_t limit = n < kVapMaxName ? n : kVapMaxName;
    return std::string(window, std::find(window, window + limit, '\0'));
}

std::string VapUnnamedClip(std::uint32_t index) { return "clip " + std::to_string(index); }

}  // namespace kvo
