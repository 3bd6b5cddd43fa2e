// qnav.exe as a user meets it: real processes, real windows, the real hook
// library, QNAV.INI in the Windows directory and the IDE's registry keys.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>
#include "ColorPalette.h"
#include "IniValues.h"
#include "IdeControl.h"
#include "PeSection.h"
#include "QuorvaneProtocol.h"
#include "SharedState.h"
#include "fw/ModulePath.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Files.h"
#include "fw/testing/Process.h"
#include "fw/testing/Wait.h"
#include "fw/testing/Windows.h"

using fw::testing::AnswerMessageBox;
using fw::testing::Describe;
using fw::testing::IniFileScope;
using fw::testing::Process;
using fw::testing::TopLevelWindows;
using fw::testing::WaitTopLevelWindow;
using fw::testing::WaitUntil;
using fw::testing::WindowText;

namespace {

constexpr int IDC_FILETYPES = 1999, IDC_ITEMS = 2000, IDC_RESTORE = 2001, IDC_FIRSTCOLOR = 2002,
              IDC_MENUCOLORS = 2023, IDC_RESTOREDEFAULT = 2024;
constexpr int IDC_CCOMMENTS = 1018, IDC_CONTINUE = 400, ID_DEFAULT_HELP = 0xE147;
constexpr int IDC_OPTIONS = 401, IDC_COLORS = 402, IDC_FONT = 403, IDC_QUIT = 404, IDC_ITEMCOUNT = 1012;
// Main window class of the stand-in IDE playing Developer Studio.
constexpr char kIdeFrameClass[] = "Afx:400000:8:10011:0:1a3e";
constexpr char kIdeRoot[] = "Software\\Microsoft\\Developer";
// The other kind's keys: a version left there by another test is refused.
constexpr char kOtherIdeRoot[] = "Software\\Microsoft\\Visual C++ 2.0";


bool PutClipboardText(const std::string& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (mem) {
        std::memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) {
            GlobalFree(mem);
            mem = nullptr;
        }
    }
    CloseClipboard();
    return mem != nullptr;
}

// The hook library as the test's window onto the shared state.
class HookProbe {
public:
    HookProbe() : module_(LoadLibraryA(fw::BesideModule("qnavhook.dll").c_str())) {
        proc_ = fw::ProcAddress<Proc>(module_.Get(), "_QuorvaneProc@20");
        if (module_) shared_ = reinterpret_cast<const qnav::SharedHookState*>(FindSection(module_.Get(), ".shared").first);
    }
    // Attached IDE threads, 0 when none.
    DWORD AttachedThreads() const {
        DWORD threads = 0;
        return proc_ && proc_(qnav::QP_QUERYATTACHED, nullptr, 0, reinterpret_cast<LPARAM>(&threads), 0) ? threads : 0;
    }
    bool Attached(HWND frame) const {
        if (!shared_) return false;
        for (const auto& slot : shared_->slots)
            if (slot.frame == frame && slot.inUse && slot.attached) return true;
        return false;
    }
    const qnav::HookSettings& Settings() const { return shared_->settings; }
    bool Loaded() const { return proc_ && shared_; }
    // For a failed count: each slot in use, its frame's process and program,
    // and the threads counted for it.
    std::string Slots() const {
        std::string out = "slots in use:\n";
        if (shared_)
            for (const auto& slot : shared_->slots)
                if (slot.inUse)
                    out += Describe({slot.frame}) + "    attached " + std::to_string(slot.attached) + ", threads " +
                           std::to_string(slot.threadCount) + "\n";
        return out;
    }

private:
    using Proc = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);
    fw::Module module_;
    Proc proc_ = nullptr;
    const qnav::SharedHookState* shared_ = nullptr;
};

