// The commands end to end in stand-in IDEs: paste buffers and comments
// through the IDE's own Copy and Paste with the user's clipboard kept,
// bookmarks (with the go-to that waits for a dropped file), includes through
// each place they are looked for, the counterpart switch, File Info and the
// first-use hint.
#include "NavigatorFixture.h"
#include "fw/testing/Process.h"
#include "fw/testing/Windows.h"
#include <cctype>
#include <cstdio>
#include <cstring>

namespace hooktest {
namespace {


// The user's clipboard: a format of their own, no text.
struct UserClipboard {
    UINT format = RegisterClipboardFormatA("QvUserFormat");
    const std::string bytes = std::string("user data\0with a zero", 21);

    void Put() const {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(mem), bytes.data(), bytes.size());
        GlobalUnlock(mem);
        SetClipboardData(format, mem);
        CloseClipboard();
    }
    // True when the clipboard holds exactly what Put left there.
    bool Intact() const {
        if (!OpenClipboard(nullptr)) return false;
        bool ok = !IsClipboardFormatAvailable(CF_TEXT);
        HANDLE mem = GetClipboardData(format);
        if (ok && mem) {
            const char* p = static_cast<const char*>(GlobalLock(mem));
            ok = p && GlobalSize(mem) >= bytes.size() && std::string(p, bytes.size()) == bytes;
            GlobalUnlock(mem);
        } else {
            ok = false;
        }
        CloseClipboard();
        return ok;
    }
};

HWND DialogTitledNow(DWORD pid, const char* title) {
    for (HWND w : fw::testing::FindDialogs(pid, title))
        if (fw::testing::WindowText(w) == title) return w;
    return nullptr;
}

HWND DialogTitled(DWORD pid, const char* title) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = DialogTitledNow(pid, title)) != nullptr; });
    return found;
}

void Select(HWND view, int line1, int col1, int line2, int col2) {
    Query(view, ide::kQuerySetCaret, MAKELPARAM(line1, col1));
    Query(view, ide::kQuerySelect, MAKELPARAM(line2, col2));
}

std::string LineOf(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n && start != std::string::npos; ++i) {
        start = text.find('\n', start);
        if (start != std::string::npos) ++start;
    }
    if (start == std::string::npos) return {};
    const std::size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

const char kCode[] = "// sample\nint alpha()\n{\n    return 1;\n}\n\nint beta()\n{\n    int x = 2;\n    return x;\n}\n";

