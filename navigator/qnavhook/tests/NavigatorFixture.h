// The navigator driven as a user drives it: a stand-in IDE with the hook
// attached, triggers posted to its editor view, the outline list read back
// through the list box's own messages and the popup menus through user32
// inside the IDE (menuprobe.dll).
#pragma once
#include <memory>
#include "fw/testing/CopyDataReceiver.h"
#include "HookFixture.h"
#include "SettingsFile.h"
#include "fw/Handle.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Files.h"
#include <string>

namespace hooktest {

using fw::testing::TopLevelWindows;
using ide::testing::Query;

class NavTest : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        // Bookmarks and paste buffers of these tests stay in files of their own.
        ini_.Set("Quorvane", "PasteBufferFile", dir_.File("QNAV.DAT").c_str());
        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);   // the control window hears the hook
        settings_.FirstCall = 0;
        settings_.ItemCount = 20;
        settings_.ShowQualifiedClass = 0;
        settings_.cTemplates = settings_.cClasses = settings_.cStructs = 1;
        settings_.cMacros = settings_.cDefines = settings_.cMFCMacros = 1;
        settings_.asmMacros = settings_.asmStructs = settings_.ShowBaseList = 1;
        for (int r = 0; r < qnav::kMenuRecordCount; ++r) {
            settings_.Menu[r].size = sizeof(qnav::MenuItemOptions);
            settings_.Menu[r].enabled = 1;
            settings_.Menu[r].position = static_cast<WORD>(r);
        }
        qnav::FixMenuHotKeys(settings_);
        for (int c = 0; c < qnav::kCppColorCount; ++c) settings_.CppColors[c] = RGB(0, 0, 0x80);
        settings_.CppColors[1] = RGB(0xFF, 0xFF, 0xFF);

        reply_ = std::make_unique<fw::testing::CopyDataReceiver>("QvMenuReply");
        probe_.Reset(LoadLibraryA("menuprobe.dll"));
        ASSERT_TRUE(reply_->Window() && probe_);
    }

    void TearDown() override {
        probeHook_.Reset();
        HookTest::TearDown();
        reply_.reset();
    }

    // A stand-in IDE of `kind` ("/kind:4") showing `file`, attached, its view
    // focused; the view in `view`.
    HWND Open(const std::string& kind, const std::string& file, HWND& view) {
        HWND frame = StartAttached(kind + " \"" + file + "\"");
        view = frame ? reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView)) : nullptr;
        if (view) Query(view, ide::kQueryTakeFocus);
        if (frame) {
            auto proc = fw::ProcAddress<HOOKPROC>(probe_.Get(), "MenuProbeHook@12");
            probeHook_.Reset(SetWindowsHookExA(WH_CALLWNDPROC, proc, probe_.Get(),
                                               GetWindowThreadProcessId(frame, nullptr)));
        }
        return frame;
    }

    // The visible outline list of the IDE process, or nullptr.
    HWND ListWindow() const {
        for (HWND w : TopLevelWindows(LastIdePid(), "QuorvaneList"))
            if (IsWindowVisible(w)) return w;
        return nullptr;
    }
    HWND WaitList(DWORD ms = 10000) {
        HWND list = nullptr;
        WaitUntil([&] { return (list = ListWindow()) != nullptr; }, ms);
        return list;
    }
    bool WaitListGone() { return WaitUntil([&] { return ListWindow() == nullptr; }, 5000); }
    static HWND ListBox(HWND list) { return GetDlgItem(list, 100); }

    // Item data of every row, in list order: the entries' report indices.
    static std::vector<int> Rows(HWND list) {
        std::vector<int> out;
        HWND box = ListBox(list);
        const int n = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) out.push_back(static_cast<int>(SendMessageA(box, LB_GETITEMDATA, i, 0)));
        return out;
    }
    static int SelectedEntry(HWND list) {
        HWND box = ListBox(list);
        const LRESULT sel = SendMessageA(box, LB_GETCURSEL, 0, 0);
        return sel < 0 ? -1 : static_cast<int>(SendMessageA(box, LB_GETITEMDATA, sel, 0));
    }

    static void Hold(HWND view, LPARAM keys) { Query(view, ide::kQueryHoldKeys, keys); }
    // Holds the keys once the IDE has handled what was posted before: a sent
    // hold or release would overtake posted input.
    static void HoldAfterPosted(HWND view, LPARAM keys) {
        static const UINT query = RegisterWindowMessageA(ide::kQueryMessageName);
        PostMessageA(view, query, ide::kQueryHoldKeys, keys);
    }
    static void ReleaseAfterPosted(HWND view) { HoldAfterPosted(view, 0); }
    // A first press of `key` (repeat count 1).
    static void Press(HWND w, WPARAM key, LPARAM extra = 0) { PostMessageA(w, WM_KEYDOWN, key, 1 | extra); }
    // All posted, so a release still queued from an earlier press cannot
    // land between this hold and its key.
    static void CtrlAlt(HWND view, WPARAM key) {
        HoldAfterPosted(view, ide::kHoldCtrl | ide::kHoldAlt);
        Press(view, key);
        ReleaseAfterPosted(view);
    }
    // Runs a navigator command in the view's child and waits for it; a
    // command that unexpectedly opens a dialog cannot hang the test.
    static void Command(HWND view, UINT id) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(GetParent(GetParent(view)), WM_COMMAND, id, 0, SMTO_NORMAL, 10000, &result);
    }

    // Waits until the IDE has handled everything posted to `view` so far: a
    // posted mark comes back in order. Three rounds also cover what those
    // messages posted in turn (a closed menu posts its end, which posts more).
    void Settle(HWND view) {
        static const UINT query = RegisterWindowMessageA(ide::kQueryMessageName);
        for (int round = 0; round < 3; ++round) {
            const LPARAM mark = ++mark_;
            PostMessageA(view, query, ide::kQueryMark, mark);
            WaitUntil([&] { return Query(view, ide::kQueryMark) == mark; });
        }
    }

    // The lines of the next popup menu the IDE opens in `view`'s frame, once
    // that menu has closed again and the navigator has finished with it.
    std::string WaitMenu(HWND view) {
        std::string r = reply_->Wait(10000);
        reply_->Clear();
        WaitUntil([&] {
            for (HWND w : TopLevelWindows(LastIdePid(), "#32768"))
                if (IsWindowVisible(w)) return false;
            return true;
        });
        Settle(view);
        return r;
    }

    static std::string ViewText(HWND view) {
        std::string text(static_cast<std::size_t>(SendMessageA(view, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
        text.resize(static_cast<std::size_t>(SendMessageA(view, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }

    DWORD LastIdePid() const { return ides_.empty() ? 0 : ides_.back()->Id(); }

    // A file of this test's own folder holding `text`.
    std::string WriteTempFile(const std::string& name, const std::string& text) const { return dir_.Write(name, text); }

    LPARAM mark_ = 0;
    fw::testing::TempDir dir_{"qv_nav"};
    fw::testing::IniFileScope ini_{"QNAV.INI"};

    const std::string& menuReport() const { return reply_->Report(); }

private:
    std::unique_ptr<fw::testing::CopyDataReceiver> reply_;
    fw::Module probe_;
    fw::Hook probeHook_;
};

}  // namespace hooktest