class QnavProgram : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kIdeRoot);
        SHDeleteKeyA(HKEY_CURRENT_USER, kOtherIdeRoot);
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kIdeRoot) + "\\General").c_str(), 0, nullptr, 0,
                                  KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("4.0"), 4);
        RegCloseKey(key);
    }
    void TearDown() override {
        qnav.Kill();
        ide.Kill();
        SHDeleteKeyA(HKEY_CURRENT_USER, kIdeRoot);
    }
    std::string Ini(const char* section, const char* key) { return ini.Get(section, key, "<none>"); }
    void PutIni(const char* section, const char* key, const char* value) { ini.Set(section, key, value); }
    // The value once it equals `expected` (the other process stores it after
    // its dialog has gone), or whatever it is after waiting.
    std::string IniBecomes(const char* section, const char* key, const std::string& expected) {
        std::string value;
        WaitUntil([&] { return (value = Ini(section, key)) == expected; });
        return value;
    }
    HWND StartQnav(const std::string& arguments = "") {
        if (!qnav.Start("qnav.exe", arguments)) return nullptr;
        return qnav.WaitWindow("QNAV");
    }
    HWND OpenDialog(HWND main, int command, const char* caption) {
        PostMessageA(main, WM_COMMAND, command, 0);
        return qnav.WaitWindow("#32770", caption);
    }
    // Everything posted to `main` before this has been handled once it
    // returns: the minimise posted last has taken effect.
    bool Settle(HWND main) {
        PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return WaitUntil([&] { return IsIconic(main) != FALSE; });
    }
    HWND StartIde() {
        return ide.Start("ide.exe") ? ide.WaitWindow(kIdeFrameClass) : nullptr;
    }
    // The IDE, then qnav attaching to it, then `threads` IDE threads that
    // start with the hook library mapped (only those count as attached).
    void StartAttached(HWND& frame, HWND& main, DWORD threads) {
        frame = StartIde();
        ASSERT_NE(frame, nullptr);
        main = StartQnav();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitAttached(frame));
        for (DWORD i = 0; i < threads; ++i) AskIde(frame, ide::kQueryStartThread);
        ASSERT_TRUE(WaitUntil([&] { return probe.AttachedThreads() == threads; }))
            << probe.AttachedThreads() << "\n" << probe.Slots();
    }
    bool WaitAttached(HWND frame) {
        return WaitUntil([&] { return probe.Attached(frame); }, 10000);
    }
    static LRESULT AskIde(HWND frame, WPARAM query) {
        static const UINT message = RegisterWindowMessageA(ide::kQueryMessageName);
        return SendMessageA(frame, message, query, 0);
    }

    IniFileScope ini{"QNAV.INI"};   // before the programs: it outlives them
    Process qnav, ide;
    HookProbe probe;
};

TEST_F(QnavProgram, StartsShownAndQuitsCleanly) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(WindowText(main), "Quorvane");
    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    EXPECT_EQ(qnav.WaitExit(5000), 0u);
    EXPECT_EQ(Ini("MenuOptions", "Uninstall"), "0,0,7,0") << "menu options stored on the way out";
    EXPECT_NE(Ini("Quorvane", "WindowPosX"), "<none>");
}

TEST_F(QnavProgram, SecondStartBringsTheFirstBackAndEnds) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
    Process second;
    ASSERT_TRUE(second.Start("qnav.exe"));
    EXPECT_EQ(second.WaitExit(5000), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main); })) << "the first instance is restored";
    const auto windows = TopLevelWindows(second.Id(), "QNAV");
    EXPECT_TRUE(windows.empty()) << Describe(windows);
}

TEST_F(QnavProgram, StartupModeWindowStates) {
    struct Case {
        const char* firstCall;
        const char* hideIcon;
        const char* arguments;
        bool visible, iconic;
    };
    const Case cases[] = {
        {"0", "1", "/startup", false, false},
        {"0", "0", "/startup", true, true},
        {"1", "1", "/startup", true, false},
        {"0", "1", "/startup x", true, false},   // only the exact argument selects start-up mode
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("FirstCall ") + c.firstCall + " HideIcon " + c.hideIcon + " " + c.arguments);
        PutIni("Quorvane", "FirstCall", c.firstCall);
        PutIni("Quorvane", "HideIcon", c.hideIcon);
        HWND main = StartQnav(c.arguments);
        ASSERT_NE(main, nullptr);
        // Start waited until qnav was idle, so its window is in its first state.
        EXPECT_TRUE(WaitUntil([&] {
            return (IsWindowVisible(main) != FALSE) == c.visible && (IsIconic(main) != FALSE) == c.iconic;
        })) << "visible " << IsWindowVisible(main) << " iconic " << IsIconic(main);
        PostMessageA(main, qnav::QNM_SHOWCONTROL, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }));
        PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
        EXPECT_EQ(qnav.WaitExit(5000), 0u);
    }
}

