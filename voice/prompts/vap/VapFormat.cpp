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

}  // namespace

std::array<std::uint8_t, kVapHeaderSize> EncodeVapHeader(const VapHeader& header) {
    std::array<std::uint8_t, kVapHeaderSize> b{};
    Put32(&b[0], header.capacity);
    Put32(&b[4], header.sampleRate);
    Put32(&b[8], header.count);
    return b;
}

VapHeader DecodeVapHeader(const std::uint8_t* bytes) {
    return {Get32(bytes), Get32(bytes + 4), Get32(bytes + 8)};
}

std::array<std::uint8_t, kVapSlotSize> EncodeVapSlot(const VapSlot& slot) {
    std::array<std::uint8_t, kVapSlotSize> b{};
    Put32(&b[0], slot.dataOffset);
    Put32(&b[4], slot.dataLength);
    Put32(&b[8], slot.textOffset);
    return b;
}

VapSlot DecodeVapSlot(const std::uint8_t* bytes) {
    return {Get32(bytes), Get32(bytes + 4), Get32(bytes + 8)};
}

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
