// Attaching to real stand-in IDE processes through the hook library.
#include <set>
#include "HookFixture.h"
#include "fw/testing/Files.h"
#include "Subclass.h"
#include "resource.h"

namespace hooktest {
namespace {

using fw::testing::MessageBoxText;
using fw::testing::TempDir;
using ide::testing::Query;

bool HasOldProc(HWND w) { return GetPropA(w, qnav::kOldProcProperty) != nullptr; }

HWND ActiveView(HWND frame) { return reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView)); }

TEST_F(HookTest, AttachAllSubclassesEveryIdeWindowAndDetachAllRestoresThem) {
    TempDir dir("qv_attach");
    const std::string file = dir.Write("attach.cpp", "int main()\n{\n}\n");
    for (const char* kind : {"/kind:4", "/kind:2"}) {
        IdeProcess ide(std::string(kind) + " \"" + file + "\"");
        HWND frame = ide.MainWindow();
        ASSERT_NE(frame, nullptr) << kind;
        HWND view = ActiveView(frame);
        ASSERT_NE(view, nullptr) << kind;
        HWND inner = GetParent(view), child = GetParent(inner), client = GetParent(child);
        const HWND tree[] = {frame, client, child, inner, view};

        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
        ASSERT_EQ(AttachAll(), 1);
        ASSERT_TRUE(WaitAttached(frame)) << kind;
        for (HWND w : tree) EXPECT_TRUE(HasOldProc(w)) << kind << " " << w;
        EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 0);

        EXPECT_EQ(Call(qnav::QP_DETACHALL), 1);
        for (HWND w : tree) EXPECT_FALSE(HasOldProc(w)) << kind << " " << w;
        EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 1) << kind << ": original procedures are back";
        EXPECT_EQ(SlotsInUse(), 0) << Slots();

        // Uninstalled and installed again: the same IDE attaches once more.
        Call(qnav::QP_REMOVEALLHOOKS);
        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
        AttachAll();
        EXPECT_TRUE(WaitAttached(frame)) << kind;
        EXPECT_TRUE(HasOldProc(view)) << kind;
        Cleanup();
        EXPECT_TRUE(ide.Alive()) << kind;
    }
}

TEST_F(HookTest, RecognisesBothKindsButNoLookAlike) {
    struct Case { const char* args; bool attaches; const char* note; };
    const Case cases[] = {
        {"/kind:4", true, "Developer Studio"},
        {"/kind:2", true, "Visual C++ 2.x"},
        {"/kind:2 /class:Qv:LookAlike", false, "right title, foreign class"},
        {"/kind:4 \"/title:Microsoft Visual C++\"", false, "kind 4 class under the kind 2 title"},
        {"/kind:2 \"/title:Microsoft Developer Studio\"", false, "kind 2 class under the kind 4 title"},
        {"/kind:4 \"/title:Microsoft Developer\"", false, "title prefix too short"},
    };
    for (const Case& c : cases) {
        IdeProcess ide(c.args);
        HWND frame = ide.MainWindow();
        ASSERT_NE(frame, nullptr) << c.note;
        AttachAll();
        if (c.attaches) {
            EXPECT_TRUE(WaitAttached(frame)) << c.note;
            EXPECT_TRUE(HasOldProc(frame)) << c.note;
        } else {
            EXPECT_EQ(SlotOf(frame), nullptr) << c.note;
        }
        Cleanup();
        EXPECT_EQ(SlotsInUse(), 0) << c.note << "\n" << Slots();
    }
}

TEST_F(HookTest, AttachAllTwiceAttachesOnce) {
    HWND frame = StartAttached("/kind:2");
    ASSERT_NE(frame, nullptr);
    const HHOOK firstHook = SlotOf(frame)->messageHook;
    AttachAll();   // a slot is claimed here, on this thread
    EXPECT_EQ(SlotsInUse(), 1) << Slots();
    EXPECT_EQ(SlotOf(frame)->messageHook, firstHook);
    Cleanup();
    EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 1) << "subclassed twice would leave our procedure behind";
}

TEST_F(HookTest, SeventeenthFrameGetsNoSlot) {
    IdeProcess& ide = StartIde("/kind:4 /frames:17");
    const std::vector<HWND> frames = ide.MainWindows(17);
    ASSERT_EQ(frames.size(), 17u) << fw::testing::Describe(frames);
    AttachAll();
    EXPECT_EQ(SlotsInUse(), 16) << Slots();
    int withoutSlot = 0;
    for (HWND f : frames) withoutSlot += SlotOf(f) ? 0 : 1;
    EXPECT_EQ(withoutSlot, 1);
    Cleanup();
    EXPECT_EQ(SlotsInUse(), 0) << Slots();
    EXPECT_TRUE(ide.Alive());
}

