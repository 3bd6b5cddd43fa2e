#include "LineState.h"

#include <array>
#include <atomic>
#include <mutex>

namespace kvo {
namespace {

constexpr size_t kStatusTextMax = 19;

struct LineEntry {
    std::atomic<int> status{LS_IDLE};
    std::atomic<char> helpDigit{0};
    std::string text;
};
std::array<LineEntry, kMaxChannels> g_lines;
std::mutex g_textLock;   // the text is read by the status window's thread

bool Valid(int ch) { return ch >= 0 && ch < kMaxChannels; }

}  // namespace

void SetLineStatusText(int ch, int code, const char* text) {
    if (!Valid(ch)) return;
    std::lock_guard lock(g_textLock);
    g_lines[ch].status = code;
    g_lines[ch].text = std::string(text ? text : "").substr(0, kStatusTextMax);
}

int LineStatusCodeOf(int ch) { return Valid(ch) ? g_lines[ch].status.load() : LS_IDLE; }

std::string LineStatusTextOf(int ch) {
    if (!Valid(ch)) return {};
    std::lock_guard lock(g_textLock);
    return g_lines[ch].text;
}

void SetLineHelpDigit(int ch, char digit) {
    if (Valid(ch)) g_lines[ch].helpDigit = digit;
}

char LineHelpDigit(int ch) { return Valid(ch) ? g_lines[ch].helpDigit.load() : 0; }

}  // namespace kvo