TEST_F(QnavProgram, OptionsItemCountIsClampedAndValidated) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND options = OpenDialog(main, IDC_OPTIONS, "Options");
    ASSERT_NE(options, nullptr);
    HWND edit = GetDlgItem(options, IDC_ITEMCOUNT);
    EXPECT_EQ(WindowText(edit), "24");
    auto type = [&](const char* keys) {
        PostMessageA(options, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        for (const char* k = keys; *k; ++k) PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(*k), 1);
    };
    auto leave = [&] { PostMessageA(options, WM_NEXTDLGCTL, 0, FALSE); };
    auto shows = [&](const char* text) { return WaitUntil([&] { return WindowText(edit) == text; }); };

    type("3x");   // letters never reach the field
    ASSERT_TRUE(shows("3"));
    leave();
    EXPECT_TRUE(shows("5"));

    type("150");
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane"), "Please enter an integer between 1 and 99.");
    leave();
    EXPECT_TRUE(shows("99"));

    // A number too long for an integer is still "from 99 up" when the field is left.
    type("");
    ASSERT_TRUE(PutClipboardText("123456789012"));
    PostMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane"), "Please enter an integer between 1 and 99.");
    leave();
    EXPECT_TRUE(shows("99")) << WindowText(edit);

    type("\b");
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane"), "Please enter an integer.");
    type("7");
    leave();
    EXPECT_TRUE(shows("7"));

    PostMessageA(options, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(options); }));
    ASSERT_EQ(IniBecomes("ParserOptions", "ShowProcAttributes", "1"), "1");   // the last key stored
    EXPECT_EQ(Ini("Quorvane", "ItemCount"), "7");
}

TEST_F(QnavProgram, SettingsDialogsCarryTheirExactTexts) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    struct Control { int id; const char* text; };
    struct DialogCase { int command; const char* caption; std::vector<Control> controls; };
    const DialogCase dialogs[] = {
        {IDC_OPTIONS, "Options",
         {{1010, "Hide Quorvane Icon"}, {2019, "Right Mouse Button"}, {2020, "Shift+Right Mouse Button"},
          {1017, "C++"}, {1018, "C"}, {1020, "Find Templates"}, {1021, "Find Classes"}, {1022, "Find Structs"},
          {1023, "Find Macros"}, {1029, "Find #defines"}, {1030, "Find MFC-Macros"},
          {1024, "Show Qualified Names"}, {1025, "Show Base-List for Classes"}, {1027, "Find Structs"},
          {1026, "Find Macros"}, {1028, "Show Procedure Attributes"}}},
        {IDC_COLORS, "Colors",
         {{IDC_RESTORE, "&Restore"}, {IDC_RESTOREDEFAULT, "&Restore to Default"},
          {IDC_MENUCOLORS, "&Menu Colors"}}},
    };
    for (const auto& d : dialogs) {
        HWND dialog = OpenDialog(main, d.command, d.caption);
        ASSERT_NE(dialog, nullptr) << d.caption;
        for (const auto& c : d.controls) EXPECT_EQ(WindowText(GetDlgItem(dialog, c.id)), c.text) << d.caption << " " << c.id;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << d.caption;
    }
}

TEST_F(QnavProgram, QualifiedNamesChangeOnlyWithItsIndex) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    auto storeOptions = [&] {
        PutIni("ParserOptions", "ShowProcAttributes", nullptr);   // the last key the store writes
        HWND options = OpenDialog(main, IDC_OPTIONS, "Options");
        if (!options) return std::string("<no dialog>");
        PostMessageA(options, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(options); });
        return IniBecomes("ParserOptions", "ShowProcAttributes", "1") == "1"
                   ? Ini("ParserOptions", "ShowQualifiedClass")
                   : std::string("<not stored>");
    };
    PostMessageA(main, qnav::QNM_QUALIFIEDCHANGED, 31, 0);
    EXPECT_EQ(storeOptions(), "1");
    PostMessageA(main, qnav::QNM_QUALIFIEDCHANGED, qnav::kShowQualifiedClassIndex, 0);
    EXPECT_EQ(storeOptions(), "0");
}

TEST_F(QnavProgram, ColorsOkStoresTheNearestButtonColours) {
    PutIni("Colors", "cBackground", "190 190 190");
    PutIni("Colors", "Text", "250 5 5");
    PutIni("Colors", "rcFonts", "0 120 10");
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND colors = OpenDialog(main, IDC_COLORS, "Colors");
    ASSERT_NE(colors, nullptr);
    PostMessageA(colors, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(colors); }));
    EXPECT_EQ(IniBecomes("Colors", "Text", "255 0 0"), "255 0 0");   // the last key written
    EXPECT_EQ(Ini("Colors", "cBackground"), "192 192 192");
    EXPECT_EQ(Ini("Colors", "asmMacros"), "0 128 128") << "defaults are palette colours already";
    EXPECT_EQ(Ini("Colors", "rcFonts"), "0 128 0");
}

