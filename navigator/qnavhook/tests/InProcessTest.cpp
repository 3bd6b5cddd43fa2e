// The parts of the hook that work on this process alone: the settings
// accessor, the list font rule, the subclassing record and window roles.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include <vector>
#include "HookGdi.h"
#include "Hooks.h"
#include "IdeWindows.h"
#include "ProcessState.h"
#include "QuorvaneProtocol.h"
#include "Settings.h"
#include "SharedState.h"
#include "Subclass.h"

namespace {

using namespace qnav;

TEST(HookSettingsAccessor, ClampsItemCountAndClearsFirstCall) {
    struct Case { WORD stored; DWORD read; };
    for (const Case c : {Case{0, 5}, Case{4, 5}, Case{5, 5}, Case{24, 24}, Case{99, 99}, Case{200, 99},
                         Case{0xFFFF, 99}}) {
        g_shared.settings.ItemCount = c.stored;
        EXPECT_EQ(HookSetting(kSetItemCount), c.read) << "stored " << c.stored;
    }
    g_shared.settings.FirstCall = 1;
    EXPECT_EQ(HookSetting(kSetFirstCall), 1u);
    EXPECT_EQ(HookSetting(kSetFirstCall), 0u) << "reading clears it";
    EXPECT_EQ(g_shared.settings.FirstCall, 0u);
}

TEST(HookSettingsAccessor, ReadsEachFieldByIndexAndCopiesColourGroups) {
    HookSettings& s = g_shared.settings;
    s = HookSettings{};
    s.MButtonSpace = 7;
    s.asmMacros = 1;
    s.asmStructs = 0;
    s.ShowQualifiedClass = 1;
    s.ButtonColor = RGB(10, 20, 30);
    s.ThreeDSelection = 3;
    EXPECT_EQ(HookSetting(kSetMButtonSpace), 7u);
    EXPECT_EQ(HookSetting(kSetAsmMacros), 1u) << "26 is asmMacros, not the field order of the block";
    EXPECT_EQ(HookSetting(kSetAsmStructs), 0u);
    EXPECT_EQ(HookSetting(kSetShowQualifiedClass), 1u);
    EXPECT_EQ(HookSetting(kSetButtonColor), RGB(10, 20, 30));
    EXPECT_EQ(HookSetting(kSet3DSelection), 3u);
    EXPECT_EQ(HookSetting(8), 0u) << "unknown index";

    struct Group { int index; COLORREF* words; DWORD count; };
    const Group groups[] = {{kSetCppColors, s.CppColors, 10}, {kSetResourceColors, s.ResourceColors, 14},
                            {kSetAsmColors, s.AsmColors, 7}, {kSetOtherColors, s.OtherColors, 5}};
    for (const Group& g : groups) {
        for (DWORD i = 0; i < g.count; ++i) g.words[i] = static_cast<COLORREF>(g.index * 100 + i);
        std::vector<COLORREF> out(kMaxColorGroup + 1, 0xDEAD);
        EXPECT_EQ(HookSetting(g.index, out.data()), g.count);
        for (DWORD i = 0; i < g.count; ++i) EXPECT_EQ(out[i], g.words[i]) << g.index << "/" << i;
        EXPECT_EQ(out[g.count], 0xDEADu) << "nothing beyond the group is written";
    }
}

LRESULT CALLBACK RecordProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP) return 4711;
    return DefWindowProcA(w, msg, wp, lp);
}

// A window that only collects posted messages.
HWND MakeSink() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvSink";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(HookSettingsAccessor, QualifiedNamesToggleIsKeptAndReported) {
    HWND control = MakeSink();
    g_process.notifyWindow = control;
    g_shared.settings.ShowQualifiedClass = 1;
    StoreShowQualifiedClass(0);
    EXPECT_EQ(HookSetting(kSetShowQualifiedClass), 0u);
    MSG m{};
    ASSERT_TRUE(PeekMessageA(&m, control, QNM_QUALIFIEDCHANGED, QNM_QUALIFIEDCHANGED, PM_REMOVE));
    EXPECT_EQ(m.wParam, 30u);
    EXPECT_EQ(m.lParam, 0);
    g_process.notifyWindow = nullptr;
    DestroyWindow(control);
}

