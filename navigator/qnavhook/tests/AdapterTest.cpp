// The IDE adapter, run inside real stand-in IDE processes of both kinds.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include "IdeProcess.h"
#include "fw/Handle.h"
#include "fw/testing/CopyDataReceiver.h"
#include "fw/testing/Files.h"

namespace {

using ide::testing::IdeProcess;
using ide::testing::Query;
using fw::testing::TempDir;
using fw::testing::WaitUntil;

// Runs the adapter inside the IDE whose main window is `frame`.
std::string ProbeIde(HWND frame) {
    fw::Module probe(LoadLibraryA("adapterprobe.dll"));
    if (!probe) return "no probe library";
    auto proc = fw::ProcAddress<HOOKPROC>(probe.Get(), "ProbeHook@12");
    fw::testing::CopyDataReceiver reply("QvAdapterReply");
    fw::Hook hook(SetWindowsHookExA(WH_GETMESSAGE, proc, probe.Get(), GetWindowThreadProcessId(frame, nullptr)));
    if (!proc || !reply.Window() || !hook) return "no hook";
    PostMessageA(frame, WM_NULL, reinterpret_cast<WPARAM>(reply.Window()), 0x5151);
    return reply.Wait();
}

// Developer Studio's lines carry their CR LF, all but the last.
std::string Lines(const std::string& text, bool withEnds) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end + 1 >= text.size();
        out += "line:" + text.substr(start, end - start) + (withEnds && !last ? "\r\n" : "") + "\n";
        start = end + 1;
    }
    return out;
}

TEST(IdeAdapter, ReadsProjectViewCaretAndEveryLineOfBothKinds) {
    const std::string text = "// sample\nint main()\n{\n\n    return 0;\n}\n";
    TempDir dir("qv_adapter");
    const std::string file = dir.Write("adapter.cpp", text);
    struct Case { const char* kind; const char* project; const char* expectedProject; };
    const Case cases[] = {
        {"/kind:4", "C:\\work\\demo.mdp", "C:\\work\\demo.mak"},
        {"/kind:2", "C:\\work\\demo.mak", "C:\\work\\demo.mak"},
    };
    for (const Case& c : cases) {
        IdeProcess ide(std::string(c.kind) + " /project:" + c.project + " \"" + file + "\"");
        HWND frame = ide.MainWindow();
        ASSERT_NE(frame, nullptr) << c.kind;
        HWND view = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        ASSERT_EQ(Query(view, ide::kQuerySetCaret, MAKELPARAM(4, 7)), 1);
        EXPECT_EQ(ProbeIde(frame), "app=1\nproject=" + std::string(c.expectedProject) + "\nview=" + file +
                                       "|4|7\n" + Lines(text, std::string(c.kind) == "/kind:4"))
            << c.kind;
        EXPECT_TRUE(ide.Alive());
    }
}

TEST(IdeAdapter, CutsLongLinesAndFollowsEdits) {
    const std::string longLine(3000, 'x');
    TempDir dir("qv_long");
    const std::string file = dir.Write("long.cpp", "a\n" + longLine + "\nb\n");
    IdeProcess ide("/kind:4 \"" + file + "\"");
    HWND frame = ide.MainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ProbeIde(frame), "app=1\nproject=-\nview=" + file + "|0|0\nline:a\r\n\nline:" + std::string(2048, 'x') +
                                   "\nline:b\n");

    // Text pasted in the editor is what the adapter delivers next.
    HWND view = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(mem), "new\r\n", 6);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    SendMessageA(frame, WM_COMMAND, 0xE125, 0);
    EXPECT_EQ(Query(view, ide::kQueryCaretLine), 1);
    const std::string report = ProbeIde(frame);
    EXPECT_NE(report.find("|1|0\nline:new\r\n\nline:a\r\n\n"), std::string::npos) << report;
}

TEST(IdeAdapter, DamagedObjectsReadAsNotFound) {
    struct Case { const char* args; const char* expected; };
    const Case cases[] = {
        {"/kind:4 /app:absent", "app=0\n"},
        {"/kind:2 /app:badname", "app=0\n"},
        {"/kind:4 /app:badtemplates", "app=1\nproject=-\nview=-\n"},
        {"/kind:2 /app:badtemplates", "app=1\nproject=-\nview=-\n"},
    };
    TempDir dir("qv_damaged");
    const std::string file = dir.Write("damaged.cpp", "x\n");
    for (const Case& c : cases) {
        IdeProcess ide(std::string(c.args) + " \"" + file + "\"");
        HWND frame = ide.MainWindow();
        ASSERT_NE(frame, nullptr) << c.args;
        EXPECT_EQ(ProbeIde(frame), c.expected) << c.args;
        EXPECT_TRUE(ide.Alive()) << c.args;
    }
}

}  // namespace
