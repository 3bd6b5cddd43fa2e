#include <gtest/gtest.h>

#include <filesystem>

#include "VapEditor.h"
#include "VapTestSupport.h"

namespace {

using namespace vaptest;
using kvo::VapEditorUi;
namespace fs = std::filesystem;

class VapEditor : public testing::Test {
protected:
    // A new file with `n` clips "clip-i", each with its own audio of 40 + i bytes.
    std::string FileWithClips(int n) {
        const std::string path = dir / "greet.vap";
        EXPECT_EQ(kvo::VapCreate(path, 0, 0, ui), 1);
        for (int i = 0; i < n; ++i) {
            WriteBytes(dir / "in.wav", WaveWith(AudioFor(i, 40 + i)));
            EXPECT_EQ(kvo::VapAppendClip(path, "clip-" + std::to_string(i), dir / "in.wav", ui), i + 1);
        }
        return path;
    }
    void ExpectClipsByHand(const Bytes& file, int n) {
        ASSERT_EQ(Word(file, 8), static_cast<std::uint32_t>(n));
        for (int i = 0; i < n; ++i) {
            const HandClip clip = ClipByHand(file, i);
            EXPECT_EQ(clip.name, "clip-" + std::to_string(i));
            EXPECT_EQ(clip.audio, AudioFor(i, 40 + i)) << "clip " << i;
        }
    }