TEST_F(HookTest, ShellHookReportsIdeStartedLaterAndInstallsOnce) {
    ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
    const HHOOK hook = shared_->shellHook;
    EXPECT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, GetDesktopWindow()), 1);
    EXPECT_EQ(shared_->shellHook, hook);
    EXPECT_EQ(shared_->controlWindow, control_) << "a second install changes nothing";

    IdeProcess& ide = StartIde("/kind:2");
    HWND frame = ide.MainWindow();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitUntil([] { return CountOf(qnav::QNM_FRAMECREATED) > 0; }));
    EXPECT_EQ(reinterpret_cast<HWND>(notifications().front().wp), frame);

    IdeProcess other("/kind:2 /class:Qv:LookAlike");
    HWND lookAlike = other.MainWindow();
    ASSERT_NE(lookAlike, nullptr);
    // Answering means it runs its message loop: the shell hook, called while
    // its window was shown, has posted whatever it was going to post.
    ASSERT_NE(Query(lookAlike, ide::kQueryProcsOriginal), -1);
    fw::testing::PumpFor(0);
    // Which frames, not how often: under load Wine has been seen to announce
    // one frame twice, which attach-all takes in its stride.
    std::set<HWND> reported;
    for (const auto& n : notifications())
        if (n.msg == qnav::QNM_FRAMECREATED) reported.insert(reinterpret_cast<HWND>(n.wp));
    EXPECT_EQ(reported, std::set<HWND>{frame}) << "a look-alike is not reported\n"
                                               << Notified(qnav::QNM_FRAMECREATED);

    EXPECT_EQ(Call(qnav::QP_REMOVESHELLHOOK), 1);
    EXPECT_EQ(shared_->shellHook, nullptr);
    EXPECT_EQ(shared_->controlWindow, nullptr);
}

TEST_F(HookTest, NewDocumentWindowsAreSubclassed) {
    HWND frame = StartAttached("/kind:4");
    ASSERT_NE(frame, nullptr);
    IdeProcess& ide = LastIde();
    TempDir dir("qv_new");
    ASSERT_TRUE(ide::testing::OpenInIde(frame, dir.Write("new.cpp", "void f();\n")));
    HWND view = ActiveView(frame);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(HasOldProc(view));
    EXPECT_TRUE(HasOldProc(GetParent(view))) << "inner frame";
    EXPECT_TRUE(HasOldProc(GetParent(GetParent(view)))) << "source child";

    // A closed document leaves nothing behind and the IDE goes on.
    HWND child = GetParent(GetParent(view));
    SendMessageA(GetParent(child), WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_FALSE(IsWindow(view));
    EXPECT_TRUE(ide.Alive());
}

TEST_F(HookTest, DestroyedFrameDetachesItselfAndFreesItsSlot) {
    HWND frame = StartAttached("/kind:4");
    ASSERT_NE(frame, nullptr);
    IdeProcess& ide = LastIde();
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(ide.Handle(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(ide.Handle(), &code);
    EXPECT_EQ(code, 0u) << "the IDE ends normally";
    EXPECT_EQ(SlotsInUse(), 0) << Slots();
    EXPECT_EQ(shared_->slots[0].messageHook, nullptr);
}

TEST_F(HookTest, QueryAttachedCountsThreadsOfLiveFrames) {
    LONG threads = -1;
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED, nullptr, &threads), 0);
    EXPECT_EQ(threads, 0);
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED), 0) << "no place for the count: still an answer";

    IdeProcess& ide = StartIde("/kind:2");
    HWND frame = ide.MainWindow();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(Query(frame, ide::kQueryStartThread), 1);  // older than the attachment
    AttachAll();
    ASSERT_TRUE(WaitAttached(frame));
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED, nullptr, &threads), 0) << "no thread since attachment";
    ASSERT_EQ(Query(frame, ide::kQueryStopThreads), 1);
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED, nullptr, &threads), 0) << "an older thread ending counts nothing";
    EXPECT_EQ(threads, 0);

    ASSERT_EQ(Query(frame, ide::kQueryStartThread), 1);
    ASSERT_EQ(Query(frame, ide::kQueryStartThread), 1);
    // A new thread announces itself from its own context, a moment later.
    WaitUntil([&] { return Call(qnav::QP_QUERYATTACHED, nullptr, &threads) == 1 && threads == 2; });
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED, nullptr, &threads), 1);
    EXPECT_EQ(threads, 2) << Slots();

    ASSERT_EQ(Query(frame, ide::kQueryStopThreads), 1);
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED, nullptr, &threads), 0);
    EXPECT_EQ(threads, 0);

    // The frame vanishes without detaching: its counted thread no longer
    // matters, not even while another IDE is attached, and detach-all gives
    // its slot back.
    HWND other = StartAttached("/kind:4");
    ASSERT_NE(other, nullptr);
    ASSERT_EQ(Query(frame, ide::kQueryStartThread), 1);
    WaitUntil([&] { return Call(qnav::QP_QUERYATTACHED, nullptr, &threads) == 1; });
    TerminateProcess(ide.Handle(), 1);
    WaitForSingleObject(ide.Handle(), 10000);
    EXPECT_EQ(Call(qnav::QP_QUERYATTACHED, nullptr, &threads), 0);
    EXPECT_EQ(threads, 0) << "only threads of frames that still exist are reported\n" << Slots();
    EXPECT_EQ(Call(qnav::QP_DETACHALL), 1);
    EXPECT_EQ(SlotsInUse(), 0) << Slots();
}

