#include <gtest/gtest.h>

#include "PromptFile.h"
#include "VapEditor.h"
#include "VapTestSupport.h"

namespace {

using namespace vaptest;

std::unique_ptr<kvo::PromptFile> OpenBytes(const Bytes& bytes) {
    return kvo::PromptFile::Open(std::make_unique<kvo::MemoryFile>(bytes));
}

TEST(PromptFile, ClipRangesComeFromTheIndex) {
    const Bytes file = FileByHand(200, {{"one", {1, 1}}, {"two", {2, 2, 2}}});
    auto vap = OpenBytes(file);
    ASSERT_TRUE(vap);
    EXPECT_EQ(vap->Count(), 2u);
    const auto range = vap->Range(1);
    ASSERT_TRUE(range);
    EXPECT_EQ(range->offset, Word(file, 36));
    EXPECT_EQ(range->length, 3u);
    EXPECT_FALSE(vap->Range(2));
}

TEST(PromptFile, NamesAreFoundInIndexOrderWithTheScriptSizePrefix) {
    auto vap = OpenBytes(FileByHand(
        10, {{"", {}}, {"Greeting", {1}}, {"greeting", {2}}, {"greeting-long", {3}}, {"greetin", {4}}}));
    ASSERT_TRUE(vap);
    struct Case { const char* wanted; std::size_t scriptSize; long found; } cases[] = {
        {"greeting", 0, 2},        // case matters
        {"Greeting", 0, 1},
        {"greeting-long", 0, 3},
        {"greeting-other", 8, 2},  // only the first 8 characters count
        {"greeting", 8, 2},
        {"greetin", 0, 4},
        {"greetin", 8, 4},         // a shorter wanted name still needs its end
        {"", 0, -1},               // a clip without a name is never found
        {"absent", 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vap->FindClip(c.wanted, c.scriptSize), c.found) << c.wanted << " / " << c.scriptSize;
    EXPECT_TRUE(vap->ClipNameIs("greeting-long", 3));
    EXPECT_FALSE(vap->ClipNameIs("greeting", 3));
    EXPECT_FALSE(vap->ClipNameIs("", 9));
}

TEST(PromptFile, AFileTheEditorCannotListIsStillPlayable) {
    Bytes file = FileByHand(5001, {{"last", {7}}});
    PutWord(file, 8, 5001);
    auto vap = OpenBytes(file);
    ASSERT_TRUE(vap);
    EXPECT_EQ(vap->Count(), 5001u);
    EXPECT_EQ(vap->FindClip("last"), 0);
}

// Whatever a damaged file holds, opening and reading it stays inside it.
TEST(PromptFile, DamagedFilesOpenOrFailButNeverReadOutside) {
    const Bytes good = FileByHand(3, {{"a", {1, 2}}, {"b", {3}}});
    struct Case {
        const char* note;
        std::function<void(Bytes&)> damage;
        bool opens;
        int playable;  // clips with a range
    } cases[] = {
        {"intact", [](Bytes&) {}, true, 2},
        {"empty file", [](Bytes& f) { f.clear(); }, false, 0},
        {"header cut short", [](Bytes& f) { f.resize(23); }, false, 0},
        {"index cut short", [](Bytes& f) { f.resize(24 + 12 + 6); }, false, 0},
        {"count beyond capacity", [](Bytes& f) { PutWord(f, 8, 4); }, false, 0},
        {"huge count and capacity", [](Bytes& f) { PutWord(f, 0, 0xFFFFFFFFu); PutWord(f, 8, 0x7FFFFFFFu); }, false, 0},
        {"audio past the end", [](Bytes& f) { PutWord(f, 28, 0xFFFFFFFFu); }, true, 1},
        {"offset plus length wraps", [](Bytes& f) { PutWord(f, 36, 0xFFFFFFFFu); PutWord(f, 40, 2); }, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        Bytes file = good;
        c.damage(file);
        auto vap = OpenBytes(file);
        ASSERT_EQ(static_cast<bool>(vap), c.opens);
        if (!vap) continue;
        int playable = 0;
        for (std::uint32_t i = 0; i < vap->Count(); ++i) {
            if (const auto r = vap->Range(i)) {
                ++playable;
                EXPECT_LE(std::uint64_t{r->offset} + r->length, file.size());
            }
        }
        EXPECT_EQ(playable, c.playable);
        EXPECT_EQ(vap->FindClip("b"), 1);
    }
}

TEST(PromptFile, ReadsWhatTheEditorWrote) {
    ScratchDir dir;
    RecordingUi ui;
    const std::string path = dir / "p.vap";
    ASSERT_EQ(kvo::VapCreate(path, 0, 0, ui), 1);
    WriteBytes(dir / "w.wav", WaveWith({4, 5, 6}));
    ASSERT_EQ(kvo::VapAppendClip(path, "main menu", dir / "w.wav", ui), 1);
    kvo::StdioFile* raw = new kvo::StdioFile(path, kvo::StdioFile::Mode::Read);
    auto vap = kvo::PromptFile::Open(std::unique_ptr<kvo::ByteReader>(raw));
    ASSERT_TRUE(vap);
    EXPECT_EQ(vap->FindClip("main menu"), 0);
    const auto range = vap->Range(0);
    ASSERT_TRUE(range);
    std::uint8_t audio[3] = {};
    EXPECT_EQ(vap->Reader().ReadAt(range->offset, audio, 3), 3u);
    EXPECT_EQ(Bytes(audio, audio + 3), (Bytes{4, 5, 6}));
}

}  // namespace
