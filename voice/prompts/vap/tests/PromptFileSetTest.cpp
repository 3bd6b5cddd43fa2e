#include <gtest/gtest.h>

#include <map>

#include "PromptFileSet.h"
#include "VapTestSupport.h"

namespace {

using namespace vaptest;
using kvo::VoiceFileKind;

// Files by full name; every open is recorded; a name marked locked fails
// with a sharing error instead of "missing".
class FakeOpener : public kvo::VoiceFileOpener {
public:
    Result Open(const std::string& path) override {
        opened.push_back(path);
        Result r;
        if (locked.count(path)) {
            r.error = 32;
            return r;
        }
        const auto it = files.find(path);
        if (it == files.end()) {
            r.error = 2;
            r.missing = true;
            return r;
        }
        r.file = std::make_unique<kvo::MemoryFile>(it->second);
        return r;
    }
    std::map<std::string, Bytes> files;
    std::map<std::string, bool> locked;
    std::vector<std::string> opened;
};

class PromptFileSet : public testing::Test {
protected:
    const kvo::VoiceDirs dirs{"c:\\v\\fr", "c:\\v", "c:\\sys"};
    const int french = 0, italian = 0;
    FakeOpener opener;
    kvo::PromptFileSet set;
};

TEST_F(PromptFileSet, EachNameKindAndLanguageOpensOnce) {
    opener.files["c:\\v\\fr\\kavoro.vap"] = FileByHand(200, {{"one", {1}}});
    opener.files["c:\\v\\fr\\hello.wav"] = WaveWith({1, 2, 3});

    kvo::PromptFile* a = set.Open("kavoro.vap", VoiceFileKind::Prompt, &french, dirs, opener);
    ASSERT_TRUE(a);
    EXPECT_EQ(set.Open("KAVORO.VAP", VoiceFileKind::Prompt, &french, dirs, opener), a);
    EXPECT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(a->Count(), 1u);

    kvo::PromptFile* other = set.Open("kavoro.vap", VoiceFileKind::Prompt, &italian, dirs, opener);
    EXPECT_NE(other, a) << "another language's record has its own copy";
    kvo::PromptFile* wave = set.Open("hello.wav", VoiceFileKind::Wave, &french, dirs, opener);
    ASSERT_TRUE(wave);
    EXPECT_TRUE(wave->IsWave());
    EXPECT_EQ(wave->Size(), 311u);
    EXPECT_EQ(set.Size(), 3u);

    set.Release(a);
    EXPECT_EQ(set.Size(), 2u);
    EXPECT_NE(set.Open("kavoro.vap", VoiceFileKind::Prompt, &french, dirs, opener), nullptr);
    EXPECT_EQ(opener.opened.size(), 4u) << "a released file is opened again";
    set.Release(other);
    set.Release(wave);
    set.Release(set.Open("kavoro.vap", VoiceFileKind::Prompt, &french, dirs, opener));
    EXPECT_EQ(set.Size(), 0u);
}

TEST_F(PromptFileSet, MissingFilesFallBackOtherFailuresDoNot) {
    opener.files["c:\\sys\\system.vap"] = FileByHand(200, {});
    kvo::PromptFileSet::Failure failure;
    EXPECT_TRUE(set.Open("system.vap", VoiceFileKind::Prompt, &french, dirs, opener, &failure));
    EXPECT_EQ(opener.opened, (std::vector<std::string>{"c:\\v\\fr\\system.vap", "c:\\v\\system.vap",
                                                       "c:\\sys\\system.vap"}));

    opener.opened.clear();
    opener.locked["c:\\v\\fr\\busy.vap"] = true;
    opener.files["c:\\sys\\busy.vap"] = FileByHand(200, {});
    EXPECT_FALSE(set.Open("busy.vap", VoiceFileKind::Prompt, &french, dirs, opener, &failure));
    EXPECT_EQ(failure.path, "c:\\v\\fr\\busy.vap");
    EXPECT_EQ(failure.error, 32);
    EXPECT_EQ(opener.opened.size(), 1u);

    EXPECT_FALSE(set.Open("none.vap", VoiceFileKind::Prompt, &french, dirs, opener, &failure));
    EXPECT_EQ(failure.path, "c:\\sys\\none.vap");
    EXPECT_EQ(failure.error, 2);

    Bytes damaged = FileByHand(2, {});
    PutWord(damaged, 8, 3);
    opener.files["c:\\v\\fr\\bad.vap"] = damaged;
    EXPECT_FALSE(set.Open("bad.vap", VoiceFileKind::Prompt, &french, dirs, opener, &failure));
    EXPECT_EQ(failure.path, "c:\\v\\fr\\bad.vap");
    EXPECT_EQ(failure.error, 0);
    EXPECT_EQ(set.Size(), 1u);
}

TEST_F(PromptFileSet, FilesOnDiskThroughStdio) {
    ScratchDir dir;
    WriteBytes(dir / "p.vap", FileByHand(200, {{"x", {7}}}));
    kvo::StdioVoiceFileOpener disk;
    kvo::PromptFileSet::Failure failure;
    const kvo::VoiceDirs here{dir.Path().string(), "", ""};
    kvo::PromptFile* p = set.Open("p.vap", VoiceFileKind::Prompt, nullptr, here, disk);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->FindClip("x"), 0);
    EXPECT_FALSE(set.Open("q.vap", VoiceFileKind::Prompt, nullptr, here, disk, &failure));
    EXPECT_NE(failure.error, 0);
}

}  // namespace