// QP_UPDATESETTINGS tells each frame whether its captions must be repainted.
TEST(SettingsPush, AsksForCaptionRepaintOnlyForCaptionSettings) {
    HWND frame = MakeSink();
    g_shared.settings = HookSettings{};
    g_shared.slots[0].inUse = 1;
    g_shared.slots[0].frame = frame;
    struct Case { void (*change)(HookSettings&); WPARAM repaint; const char* note; };
    const Case cases[] = {
        {[](HookSettings&) {}, 0, "nothing changed"},
        {[](HookSettings& s) { s.ItemCount = 40; s.ShiftRightMouse = 1; }, 0, "no caption setting"},
        {[](HookSettings& s) { s.ButtonColor = RGB(1, 2, 3); }, 1, "ButtonColor"},
        {[](HookSettings& s) { s.ButtonsRight = 1; }, 1, "ButtonsRight"},
        {[](HookSettings& s) { s.MButtonSpace = 2; }, 1, "MButtonSpace"},
        {[](HookSettings& s) { s.EButtonSpace = 2; }, 1, "EButtonSpace"},
    };
    for (const Case& c : cases) {
        HookSettings next = g_shared.settings;
        c.change(next);
        EXPECT_EQ(UpdateSettings(&next), 1) << c.note;
        EXPECT_EQ(std::memcmp(&g_shared.settings, &next, sizeof next), 0) << c.note << ": the whole block is copied";
        MSG m{};
        ASSERT_TRUE(PeekMessageA(&m, frame, QNM_SETTINGSCHANGED, QNM_SETTINGSCHANGED, PM_REMOVE)) << c.note;
        EXPECT_EQ(m.wParam, c.repaint) << c.note;
        EXPECT_EQ(m.lParam, QNM_TAG) << c.note;
    }
    DestroyWindow(frame);
    UpdateSettings(&g_shared.settings);
    MSG m{};
    EXPECT_FALSE(PeekMessageA(&m, nullptr, QNM_SETTINGSCHANGED, QNM_SETTINGSCHANGED, PM_REMOVE)) << "a frame that is gone hears nothing";
    g_shared = SharedHookState{};
}

TEST(FrameLost, IsReportedOncePerProcess) {
    HWND sink = MakeSink();
    HWND frame = MakeSink();
    g_process.notifyWindow = sink;
    g_process.frame = frame;
    g_process.mdiClient = frame;
    g_process.frameLostPosted = false;
    EXPECT_EQ(CurrentFrame(), frame);
    EXPECT_EQ(CurrentMdiClient(), frame);
    DestroyWindow(frame);
    EXPECT_EQ(CurrentFrame(), nullptr);
    EXPECT_EQ(CurrentMdiClient(), nullptr);
    EXPECT_EQ(CurrentFrame(), nullptr);
    int posted = 0;
    MSG m{};
    while (PeekMessageA(&m, sink, QNM_FRAMELOST, QNM_FRAMELOST, PM_REMOVE)) ++posted;
    EXPECT_EQ(posted, 1);
    g_process = ProcessState{};
    DestroyWindow(sink);
}

TEST(ListFontRule, MakesAFontOnlyForANewNamedRecord) {
    ListFont font;
    LOGFONTA lf{};
    lf.lfHeight = -12;
    font.Update(lf);
    EXPECT_EQ(font.Get(), nullptr) << "no face name, no font";

    std::strcpy(lf.lfFaceName, "Courier New");
    font.Update(lf);
    HFONT first = font.Get();
    ASSERT_NE(first, nullptr);
    LOGFONTA same = lf;
    std::memset(same.lfFaceName + 12, 'x', 5);  // bytes after the name's end do not count
    font.Update(same);
    EXPECT_EQ(font.Get(), first) << "the same record keeps the font in use";

    lf.lfHeight = -16;
    font.Update(lf);
    EXPECT_NE(font.Get(), nullptr);
    LOGFONTA made{};
    GetObjectA(font.Get(), sizeof made, &made);
    EXPECT_EQ(made.lfHeight, -16);

    lf.lfFaceName[0] = '\0';
    font.Update(lf);
    EXPECT_EQ(font.Get(), nullptr) << "an empty face name drops the font";
}

LRESULT CALLBACK HookedProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP + 1) return 815;
    return CallOldProc(w, msg, wp, lp);
}

