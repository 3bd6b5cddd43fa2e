#include "VapEditor.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <filesystem>
#include <system_error>

#include "SystemSettings.h"
#include "VoicePath.h"

namespace kvo {
namespace {

namespace fs = std::filesystem;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

void CannotOpen(VapEditorUi& ui, const std::string& name, int error) {
    ui.Show(Format("cannot open file %s, error code %i", name.c_str(), error));
}

bool CannotWrite(VapEditorUi& ui, int error) {
    ui.Show(Format("cannot write file, error code %i", error));
    return false;
}

void Damaged(VapEditorUi& ui, const std::string& name, const char* fault) {
    ui.Show(Format("'%s' is damaged: %s", name.c_str(), fault));
}

std::string InvalidData(std::uint32_t index, const VapSlot& slot, bool skipped) {
    return Format(skipped ? "entry %u has an invalid data pointer and will be skipped\n\r %lu,%lu"
                          : "entry %u has an invalid data pointer\n\r %lu,%lu",
                  index, static_cast<unsigned long>(slot.dataOffset), static_cast<unsigned long>(slot.dataLength));
}

// Copies `length` bytes from `from` at `pos` to `to` at `at`.
bool CopyBytes(ByteReader& from, std::uint64_t pos, std::uint64_t length, ByteFile& to, std::uint64_t at) {
    std::vector<std::uint8_t> chunk(std::min<std::uint64_t>(length, 1u << 16));
    while (length > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, chunk.size()));
        if (from.ReadAt(pos, chunk.data(), n) != n || !to.WriteAt(at, chunk.data(), n)) return false;
        pos += n;
        at += n;
        length -= n;
    }
    return true;
}

// Names are read back through a 200-byte window; a longer one would come
// back cut, so it is cut before it is written.
std::string StoredName(const std::string& name) {
    const std::size_t nul = name.find('\0');
    return name.substr(0, std::min<std::size_t>(nul, kVapMaxName));
}

// A prompt file opened for an editor operation, with its header checked.
struct OpenVap {
    StdioFile file;
    VapHeader header;
    explicit OpenVap(const std::string& path) : file(path, StdioFile::Mode::Update) {}
};

bool OpenForEdit(OpenVap& vap, const std::string& path, VapEditorUi& ui) {
    if (!vap.file.IsOpen()) {
        CannotOpen(ui, path, vap.file.OpenError());
        return false;
    }
    const std::optional<VapHeader> header = ReadVapHeader(vap.file);
    if (!header) {
        CannotOpen(ui, path, vap.file.LastError());
        return false;
    }
    if (const char* fault = VapHeaderFault(*header, vap.file.Size(), true)) {
        Damaged(ui, path, fault);
        return false;
    }
    vap.header = *header;
    return true;
}

bool WriteHeader(ByteFile& file, const VapHeader& header) {
    const auto bytes = EncodeVapHeader(header);
    return file.WriteAt(0, bytes.data(), bytes.size());
}

bool WriteSlot(ByteFile& file, std::uint64_t index, const VapSlot& slot) {
    const auto bytes = EncodeVapSlot(slot);
    return file.WriteAt(VapSlotPosition(index), bytes.data(), bytes.size());
}

// Appends the name record and, with a wave file, its audio at the end of
// the file, which lies past the index of `header`. The slot that describes
// them, or empty after a message.
std::optional<VapSlot> AppendClipData(ByteFile& file, const VapHeader& header, const std::string& clipName,
                                      const std::string& wavePath, VapEditorUi& ui) {
    std::optional<StdioFile> wave;
    std::uint64_t audio = 0;
    if (!wavePath.empty()) {
        wave.emplace(wavePath, StdioFile::Mode::Read);
        if (!wave->IsOpen()) {
            CannotOpen(ui, wavePath, wave->OpenError());
            return std::nullopt;
        }
        const std::uint64_t size = wave->Size();
        audio = size > kWaveHeaderSize ? size - kWaveHeaderSize : 0;
    }
    const std::string name = StoredName(clipName);
    const std::uint64_t textOffset = file.Size();
    const std::uint64_t dataOffset = textOffset + name.size() + 1;
    // An end that cannot be told (or lies inside the index) must not become
    // a place to write.
    if (textOffset < VapSlotPosition(header.capacity)) {
        CannotWrite(ui, file.LastError());
        return std::nullopt;
    }
    if (dataOffset + audio > kVapMaxFileSize) {
        CannotWrite(ui, EFBIG);
        return std::nullopt;
    }
    if (!file.WriteAt(textOffset, name.c_str(), name.size() + 1)) {
        CannotWrite(ui, file.LastError());
        return std::nullopt;
    }
    if (wave && !CopyBytes(*wave, kWaveHeaderSize, audio, file, dataOffset)) {
        CannotWrite(ui, file.LastError());
        return std::nullopt;
    }
    return VapSlot{static_cast<std::uint32_t>(dataOffset), static_cast<std::uint32_t>(audio),
                   static_cast<std::uint32_t>(textOffset)};
}

