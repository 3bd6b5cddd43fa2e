// The hook's persisted state against a real QNAV.INI in the Windows
// directory, real files and the real registry.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include "HookState.h"
#include "fw/testing/Files.h"

using namespace qnav::state;
using fw::testing::ReadBytes;
using fw::testing::WriteBytes;

namespace {

std::string Ini(const char* section, const char* key) {
    char buf[512];
    GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, "QNAV.INI");
    return buf;
}

class HookStateFile : public ::testing::Test {
protected:
    fw::testing::IniFileScope ini{"QNAV.INI"};
    fw::testing::TempDir dir{"qnavstate"};
    HINSTANCE strings = GetModuleHandleA(nullptr);
    std::string datPath = dir.File("qnavstate-test.dat");
};

TEST_F(HookStateFile, BookmarksLoadAndSaveThroughTheProfile) {
    WritePrivateProfileStringA("Quorvane", "Bookmark1", "12,4,c:\\src\\main.cpp", "QNAV.INI");
    WritePrivateProfileStringA("Quorvane", "Bookmark0", "3,1,", "QNAV.INI");   // empty path: ignored
    WritePrivateProfileStringA("Quorvane", "Bookmark5", "8,0,D:\\A.H", "QNAV.INI");
    HookProfile profile(strings);
    BookmarkSlots slots = profile.LoadBookmarks();
    ASSERT_TRUE(slots[0].has_value());
    EXPECT_EQ(*slots[0], (Bookmark{12, 4, "C:\\SRC\\MAIN.CPP"}));
    EXPECT_FALSE(slots[9].has_value());
    ASSERT_TRUE(slots[4].has_value());

    slots[4].reset();
    slots[9] = Bookmark{0, 7, "E:\\X.RC"};
    EXPECT_TRUE(profile.SaveBookmarks(slots));
    EXPECT_EQ(Ini("Quorvane", "Bookmark1"), "12,4,C:\\SRC\\MAIN.CPP");
    EXPECT_EQ(Ini("Quorvane", "Bookmark5"), "<none>") << "a cleared bookmark deletes its key";
    EXPECT_EQ(Ini("Quorvane", "Bookmark0"), "0,7,E:\\X.RC");
}

TEST_F(HookStateFile, ExtensionsAndFirstCall) {
    WritePrivateProfileStringA("Extensions", "TXT", "CPP", "QNAV.INI");
    WritePrivateProfileStringA("Extensions", "DOC", "NOTHING", "QNAV.INI");
    WritePrivateProfileStringA("Extensions", "I", "asm", "QNAV.INI");
    WritePrivateProfileStringA("Quorvane", "FirstCall", "1", "QNAV.INI");
    HookProfile profile(strings);
    auto map = profile.LoadExtensions();
    EXPECT_EQ(map.Entries().size(), 2u);
    EXPECT_EQ(qv::DocKindOf("A.TXT", &map), qv::kKindCpp);
    EXPECT_EQ(qv::DocKindOf("A.I", &map), qv::kKindAsm);
    profile.ClearFirstCall();
    EXPECT_EQ(Ini("Quorvane", "FirstCall"), "0");
}

TEST_F(HookStateFile, PasteBufferPathDefaultsBesideTheModule) {
    HookProfile profile(strings);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string expect(self);
    expect = expect.substr(0, expect.find_last_of('\\') + 1) + "QNAV.DAT";
    EXPECT_EQ(profile.PasteBufferPath(nullptr), expect);
    WritePrivateProfileStringA("Quorvane", "PasteBufferFile", datPath.c_str(), "QNAV.INI");
    EXPECT_EQ(profile.PasteBufferPath(nullptr), datPath);
}

TEST_F(HookStateFile, SavedFileReadsBackByteForByte) {
    PasteBuffers buffers;
    buffers[0] = MakePasteBuffer("int main()", 10, 11);
    buffers[3] = MakePasteBuffer("x", 1, 40);
    buffers[5] = PasteBuffer(5000, 'q');
    ASSERT_TRUE(SavePasteBufferFile(datPath, buffers));
    EXPECT_EQ(ReadBytes(datPath), EncodePasteBuffers(buffers));
    PasteBuffers back = LoadPasteBufferFile(datPath);
    EXPECT_EQ(back[0], buffers[0]);
    EXPECT_EQ(back[3], buffers[3]);
    EXPECT_TRUE(back[5].empty());
    EXPECT_FALSE(SavePasteBufferFile(dir.File("no-such-dir\\QNAV.DAT"), buffers));
}

TEST_F(HookStateFile, PersistedStateSavesOnlyChangesAndKeepsFailedOnes) {
    WritePrivateProfileStringA("Quorvane", "PasteBufferFile", datPath.c_str(), "QNAV.INI");
    // A damaged file: buffer 1 points past the end. Unchanged state never rewrites it.
    PasteBuffers original;
    original[0] = MakePasteBuffer("first", 5, 6);
    original[1] = MakePasteBuffer("second", 6, 7);
    auto damaged = EncodePasteBuffers(original);
    damaged[12] = 0xFF;
    WriteBytes(datPath, damaged);

    PersistedState state;
    state.Load(strings, nullptr);
    EXPECT_STREQ(state.Buffer(0).data(), "first");
    EXPECT_TRUE(state.Buffer(1).empty());
    state.Save();
    EXPECT_EQ(ReadBytes(datPath), damaged) << "nothing changed, nothing written";

    state.SetBuffer(2, MakePasteBuffer("third", 5, 6));
    state.SetBookmark(1, Bookmark{5, 6, "F.C"});
    state.Save();
    EXPECT_FALSE(state.BuffersChanged());
    EXPECT_FALSE(state.BookmarksChanged());
    PasteBuffers back = LoadPasteBufferFile(datPath);
    EXPECT_STREQ(back[0].data(), "first");
    EXPECT_STREQ(back[2].data(), "third");
    EXPECT_EQ(Ini("Quorvane", "Bookmark2"), "5,6,F.C");

    // Held open without sharing: the save fails and stays pending.
    HANDLE lock = CreateFileA(datPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    state.SetBuffer(3, MakePasteBuffer("fourth", 6, 7));
    state.Save();
    EXPECT_TRUE(state.BuffersChanged());
    CloseHandle(lock);
    state.Save();
    EXPECT_FALSE(state.BuffersChanged());
    EXPECT_STREQ(LoadPasteBufferFile(datPath)[3].data(), "fourth");
}

}  // namespace
