// Drives real programs from tests and the demo: start them, find their windows and
// message boxes, press buttons, wait for them to end.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "fw/Handle.h"

namespace qnavdriver {

std::string BinPath(const char* exe);

class Program {
public:
    Program() = default;
    Program(Program&&) = default;
    Program& operator=(Program&&) = default;
    ~Program() { Kill(); }
    // `arguments` after the quoted program path; false if it cannot start.
    bool Start(const char* exe, const std::string& arguments = "");
    DWORD Pid() const { return pid_; }
    // Exit code once ended within `ms`, or STILL_ACTIVE.
    DWORD WaitExit(DWORD ms);
    void Kill();

private:
    fw::KernelHandle process_;
    DWORD pid_ = 0;
};

// Polls `ready` every 20 ms for up to `ms`.
bool WaitFor(const std::function<bool()>& ready, DWORD ms = 5000);

// Top-level windows of `pid`, filtered by class (and caption if given).
std::vector<HWND> TopWindows(DWORD pid, const char* className, const char* caption = nullptr);
HWND WaitTopWindow(DWORD pid, const char* className, const char* caption = nullptr, DWORD ms = 5000);

// The text of a message box of `pid` titled `title`, after waiting for one
// to appear; the box is answered with `button`.
std::string AnswerMessageBox(DWORD pid, const char* title, int button = IDOK, DWORD ms = 5000);

std::string Text(HWND hwnd);

}  // namespace qnavdriver
