// What tells the two IDE kinds apart from outside: titles, window classes
// and the registry root.
#pragma once

namespace ide {

struct KindNames {
    const char* title;
    const char* frameClass;
    const char* childClass;
    const char* innerClass;
    const char* viewClass;
    const char* registryRoot;   // below HKEY_CURRENT_USER
    const char* includeKey;     // below the root
    const char* version;        // written by /register unless /version: says otherwise
};

inline const KindNames& NamesOf(int kind) {
    static const KindNames kind4{"Microsoft Developer Studio", "Afx:400000:8:10011:0:1a3e",
                                 "Afx:400000:b:10011:6:0", "AfxMDIFrame40", "Afx:400000:8:10013:0:0",
                                 "Software\\Microsoft\\Developer",
                                 "Build System\\Components\\Platforms\\Win32 (x86)\\Directories", "4.0"};
    static const KindNames kind2{"Microsoft Visual C++", "Afx:8:10011:0:1a3e", "Afx:b:10011:6:0",
                                 "AfxMDIFrame", "Afx:8:10013:0:0", "Software\\Microsoft\\Visual C++ 2.0",
                                 "Platforms\\Win32 (x86)", "2.2"};
    return kind == 2 ? kind2 : kind4;
}

// Control IDs as a splitter lays them out: the pane and its two bars.
constexpr int kViewId = 0xE900;
constexpr int kVScrollId = 0xEA00;
constexpr int kHScrollId = 0xEB00;
constexpr int kInnerFrameId = 1;

constexpr UINT kCmdCopy = 0xE122;
constexpr UINT kCmdPaste = 0xE125;

}  // namespace ide