HWND MakeWindow(const char* cls, HWND parent, int id = 0) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), cls, &wc)) {
        wc.lpfnWndProc = &RecordProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = cls;
        RegisterClassA(&wc);
    }
    return CreateWindowExA(0, cls, "", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

TEST(SubclassRecord, ChainsOnceAndRestoresTheOriginal) {
    HWND w = MakeWindow("QvSubclassProbe", nullptr);
    ASSERT_NE(w, nullptr);
    const auto original = GetWindowLongPtrA(w, GWLP_WNDPROC);
    EXPECT_EQ(CallOldProc(w, WM_APP, 0, 0), 0) << "no record: nothing to pass to";

    ASSERT_TRUE(SubclassWindow(w, &HookedProc));
    EXPECT_TRUE(SubclassWindow(w, &HookedProc)) << "a second subclassing succeeds without effect";
    EXPECT_EQ(SendMessageA(w, WM_APP + 1, 0, 0), 815);
    EXPECT_EQ(SendMessageA(w, WM_APP, 0, 0), 4711) << "unconsumed messages reach the original";

    UnsubclassWindow(w);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), original);
    EXPECT_EQ(GetPropA(w, kOldProcProperty), nullptr);

    // A record that is no code any more is dropped without being installed.
    ASSERT_TRUE(SubclassWindow(w, &HookedProc));
    SetPropA(w, kOldProcProperty, reinterpret_cast<HANDLE>(0x10));
    UnsubclassWindow(w);
    EXPECT_EQ(GetPropA(w, kOldProcProperty), nullptr);
    EXPECT_NE(GetWindowLongPtrA(w, GWLP_WNDPROC), 0x10);
    DestroyWindow(w);
}

TEST(WindowRoles, FollowTheIdeTreeOfTheAttachedKind) {
    HWND frame = MakeWindow("Afx:400000:8:1:0:0", nullptr);
    SetWindowTextA(frame, "Microsoft Developer Studio - x.cpp");
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD, 0, 0, 10, 10, frame, nullptr,
                                  GetModuleHandleA(nullptr), &ccs);
    HWND child = MakeWindow("Afx:400000:b:1", client);
    HWND inner = MakeWindow("AfxMDIFrame40", child, 1);
    HWND view = MakeWindow("Afx:400000:8:2:0:0", inner, 0xE953);
    auto bar = [&](DWORD style, int id) {
        return CreateWindowExA(0, "ScrollBar", "", WS_CHILD | style, 0, 0, 5, 5, inner,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    };
    HWND vbar = bar(SBS_VERT, 0xEA05), hbar = bar(SBS_HORZ, 0xEB03), wrongVbar = bar(SBS_VERT, 0xEA03);
    HWND toolChild = MakeWindow("Afx:400000:b:1", client);
    HWND plain = MakeWindow("Plain", toolChild);

    g_process.kind = IdeKindOf(frame);
    ASSERT_EQ(g_process.kind, IdeKind::DevStudio4);
    struct Case { bool actual; bool expected; const char* note; };
    const Case cases[] = {
        {IsMdiClient(client), true, "MDI client"},
        {IsMdiChild(child), true, "MDI child"},
        {IsMdiChild(inner), false, "inner frame is no MDI child"},
        {IsInnerFrame(inner), true, "inner frame"},
        {IsEditorView(view), true, "editor view"},
        {IsEditorView(plain), false, "foreign class"},
        {IsSourceChild(child), true, "holds the inner frame"},
        {IsSourceChild(toolChild), false, "an MDI child without an editor"},
        {IsVerticalScrollBarOf(vbar, view), true, "bar nibble 5 = view bits 4-7"},
        {IsVerticalScrollBarOf(wrongVbar, view), false, "bar nibble 3 is the horizontal rule"},
        {IsHorizontalScrollBarOf(hbar, view), true, "bar nibble 3 = view low nibble"},
        {IsHorizontalScrollBarOf(vbar, view), false, "vertical style"},
        {IsMdiChild(nullptr), false, "no window"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.note;

    g_process.kind = IdeKind::VisualCpp2;
    EXPECT_FALSE(IsInnerFrame(inner)) << "kind 2 expects AfxMDIFrame";
    g_process.kind = IdeKind::None;
    DestroyWindow(frame);
}

}  // namespace