std::string TempNameBeside(const std::string& path) {
    // Beside the file rather than in the temporary directory, so that moving
    // it into place is a rename on one volume.
    const fs::path dir = fs::path(path).parent_path();
    for (unsigned n = 0;; ++n) {
        const fs::path candidate = dir / ("kvo" + std::to_string(n) + ".tmp");
        std::error_code ec;
        if (!fs::exists(candidate, ec)) return candidate.string();
    }
}

// Rebuilds `path` with a doubled index: the rebuilt copy replaces the file,
// the old file becomes its "~" backup (an older backup is replaced). On any
// failure the file is left as it was.
bool RebuildInPlace(const std::string& path, VapEditorUi& ui) {
    const std::string temp = TempNameBeside(path);
    {
        StdioFile src(path, StdioFile::Mode::Read);
        if (!src.IsOpen()) {
            CannotOpen(ui, path, src.OpenError());
            return false;
        }
        StdioFile dst(temp, StdioFile::Mode::Create);
        if (!dst.IsOpen()) {
            CannotOpen(ui, temp, dst.OpenError());
            return false;
        }
        bool ok = VapRebuild(src, path, dst, ui);
        if (!dst.Close() && ok) ok = CannotWrite(ui, EIO);
        if (!ok) {
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    const std::string backup = VapBackupName(path);
    fs::remove(backup, ec);
    if (!ec) fs::rename(path, backup, ec);
    if (ec) {
        const int error = ec.value();
        fs::remove(temp, ec);
        return CannotWrite(ui, error);
    }
    fs::rename(temp, path, ec);
    if (ec) {
        const int error = ec.value();
        fs::rename(backup, path, ec);
        fs::remove(temp, ec);
        return CannotWrite(ui, error);
    }
    return true;
}

}  // namespace

int VapCreate(const std::string& path, int format, int systemFormat, VapEditorUi& ui) {
    std::error_code ec;
    if (fs::exists(path, ec) &&
        ui.Ask("this file already exists: do you want to overwrite it?", false) != VapEditorUi::Answer::Yes)
        return -1;
    StdioFile file(path, StdioFile::Mode::Create);
    if (!file.IsOpen()) {
        CannotOpen(ui, path, file.OpenError());
        return -1;
    }
    const VapHeader header{kVapNewCapacity,
                           static_cast<std::uint32_t>(FormatSampleRate(format == -1 ? systemFormat : format)), 0};
    const std::vector<std::uint8_t> index(std::size_t{kVapNewCapacity} * kVapSlotSize);
    if (!WriteHeader(file, header) || !file.WriteAt(kVapHeaderSize, index.data(), index.size())) {
        CannotWrite(ui, file.LastError());
        return -1;
    }
    if (!file.Close()) {
        CannotWrite(ui, EIO);
        return -1;
    }
    return 1;
}

long VapAppendClip(const std::string& path, const std::string& clipName, const std::string& wavePath,
                   VapEditorUi& ui) {
    std::optional<OpenVap> vap(std::in_place, path);
    if (!OpenForEdit(*vap, path, ui)) return -1;
    if (vap->header.count >= vap->header.capacity) {
        vap.reset();
        if (!RebuildInPlace(path, ui)) return -1;
        vap.emplace(path);
        if (!OpenForEdit(*vap, path, ui)) return -1;
        if (vap->header.count >= vap->header.capacity) {
            Damaged(ui, path, "no index slot is left");
            return -1;
        }
    }
    const std::optional<VapSlot> slot = AppendClipData(vap->file, vap->header, clipName, wavePath, ui);
    if (!slot) return -1;
    VapHeader header = vap->header;
    ++header.count;
    if (!WriteSlot(vap->file, vap->header.count, *slot) || !WriteHeader(vap->file, header)) {
        CannotWrite(ui, vap->file.LastError());
        return -1;
    }
    if (!vap->file.Close()) {
        CannotWrite(ui, EIO);
        return -1;
    }
    return header.count;
}

int VapReplaceClip(const std::string& path, const std::string& clipName, std::uint32_t index,
                   const std::string& wavePath, VapEditorUi& ui) {
    OpenVap vap(path);
    if (!OpenForEdit(vap, path, ui) || index >= vap.header.count) return -1;
    const std::optional<VapSlot> added = AppendClipData(vap.file, vap.header, clipName, wavePath, ui);
    if (!added) return -1;
    bool ok;
    if (!wavePath.empty()) {
        ok = WriteSlot(vap.file, index, *added);
    } else {
        // A rename: the audio stays where it is.
        std::uint8_t text[4];
        const auto bytes = EncodeVapSlot(*added);
        std::copy(bytes.begin() + 8, bytes.end(), text);
        ok = vap.file.WriteAt(VapSlotPosition(index) + 8, text, sizeof text);
    }
    if (!ok || !vap.file.Close()) {
        CannotWrite(ui, vap.file.LastError());
        return -1;
    }
    return 0;
}

long VapDeleteClip(const std::string& path, std::uint32_t index, VapEditorUi& ui) {
    OpenVap vap(path);
    if (!OpenForEdit(vap, path, ui) || index >= vap.header.count) return -1;
    const std::uint32_t after = vap.header.count - index - 1;
    std::vector<std::uint8_t> slots(std::size_t{after} * kVapSlotSize);
    if (vap.file.ReadAt(VapSlotPosition(index + 1), slots.data(), slots.size()) != slots.size()) {
        CannotOpen(ui, path, vap.file.LastError());
        return -1;
    }
    VapHeader header = vap.header;
    --header.count;
    if (!vap.file.WriteAt(VapSlotPosition(index), slots.data(), slots.size()) || !WriteHeader(vap.file, header) ||
        !vap.file.Close()) {
        CannotWrite(ui, vap.file.LastError());
        return -1;
    }
    return header.count;
}

std::optional<std::vector<VapListItem>> VapListClips(ByteReader& file, const std::string& fileName,
                                                     const std::string& filter, VapEditorUi& ui) {
    const std::optional<VapHeader> header = ReadVapHeader(file);
    if (!header) {
        CannotOpen(ui, fileName, 0);
        return std::nullopt;
    }
    if (header->count > kVapListLimit) {
        ui.Show("more than 5000 entries in this file");
        return std::nullopt;
    }
    const std::uint64_t size = file.Size();
    if (const char* fault = VapHeaderFault(*header, size)) {
        Damaged(ui, fileName, fault);
        return std::nullopt;
    }
    auto upper = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return s;
    };
    const std::string wanted = upper(filter);
    std::vector<VapListItem> items;
    for (std::uint32_t i = 0; i < header->count; ++i) {
        std::uint8_t raw[kVapSlotSize];
        if (file.ReadAt(VapSlotPosition(i), raw, sizeof raw) != sizeof raw) {
            CannotOpen(ui, fileName, 0);
            break;
        }
        const VapSlot slot = DecodeVapSlot(raw);
        if (!VapDataInside(slot, size)) {
            ui.Show(InvalidData(i, slot, false));
            continue;
        }
        std::string name = ReadVapName(file, slot.textOffset);
        if (name.empty()) name = VapUnnamedClip(i);
        if (wanted.empty() || upper(name).find(wanted) != std::string::npos) items.push_back({std::move(name), i});
    }
    return items;
}

