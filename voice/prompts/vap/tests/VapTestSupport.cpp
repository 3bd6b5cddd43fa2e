#include "VapTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vaptest {

namespace fs = std::filesystem;

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

Bytes WaveWith(const Bytes& audio) {
    Bytes wave(308, 0xEE);
    wave.insert(wave.end(), audio.begin(), audio.end());
    return wave;
}

Bytes AudioFor(int seed, std::size_t length) {
    Bytes audio(length);
    for (std::size_t i = 0; i < length; ++i) audio[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + 1);
    return audio;
}

std::uint32_t Word(const Bytes& file, std::size_t offset) {
    if (offset + 4 > file.size()) {
        ADD_FAILURE() << "word at " << offset << " beyond a file of " << file.size();
        return 0;
    }
    return file[offset] | file[offset + 1] << 8 | file[offset + 2] << 16 | std::uint32_t{file[offset + 3]} << 24;
}

void PutWord(Bytes& file, std::size_t offset, std::uint32_t value) {
    if (file.size() < offset + 4) file.resize(offset + 4);
    for (int i = 0; i < 4; ++i) file[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

HandClip ClipByHand(const Bytes& file, std::uint32_t i) {
    const std::size_t slot = 24 + 12 * std::size_t{i};
    const std::uint32_t data = Word(file, slot), length = Word(file, slot + 4), text = Word(file, slot + 8);
    HandClip clip;
    if (text) {
        for (std::size_t p = text; p < file.size() && file[p]; ++p) clip.name += static_cast<char>(file[p]);
    }
    if (std::size_t{data} + length > file.size()) {
        ADD_FAILURE() << "clip " << i << " audio at " << data << "+" << length << " beyond " << file.size();
        return clip;
    }
    clip.audio.assign(file.begin() + data, file.begin() + data + length);
    return clip;
}

Bytes FileByHand(std::uint32_t capacity, const std::vector<std::pair<std::string, Bytes>>& clips) {
    Bytes file(24 + 12 * std::size_t{capacity});
    PutWord(file, 0, capacity);
    PutWord(file, 4, 8000);
    PutWord(file, 8, static_cast<std::uint32_t>(clips.size()));
    for (std::size_t i = 0; i < clips.size(); ++i) {
        const std::uint32_t text = static_cast<std::uint32_t>(file.size());
        file.insert(file.end(), clips[i].first.begin(), clips[i].first.end());
        file.push_back(0);
        const std::uint32_t data = static_cast<std::uint32_t>(file.size());
        file.insert(file.end(), clips[i].second.begin(), clips[i].second.end());
        PutWord(file, 24 + 12 * i, data);
        PutWord(file, 24 + 12 * i + 4, static_cast<std::uint32_t>(clips[i].second.size()));
        PutWord(file, 24 + 12 * i + 8, clips[i].first.empty() ? 0 : text);
    }
    return file;
}

RecordingUi::Answer RecordingUi::Ask(const std::string& question, bool) {
    asked.push_back(question);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question;
        return Answer::No;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

ScratchDir::ScratchDir() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / (std::string("kvo-vap-") + info->test_suite_name() + "-" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

}  // namespace vaptest