    ScratchDir dir;
    RecordingUi ui;
};

TEST_F(VapEditor, NewFileIsHeaderAndTwoHundredEmptySlots) {
    struct Case { int format, system; std::uint32_t rate; } cases[] = {
        {0, 0, 8000}, {1, 0, 8000}, {2, 0, 6000}, {3, 0, 6000}, {-1, 3, 6000}, {-1, 1, 8000},
    };
    for (const Case& c : cases) {
        const std::string path = dir / ("f" + std::to_string(c.format) + std::to_string(c.system) + ".vap");
        ASSERT_EQ(kvo::VapCreate(path, c.format, c.system, ui), 1);
        const Bytes file = ReadBytes(path);
        ASSERT_EQ(file.size(), 2424u);
        EXPECT_EQ(Word(file, 0), 200u);
        EXPECT_EQ(Word(file, 4), c.rate) << "format " << c.format << " system " << c.system;
        for (std::size_t at = 8; at < file.size(); at += 4) ASSERT_EQ(Word(file, at), 0u) << "at " << at;
    }
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(VapEditor, CreatingOverAnExistingFileAsksFirst) {
    const std::string path = dir / "x.vap";
    WriteBytes(path, {1, 2, 3});
    ui.answers = {VapEditorUi::Answer::No, VapEditorUi::Answer::Yes};
    EXPECT_EQ(kvo::VapCreate(path, 0, 0, ui), -1);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(kvo::VapCreate(path, 0, 0, ui), 1);
    EXPECT_EQ(ReadBytes(path).size(), 2424u);
    EXPECT_EQ(ui.asked, std::vector<std::string>(2, "this file already exists: do you want to overwrite it?"));
}

TEST_F(VapEditor, AppendWritesNameThenAudioAfterTheWaveHeader) {
    const std::string path = dir / "greet.vap";
    ASSERT_EQ(kvo::VapCreate(path, 0, 0, ui), 1);
    WriteBytes(dir / "hello.wav", WaveWith({10, 11, 12, 13}));
    EXPECT_EQ(kvo::VapAppendClip(path, "hello", dir / "hello.wav", ui), 1);
    EXPECT_EQ(kvo::VapAppendClip(path, "silent", "", ui), 2);

    const Bytes file = ReadBytes(path);
    EXPECT_EQ(Word(file, 8), 2u);
    // Clip 0: name at the old end (2424), audio right after its NUL.
    EXPECT_EQ(Word(file, 24), 2430u);
    EXPECT_EQ(Word(file, 28), 4u);
    EXPECT_EQ(Word(file, 32), 2424u);
    EXPECT_EQ(std::string(file.begin() + 2424, file.begin() + 2430), std::string("hello\0", 6));
    EXPECT_EQ(Bytes(file.begin() + 2430, file.begin() + 2434), (Bytes{10, 11, 12, 13}));
    // Clip 1 has a name and no audio.
    EXPECT_EQ(Word(file, 44), 2434u);
    EXPECT_EQ(Word(file, 36), 2441u);
    EXPECT_EQ(Word(file, 40), 0u);
    EXPECT_EQ(file.size(), 2441u);
    EXPECT_TRUE(ui.shown.empty()) << ui.shown.front();
}

TEST_F(VapEditor, AWaveShorterThanItsHeaderGivesAnEmptyClip) {
    const std::string path = dir / "greet.vap";
    ASSERT_EQ(kvo::VapCreate(path, 0, 0, ui), 1);
    WriteBytes(dir / "short.wav", Bytes(100, 1));
    EXPECT_EQ(kvo::VapAppendClip(path, "short", dir / "short.wav", ui), 1);
    EXPECT_EQ(Word(ReadBytes(path), 28), 0u);
}

TEST_F(VapEditor, NamesAreStoredAsReadersSeeThem) {
    const std::string path = dir / "greet.vap";
    ASSERT_EQ(kvo::VapCreate(path, 0, 0, ui), 1);
    EXPECT_EQ(kvo::VapAppendClip(path, std::string(250, 'n'), "", ui), 1);
    EXPECT_EQ(ClipByHand(ReadBytes(path), 0).name, std::string(199, 'n'));
}

TEST_F(VapEditor, TheTwoHundredAndFirstClipDoublesTheIndexAndKeepsEveryClip) {
    const std::string path = FileWithClips(200);
    const Bytes before = ReadBytes(path);
    // A backup left from an earlier rebuild is replaced, not an obstacle.
    WriteBytes(dir / "greet.va~", {9, 9, 9});

    WriteBytes(dir / "in.wav", WaveWith(AudioFor(200, 240)));
    ASSERT_EQ(kvo::VapAppendClip(path, "clip-200", dir / "in.wav", ui), 201);
    EXPECT_TRUE(ui.shown.empty()) << ui.shown.front();

    const Bytes after = ReadBytes(path);
    EXPECT_EQ(Word(after, 0), 400u);
    EXPECT_EQ(Word(after, 4), 8000u);
    ExpectClipsByHand(after, 201);
    // Unused slots of the doubled index are zero.
    for (std::size_t at = 24 + 12 * 201; at < 24 + 12 * 400; at += 4) ASSERT_EQ(Word(after, at), 0u) << at;
    EXPECT_EQ(ReadBytes(dir / "greet.va~"), before);
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) files += entry.path().extension() == ".tmp";
    EXPECT_EQ(files, 0u) << "no temporary file is left behind";
}

TEST_F(VapEditor, ARebuildThatCannotMakeItsBackupChangesNothing) {
    const std::string path = FileWithClips(200);
    const Bytes before = ReadBytes(path);
    // A backup name that cannot be replaced: a folder with something in it.
    fs::create_directories(dir.Path() / "greet.va~" / "keep");
    EXPECT_EQ(kvo::VapAppendClip(path, "clip-200", "", ui), -1);
    EXPECT_EQ(ReadBytes(path), before);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].rfind("cannot write file, error code ", 0), 0u) << ui.shown[0];
}

TEST_F(VapEditor, AFileWithoutIndexRoomIsRebuiltBeforeTheSlotIsWritten) {
    // Capacity 0: the old editor wrote the slot over the first clip's data.
    Bytes file = FileByHand(0, {});
    const Bytes junk = AudioFor(7, 30);
    file.insert(file.end(), junk.begin(), junk.end());
    WriteBytes(dir / "zero.vap", file);

    EXPECT_EQ(kvo::VapAppendClip(dir / "zero.vap", "first", "", ui), 1);
    const Bytes after = ReadBytes(dir / "zero.vap");
    EXPECT_EQ(Word(after, 0), 200u);
    EXPECT_EQ(ClipByHand(after, 0).name, "first");
    EXPECT_EQ(ReadBytes(dir / "zero.va~"), file);
}

