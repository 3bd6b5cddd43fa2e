#include "ProgramDriver.h"
#include "fw/ModulePath.h"

namespace qnavdriver {

std::string BinPath(const char* exe) {
    return fw::BesideModule(exe);
}

bool Program::Start(const char* exe, const std::string& arguments) {
    const std::string path = BinPath(exe);
    std::string command = "\"" + path + "\"";
    if (!arguments.empty()) command += " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    process_.Reset(pi.hProcess);
    pid_ = pi.dwProcessId;
    WaitForInputIdle(pi.hProcess, 5000);
    return true;
}

DWORD Program::WaitExit(DWORD ms) {
    if (!process_) return 0;
    WaitForSingleObject(process_.Get(), ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
}

void Program::Kill() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 5000);
    }
    process_.Reset();
}

bool WaitFor(const std::function<bool()>& ready, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
}

namespace {
struct WindowQuery {
    DWORD pid;
    const char* cls;
    const char* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lp) {
    auto& q = *reinterpret_cast<WindowQuery*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char cls[64];
    GetClassNameA(hwnd, cls, sizeof cls);
    if (owner == q.pid && lstrcmpA(cls, q.cls) == 0 && (!q.caption || Text(hwnd) == q.caption))
        q.found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopWindows(DWORD pid, const char* className, const char* caption) {
    WindowQuery q{pid, className, caption, {}};
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND WaitTopWindow(DWORD pid, const char* className, const char* caption, DWORD ms) {
    HWND found = nullptr;
    WaitFor([&] {
        auto all = TopWindows(pid, className, caption);
        found = all.empty() ? nullptr : all.front();
        return found != nullptr;
    }, ms);
    return found;
}

std::string AnswerMessageBox(DWORD pid, const char* title, int button, DWORD ms) {
    std::string text;
    HWND box = nullptr;
    WaitFor([&] {
        for (HWND dialog : TopWindows(pid, "#32770", title)) {
            // A message box's text is the static control with id 0xFFFF.
            HWND label = GetDlgItem(dialog, 0xFFFF);
            if (label && IsWindowVisible(dialog)) {
                box = dialog;
                text = Text(label);
                return true;
            }
        }
        return false;
    }, ms);
    if (box) PostMessageA(box, WM_COMMAND, button, 0);
    return text;
}

std::string Text(HWND hwnd) {
    char buf[1024];
    // Cross-process: WM_GETTEXT is marshalled, GetWindowText would not ask.
    LRESULT n = SendMessageA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace qnavdriver