TEST_F(QnavProgram, FontDialogOpensOnItsTemplateAndCancels) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND font = OpenDialog(main, IDC_FONT, "Choose Function List Font");
    ASSERT_NE(font, nullptr);
    RECT parent, dialog;
    GetWindowRect(main, &parent);
    GetWindowRect(font, &dialog);
    EXPECT_EQ(dialog.left, parent.left + 48);
    EXPECT_EQ(dialog.top, parent.top + 48);
    PostMessageA(font, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(font); }));
    EXPECT_EQ(Ini("Quorvane", "Font"), "<none>") << "cancel stores nothing";
}

TEST_F(QnavProgram, QuitRefusedWhileAnIdeIsAttached) {
    HWND frame, main;
    ASSERT_NO_FATAL_FAILURE(StartAttached(frame, main, 1));
    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane"),
              "There ist one attached Visual C++ thread. Cannot uninstall Quorvane now.\n"
              "Please close the Workspace or exit Visual C++ to uninstall Quorvane.");
    EXPECT_EQ(qnav.WaitExit(300), STILL_ACTIVE);

    AskIde(frame, ide::kQueryStartThread);
    AskIde(frame, ide::kQueryStartThread);
    ASSERT_TRUE(WaitUntil([&] { return probe.AttachedThreads() == 3; })) << probe.Slots();
    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane").substr(0, 40), "There are 3 attached Visual C++ threads.");
    EXPECT_EQ(qnav.WaitExit(300), STILL_ACTIVE);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(ide.WaitExit(5000), 0u);
    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    EXPECT_EQ(qnav.WaitExit(5000), 0u);
    EXPECT_EQ(probe.AttachedThreads(), 0u) << probe.Slots();
}

TEST_F(QnavProgram, IdeStartedLaterIsAttachedAndGetsNewSettings) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND frame = StartIde();   // announced by the shell hook
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitAttached(frame));
    EXPECT_EQ(probe.Settings().ItemCount, 24);
    EXPECT_EQ(probe.Settings().CppComments, 1u);

    HWND options = OpenDialog(main, IDC_OPTIONS, "Options");
    ASSERT_NE(options, nullptr);
    HWND edit = GetDlgItem(options, IDC_ITEMCOUNT);
    PostMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, '4', 1);
    PostMessageA(edit, WM_CHAR, '2', 1);
    PostMessageA(GetDlgItem(options, IDC_CCOMMENTS), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(edit) == "42"; }));
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return probe.Settings().ItemCount == 42; }));
    EXPECT_EQ(probe.Settings().CppComments, 0u);
    EXPECT_EQ(IniBecomes("Quorvane", "ItemCount", "42"), "42");
    EXPECT_EQ(AskIde(frame, ide::kQueryProcsOriginal), 0) << "the IDE is still in the hook's hands";

    // Clean uninstall: the IDE gets its own window procedures back.
    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    EXPECT_EQ(qnav.WaitExit(5000), 0u);
    EXPECT_FALSE(probe.Attached(frame));
    EXPECT_EQ(AskIde(frame, ide::kQueryProcsOriginal), 1);
}

TEST_F(QnavProgram, UninstallRequestWaitsForTheIdesThreads) {
    HWND frame, main;
    ASSERT_NO_FATAL_FAILURE(StartAttached(frame, main, 1));

    PostMessageA(main, qnav::QNM_FRAMELOST, 0, 0);
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane").substr(0, 42), "There ist one attached Visual C++ thread. ");
    EXPECT_EQ(qnav.WaitExit(300), STILL_ACTIVE);

    AskIde(frame, ide::kQueryStopThreads);
    PostMessageA(main, qnav::QNM_FRAMELOST, 0, 0);
    EXPECT_EQ(qnav.WaitExit(5000), 0u);
    EXPECT_FALSE(probe.Attached(frame));
    EXPECT_EQ(AskIde(frame, ide::kQueryProcsOriginal), 1);
    EXPECT_EQ(ide.WaitExit(0), STILL_ACTIVE);
}

