// The prompt editor's operations on a prompt file: create, append, replace,
// delete, list and rebuild. Each opens the file, works and closes it; every
// failure is shown through the editor's message interface and returns -1.
// Clips are never moved except by a rebuild, which runs when the index is
// full and leaves the previous file beside the new one as its "~" backup.
//
// Every step that writes is checked, the entry count is written last (so a
// failed operation leaves the clips the file had), nothing is written past
// the index capacity, and every offset plus length is checked in 64 bits.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ByteFile.h"
#include "VapFormat.h"

namespace kvo {

class VapEditorUi {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~VapEditorUi() = default;
    virtual void Show(const std::string& message) = 0;
    virtual Answer Ask(const std::string& question, bool withCancel) = 0;
};

// A new empty file (capacity 200, 2,424 bytes) for audio format `format`
// (-1: `systemFormat`). Asks before overwriting. 1, or -1.
int VapCreate(const std::string& path, int format, int systemFormat, VapEditorUi& ui);

// Appends a clip named `clipName` with the audio of `wavePath` after its
// 308-byte header (no audio when `wavePath` is empty). The new entry count
// (the new clip is count - 1), or -1.
long VapAppendClip(const std::string& path, const std::string& clipName, const std::string& wavePath,
                   VapEditorUi& ui);

// Renames clip `index`, and with a wave file gives it new audio; the old
// bytes stay unreferenced until the next rebuild. 0, or -1.
int VapReplaceClip(const std::string& path, const std::string& clipName, std::uint32_t index,
                   const std::string& wavePath, VapEditorUi& ui);

// Removes clip `index`; later clips move down one number. The new count, or -1.
long VapDeleteClip(const std::string& path, std::uint32_t index, VapEditorUi& ui);

struct VapListItem {
    std::string name;
    std::uint32_t clip = 0;
};
constexpr std::uint32_t kVapListLimit = 5000;

// The clips the editor lists: names (or "clip %i") whose upper-cased form
// contains the upper-cased `filter`; clips whose audio lies outside the file
// are reported and left out. Empty when the file cannot be listed.
std::optional<std::vector<VapListItem>> VapListClips(ByteReader& file, const std::string& fileName,
                                                     const std::string& filter, VapEditorUi& ui);
std::optional<std::vector<VapListItem>> VapListClips(const std::string& path, const std::string& filter,
                                                     VapEditorUi& ui);

// Writes into the empty `dst` a compacted copy of `src` with twice its index
// capacity (200 at least): names first, then audio, then the index, and the
// count last. Clips whose audio lies outside `src` are reported and dropped.
bool VapRebuild(ByteReader& src, const std::string& srcName, ByteFile& dst, VapEditorUi& ui);

// The backup name of a file: its last character replaced by "~".
std::string VapBackupName(const std::string& path);

// Before the system's own prompt files are changed the user is asked; true to go on.
bool ConfirmVapChange(const std::string& fileName, VapEditorUi& ui);

}  // namespace kvo