std::optional<std::vector<VapListItem>> VapListClips(const std::string& path, const std::string& filter,
                                                     VapEditorUi& ui) {
    StdioFile file(path, StdioFile::Mode::Read);
    if (!file.IsOpen()) {
        CannotOpen(ui, path, file.OpenError());
        return std::nullopt;
    }
    return VapListClips(file, path, filter, ui);
}

bool VapRebuild(ByteReader& src, const std::string& srcName, ByteFile& dst, VapEditorUi& ui) {
    const std::optional<VapHeader> old = ReadVapHeader(src);
    if (!old) {
        CannotOpen(ui, srcName, 0);
        return false;
    }
    const std::uint64_t srcSize = src.Size();
    if (const char* fault = VapHeaderFault(*old, srcSize, true)) {
        Damaged(ui, srcName, fault);
        return false;
    }
    // Doubling a capacity of 0 would leave no room for the clip being added.
    const std::uint32_t capacity =
        std::clamp<std::uint64_t>(std::uint64_t{old->capacity} * 2, kVapNewCapacity, kVapMaxCapacity);
    std::vector<std::uint8_t> oldIndex(std::size_t{old->count} * kVapSlotSize);
    if (src.ReadAt(kVapHeaderSize, oldIndex.data(), oldIndex.size()) != oldIndex.size()) {
        CannotOpen(ui, srcName, 0);
        return false;
    }

    std::uint64_t end = VapSlotPosition(capacity);
    const std::vector<std::uint8_t> zeros(std::min<std::uint64_t>(end - kVapHeaderSize, 1u << 16));
    if (!WriteHeader(dst, {capacity, old->sampleRate, 0})) return CannotWrite(ui, dst.LastError());
    for (std::uint64_t at = kVapHeaderSize; at < end; at += zeros.size())
        if (!dst.WriteAt(at, zeros.data(), std::min<std::uint64_t>(zeros.size(), end - at)))
            return CannotWrite(ui, dst.LastError());

    std::vector<VapSlot> kept;
    std::vector<VapSlot> from;
    for (std::uint32_t i = 0; i < old->count; ++i) {
        const VapSlot slot = DecodeVapSlot(&oldIndex[std::size_t{i} * kVapSlotSize]);
        if (!VapDataInside(slot, srcSize)) {
            ui.Show(InvalidData(i, slot, true));
            continue;
        }
        std::string name = ReadVapName(src, slot.textOffset);
        if (name.empty()) name = VapUnnamedClip(i);
        if (end + name.size() + 1 > kVapMaxFileSize) return CannotWrite(ui, EFBIG);
        if (!dst.WriteAt(end, name.c_str(), name.size() + 1)) return CannotWrite(ui, dst.LastError());
        kept.push_back({0, slot.dataLength, static_cast<std::uint32_t>(end)});
        from.push_back(slot);
        end += name.size() + 1;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (end + from[i].dataLength > kVapMaxFileSize) return CannotWrite(ui, EFBIG);
        if (!CopyBytes(src, from[i].dataOffset, from[i].dataLength, dst, end))
            return CannotWrite(ui, dst.LastError());
        kept[i].dataOffset = static_cast<std::uint32_t>(end);
        end += from[i].dataLength;
    }
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (!WriteSlot(dst, i, kept[i])) return CannotWrite(ui, dst.LastError());
    if (!WriteHeader(dst, {capacity, old->sampleRate, static_cast<std::uint32_t>(kept.size())}))
        return CannotWrite(ui, dst.LastError());
    return true;
}

std::string VapBackupName(const std::string& path) {
    std::string backup = path;
    if (!backup.empty()) backup.back() = '~';
    return backup;
}

bool ConfirmVapChange(const std::string& fileName, VapEditorUi& ui) {
    const std::size_t slash = fileName.find_last_of("\\/:");
    const std::string base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const bool system = SameVoiceName(base, "system.vap") || SameVoiceName(base, "playmsgs.vap") ||
                        SameVoiceName(base, "record.vap");
    return !system ||
           ui.Ask("Do you really want to change this system phrase file " + fileName + "?", true) ==
               VapEditorUi::Answer::Yes;
}

}  // namespace kvo