TEST_F(VapEditor, ReplaceRenamesOrReRecordsAndLeavesOldBytes) {
    const std::string path = FileWithClips(3);
    const std::size_t size = ReadBytes(path).size();

    EXPECT_EQ(kvo::VapReplaceClip(path, "renamed", 1, "", ui), 0);
    Bytes file = ReadBytes(path);
    EXPECT_EQ(ClipByHand(file, 1).name, "renamed");
    EXPECT_EQ(ClipByHand(file, 1).audio, AudioFor(1, 41)) << "a rename keeps the audio";
    EXPECT_EQ(file.size(), size + 8);

    WriteBytes(dir / "new.wav", WaveWith({5, 6}));
    EXPECT_EQ(kvo::VapReplaceClip(path, "again", 2, dir / "new.wav", ui), 0);
    file = ReadBytes(path);
    EXPECT_EQ(ClipByHand(file, 2).name, "again");
    EXPECT_EQ(ClipByHand(file, 2).audio, (Bytes{5, 6}));
    EXPECT_EQ(Word(file, 8), 3u);
    EXPECT_EQ(ClipByHand(file, 0).audio, AudioFor(0, 40));

    EXPECT_EQ(kvo::VapReplaceClip(path, "x", 3, "", ui), -1);
    EXPECT_EQ(ReadBytes(path), file);
}

TEST_F(VapEditor, DeleteRenumbersLaterClipsAndKeepsTheBytes) {
    const std::string path = FileWithClips(10);
    const std::size_t size = ReadBytes(path).size();
    EXPECT_EQ(kvo::VapDeleteClip(path, 3, ui), 9);
    const Bytes file = ReadBytes(path);
    EXPECT_EQ(file.size(), size);
    EXPECT_EQ(Word(file, 8), 9u);
    EXPECT_EQ(ClipByHand(file, 2).name, "clip-2");
    EXPECT_EQ(ClipByHand(file, 3).name, "clip-4");
    EXPECT_EQ(ClipByHand(file, 8).name, "clip-9");
    EXPECT_EQ(kvo::VapDeleteClip(path, 9, ui), -1);
    EXPECT_EQ(kvo::VapDeleteClip(path, 8, ui), 8);
}

TEST_F(VapEditor, ListFiltersWithoutCaseAndKeepsClipNumbers) {
    const Bytes file = FileByHand(10, {{"Welcome", {1}}, {"", {2}}, {"goodbye", {3}}, {"WELCOME back", {4}}});
    WriteBytes(dir / "l.vap", file);
    auto items = kvo::VapListClips(dir / "l.vap", "welcome", ui);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ((*items)[0].name, "Welcome");
    EXPECT_EQ((*items)[1].clip, 3u);

    items = kvo::VapListClips(dir / "l.vap", "", ui);
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 4u);
    EXPECT_EQ((*items)[1].name, "clip 1");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(VapEditor, MoreThanFiveThousandEntriesAreNotListed) {
    Bytes file = FileByHand(5001, {});
    PutWord(file, 8, 5001);
    kvo::MemoryFile memory(file);
    EXPECT_FALSE(kvo::VapListClips(memory, "big.vap", "", ui));
    EXPECT_EQ(ui.shown, std::vector<std::string>{"more than 5000 entries in this file"});
}

