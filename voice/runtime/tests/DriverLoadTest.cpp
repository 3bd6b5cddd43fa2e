// Choosing the voice interface: every outcome of loading the card's driver,
// the message the user sees for it, and what the system then runs with.
#include <gtest/gtest.h>

#include <set>

#include "DriverVoiceInterface.h"
#include "VoiceSystem.h"
#include "VoiceTestSupport.h"
#include "fw/ModulePath.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Process.h"

using MessageBoxes = fw::testing::MessageBoxLog;
using kvotest::Scenario;
using kvotest::SuiteIni;

namespace {

constexpr char kNoType[] =
    "No voicecard type configured in KVO32.INI.\r\nPut [VoiceCard] LoadDriver=0' in the KVO32.INI file to "
    "stop this message.";
constexpr char kExportMissing[] =
    "Could not load voice interface DLL.\r\nYou may have an out of date version of the voice interface library.";

std::set<std::string> ExportNames(HMODULE module) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exp = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exp->AddressOfNames);
    std::set<std::string> out;
    for (DWORD i = 0; i < exp->NumberOfNames; ++i) out.insert(reinterpret_cast<const char*>(base + names[i]));
    return out;
}

std::vector<std::string> Strings(std::initializer_list<const char*> texts) { return {texts.begin(), texts.end()}; }

}  // namespace

// The simulated card exports exactly the entry points the runtime resolves
// (and the broken build all but one), under their decorated names only.
TEST(DriverLoad, SimulatedCardExportsWhatTheRuntimeResolves) {
    std::set<std::string> wanted;
    for (int i = 0; i < kvo::kDriverEntryCount; ++i) wanted.insert(kvo::DriverEntryName(i));
    ASSERT_EQ(wanted.size(), 24u);
    for (const char* folder : {"", "broken\\"}) {
        HMODULE m = LoadLibraryExA((fw::ModuleDirectory() + folder + "kvorht32.dll").c_str(), nullptr,
                                   DONT_RESOLVE_DLL_REFERENCES);
        ASSERT_NE(m, nullptr) << folder << " error " << GetLastError();
        auto want = wanted;
        if (*folder) want.erase("_getDTMFDigit@8");
        EXPECT_EQ(ExportNames(m), want) << "variant '" << folder << "'";
        FreeLibrary(m);
    }
}

TEST(DriverLoad, CardTypeDecidesBeforeAnyLibrary) {
    const struct { const char* type; long result; std::vector<std::string> messages; } cases[] = {
        {nullptr, -1, Strings({kNoType})},
        {"NONE", 0, {}},
        {"VOXBOARD", -2, Strings({"Unknown voice card VOXBOARD."})},
    };
    for (const auto& c : cases) {
        SuiteIni ini;
        if (c.type) ini.Set("VoiceCard", "Type", c.type);
        MessageBoxes boxes;
        {
            kvo::CDriverVoiceInterface probe(nullptr);
            EXPECT_EQ(probe.LoadResult(), c.result) << (c.type ? c.type : "(empty)");
        }
        EXPECT_EQ(kvo::OpenDriverInterface(nullptr), nullptr);
        auto shown = boxes.Texts();
        // The constructor's own message shows up once per attempt.
        std::vector<std::string> want;
        if (c.result == -2) want = {c.messages[0], c.messages[0]};
        else want = c.messages;
        EXPECT_EQ(shown, want) << (c.type ? c.type : "(empty)");
        EXPECT_EQ(GetModuleHandleA("kvorht32.dll"), nullptr) << "no library for " << (c.type ? c.type : "(empty)");
    }
}

TEST(DriverLoad, NoneLeavesTheNoCardInterface) {
    SuiteIni ini;
    ini.Set("VoiceCard", "Type", "NONE");
    MessageBoxes boxes;
    kvo::LoadVoiceSystem(nullptr);
    ASSERT_NE(kvo::VoiceInterface(), nullptr);
    EXPECT_EQ(kvo::VoiceInterface()->IsVoiceCard(), 0);
    EXPECT_EQ(kvo::NumberOfLines(), 0);
    EXPECT_TRUE(kvo::TestOnly());
    EXPECT_TRUE(kvo::NoSoundCard());
    EXPECT_TRUE(boxes.Texts().empty());
    // The no-card interface lets a flow run without doing anything.
    EXPECT_EQ(kvo::VoiceInterface()->OffHook(0), 1);
    EXPECT_EQ(kvo::VoiceInterface()->ReleaseChannel(0), 1);
    EXPECT_EQ(kvo::VoiceInterface()->SeizeChannel(0), 0);
    kvo::UnloadVoiceSystem();
}

