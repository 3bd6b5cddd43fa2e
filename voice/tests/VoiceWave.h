// A wave file as the voice card takes it: a 308-byte header whose format tag
// is that of the default play format (mu-law), then `audioBytes` of sound.
// Tests and demos write these, so the system check finds their format right.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

namespace kvo_test {

inline std::string VoiceWave(std::size_t audioBytes) {
    std::string out(308, '\0');
    const auto put = [&](std::size_t at, unsigned value, std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i) out[at + i] = char(value >> (8 * i) & 0xFF);
    };
    std::memcpy(&out[0], "RIFF", 4);
    put(4, unsigned(300 + audioBytes), 4);
    std::memcpy(&out[8], "WAVEfmt ", 8);
    put(16, 16, 4);
    put(20, 7, 2);  // mu-law
    put(22, 1, 2);
    put(24, 8000, 4);
    put(28, 8000, 4);
    put(32, 1, 2);
    put(34, 8, 2);
    return out + std::string(audioBytes, '\x7f');
}

}  // namespace kvo_test
