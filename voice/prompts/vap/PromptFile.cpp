#include "PromptFile.h"

namespace kvo {

PromptFile::PromptFile(std::unique_ptr<ByteReader> file, std::vector<VapSlot> slots, std::uint64_t size, bool wave)
    : file_(std::move(file)), slots_(std::move(slots)), size_(size), wave_(wave) {}

std::unique_ptr<PromptFile> PromptFile::OpenWave(std::unique_ptr<ByteReader> file) {
    if (!file) return nullptr;
    const std::uint64_t size = file->Size();
    return std::unique_ptr<PromptFile>(new PromptFile(std::move(file), {}, size, true));
}

std::unique_ptr<PromptFile> PromptFile::Open(std::unique_ptr<ByteReader> file) {
    if (!file) return nullptr;
    const std::optional<VapHeader> header = ReadVapHeader(*file);
    const std::uint64_t size = file->Size();
    if (!header || VapHeaderFault(*header, size)) return nullptr;

    std::vector<std::uint8_t> raw(std::size_t{header->count} * kVapSlotSize);
    if (file->ReadAt(kVapHeaderSize, raw.data(), raw.size()) != raw.size()) return nullptr;
    std::vector<VapSlot> slots(header->count);
    for (std::uint32_t i = 0; i < header->count; ++i) slots[i] = DecodeVapSlot(&raw[i * kVapSlotSize]);
    return std::unique_ptr<PromptFile>(new PromptFile(std::move(file), std::move(slots), size, false));
}

std::optional<ClipRange> PromptFile::Range(std::uint32_t index) const {
    if (index >= slots_.size() || !VapDataInside(slots_[index], size_)) return std::nullopt;
    return ClipRange{slots_[index].dataOffset, slots_[index].dataLength};
}

void PromptFile::LoadNames() {
    if (namesLoaded_) return;
    namesLoaded_ = true;
    names_.reserve(slots_.size());
    for (const VapSlot& slot : slots_) names_.push_back(ReadVapName(*file_, slot.textOffset));
}

long PromptFile::FindClip(std::string_view name, std::size_t scriptSize) {
    LoadNames();
    if (scriptSize) name = name.substr(0, scriptSize);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const std::string_view have = scriptSize ? std::string_view(names_[i]).substr(0, scriptSize)
                                                 : std::string_view(names_[i]);
        // A clip without a name is never found by name.
        if (!names_[i].empty() && have == name) return static_cast<long>(i);
    }
    return -1;
}

bool PromptFile::ClipNameIs(std::string_view name, std::uint32_t index) {
    return index < slots_.size() && ClipName(index) == name;
}

const std::string& PromptFile::ClipName(std::uint32_t index) {
    static const std::string none;
    LoadNames();
    return index < names_.size() ? names_[index] : none;
}

}  // namespace kvo
