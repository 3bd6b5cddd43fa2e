// The byte layout of a ".vap" prompt file: a 24-byte header (index capacity,
// sample rate, entry count, 12 reserved bytes), `capacity` index slots of 12
// bytes (data offset, data length, text offset; slot i is clip i), then name
// records and raw audio in any order. Integers are 32-bit little-endian.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "ByteFile.h"

namespace kvo {

constexpr std::uint32_t kVapHeaderSize = 24;
constexpr std::uint32_t kVapSlotSize = 12;
constexpr std::uint32_t kVapNewCapacity = 200;
// Readers take a name from this many bytes at its text offset.
constexpr std::uint32_t kVapNameWindow = 200;
constexpr std::uint32_t kVapMaxName = kVapNameWindow - 1;
// Source wave files carry a header of this size that is never copied.
constexpr std::uint32_t kWaveHeaderSize = 308;
// Every position in the file is a 32-bit offset.
constexpr std::uint64_t kVapMaxFileSize = 0xFFFFFFFFull;
// The largest capacity whose index still ends inside that range.
constexpr std::uint32_t kVapMaxCapacity = (0xFFFFFFFFu - kVapHeaderSize) / kVapSlotSize;

struct VapHeader {
    std::uint32_t capacity = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t count = 0;
};

struct VapSlot {
    std::uint32_t dataOffset = 0;
    std::uint32_t dataLength = 0;
    std::uint32_t textOffset = 0;  // 0: the clip has no name
};

std::array<std::uint8_t, kVapHeaderSize> EncodeVapHeader(const VapHeader& header);
VapHeader DecodeVapHeader(const std::uint8_t* bytes);
std::array<std::uint8_t, kVapSlotSize> EncodeVapSlot(const VapSlot& slot);
VapSlot DecodeVapSlot(const std::uint8_t* bytes);

inline std::uint64_t VapSlotPosition(std::uint64_t index) { return kVapHeaderSize + index * kVapSlotSize; }

// Whether the clip's audio lies inside a file of `fileSize` bytes (64-bit sum,
// so offset + length cannot wrap).
inline bool VapDataInside(const VapSlot& slot, std::uint64_t fileSize) {
    return std::uint64_t{slot.dataOffset} + slot.dataLength <= fileSize;
}

// Reads the header; empty when the file is shorter than one.
std::optional<VapHeader> ReadVapHeader(ByteReader& file);

// Why a header cannot be trusted for its index, or nullptr: a count beyond
// the capacity, or used slots that run past the end of the file. Writers
// fill every reserved slot, so the editor (`wholeIndex`) also wants all
// `capacity` slots inside the file before it writes into them.
const char* VapHeaderFault(const VapHeader& header, std::uint64_t fileSize, bool wholeIndex = false);

// The name record at `textOffset`: the text up to the first NUL of a
// 200-byte window, at most 199 characters; "" for offset 0 or an unreadable
// record.
std::string ReadVapName(ByteReader& file, std::uint32_t textOffset);

// What the editor shows for a clip without a name.
std::string VapUnnamedClip(std::uint32_t index);

}  // namespace kvo