TEST(DriverLoad, CardWithSixtyChannelsGivesFortyEight) {
    SuiteIni ini;
    ini.Set("VoiceCard", "Type", "RHETOREX");
    ini.Set("Test", "UseSoundCard", "1");
    Scenario card("channels 60\n");
    MessageBoxes boxes;
    kvo::LoadVoiceSystem(nullptr);
    ASSERT_NE(kvo::VoiceInterface(), nullptr);
    EXPECT_EQ(kvo::VoiceInterface()->IsVoiceCard(), 1);
    EXPECT_EQ(kvo::NumberOfLines(), 48);
    EXPECT_FALSE(kvo::TestOnly());
    EXPECT_EQ(ini.Get("Test", "UseSoundCard"), "0") << "with only the card, test calls go to the card";
    EXPECT_TRUE(boxes.Texts().empty());

    // A second driver object finds the library already there.
    const HMODULE loaded = GetModuleHandleA("kvorht32.dll");
    ASSERT_NE(loaded, nullptr);
    kvo::CDriverVoiceInterface second(nullptr);
    EXPECT_EQ(second.LoadResult(), 48);
    EXPECT_EQ(GetModuleHandleA("kvorht32.dll"), loaded);
}

TEST(DriverLoad, CardWithoutChannelsUnloadsTheLibrary) {
    SuiteIni ini;
    ini.Set("VoiceCard", "Type", "RHETOREX");
    MessageBoxes boxes;
    {
        Scenario card("channels 0\n");
        EXPECT_EQ(kvo::OpenDriverInterface(nullptr), nullptr);
        EXPECT_EQ(boxes.Texts(), Strings({"Could not connect to voice system\nDid you load the drivers?"}));
        EXPECT_EQ(GetModuleHandleA("kvorht32.dll"), nullptr);
        kvo::LoadVoiceSystem(nullptr);
        EXPECT_EQ(kvo::NumberOfLines(), 0);
        EXPECT_EQ(kvo::VoiceInterface()->IsVoiceCard(), 0);
        EXPECT_TRUE(kvo::TestOnly());
    }
    // Fixing the card and starting again loads the library anew.
    Scenario fixed("channels 2\n");
    auto driver = kvo::OpenDriverInterface(nullptr);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->ChannelCount(), 2);
}

TEST(DriverLoad, LibraryLackingAnExportIsRefused) {
    if (GetModuleHandleA("kvorht32.dll")) GTEST_SKIP() << "needs a process that has not loaded the driver yet";
    // A library of the same name already in the process is what LoadLibrary
    // by name returns.
    const HMODULE broken = LoadLibraryA((fw::ModuleDirectory() + "broken\\kvorht32.dll").c_str());
    ASSERT_NE(broken, nullptr) << GetLastError();
    SuiteIni ini;
    ini.Set("VoiceCard", "Type", "RHETOREX");
    Scenario card("channels 4\n");
    MessageBoxes boxes;
    {
        kvo::CDriverVoiceInterface probe(nullptr);
        EXPECT_EQ(probe.LoadResult(), -3);
    }
    EXPECT_EQ(kvo::OpenDriverInterface(nullptr), nullptr);
    EXPECT_EQ(boxes.Texts(), Strings({kExportMissing}));
    EXPECT_EQ(GetModuleHandleA("kvorht32.dll"), broken) << "the library stays loaded";
    FreeLibrary(broken);
}

// Runs in a copy of this program in a folder without the driver.
TEST(DriverLoad, LibraryMissingInAnEmptyFolder) {
    char childMarker[MAX_PATH];
    if (GetEnvironmentVariableA("KVORT_CHILD", childMarker, sizeof childMarker)) {
        MessageBoxes boxes;
        EXPECT_EQ(kvo::OpenDriverInterface(nullptr), nullptr);
        EXPECT_EQ(boxes.Texts(), Strings({"Cannot find kvorht32.dll."}));
        if (!HasFailure()) CloseHandle(CreateFileA(childMarker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        return;
    }
    SuiteIni ini;
    ini.Set("VoiceCard", "Type", "RHETOREX");
    fw::testing::TempDir dir("nodriver");
    const std::string copy = dir.File("probe.exe");
    ASSERT_TRUE(CopyFileA(fw::ModuleFileName().c_str(), copy.c_str(), FALSE)) << GetLastError();

    const std::string marker = dir.File("child_ok");
    SetEnvironmentVariableA("KVORT_CHILD", marker.c_str());
    fw::testing::Process child;
    const bool started = child.Start(copy, "--gtest_filter=DriverLoad.LibraryMissingInAnEmptyFolder", dir.Path());
    SetEnvironmentVariableA("KVORT_CHILD", nullptr);
    ASSERT_TRUE(started);
    EXPECT_EQ(child.WaitExit(30000), 0u) << "the copy without the driver failed its checks";
    EXPECT_NE(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the copy did not run its checks";
}
