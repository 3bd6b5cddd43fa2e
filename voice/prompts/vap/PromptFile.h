// A prompt file opened for playing: its index read once at open, its clip
// names read on the first lookup by name. Whatever the file holds, nothing
// here reads outside it or trusts a count the file cannot back.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ByteFile.h"
#include "VapFormat.h"

namespace kvo {

struct ClipRange {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

class PromptFile {
public:
    // Reads the header and the index from `file`, which the object then owns.
    // Null when the header or the index is short, or the count is beyond the
    // capacity or the file.
    static std::unique_ptr<PromptFile> Open(std::unique_ptr<ByteReader> file);
    // A plain wave file kept open beside the prompt files: no index, played
    // from behind its header.
    static std::unique_ptr<PromptFile> OpenWave(std::unique_ptr<ByteReader> file);

    bool IsWave() const { return wave_; }
    std::uint64_t Size() const { return size_; }

    std::uint32_t Count() const { return static_cast<std::uint32_t>(slots_.size()); }

    // The clip's audio; empty for an index at or beyond the count, and for a
    // clip whose audio does not lie inside the file.
    std::optional<ClipRange> Range(std::uint32_t index) const;

    // The first clip, in index order, whose name matches; -1 when none does.
    // With a non-zero `scriptSize` only that many leading characters count
    // (so a short wanted name also finds longer names beginning with it).
    // Case-sensitive.
    long FindClip(std::string_view name, std::size_t scriptSize = 0);

    // Whether clip `index` is named exactly `name`.
    bool ClipNameIs(std::string_view name, std::uint32_t index);

    // The clip's name ("" for none or an index beyond the count).
    const std::string& ClipName(std::uint32_t index);

    ByteReader& Reader() { return *file_; }

private:
    PromptFile(std::unique_ptr<ByteReader> file, std::vector<VapSlot> slots, std::uint64_t size, bool wave);
    void LoadNames();

    std::unique_ptr<ByteReader> file_;
    std::vector<VapSlot> slots_;
    std::uint64_t size_;
    bool wave_;
    std::vector<std::string> names_;
    bool namesLoaded_ = false;
};

}  // namespace kvo