TEST_F(QnavProgram, DamagedPasteBufferFileNeverHurtsTheIdeOrTheFile) {
    fw::testing::TempDir dir("qnav_program");
    const std::string dat = dir.File("qnav-program-test.dat");
    auto le32 = [](std::uint32_t v) {
        return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    // A valid header with buffer 0 = "one" (4 bytes at 84) and a second entry to damage.
    auto header = [&](std::uint32_t offset1, std::uint32_t size1) {
        std::string h = le32(0x001A5853) + le32(84) + le32(4) + le32(offset1) + le32(size1);
        h.resize(84, '\0');
        return h + std::string("one\0", 4) + std::string(5000, 'x');
    };
    struct Case { const char* note; std::string bytes; };
    const Case cases[] = {
        {"short", std::string("SX\x1a", 3)},
        {"wrong signature", "XXXX" + header(88, 4).substr(4)},
        {"offset past the end", header(0x7FFFFFF0, 16)},
        {"size over 4096", header(88, 5000)},
    };
    PutIni("Quorvane", "PasteBufferFile", dat.c_str());
    PutIni("Quorvane", "Bookmark1", "12,4,C:\\SRC\\MAIN.CPP");
    HWND frame = StartIde();
    ASSERT_NE(frame, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        { std::ofstream(dat, std::ios::binary | std::ios::trunc) << c.bytes; }
        HWND main = StartQnav();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitAttached(frame));
        PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);   // detaches: nothing changed, nothing written
        EXPECT_EQ(qnav.WaitExit(5000), 0u);
        EXPECT_EQ(ide.WaitExit(0), STILL_ACTIVE);
        std::ifstream in(dat, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.bytes);
        EXPECT_EQ(Ini("Quorvane", "Bookmark1"), "12,4,C:\\SRC\\MAIN.CPP");
    }
}

