// The outline list in real stand-in IDEs of both kinds: triggers, the
// preselection, the caret placement after a choice, keys, filters and the
// qualified-names toggle.
#include "NavigatorFixture.h"
#include <algorithm>

namespace hooktest {
namespace {

const char kSample[] =
    "// first\n"
    "int alpha()\n"
    "{\n"
    "    return 1;\n"
    "}\n"
    "\n"
    "// second\n"
    "// comment\n"
    "int beta(int x)\n"
    "{\n"
    "    return x;\n"
    "}\n"
    "\n"
    "class Gamma\n"
    "{\n"
    "};\n";

const char* const kKinds[] = {"/kind:4", "/kind:2"};

TEST_F(NavTest, RightClickAndCtrlAltGOpenTheListAtTheNearestItem) {
    const std::string file = WriteTempFile("qv_list.cpp", kSample);
    for (const char* kind : kKinds) {
        HWND view = nullptr;
        HWND frame = Open(kind, file, view);
        ASSERT_TRUE(frame && view) << kind;
        Query(view, ide::kQuerySetCaret, MAKELPARAM(10, 0));   // inside beta

        PostMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
        PostMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
        HWND list = WaitList();
        ASSERT_NE(list, nullptr) << kind;
        EXPECT_EQ(Rows(list), (std::vector<int>{0, 1, 2})) << kind;
        EXPECT_EQ(SelectedEntry(list), 1) << kind << ": beta holds the caret";
        EXPECT_EQ(Query(view, ide::kQueryContextMenus), 0) << kind << ": the IDE's own menu stays shut";
        Press(ListBox(list), VK_ESCAPE);
        EXPECT_TRUE(WaitListGone()) << kind;

        // With Shift held the right button belongs to the IDE.
        Hold(view, ide::kHoldShift);
        PostMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(30, 30));
        PostMessageA(view, WM_RBUTTONUP, MK_SHIFT, MAKELPARAM(30, 30));
        EXPECT_TRUE(WaitUntil([&] { return Query(view, ide::kQueryContextMenus) == 1; })) << kind;
        Hold(view, 0);
        EXPECT_EQ(ListWindow(), nullptr) << kind;

        // A repeated key does nothing; the first press opens the list.
        Hold(view, ide::kHoldCtrl | ide::kHoldAlt);
        PostMessageA(view, WM_KEYDOWN, 'G', 2 | (1 << 30));
        Press(view, 'G');
        list = WaitList();
        Hold(view, 0);
        ASSERT_NE(list, nullptr) << kind;
        EXPECT_EQ(SelectedEntry(list), 1) << kind;
        Press(ListBox(list), VK_ESCAPE);
        EXPECT_TRUE(WaitListGone()) << kind;
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, ChoosingAnEntrySelectsItsNameWithItsCommentInView) {
    const std::string file = WriteTempFile("qv_choose.cpp", kSample);
    struct Case { int entry; int line0, column, length, top0; const char* note; };
    const Case cases[] = {
        {1, 8, 4, 4, 6, "beta below its two comment lines"},
        {0, 1, 4, 5, 1, "alpha, its comment separated by nothing but not its own"},
        {2, 13, 6, 5, 13, "class Gamma without comment"},
    };
    // A split pane's decoy scroll bar and a hidden horizontal bar change nothing.
    for (const char* kind : {"/kind:4", "/kind:2", "/kind:4 /split /nohbar"}) {
        HWND view = nullptr;
        ASSERT_NE(Open(kind, file, view), nullptr) << kind;
        for (const Case& c : cases) {
            Query(view, ide::kQueryTakeFocus);
            CtrlAlt(view, 'G');
            HWND list = WaitList();
            ASSERT_NE(list, nullptr) << kind << c.note;
            const std::vector<int> rows = Rows(list);
            const auto at = std::find(rows.begin(), rows.end(), c.entry) - rows.begin();
            SendMessageA(ListBox(list), LB_SETCURSEL, static_cast<WPARAM>(at), 0);
            Press(ListBox(list), VK_RETURN);
            ASSERT_TRUE(WaitListGone()) << kind << c.note;
            EXPECT_TRUE(WaitUntil([&] {
                return Query(view, ide::kQuerySelEndColumn) == c.column + c.length &&
                       Query(view, ide::kQuerySelStartLine) == c.line0;
            })) << kind << " " << c.note;
            EXPECT_EQ(Query(view, ide::kQuerySelStartLine), c.line0) << kind << c.note;
            EXPECT_EQ(Query(view, ide::kQuerySelStartColumn), c.column) << kind << c.note;
            EXPECT_EQ(Query(view, ide::kQuerySelEndLine), c.line0) << kind << c.note;
            EXPECT_EQ(Query(view, ide::kQuerySelEndColumn), c.column + c.length) << kind << c.note;
            EXPECT_EQ(Query(view, ide::kQueryTopLine), c.top0) << kind << c.note;
        }
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, ALongCommentBlockScrollsToThirtyLinesAboveTheName) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "// line of a long comment\n";
    text += "int far_below()\n{\n}\n";
    for (int i = 0; i < 60; ++i) text += "\n";
    const std::string file = WriteTempFile("qv_far.cpp", text);
    for (const char* kind : kKinds) {
        HWND frame = StartAttached(kind);
        ASSERT_NE(frame, nullptr) << kind;
        Query(frame, ide::kQueryOpenMaximized, 1);
        ASSERT_TRUE(ide::testing::OpenInIde(frame, file));
        HWND view = reinterpret_cast<HWND>(Query(frame, ide::kQueryActiveView));
        Query(view, ide::kQueryTakeFocus);
        CtrlAlt(view, 'G');
        HWND list = WaitList();
        ASSERT_NE(list, nullptr) << kind;
        Press(ListBox(list), VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return Query(view, ide::kQuerySelEndColumn) == 13; })) << kind;
        EXPECT_EQ(Query(view, ide::kQuerySelStartLine), 40) << kind;
        EXPECT_EQ(Query(view, ide::kQueryTopLine), 10) << kind << ": 30 lines above the name";
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, FilterShortcutsSortingAndCharacterSearch) {
    const std::string file = WriteTempFile("qv_filter.cpp",
        "#define LIMIT 10\n#define SQUARE(x) ((x)*(x))\nint zeta()\n{\n}\nint apple()\n{\n}\n"
        "struct Point\n{\n};\nclass Shape\n{\n};\n");
    HWND view = nullptr;
    ASSERT_NE(Open("/kind:4", file, view), nullptr);
    CtrlAlt(view, 'G');
    HWND list = WaitList();
    ASSERT_NE(list, nullptr);
    const std::size_t all = Rows(list).size();
    ASSERT_GE(all, 6u);
    HWND box = ListBox(list);
    struct Step { WPARAM key; std::size_t rows; const char* note; };
    const Step steps[] = {{'F', 2, "functions"}, {'S', 1, "structs"}, {'C', 1, "classes"},
                          {'D', 1, "defines"}, {'M', 1, "macros"}, {'A', all, "all"}};
    for (const Step& s : steps) {
        PostMessageA(box, WM_SYSKEYDOWN, s.key, 1 | (1 << 29));
        EXPECT_TRUE(WaitUntil([&] { return Rows(list).size() == s.rows; })) << s.note << " " << Rows(list).size();
    }
    // Templates has no entries: its shortcut changes nothing.
    PostMessageA(box, WM_SYSKEYDOWN, 'T', 1 | (1 << 29));
    const std::vector<int> reportOrder = Rows(list);
    Press(box, VK_SHIFT);   // sorted: ordinal, upper case first
    EXPECT_TRUE(WaitUntil([&] { return Rows(list) != reportOrder; }));
    EXPECT_EQ(Rows(list).size(), all);
    SendMessageA(box, LB_SETCURSEL, 0, 0);
    PostMessageA(box, WM_CHAR, 'z', 1);
    EXPECT_TRUE(WaitUntil([&] { return SelectedEntry(list) == 2; })) << "z finds zeta";
    Press(box, VK_ESCAPE);
    EXPECT_TRUE(WaitListGone());
}

TEST_F(NavTest, QualifiedNamesToggledInTheListAreReportedOnceAtClose) {
    const std::string file = WriteTempFile("qv_qual.cpp", "void Shape::draw()\n{\n}\nvoid Shape::move()\n{\n}\n");
    HWND view = nullptr;
    ASSERT_NE(Open("/kind:2", file, view), nullptr);
    CtrlAlt(view, 'G');
    HWND list = WaitList();
    ASSERT_NE(list, nullptr);
    Press(ListBox(list), VK_TAB);
    Press(ListBox(list), VK_TAB, 1 << 30);   // held down: not a first press
    Press(ListBox(list), VK_ESCAPE);
    ASSERT_TRUE(WaitListGone());
    ASSERT_TRUE(WaitUntil([] { return CountOf(qnav::QNM_QUALIFIEDCHANGED) == 1; }));
    EXPECT_EQ(notifications().back().wp, 30u);
    EXPECT_EQ(notifications().back().lp, 1);
    EXPECT_EQ(shared_->settings.ShowQualifiedClass, 1u);
}

TEST_F(NavTest, EmptyAndHostileDocumentsNeverHurtTheIde) {
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "int f" + std::to_string(i) + "()\n{\n}\n";
    std::string huge;
    for (int i = 0; i < 100000; ++i) huge += "x = " + std::to_string(i) + ";\n";
    std::string binary;
    for (int i = 0; i < 20000; ++i) binary += static_cast<char>((i * 131) & 0xFF);
    struct Case { const char* name; std::string text; int rows; const char* note; };
    const Case cases[] = {
        {"qv_many.cpp", many, 4096, "entries past 4096 are dropped"},
        {"qv_huge.cpp", huge, 0, "100,000 lines without items"},
        {"qv_binary.cpp", binary, -1, "binary bytes"},
        {"qv_empty.cpp", "", 0, "nothing found"},
    };
    for (const Case& c : cases) {
        HWND view = nullptr;
        HWND frame = Open("/kind:4", WriteTempFile(c.name, c.text), view);
        ASSERT_NE(frame, nullptr) << c.note;
        CtrlAlt(view, 'G');
        // The IDE answers again once the scan is over.
        EXPECT_TRUE(WaitUntil([&] { return Query(frame, ide::kQueryDocumentCount) >= 1; }, 60000)) << c.note;
        if (c.rows > 0) {
            HWND list = WaitList(60000);
            ASSERT_NE(list, nullptr) << c.note;
            EXPECT_EQ(static_cast<int>(Rows(list).size()), c.rows) << c.note;
            Press(ListBox(list), VK_ESCAPE);
            WaitListGone();
        } else if (c.rows == 0) {
            EXPECT_EQ(ListWindow(), nullptr) << c.note << ": a beep, no window";
        }
        EXPECT_TRUE(LastIde().Alive()) << c.note;
        Cleanup();
        ides_.clear();
    }
}

}  // namespace
}  // namespace hooktest