TEST_F(HookTest, MissingOrDamagedApplicationObjectFailsAttachmentWithoutHarm) {
    const std::string expected = "Unable to install Quorvane - unknown error";
    for (const char* args : {"/kind:4 /app:absent", "/kind:4 /app:badname", "/kind:2 /app:absent",
                             "/kind:2 /app:badname"}) {
        IdeProcess ide(args);
        HWND frame = ide.MainWindow();
        ASSERT_NE(frame, nullptr) << args;
        AttachAll();
        HWND box = ide.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << args;
        EXPECT_EQ(MessageBoxText(box), expected) << args;
        char title[64] = "";
        GetWindowTextA(box, title, sizeof title);
        EXPECT_STREQ(title, "Quorvane");
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << args;

        ASSERT_NE(SlotOf(frame), nullptr) << args;
        EXPECT_EQ(SlotOf(frame)->attached, 0) << "slot stays in use but not attached: " << args;
        EXPECT_FALSE(HasOldProc(frame)) << args;
        EXPECT_TRUE(ide.Alive()) << args;
        Cleanup();
        EXPECT_EQ(SlotsInUse(), 0) << args << "\n" << Slots();
    }
}

TEST_F(HookTest, SettingsPushReachesAttachedFramesOnly) {
    HWND frame = StartAttached("/kind:4");
    ASSERT_NE(frame, nullptr);
    IdeProcess& ide = LastIde();
    qnav::HookSettings next = settings_;
    next.ButtonColor = RGB(1, 2, 3);
    std::strcpy(next.Font.lfFaceName, "Courier New");
    next.Font.lfHeight = -12;
    EXPECT_EQ(Call(qnav::QP_UPDATESETTINGS, nullptr, &next), 1);
    EXPECT_EQ(shared_->settings.ButtonColor, RGB(1, 2, 3));
    EXPECT_EQ(Call(qnav::QP_UPDATESETTINGS, nullptr, nullptr), 1) << "no block: nothing changes";
    EXPECT_EQ(shared_->settings.ButtonColor, RGB(1, 2, 3));
    // The IDE rebuilds its objects on its own thread and goes on answering.
    EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 0);
    EXPECT_TRUE(ide.Alive());
}

}  // namespace
}  // namespace hooktest

namespace hooktest {
namespace {

TEST_F(HookTest, DetachRequestNeedsTheTagAndKeepsTheSlot) {
    HWND frame = StartAttached("/kind:4");
    ASSERT_NE(frame, nullptr);

    EXPECT_EQ(SendMessageA(frame, qnav::QNM_DETACH, 0, 0), 0);
    EXPECT_TRUE(HasOldProc(frame)) << "untagged detach request ignored";
    EXPECT_EQ(SendMessageA(frame, qnav::QNM_DETACH, 0, qnav::QNM_TAG), 1);
    EXPECT_FALSE(HasOldProc(frame));
    ASSERT_NE(SlotOf(frame), nullptr) << "detaching without hook removal keeps the slot";
    EXPECT_EQ(SlotOf(frame)->attached, 0);
    EXPECT_EQ(Query(frame, ide::kQueryProcsOriginal), 1);
}

}  // namespace
}  // namespace hooktest
