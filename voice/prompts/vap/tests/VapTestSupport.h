// Helpers of the prompt-file tests: a scratch folder, whole-file bytes, an
// editor interface that records what it was shown, and a reader of the
// layout that works on raw offsets (never the library's own structures).
#pragma once
#include <cstdint>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "VapEditor.h"

namespace vaptest {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

// A wave file: 308 header bytes, then `audio`.
Bytes WaveWith(const Bytes& audio);
// Audio that differs for every `seed`.
Bytes AudioFor(int seed, std::size_t length);

// Little-endian word at a byte offset.
std::uint32_t Word(const Bytes& file, std::size_t offset);
void PutWord(Bytes& file, std::size_t offset, std::uint32_t value);

// Clip `i` read by hand: slot at 24 + 12 i, then name and audio by offset.
struct HandClip {
    std::string name;
    Bytes audio;
};
HandClip ClipByHand(const Bytes& file, std::uint32_t i);

// A prompt file built byte by byte: capacity, rate, and clips of (name, audio).
Bytes FileByHand(std::uint32_t capacity, const std::vector<std::pair<std::string, Bytes>>& clips);

class RecordingUi : public kvo::VapEditorUi {
public:
    void Show(const std::string& message) override { shown.push_back(message); }
    // Answers in order; a question nobody expected answers No and is kept.
    Answer Ask(const std::string& question, bool withCancel) override;

    std::vector<std::string> shown;
    std::vector<std::string> asked;
    std::deque<Answer> answers;
};

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string operator/(const std::string& name) const { return (dir_ / name).string(); }
    const std::filesystem::path& Path() const { return dir_; }

private:
    std::filesystem::path dir_;
};

}  // namespace vaptest
