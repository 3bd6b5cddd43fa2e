// The paste-buffer file: a signature, ten (offset, size) pairs and the
// buffers' texts back to back. Decoding trusts nothing in the file: a damaged
// entry ends decoding there and every earlier buffer is kept.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qnav::state {

constexpr std::uint32_t kPasteSignature = 0x001A5853;
constexpr std::size_t kPasteBufferCount = 10;
constexpr std::size_t kPasteHeaderSize = 4 + 8 * kPasteBufferCount;   // 84
constexpr std::size_t kMaxPasteBufferSize = 4096;
constexpr std::size_t kMaxPasteFileSize = kPasteHeaderSize + kPasteBufferCount * kMaxPasteBufferSize;

// One buffer is a memory block of its recorded size holding a text up to its
// first zero byte, then zero bytes; an empty vector is an empty buffer. A block
// read from a damaged file may be all text without a zero byte, so readers
// bound the text by the block's size, never by a terminator alone.
using PasteBuffer = std::vector<char>;
using PasteBuffers = std::array<PasteBuffer, kPasteBufferCount>;

// `bytes` are the first (at most kMaxPasteFileSize) bytes of the file.
PasteBuffers DecodePasteBuffers(const std::uint8_t* bytes, std::size_t size);
// Buffers over kMaxPasteBufferSize are written as empty.
std::vector<std::uint8_t> EncodePasteBuffers(const PasteBuffers& buffers);

// A block of `size` bytes holding `text` up to its first zero byte, the rest
// zero: the form every buffer has in memory and on disk.
PasteBuffer MakePasteBuffer(const char* text, std::size_t textSize, std::size_t size);

}  // namespace qnav::state