TEST_F(NavTest, PasteBuffersRoundTripAndKeepTheUsersClipboard) {
    std::string big;
    for (int i = 0; i < 300; ++i) big += "int filler_" + std::to_string(i) + ";\n";
    const std::string file = WriteTempFile("qv_paste.cpp", kCode + big);
    UserClipboard user;
    for (const char* kind : {"/kind:4", "/kind:2"}) {
        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
        HWND view = nullptr;
        HWND frame = Open(kind, file, view);
        ASSERT_NE(frame, nullptr) << kind;
        user.Put();
        Select(view, 1, 0, 1, 11);
        Command(view, 6201);
        EXPECT_TRUE(user.Intact()) << kind << ": copy keeps the user's clipboard";
        CtrlAlt(view, 'S');
        std::string menu = WaitMenu(view);
        EXPECT_NE(menu.find("1|6221|0000|1  int alpha()\n"), std::string::npos) << kind << "\n" << menu;

        Query(view, ide::kQuerySetCaret, MAKELPARAM(5, 0));
        Command(view, 6221);
        EXPECT_EQ(LineOf(ViewText(view), 5), "int alpha()") << kind;
        EXPECT_TRUE(user.Intact()) << kind << ": paste keeps it too";

        // Overwriting asks; No keeps the buffer.
        Select(view, 6, 0, 6, 10);
        PostMessageA(GetParent(GetParent(view)), WM_COMMAND, 6201, 0);
        HWND box = LastIde().WaitForMessageBox();
        ASSERT_NE(box, nullptr) << kind;
        EXPECT_EQ(fw::testing::MessageBoxText(box), "Do you want to overwrite paste-buffer #1 ?") << kind;
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        WaitUntil([&] { return !IsWindow(box); });
        CtrlAlt(view, 'S');
        menu = WaitMenu(view);
        EXPECT_NE(menu.find("1|6221|0000|1  int alpha()\n"), std::string::npos) << kind << "\n" << menu;
        EXPECT_TRUE(user.Intact()) << kind;

        // A selection the paste-buffer file could not hold is refused at once.
        Select(view, 11, 0, 311, 0);
        Command(view, 6202);
        CtrlAlt(view, 'S');
        menu = WaitMenu(view);
        EXPECT_NE(menu.find("1|6222|0001|2  \n"), std::string::npos) << kind << ": refused, still empty\n" << menu;

        // Detached and attached again, the buffer is still there.
        Cleanup();
        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
        AttachAll();
        ASSERT_TRUE(WaitAttached(frame)) << kind;
        CtrlAlt(view, 'S');
        menu = WaitMenu(view);
        EXPECT_NE(menu.find("1|6221|0000|1  int alpha()\n"), std::string::npos) << kind << "\n" << menu;
        Command(view, 6211);   // clear all, for the next kind
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, CommentAndUncommentRoundTripForEveryStyle) {
    struct Case { const char* kind; DWORD lineComments; const char* name; const char* text; const char* first; };
    const Case cases[] = {
        {"/kind:4", 1, "qv_cm.cpp", kCode, "//int alpha()"},
        {"/kind:2", 0, "qv_cm.c", kCode, "/* int alpha() */"},
        {"/kind:4", 0, "qv_cm.asm", "x:\nmov ax, 1\nret\nret\nend\n", "; mov ax, 1"},
        {"/kind:2", 0, "qv_cm.bas", "a = 1\nb = 2\nc = 3\nd = 4\ne\n", "' b = 2"},
        {"/kind:4", 0, "qv_cm.pas", "x;\nbegin x := 1; end;\ny;\nz;\nw\n", "(* begin x := 1; end; *)"},
    };
    for (const Case& c : cases) {
        settings_.CppComments = c.lineComments;
        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
        HWND view = nullptr;
        ASSERT_NE(Open(c.kind, WriteTempFile(c.name, c.text), view), nullptr) << c.name;
        const std::string before = ViewText(view);
        Select(view, 1, 0, 4, 0);
        CtrlAlt(view, VK_DIVIDE);
        EXPECT_TRUE(WaitUntil([&] { return LineOf(ViewText(view), 1) == c.first; }))
            << c.name << ": " << LineOf(ViewText(view), 1);
        // The same lines again, now commented.
        Select(view, 1, 0, 4, 0);
        Command(view, 6103);
        EXPECT_EQ(ViewText(view), before) << c.name;
        Cleanup();
        ides_.clear();
    }
    // Visual C++ 2.x comments only a selection: the key beeps and changes nothing.
    ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
    HWND view = nullptr;
    ASSERT_NE(Open("/kind:2", WriteTempFile("qv_cm2.cpp", kCode), view), nullptr);
    const std::string before = ViewText(view);
    CtrlAlt(view, VK_OEM_2);
    EXPECT_EQ(ViewText(view), before);
}

TEST_F(NavTest, BookmarksGoToOpenFilesAndWaitForDroppedOnes) {
    const std::string a = WriteTempFile("qv_book.cpp", kCode);
    const std::string b = WriteTempFile("qv_other.cpp", "int other;\n");
    for (const char* kind : {"/kind:4", "/kind:2"}) {
        ASSERT_EQ(Call(qnav::QP_INSTALLSHELLHOOK, control_), 1);
        HWND view = nullptr;
        HWND frame = Open(kind, a, view);
        ASSERT_NE(frame, nullptr) << kind;
        Query(view, ide::kQuerySetCaret, MAKELPARAM(8, 4));
        Command(view, 6241);
        CtrlAlt(view, 'J');
        std::string menu = WaitMenu(view);
        EXPECT_NE(menu.find("0|6261|0000|1  QV_BOOK.CPP  9\n"), std::string::npos) << kind << "\n" << menu;

        ASSERT_TRUE(ide::testing::OpenInIde(frame, b));
        HWND other = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        ASSERT_NE(other, view);
        Command(other, 6261);
        EXPECT_TRUE(WaitUntil([&] { return reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView)) == view; }));
        EXPECT_TRUE(WaitUntil([&] { return Query(view, ide::kQueryCaretLine) == 8 && Query(view, ide::kQueryCaretColumn) == 0; }))
            << kind << " caret " << Query(view, ide::kQueryCaretLine) << "," << Query(view, ide::kQueryCaretColumn);
        EXPECT_EQ(Query(view, ide::kQueryTopLine), 8) << kind;

        // Closed, the bookmark's file is dropped on the frame and the go-to
        // waits for its window.
        HWND child = GetParent(GetParent(view));
        SendMessageA(GetParent(child), WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
        ASSERT_TRUE(WaitUntil([&] { return Query(frame, ide::kQueryDocumentCount) == 1; }));
        Command(other, 6261);
        ASSERT_TRUE(WaitUntil([&] { return Query(frame, ide::kQueryDocumentCount) == 2; })) << kind;
        HWND reopened = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        EXPECT_TRUE(WaitUntil([&] { return Query(reopened, ide::kQueryTopLine) == 8 && Query(reopened, ide::kQueryCaretLine) == 8; }))
            << kind << " top " << Query(reopened, ide::kQueryTopLine);

        // Setting an occupied slot asks first; No keeps the old bookmark.
        Query(reopened, ide::kQuerySetCaret, MAKELPARAM(2, 0));
        PostMessageA(GetParent(GetParent(reopened)), WM_COMMAND, 6241, 0);
        HWND box = LastIde().WaitForMessageBox();
        ASSERT_NE(box, nullptr) << kind;
        const std::string text = fw::testing::MessageBoxText(box);
        EXPECT_NE(text.find("#1:  "), std::string::npos) << text;
        EXPECT_NE(text.find("QV_BOOK.CPP  line 9\n\nDo you want to overwrite this bookmark ?"), std::string::npos) << text;
        PostMessageA(box, WM_COMMAND, IDNO, 0);
        WaitUntil([&] { return !IsWindow(box); });
        Command(reopened, 6251);   // clear all, for the next kind
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, FileInfoShowsSizesLinesAndNeverANegativeSize) {
    struct Case { const char* kind; const char* name; const char* text; const char* size; const char* lines; };
    const Case cases[] = {
        {"/kind:4", "qv_info.cpp", "abc\r\nde\r\n", "7 bytes  (9 on disk)", "2"},
        {"/kind:2", "qv_info.cpp", "abc\r\nde\r\n", "7 bytes  (9 on disk)", "2"},
        {"/kind:2", "qv_info_empty.cpp", "", "0 bytes", ""},
    };
    for (const Case& c : cases) {
        HWND view = nullptr;
        ASSERT_NE(Open(c.kind, WriteTempFile(c.name, c.text), view), nullptr) << c.name;
        PostMessageA(GetParent(GetParent(view)), WM_COMMAND, 6107, 0);
        HWND dialog = DialogTitled(LastIdePid(), "File Info");
        ASSERT_NE(dialog, nullptr) << c.kind << c.name;
        char text[256];
        GetDlgItemTextA(dialog, 107, text, sizeof text);
        EXPECT_STREQ(text, c.size) << c.kind << c.name;
        GetDlgItemTextA(dialog, 108, text, sizeof text);
        EXPECT_STREQ(text, c.lines) << c.kind << c.name;
        GetDlgItemTextA(dialog, 106, text, sizeof text);
        EXPECT_NE(std::string(text).find("qv_info"), std::string::npos) << text;
        GetDlgItemTextA(dialog, 110, text, sizeof text);
        EXPECT_NE(text[0], '\0') << "last change";
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, FirstUseHintShowsOnceForKeysAndClearsFirstCall) {
    settings_.FirstCall = 1;
    ini_.Set("Quorvane", "FirstCall", "1");
    HWND view = nullptr;
    ASSERT_NE(Open("/kind:4", WriteTempFile("qv_hint.cpp", kCode), view), nullptr);
    CtrlAlt(view, 'G');
    HWND hint = DialogTitled(LastIdePid(), "Quorvane");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return ini_.Get("Quorvane", "FirstCall") == "0"; })) << ini_.Get("Quorvane", "FirstCall");
    EXPECT_EQ(shared_->settings.FirstCall, 0u) << "cleared for every IDE at once";
    PostMessageA(hint, WM_COMMAND, IDOK, 0);
    HWND list = WaitList();
    ASSERT_NE(list, nullptr) << "the list follows the hint";
    Press(ListBox(list), VK_ESCAPE);
    WaitListGone();
    CtrlAlt(view, 'G');
    ASSERT_NE(WaitList(), nullptr);
    EXPECT_EQ(DialogTitledNow(LastIdePid(), "Quorvane"), nullptr) << "only once";
}

