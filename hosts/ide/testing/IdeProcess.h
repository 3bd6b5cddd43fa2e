// For tests and the demo: the stand-in IDE as a separate process that ends
// with its owner (a fw::testing::Process), and the questions it answers.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "IdeControl.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Process.h"
#include "fw/testing/Wait.h"
#include "fw/testing/Windows.h"

namespace ide::testing {

// The stand-in IDE, started with `args`.
class IdeProcess : public fw::testing::Process {
public:
    explicit IdeProcess(const std::string& args) : Process("ide.exe", args) {}

    // The main windows once `count` of them exist (nothing after the timeout).
    std::vector<HWND> MainWindows(std::size_t count = 1, DWORD ms = 10000) const {
        std::vector<HWND> found;
        fw::testing::WaitUntil([&] {
            found.clear();
            for (HWND w : fw::testing::TopLevelWindows(Id()))
                if (FindWindowExA(w, nullptr, "MDIClient", nullptr)) found.push_back(w);
            return found.size() >= count || !Alive();
        }, ms);
        return found.size() >= count ? found : std::vector<HWND>{};
    }
    HWND MainWindow(DWORD ms = 10000) const {
        auto all = MainWindows(1, ms);
        return all.empty() ? nullptr : all.front();
    }

    // The first message box the IDE shows within `ms`, once it is complete.
    HWND WaitForMessageBox(DWORD ms = 10000) const { return fw::testing::WaitForDialog(Id(), "", ms); }
};

// Asks a stand-in window (main window or editor view) a question.
inline LRESULT Query(HWND w, WPARAM what, LPARAM arg = 0) {
    static const UINT msg = RegisterWindowMessageA(kQueryMessageName);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, msg, what, arg, SMTO_NORMAL, 10000, &result)) return -1;
    return static_cast<LRESULT>(result);
}

// Opens `path` in the stand-in's main window `w`.
inline bool OpenInIde(HWND w, const std::string& path) {
    COPYDATASTRUCT cds{kCopyOpenFile, static_cast<DWORD>(path.size() + 1), const_cast<char*>(path.c_str())};
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 10000, &result) &&
           result == 1;
}

}  // namespace ide::testing