TEST_F(QnavProgram, LayoutKeysAndQuietHelp) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    // Buttons line up 13 pixels right of the 96-pixel logo at x 10; the client
    // area ends 16 pixels after them.
    auto clientRect = [&](int id) {
        RECT r;
        GetWindowRect(GetDlgItem(main, id), &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    for (int id : {IDC_CONTINUE, IDC_OPTIONS, IDC_COLORS, IDC_FONT, IDC_QUIT, ID_DEFAULT_HELP})
        EXPECT_EQ(clientRect(id).left, 10 + 96 + 13) << id;
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, clientRect(ID_DEFAULT_HELP).right + 16);

    // No help file: the Help button and F1 do nothing visible. Escape, queued
    // after them, means Continue (minimise), not Quit.
    PostMessageA(main, WM_COMMAND, ID_DEFAULT_HELP, 0);
    PostMessageA(GetDlgItem(main, IDC_OPTIONS), WM_KEYDOWN, VK_F1, 0);
    PostMessageA(GetDlgItem(main, IDC_OPTIONS), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
    const auto windows = TopLevelWindows(qnav.Id(), "#32770");
    EXPECT_EQ(windows.size(), 0u) << Describe(windows);
    EXPECT_EQ(qnav.WaitExit(0), STILL_ACTIVE);
}

TEST_F(QnavProgram, ContinueHidesTheWindowWhenTheIconIsHidden) {
    PutIni("Quorvane", "HideIcon", "1");
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    PostMessageA(main, WM_COMMAND, IDC_CONTINUE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
    EXPECT_FALSE(IsIconic(main));
    Process second;   // a second start shows it again
    ASSERT_TRUE(second.Start("qnav.exe"));
    EXPECT_EQ(second.WaitExit(5000), 0u);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
}

TEST_F(QnavProgram, FailedStoreIsReportedAndTheSettingsStayInEffect) {
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND frame = StartIde();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitAttached(frame));
    // A directory in the settings file's place makes every write fail.
    ini.Remove();
    ASSERT_TRUE(CreateDirectoryA(ini.Path().c_str(), nullptr));
    HWND options = OpenDialog(main, IDC_OPTIONS, "Options");
    ASSERT_NE(options, nullptr);
    PostMessageA(GetDlgItem(options, IDC_CCOMMENTS), BM_CLICK, 0, 0);
    PostMessageA(options, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(AnswerMessageBox(qnav.Id(), "Quorvane"), "Unable to write to Initialization File.");
    EXPECT_EQ(probe.Settings().CppComments, 0u) << "the hook has the new value all the same";
    ASSERT_TRUE(Settle(main));
    // Hidden with their minimised owner, but there.
    const auto boxes = TopLevelWindows(qnav.Id(), "#32770", "Quorvane");
    EXPECT_EQ(boxes.size(), 0u) << "reported once\n" << Describe(boxes);
}

TEST_F(QnavProgram, ColorsDialogButtonsGiveEachGroupItsColours) {
    PutIni("Colors", "cBackground", "0 0 0");
    PutIni("Colors", "rcDialogs", "255 255 0");
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND colors = OpenDialog(main, IDC_COLORS, "Colors");
    ASSERT_NE(colors, nullptr);
    auto choose = [&](int list, int index) {
        PostMessageA(GetDlgItem(colors, list), LB_SETCURSEL, index, 0);
        PostMessageA(colors, WM_COMMAND, MAKEWPARAM(list, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(colors, list)));
    };
    auto press = [&](int id) { PostMessageA(colors, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(colors, id))); };

    choose(IDC_FILETYPES, 0);
    press(IDC_RESTOREDEFAULT);            // C/C++ group back to its defaults
    choose(IDC_FILETYPES, 1);
    choose(IDC_ITEMS, 4);                 // "Bitmaps"
    press(IDC_FIRSTCOLOR + 2);            // red
    choose(IDC_ITEMS, 6);                 // "Dialogs"
    press(IDC_FIRSTCOLOR + 4);            // blue
    press(IDC_RESTORE);                   // undoes both: the group as it was opened
    choose(IDC_FILETYPES, 3);
    press(IDC_MENUCOLORS);
    choose(IDC_ITEMS, 3);                 // "Normal Text"
    press(IDC_FIRSTCOLOR + 5);            // yellow
    PostMessageA(colors, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(colors); }));

    ASSERT_EQ(IniBecomes("Colors", "Text", "255 255 0"), "255 255 0");
    EXPECT_EQ(Ini("Colors", "cBackground"), "192 192 192");
    EXPECT_EQ(Ini("Colors", "rcBitmaps"), "0 0 0");
    EXPECT_EQ(Ini("Colors", "rcDialogs"), "255 255 0");
    const auto palette = qnav::ini::MakePalette(GetSysColor(COLOR_MENU), GetSysColor(COLOR_HIGHLIGHT),
                                                GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_MENUTEXT));
    auto nearest = [&](int sysColor) {
        return qnav::ini::FormatColor(palette[qnav::ini::NearestPaletteIndex(palette, GetSysColor(sysColor))]);
    };
    EXPECT_EQ(Ini("Colors", "Background"), nearest(COLOR_MENU));
    EXPECT_EQ(Ini("Colors", "HighlightText"), nearest(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(probe.Settings().OtherColors[0], qnav::ini::Rgb(255, 255, 0)) << "leading word follows Normal Text";
    EXPECT_EQ(probe.Settings().CppColors[0], 0u);
}

TEST_F(QnavProgram, EndOfSessionTakesTheHookOut) {
    HWND frame, main;
    ASSERT_NO_FATAL_FAILURE(StartAttached(frame, main, 0));
    EXPECT_EQ(SendMessageA(main, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_TRUE(probe.Attached(frame)) << "asking changes nothing";
    SendMessageA(main, WM_ENDSESSION, FALSE, 0);
    EXPECT_TRUE(probe.Attached(frame)) << "a cancelled end of session changes nothing";
    SendMessageA(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(probe.Attached(frame));
    EXPECT_EQ(AskIde(frame, ide::kQueryProcsOriginal), 1);
}

TEST_F(QnavProgram, FontDialogOkStoresTheChosenFont) {
    PutIni("Quorvane", "Font", "-13,0,0,0,700,0,0,0,0,0,0,0,0,Arial");
    HWND main = StartQnav();
    ASSERT_NE(main, nullptr);
    HWND font = OpenDialog(main, IDC_FONT, "Choose Function List Font");
    ASSERT_NE(font, nullptr);
    PutIni("Quorvane", "Font", nullptr);
    PostMessageA(font, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(font); }));
    std::string stored;
    ASSERT_TRUE(WaitUntil([&] { return (stored = Ini("Quorvane", "Font")) != "<none>"; })) << "OK stores the record";
    const auto fields = qnav::ini::ParseFont(stored);
    ASSERT_TRUE(fields.has_value()) << stored;
    EXPECT_FALSE(fields->faceName.empty()) << stored;
    EXPECT_STREQ(probe.Settings().Font.lfFaceName, fields->faceName.c_str()) << "the hook has the same record";
    EXPECT_EQ(probe.Settings().Font.lfHeight, fields->height);
}

}  // namespace
