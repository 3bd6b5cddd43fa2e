#include "LineTables.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "DigitMask.h"

namespace kvo {
namespace {

constexpr std::array<std::string_view, kStatusCount> kStatusNames = {
    "idle",
    "playing ",
    "waiting for digits",
    "recording",
    "playing delay recording",
    "dialling",
    "unexpected event",
    "delay",
    "stopped - error",
    "stopped",
    "caller hung up",
    "stopped - caller hung up",
    "stopped - call complete",
    "precall delay",
    "waiting for ring",
    "inter call delay",
    "waiting for shutdown",
    "waiting for dialtone",
    "waiting for channel stop",
    "in conference",
    "getting conference digit",
    "stopped - max errors",
    "stopped - no connection",
    "paused - waiting for digit",
};

}  // namespace

std::string_view LineStatusName(int code) {
    return code >= 0 && code < kStatusCount ? kStatusNames[size_t(code)] : std::string_view{};
}

std::string LineStatusDisplay(int code, std::string_view argument) {
    std::string text(LineStatusName(code));
    if ((code == kStatusPlaying || code == kStatusRecording) && !argument.empty()) {
        text += ' ';
        text += argument;
    }
    return text;
}

int StartRefusal(const StartConditions& c) {
    if (c.testMode) return 1;
    if (c.started) return 2;
    if (!c.hasFrame) return 7;
    if (!c.runMode) return 3;
    return 0;
}

LineSet ParseLinesInGroup(std::string_view text) {
    LineSet lines;
    auto add = [&](long from, long to) {
        if (from > to) std::swap(from, to);
        for (long n = std::max(from, 1L); n <= std::min(to, long(kDispatchLines)); ++n) lines.set(size_t(n - 1));
    };
    size_t i = 0;
    auto number = [&]() -> std::optional<long> {
        if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        long n = 0;
        // Long digit runs saturate: they name no line either way.
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            n = n > 1000 ? n : n * 10 + (text[i] - '0');
        return n;
    };
    while (i < text.size()) {
        std::optional<long> first = number();
        if (!first) {
            ++i;
            continue;
        }
        if (i < text.size() && text[i] == '-') {
            ++i;
            if (std::optional<long> last = number()) {
                add(*first, *last);
                continue;
            }
        }
        add(*first, *first);
    }
    return lines;
}

std::string FormatCallDuration(long seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds < 60) return std::to_string(seconds) + "s";
    return std::to_string(seconds / 60) + "m:" + std::to_string(seconds % 60) + "s";
}

char HelpDigitKey(long mask) {
    static constexpr struct {
        long bit;
        char key;
    } kKeys[] = {{kvoDigit_0, '0'}, {kvoDigit_1, '1'}, {kvoDigit_2, '2'}, {kvoDigit_3, '3'},
                 {kvoDigit_4, '4'}, {kvoDigit_5, '5'}, {kvoDigit_6, '6'}, {kvoDigit_7, '7'},
                 {kvoDigit_8, '8'}, {kvoDigit_9, '9'}, {kvoDigit_S, '*'}, {kvoDigit_N, '#'}};
    for (const auto& k : kKeys)
        if (mask & k.bit) return k.key;
    return 0;
}

bool StatusShowsTimes(int code) {
    switch (code) {
    case kStatusIdle:
    case kStatusWaitingForRing:
    case kStatusPrecallDelay:
    case kStatusInterCallDelay:
    case kStatusWaitingForShutdown: return false;
    default: return code > kStatusIdle && code < kStatusCount;
    }
}

const char* SystemStateText(SystemState state) {
    switch (state) {
    case SystemState::Started: return "started";
    case SystemState::Stopping: return "waiting for shutdown";
    case SystemState::Stopped: break;
    }
    return "stopped";
}

}  // namespace kvo
