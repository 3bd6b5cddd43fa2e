// The popup menus as the IDE shows them, read back through user32 inside the
// IDE: texts, identifiers, greying and accelerator labels per document kind
// and per trigger.
#include "NavigatorFixture.h"

namespace hooktest {
namespace {

bool Has(const std::string& report, const std::string& line) { return report.find(line + "\n") != std::string::npos; }

const char kSource[] = "#include <stdio.h>\n#include \"local.h\"\nint main()\n{\n    return 0;\n}\n";

TEST_F(NavTest, CtrlAltSShowsTheFullMenuWithItsAcceleratorLabels) {
    const std::string file = WriteTempFile("qv_menu.cpp", kSource);
    for (const char* kind : {"/kind:4", "/kind:2"}) {
        HWND view = nullptr;
        ASSERT_NE(Open(kind, file, view), nullptr) << kind;
        CtrlAlt(view, 'S');
        const std::string r = WaitMenu(view);
        const bool vc2 = std::string(kind) == "/kind:2";
        // Visual C++ 2.x comments only a selection; there is none yet.
        const std::string comment = vc2 ? "0001" : "0000";
        const char* const lines[] = {
            "0|6100|0000|Quorvane\tCtrl+Alt+S",
            "1|6201|0000|1  ",
            "1|6210|0000|0  ",
            "1|6211|0001|Clear All",
            "1|6221|0001|1  ",
            "1|6230|0001|0  ",
            "1|6241|0000|1  ",
            "1|6250|0000|0  ",
            "1|6251|0001|Clear All",
            "1|6261|0001|1  ",
            "1|6500|0000|stdio.h",
            "1|6501|0000|local.h",
            "0|6105|0000|&Functions...\tCtrl+Alt+G",
            "0|6107|0000|Fi&le Info...",
            "0|6106|0000|Uninstall",
        };
        for (const char* l : lines) EXPECT_TRUE(Has(r, l)) << kind << " wants " << l << "\n" << r;
        EXPECT_TRUE(Has(r, "0|6102|" + comment + "|Comment\tCtrl+Alt+/")) << kind << "\n" << r;
        EXPECT_TRUE(Has(r, "0|6103|" + comment + "|&Uncomment\tCtrl+Alt+.")) << kind << "\n" << r;
        EXPECT_NE(r.find("|&Copy\n"), std::string::npos) << r;
        EXPECT_NE(r.find("|&Go to Bookmark\tCtrl+Alt+J\n"), std::string::npos) << r;
        EXPECT_NE(r.find("|&Includes\tCtrl+Alt+X\n"), std::string::npos) << r;
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, ShortMenusAndDocumentKinds) {
    struct Case { const char* name; const char* text; WPARAM key; std::vector<std::string> want; const char* note; };
    std::string many;
    for (int i = 0; i < 25; ++i) many += "#include \"h" + std::to_string(i) + ".h\"\n";
    const Case cases[] = {
        {"qv_short.cpp", kSource, 'J', {"0|6100|0000|Quorvane", "0|6261|0001|No Bookmarks"}, "bookmark menu"},
        {"qv_short.cpp", kSource, 'X', {"0|6100|0000|Quorvane", "0|6500|0000|stdio.h"}, "includes menu"},
        {"qv_none.cpp", "int x;\n", 'X', {"0|6500|0001|No Includes"}, "no includes"},
        {"qv_many.cpp", many.c_str(), 'X', {"0|6519|0000|h19.h", "0|0|0021|", "0|0|0803|", "0|6520|0000|h20.h"},
         "a second column at the 21st"},
        {"qv_menu.mak", "ALL: x\n", 'S', {"0|6100|0000|Quorvane\tCtrl+Alt+S", "0|6102|0001|Comment\tCtrl+Alt+/",
                                          "0|6105|0001|&Functions...\tCtrl+Alt+G", "0|6107|0001|Fi&le Info...",
                                          "0|6106|0000|Uninstall"}, "a make file offers title, bookmarks, uninstall"},
        {"qv_menu.h", "class A {};\n", 'S', {"0|6105|0000|Classes/Structs...\tCtrl+Alt+G"}, "header"},
        {"qv_menu.rc", "1 ICON x.ico\n", 'S', {"0|6105|0000|Resources...\tCtrl+Alt+G"}, "resource script"},
        {"qv_menu.ini", "[a]\n", 'S', {"0|6105|0000|Sections...\tCtrl+Alt+G"}, "sections"},
        {"qv_menu.log", "x\n", 'S', {"0|6105|0000|&Faults...\tCtrl+Alt+G", "0|6102|0001|Comment\tCtrl+Alt+/"}, "log"},
    };
    for (const Case& c : cases) {
        HWND view = nullptr;
        ASSERT_NE(Open("/kind:4", WriteTempFile(c.name, c.text), view), nullptr) << c.note;
        CtrlAlt(view, c.key);
        const std::string r = WaitMenu(view);
        for (const std::string& l : c.want) EXPECT_TRUE(Has(r, l)) << c.note << " wants " << l << "\n" << r;
        Cleanup();
        ides_.clear();
    }
}

TEST_F(NavTest, CaptionButtonAndModifiedCaptionClicksOpenTheirMenus) {
    const std::string file = WriteTempFile("qv_caption.cpp", kSource);
    HWND view = nullptr;
    ASSERT_NE(Open("/kind:4", file, view), nullptr);
    HWND child = GetParent(GetParent(view));
    RECT wr;
    GetWindowRect(child, &wr);
    const int cx = GetSystemMetrics(SM_CXSIZE), cy = GetSystemMetrics(SM_CYSIZE);
    const POINT button{wr.left + GetSystemMetrics(SM_CXFRAME) + 2 + cx + cx / 2, wr.top + GetSystemMetrics(SM_CYFRAME) + cy / 2};
    struct Case { POINT at; LPARAM keys; const char* want; const char* note; };
    const Case cases[] = {
        {button, 0, "0|6106|0000|Uninstall", "button: full menu"},
        {POINT{(wr.left + wr.right) / 2, button.y}, ide::kHoldCtrl, "0|6500|0000|stdio.h", "Ctrl on the caption: includes"},
        {POINT{(wr.left + wr.right) / 2, button.y}, ide::kHoldShift, "0|6261|0001|No Bookmarks", "Shift: bookmarks"},
    };
    for (const Case& c : cases) {
        Hold(view, c.keys);
        PostMessageA(child, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(c.at.x, c.at.y));
        ReleaseAfterPosted(view);
        const std::string r = WaitMenu(view);
        EXPECT_TRUE(Has(r, c.want)) << c.note << "\n" << r;
    }
    // A plain click beside the button is the IDE's own.
    PostMessageA(child, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM((wr.left + wr.right) / 2, button.y));
    Settle(view);
    EXPECT_TRUE(menuReport().empty());
}

TEST_F(NavTest, EmptyDebuggerAndBrowseWindowsOfferNothing) {
    const std::string browse = "/browse:" + dir_.Path() + "proj.bsc";
    for (const std::string& window : {std::string("Watch"), browse}) {
        SCOPED_TRACE(window);
        HWND view = nullptr;
        ASSERT_NE(Open("/kind:4", window, view), nullptr);
        CtrlAlt(view, 'S');
        CtrlAlt(view, 'G');
        Settle(view);
        EXPECT_EQ(ListWindow(), nullptr);
        EXPECT_TRUE(menuReport().empty()) << menuReport();
    }
}

}  // namespace
}  // namespace hooktest
