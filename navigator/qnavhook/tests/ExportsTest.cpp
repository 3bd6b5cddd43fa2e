// The hook library as the control program meets it: loaded by name, its two
// exports found under their decorated names, its data shared across processes.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "PeSection.h"
#include "fw/testing/Process.h"

namespace {

using GetDLLVersionFn = DWORD(WINAPI*)();
using QuorvaneProcFn = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);

template <class Fn>
Fn ProcAddress(HMODULE module, const char* name) {
    // Through a generic function pointer: FARPROC's own type is unrelated.
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct Library {
    HMODULE handle = LoadLibraryA("qnavhook.dll");
    ~Library() { if (handle) FreeLibrary(handle); }
};

DWORD RunProbe(const std::string& args) { return fw::testing::RunToEnd("SharedProbe.exe", args); }

TEST(HookExports, DecoratedNamesResolveAndAnswer) {
    Library lib;
    ASSERT_NE(lib.handle, nullptr) << GetLastError();
    auto version = ProcAddress<GetDLLVersionFn>(lib.handle, "_GetDLLVersion@0");
    auto proc = ProcAddress<QuorvaneProcFn>(lib.handle, "_QuorvaneProc@20");
    ASSERT_NE(version, nullptr);
    ASSERT_NE(proc, nullptr);
    EXPECT_EQ(GetProcAddress(lib.handle, "GetDLLVersion"), nullptr) << "only the decorated name is exported";

    EXPECT_EQ(version(), 0x4001u);
    EXPECT_EQ(proc(17, nullptr, 0, 0, 0), 1);
    EXPECT_EQ(proc(18, nullptr, 0, 0, 0), 1);
    EXPECT_EQ(proc(99, nullptr, 0, 0, 0), 0);
    EXPECT_EQ(proc(0xFFFFFFFF, nullptr, 0, 0, 0), 0);
}

TEST(HookExports, SharedSectionIsOneCopyAcrossProcesses) {
    Library lib;  // keeps the section mapped between the two probes
    ASSERT_NE(lib.handle, nullptr);
    auto [data, size] = FindSection(lib.handle, ".shared");
    ASSERT_NE(data, nullptr) << "no .shared section";
    auto* word = reinterpret_cast<volatile LONG*>(data);
    const LONG saved = *word;

    ASSERT_EQ(RunProbe("write 4711"), 0u);
    EXPECT_EQ(*word, 4711) << "a write in another process must show here";
    *word = 815;
    EXPECT_EQ(RunProbe("read"), 815u) << "a write here must show in another process";
    *word = saved;
}

}  // namespace