// Damaged and truncated files: the list, a rebuild and an append report or
// skip what is wrong and never read or write outside the file.
TEST_F(VapEditor, DamagedFilesAreReportedNotTrusted) {
    const Bytes good = FileByHand(4, {{"a", {1, 2}}, {"b", {3, 4}}, {"c", {5}}});
    struct Case {
        const char* note;
        std::function<void(Bytes&)> damage;
        int listed;           // -1: the file is refused
        const char* message;  // start of the first message
    } cases[] = {
        {"intact", [](Bytes&) {}, 3, nullptr},
        {"header cut short", [](Bytes& f) { f.resize(20); }, -1, "cannot open file "},
        {"count beyond capacity", [](Bytes& f) { PutWord(f, 8, 5); }, -1, "'"},
        {"count beyond the file", [](Bytes& f) { PutWord(f, 0, 900); PutWord(f, 8, 900); }, -1, "'"},
        {"audio past the end", [](Bytes& f) { PutWord(f, 24 + 12 + 4, 1000); }, 2,
         "entry 1 has an invalid data pointer\n\r "},
        {"offset plus length wraps at 32 bits", [](Bytes& f) {
             PutWord(f, 24 + 24, 0xFFFFFFF0u); PutWord(f, 24 + 28, 0x20); }, 2, "entry 2 has an invalid data pointer"},
        {"name offset past the end", [](Bytes& f) { PutWord(f, 24 + 8, 0x7FFFFFF0u); }, 3, nullptr},
        {"name without its NUL at the end", [](Bytes& f) {
             const std::uint32_t at = static_cast<std::uint32_t>(f.size());
             f.insert(f.end(), 300, 'z');
             PutWord(f, 24 + 8, at); }, 3, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        Bytes file = good;
        c.damage(file);
        ui.shown.clear();
        kvo::MemoryFile memory(file);
        const auto items = kvo::VapListClips(memory, "d.vap", "", ui);
        EXPECT_EQ(items ? static_cast<int>(items->size()) : -1, c.listed);
        if (c.message) {
            ASSERT_FALSE(ui.shown.empty());
            EXPECT_EQ(ui.shown[0].rfind(c.message, 0), 0u) << ui.shown[0];
        } else {
            EXPECT_TRUE(ui.shown.empty()) << ui.shown.front();
        }
        if (items) {
            for (const auto& item : *items) EXPECT_LE(item.name.size(), 199u);
        }

        // A rebuild keeps exactly the listed clips, with their audio.
        kvo::MemoryFile rebuilt;
        const bool ok = kvo::VapRebuild(memory, "d.vap", rebuilt, ui);
        EXPECT_EQ(ok, c.listed >= 0);
        if (ok) {
            const Bytes out = rebuilt.Bytes();
            EXPECT_EQ(Word(out, 0), 200u) << "twice 4, but never below a new file's 200";
            ASSERT_EQ(Word(out, 8), static_cast<std::uint32_t>(c.listed));
            for (int i = 0; i < c.listed; ++i) {
                const HandClip clip = ClipByHand(out, i);
                EXPECT_EQ(clip.name, (*items)[i].name);
                EXPECT_EQ(clip.audio, ClipByHand(file, (*items)[i].clip).audio);
            }
        }

        // The editor's writers refuse the refused files and leave them alone.
        WriteBytes(dir / "d.vap", file);
        if (c.listed < 0) {
            EXPECT_EQ(kvo::VapAppendClip(dir / "d.vap", "new", "", ui), -1);
            EXPECT_EQ(kvo::VapDeleteClip(dir / "d.vap", 0, ui), -1);
            EXPECT_EQ(ReadBytes(dir / "d.vap"), file);
        }
    }
}

TEST_F(VapEditor, OpenAndWriteFailuresShowTheirMessages) {
    EXPECT_EQ(kvo::VapAppendClip(dir / "missing.vap", "x", "", ui), -1);
    const std::string path = FileWithClips(1);
    EXPECT_EQ(kvo::VapAppendClip(path, "x", dir / "missing.wav", ui), -1);
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].rfind("cannot open file " + (dir / "missing.vap") + ", error code ", 0), 0u)
        << ui.shown[0];
    EXPECT_EQ(ui.shown[1].rfind("cannot open file " + (dir / "missing.wav") + ", error code ", 0), 0u)
        << ui.shown[1];
    EXPECT_EQ(Word(ReadBytes(path), 8), 1u);
}

TEST_F(VapEditor, SystemPromptFilesAreChangedOnlyAfterYes) {
    ui.answers = {VapEditorUi::Answer::Cancel, VapEditorUi::Answer::Yes, VapEditorUi::Answer::No};
    EXPECT_FALSE(kvo::ConfirmVapChange("SYSTEM.VAP", ui));
    EXPECT_TRUE(kvo::ConfirmVapChange("c:\\voice\\record.vap", ui));
    EXPECT_FALSE(kvo::ConfirmVapChange("PlayMsgs.vap", ui));
    EXPECT_TRUE(kvo::ConfirmVapChange("greet.vap", ui));
    ASSERT_EQ(ui.asked.size(), 3u);
    EXPECT_EQ(ui.asked[0], "Do you really want to change this system phrase file SYSTEM.VAP?");
}

}  // namespace
