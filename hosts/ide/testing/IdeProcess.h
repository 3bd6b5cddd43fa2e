// For tests: starts the stand-in IDE as a separate process and always ends
// it, finds its windows and message boxes, and asks it questions.
#pragma once
#include <windows.h>
#include <chrono>
#include <functional>
#include <string>
#include <vector>
#include "IdeControl.h"
#include "fw/ModulePath.h"

namespace ide::testing {

// Directory of the running test program, with a trailing backslash.
inline std::string ProgramDirectory() {
    return fw::ModuleDirectory();
}

// Pumps this thread's messages until `done` holds or `ms` have passed.
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

struct WindowSearch {
    DWORD process;
    std::string className;  // empty: any
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectTopLevel(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->process) return TRUE;
    char cls[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (s->className.empty() || s->className == cls) s->found.push_back(w);
    return TRUE;
}

// Top-level windows of process `pid`, optionally of one class.
inline std::vector<HWND> TopLevelWindows(DWORD pid, const std::string& className = {}) {
    WindowSearch s{pid, className, {}};
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The text of a message box (its static text control).
inline std::string MessageBoxText(HWND box) {
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

// A message box of process `pid` once it shows, with its text in place.
inline HWND WaitForBox(DWORD pid, DWORD ms = 10000) {
    HWND box = nullptr;
    WaitUntil([&] {
        box = nullptr;
        for (HWND w : TopLevelWindows(pid, "#32770"))
            if (IsWindowVisible(w) && !MessageBoxText(w).empty()) box = w;
        return box != nullptr;
    }, ms);
    return box;
}

// The stand-in IDE, started with `args` and ended when this goes away.
class IdeProcess {
public:
    explicit IdeProcess(const std::string& args) {
        std::string cmd = "\"" + ProgramDirectory() + "ide.exe\" " + args;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) {
            CloseHandle(pi_.hThread);
            pi_.hThread = nullptr;
            WaitForInputIdle(pi_.hProcess, 10000);
        }
    }
    ~IdeProcess() {
        if (!pi_.hProcess) return;
        if (Alive()) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, 10000);
        }
        CloseHandle(pi_.hProcess);
    }
    IdeProcess(const IdeProcess&) = delete;
    IdeProcess& operator=(const IdeProcess&) = delete;

    bool Alive() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD Id() const { return pi_.dwProcessId; }
    HANDLE Handle() const { return pi_.hProcess; }

    // The main windows once `count` of them exist (nothing after the timeout).
    std::vector<HWND> MainWindows(std::size_t count = 1, DWORD ms = 10000) const {
        std::vector<HWND> found;
        WaitUntil([&] {
            found.clear();
            for (HWND w : TopLevelWindows(Id()))
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
    HWND WaitForMessageBox(DWORD ms = 10000) const { return WaitForBox(Id(), ms); }

private:
    PROCESS_INFORMATION pi_{};
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

// Writes `text` to a fresh file in the temporary directory; returns its path.
inline std::string WriteTempFile(const std::string& name, const std::string& text) {
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    const std::string path = std::string(dir) + name;
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(f);
    }
    return path;
}

}  // namespace ide::testing
