#include "MenuText.h"
#include <cstdio>
#include <cstring>

namespace qnav::text {

namespace {
constexpr std::size_t kPasteEntryMax = 42;

std::string Numbered(int slot) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%u  ", SlotNumber(slot));
    return buf;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
}  // namespace

unsigned SlotNumber(int slot) { return slot == 9 ? 0u : static_cast<unsigned>(slot + 1); }

std::string HotKeyLabel(unsigned modifiers, unsigned scanCode, char character) {
    if (modifiers == 0 || scanCode == 0) return {};
    std::string out = "\t";
    auto add = [&](const char* name) {
        if (out.size() > 1) out += '+';
        out += name;
    };
    if (modifiers & kHotCtrl) add("Ctrl");
    if (modifiers & kHotAlt) add("Alt");
    if (modifiers & kHotShift) add("Shift");
    if (out.size() > 1) out += '+';
    out += character;
    return out;
}

std::string PasteEntryText(int slot, const char* text, std::size_t size) {
    std::string out = Numbered(slot);
    const std::size_t length = text ? strnlen(text, size) : 0;
    std::size_t i = 0;
    bool skippedLine = false;
    while (i < length && (text[i] == ' ' || text[i] == '\t' || IsLineEnd(text[i]))) {
        skippedLine |= IsLineEnd(text[i]);
        ++i;
    }
    if (length == 0) return out;
    if (skippedLine) out += "...";
    for (; i < length && !IsLineEnd(text[i]) && out.size() < kPasteEntryMax; ++i) {
        if (text[i] == '&') out += '&';
        out += text[i];
    }
    // Anything left but the final line end means the entry was shortened.
    std::size_t rest = i;
    while (rest < length && IsLineEnd(text[rest])) ++rest;
    if (rest < length) out += "...";
    return out;
}

std::string FileNamePart(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string BookmarkEntryText(int slot, const std::string& path, unsigned line0) {
    char buf[320];
    std::snprintf(buf, sizeof buf, "%u  %s  %u", SlotNumber(slot), FileNamePart(path).c_str(), line0 + 1);
    return buf;
}

std::string EmptyBookmarkEntryText(int slot) { return Numbered(slot); }

}  // namespace qnav::text
