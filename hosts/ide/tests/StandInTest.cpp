// The stand-in IDE behaves as the navigator's commands expect an editor to:
// selection, Copy and Paste through the clipboard, scrolling, document text.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>
#include "IdeKind.h"
#include "IdeProcess.h"
#include "fw/testing/Files.h"

namespace {

using namespace ide::testing;
using fw::testing::TempDir;

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<no clipboard>";
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(mem));
        GlobalUnlock(mem);
    }
    CloseClipboard();
    return text;
}

std::string ViewText(HWND view) {
    char buf[4096] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(view, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 5000, &n);
    return std::string(buf, n);
}

TEST(StandInIde, CopiesPastesAndScrollsLikeAnEditor) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i) + "\n";
    TempDir dir("qv_standin");
    const std::string file = dir.Write("standin.txt", text);
    for (const char* kind : {"/kind:4", "/kind:2"}) {
        IdeProcess ide(std::string(kind) + " \"" + file + "\"");
        HWND frame = ide.MainWindow();
        ASSERT_NE(frame, nullptr) << kind;
        HWND view = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        ASSERT_NE(view, nullptr) << kind;
        EXPECT_EQ(Query(view, ide::kQueryLineCount), 60);

        Query(view, ide::kQuerySetCaret, MAKELPARAM(1, 5));
        Query(view, ide::kQuerySelect, MAKELPARAM(2, 4));
        EXPECT_EQ(Query(view, ide::kQuerySelStartLine), 1);
        EXPECT_EQ(Query(view, ide::kQuerySelStartColumn), 5);
        EXPECT_EQ(Query(view, ide::kQuerySelEndLine), 2);
        EXPECT_EQ(Query(view, ide::kQuerySelEndColumn), 4);
        SendMessageA(frame, WM_COMMAND, ide::kCmdCopy, 0);
        EXPECT_EQ(ClipboardText(), "1\r\nline") << kind;

        Query(view, ide::kQuerySetCaret, MAKELPARAM(0, 0));
        SendMessageA(frame, WM_COMMAND, ide::kCmdPaste, 0);
        EXPECT_EQ(ViewText(view).substr(0, 20), "1\r\nlineline 0\r\nline ") << kind;
        EXPECT_EQ(Query(view, ide::kQueryCaretLine), 1);
        EXPECT_EQ(Query(view, ide::kQueryCaretColumn), 4);

        HWND vbar = GetDlgItem(GetParent(view), ide::kVScrollId);
        ASSERT_NE(vbar, nullptr);
        SendMessageA(GetParent(view), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(vbar));
        SendMessageA(GetParent(view), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(vbar));
        EXPECT_EQ(Query(view, ide::kQueryTopLine), 2);
        EXPECT_EQ(GetScrollPos(vbar, SB_CTL), 2);
        SendMessageA(GetParent(view), WM_VSCROLL, SB_TOP, reinterpret_cast<LPARAM>(vbar));
        EXPECT_EQ(Query(view, ide::kQueryTopLine), 0);
        EXPECT_TRUE(ide.Alive());
    }
}

TEST(StandInIde, OpensFilesOnRequestAndRefusesMissingOnes) {
    IdeProcess ide("/kind:4");
    HWND frame = ide.MainWindow();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(Query(frame, ide::kQueryActiveView), 0) << "no document yet";
    TempDir dir("qv_open");
    EXPECT_TRUE(OpenInIde(frame, dir.Write("open.cpp", "x\n")));
    EXPECT_NE(Query(frame, ide::kQueryActiveView), 0);
    EXPECT_FALSE(OpenInIde(frame, "C:\\no\\such\\file.cpp"));
    EXPECT_TRUE(ide.Alive());
}

}  // namespace
