// Texts of the popup menus' entries: slot numbers, accelerator labels and
// the paste-buffer and bookmark entries.
#pragma once
#include <cstddef>
#include <string>

namespace qnav::text {

// The number slot n (0-9) is shown as: n + 1, slot 9 as 0.
unsigned SlotNumber(int slot);

// Modifier bits of a menu record's hot key.
constexpr unsigned kHotCtrl = 0x10, kHotAlt = 0x100, kHotShift = 0x01;

// "\tCtrl+Alt+S" style label; empty unless both the modifiers and the scan
// code are non-zero.
std::string HotKeyLabel(unsigned modifiers, unsigned scanCode, char character);

// Entry of paste buffer `slot` holding `text` (bounded by `size`, may hold
// no zero byte); an empty buffer shows only its number.
std::string PasteEntryText(int slot, const char* text, std::size_t size);

// Entry of bookmark `slot`: number, file name without directory, 1-based line.
std::string BookmarkEntryText(int slot, const std::string& path, unsigned line0);
std::string EmptyBookmarkEntryText(int slot);

// The file name part of a path (after the last '\\', '/' or ':').
std::string FileNamePart(const std::string& path);

}  // namespace qnav::text
