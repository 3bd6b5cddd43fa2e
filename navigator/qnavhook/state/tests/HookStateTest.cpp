// The hook's persisted state against a real QNAV.INI in the Windows
// directory, real files and the real registry.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <fstream>
#include "HookState.h"
#include "fw/Handle.h"
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

namespace {

// The name of a new file a save made beside `path` and left there, or "".
std::string NewFileLeftBeside(const std::string& path) {
    WIN32_FIND_DATAA found;
    fw::FindHandle leftover(FindFirstFileA((path.substr(0, path.find_last_of('\\') + 1) + "qnv*.tmp").c_str(), &found));
    return leftover ? found.cFileName : "";
}

// A save that failed keeps its changes pending through the next attachment
// (which loads the state again) until a save succeeds.
TEST_F(HookStateFile, ChangesThatFailedToSaveSurviveTheNextLoad) {
    WritePrivateProfileStringA("Quorvane", "PasteBufferFile", datPath.c_str(), "QNAV.INI");
    PasteBuffers saved;
    saved[0] = MakePasteBuffer("saved", 5, 6);
    ASSERT_TRUE(SavePasteBufferFile(datPath, saved));

    PersistedState state;
    state.Load(strings, nullptr);
    state.SetBuffer(1, MakePasteBuffer("unsaved", 7, 8));
    state.SetBookmark(2, Bookmark{1, 2, "G.C"});
    {
        // Held open without sharing, as another IDE reading it might: the save fails.
        fw::FileHandle held(CreateFileA(datPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        state.Save();
        ASSERT_TRUE(state.BuffersChanged());
    }
    EXPECT_EQ(LoadPasteBufferFile(datPath), saved) << "a failed save leaves the file as it was";
    EXPECT_EQ(NewFileLeftBeside(datPath), "") << "the new file of a failed save is left behind";
    state.Load(strings, nullptr);
    EXPECT_STREQ(state.Buffer(1).data(), "unsaved") << "the next attachment dropped the unsaved buffer";
    EXPECT_STREQ(state.Buffer(0).data(), "saved");
    EXPECT_TRUE(state.BuffersChanged());
    state.Save();
    EXPECT_FALSE(state.BuffersChanged());
    EXPECT_STREQ(LoadPasteBufferFile(datPath)[1].data(), "unsaved");
    EXPECT_EQ(Ini("Quorvane", "Bookmark3"), "1,2,G.C");
}

}  // namespace

namespace {

constexpr char kFullDiskRole[] = "QNAVSTATE_FULL_DISK";

// Runs `test` of this program again in a process whose files cannot grow past
// 4096 bytes (a full disk, as far as its writes go: a write stops short, the
// next one fails), with kFullDiskRole set. Wine starts Unix programs, so a
// shell sets the limit, and writes the run's exit code to `done`. That code,
// or -1 if the run never ended.
int RunOnAFullDisk(const char* test, const std::string& done) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return -1;
    auto unixPath = [&](const std::string& path) {
        std::wstring wide(path.begin(), path.end());
        char* name = unixName(wide.c_str());
        std::string out = name ? name : "";
        HeapFree(GetProcessHeap(), 0, name);
        return out;
    };
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    DeleteFileA(done.c_str());
    std::string command = "/bin/sh -c \"ulimit -f 8 && trap '' XFSZ && /usr/bin/wine '" + unixPath(self) +
                          "' --gtest_filter=" + test + " >/dev/null 2>&1; echo $? >'" + unixPath(done) + "'\"";
    SetEnvironmentVariableA(kFullDiskRole, "1");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA(kFullDiskRole, nullptr);
    if (!started) return -1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);   // a Unix program's handle does not wait for it
    int code = -1;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(50)) {
        std::ifstream in(done);
        if (in >> code) break;
    }
    DeleteFileA(done.c_str());
    return code;
}

bool OnAFullDisk() { return GetEnvironmentVariableA(kFullDiskRole, nullptr, 0) != 0; }

// The run on the full disk works on the files the starting run prepared.
class HookStateFullDisk : public HookStateFile {
protected:
    void SetUp() override {
        if (!OnAFullDisk()) HookStateFile::SetUp();
    }
    void TearDown() override {
        if (!OnAFullDisk()) HookStateFile::TearDown();
    }
};

// A save that runs out of disk leaves the buffers saved before as they were.
TEST_F(HookStateFullDisk, SaveKeepsTheFileSavedBefore) {
    if (OnAFullDisk()) {
        PersistedState state;
        state.Load(strings, nullptr);
        state.SetBuffer(0, PasteBuffer(4096, 'a'));
        state.SetBuffer(1, PasteBuffer(4096, 'b'));
        state.Save();
        EXPECT_TRUE(state.BuffersChanged()) << "the save failed and stays pending";
        return;
    }
    WritePrivateProfileStringA("Quorvane", "PasteBufferFile", datPath.c_str(), "QNAV.INI");
    PasteBuffers saved;
    saved[0] = MakePasteBuffer("zero", 4, 5);
    saved[9] = MakePasteBuffer("nine", 4, 5);
    ASSERT_TRUE(SavePasteBufferFile(datPath, saved));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "QNAV.INI");
    const int code = RunOnAFullDisk("HookStateFullDisk.SaveKeepsTheFileSavedBefore", datPath + ".done");
    if (code == -1) GTEST_SKIP() << "no Unix shell to limit a run's file size (not under Wine?)";
    EXPECT_EQ(code, 0) << "the run on the full disk failed its own checks";
    EXPECT_EQ(LoadPasteBufferFile(datPath), saved);
    EXPECT_EQ(NewFileLeftBeside(datPath), "") << "the new file of a failed save is left behind";
}

}  // namespace