TEST_F(NavTest, ForwardedAcceleratorClosesTheListAndReturnsTheFocus) {
    HWND view = nullptr;
    HWND frame = Open("/kind:4", WriteTempFile("qv_accel.cpp", kCode), view);
    ASSERT_NE(frame, nullptr);
    CtrlAlt(view, 'G');
    ASSERT_NE(WaitList(), nullptr);
    // The IDE's loop turns Ctrl+F12 into its accelerator command. The list
    // opened before the posted release of Ctrl+Alt ran: hold Ctrl after it.
    HoldAfterPosted(view, ide::kHoldCtrl);
    Press(view, ide::kListAcceleratorKey);
    PostMessageA(view, WM_KEYUP, ide::kListAcceleratorKey, 0xC0000001);
    ReleaseAfterPosted(view);
    EXPECT_TRUE(WaitListGone());
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(WaitUntil([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info) && info.hwndFocus == view;
    }));
}

std::string ActiveTitle(HWND frame) {
    return fw::testing::WindowText(reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveChild)));
}

std::string MakeDir(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

void WriteFile(const std::string& path, const std::string& text) { fw::testing::WriteText(path, text); }

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST_F(NavTest, IncludesAreFoundInEachPlaceInTurn) {
    const std::string base = dir_.Path();
    const std::string src = MakeDir(base + "src\\"), proj = MakeDir(base + "proj\\");
    const std::string inc = MakeDir(proj + "inc\\"), reg = MakeDir(base + "reg\\");
    WriteFile(src + "a.h", "a");
    WriteFile(proj + "b.h", "b");
    WriteFile(inc + "c.h", "c");
    WriteFile(reg + "d.h", "d");
    WriteFile(proj + "p.mak", "# /I \"nothere\"\nCPP_PROJ=/nologo /I \"inc\" /D \"X\"\n");
    WriteFile(src + "main.cpp", "#include \"a.h\"\n#include <b.h>\n#include \"c.h\"\n#include <d.h>\n#include \"" +
                                    src + "a.h\"\n");
    // No backslash before the closing quote: it would escape the quote.
    ASSERT_EQ(fw::testing::RunToEnd("ide.exe", "/register /kind:4 \"/includes:" + reg.substr(0, reg.size() - 1) + "\""), 0u);
    struct Unregister {
        ~Unregister() { fw::testing::RunToEnd("ide.exe", "/register /kind:4"); }
    } unregister;
    HWND view = nullptr;
    HWND frame = Open("/kind:4 \"/project:" + proj + "p.mdp\"", src + "main.cpp", view);
    ASSERT_NE(frame, nullptr);
    CtrlAlt(view, 'X');
    const std::string menu = WaitMenu(view);
    ASSERT_NE(menu.find("0|6504|0000|"), std::string::npos) << menu;
    struct Case { UINT id; std::string path; const char* note; };
    const Case cases[] = {
        {6500, src + "a.h", "the document's directory"},
        {6501, proj + "b.h", "the project's directory"},
        {6502, inc + "c.h", "a /I directory of the project file"},
        {6503, reg + "d.h", "the IDE's include directories"},
        {6504, src + "a.h", "an absolute name, already open"},
    };
    int documents = 1;
    for (const Case& c : cases) {
        Command(view, c.id);
        if (c.id != 6504) ++documents;
        EXPECT_TRUE(WaitUntil([&] { return Query(frame, ide::kQueryDocumentCount) == documents; })) << c.note;
        EXPECT_TRUE(WaitUntil([&] { return ActiveTitle(frame) == Upper(c.path); })) << c.note << ": " << ActiveTitle(frame);
        Query(view, ide::kQueryTakeFocus);
    }
}

TEST_F(NavTest, CtrlAltCaptionClickSwitchesToTheCounterpart) {
    const std::string dir = dir_.Path();
    WriteFile(dir + "foo.cpp", "int foo;\n");
    WriteFile(dir + "foo.hpp", "extern int foo;\n");
    WriteFile(dir + "lonely.cpp", "int x;\n");
    for (const char* kind : {"/kind:4", "/kind:2"}) {
        HWND view = nullptr;
        HWND frame = Open(kind, dir + "foo.cpp", view);
        ASSERT_NE(frame, nullptr) << kind;
        auto clickCaption = [&](HWND v) {
            HWND child = GetParent(GetParent(v));
            RECT wr;
            GetWindowRect(child, &wr);
            Hold(v, ide::kHoldCtrl | ide::kHoldAlt);
            PostMessageA(child, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM((wr.left + wr.right) / 2, wr.top + 8));
            ReleaseAfterPosted(v);
        };
        clickCaption(view);
        EXPECT_TRUE(WaitUntil([&] { return ActiveTitle(frame) == Upper(dir + "foo.hpp"); })) << kind << ActiveTitle(frame);
        HWND header = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        clickCaption(header);
        EXPECT_TRUE(WaitUntil([&] { return reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView)) == view; })) << kind;
        EXPECT_EQ(Query(frame, ide::kQueryDocumentCount), 2) << kind << ": the open one is activated, not opened again";
        ASSERT_TRUE(ide::testing::OpenInIde(frame, dir + "lonely.cpp"));
        HWND lonely = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        clickCaption(lonely);
        EXPECT_FALSE(WaitUntil([&] { return Query(frame, ide::kQueryDocumentCount) != 3; }, 1000))
            << kind << ": no counterpart, a beep";
        Cleanup();
        ides_.clear();
    }
}

}  // namespace
}  // namespace hooktest
