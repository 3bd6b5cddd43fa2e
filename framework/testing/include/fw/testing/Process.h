// Starts a program for a test or a demo and makes sure it ends with it: the
// program and everything it starts run in a job object that kills them when
// the job's last handle closes, which the system does for us even when the
// test itself is killed (a timeout) or crashes.
#pragma once
#include <windows.h>
#include <string>
#include "fw/Handle.h"

namespace fw::testing {

class Process {
public:
    Process() = default;
    // Starts `exe` (a bare name: the program beside the running one) with
    // `arguments`; see Start.
    explicit Process(const std::string& exe, const std::string& arguments = "") { Start(exe, arguments); }
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;
    ~Process() { Kill(); }

    // False if it cannot start. Waits until the program is idle for input
    // (a console program returns at once). `directory`: its current folder.
    bool Start(const std::string& exe, const std::string& arguments = "", const std::string& directory = "");
    bool Started() const { return static_cast<bool>(process_); }
    DWORD Id() const { return pid_; }
    HANDLE Handle() const { return process_.Get(); }
    bool Alive() const;
    // The exit code once it ended within `ms`, else STILL_ACTIVE.
    DWORD WaitExit(DWORD ms);
    // Ends it and whatever it started; nothing if it has ended.
    void Kill();

    // Its first top-level window of `className` (and `caption`), waiting up to `ms`.
    HWND WaitWindow(const char* className, const char* caption = nullptr, DWORD ms = 10000) const;

private:
    fw::KernelHandle job_, process_;
    DWORD pid_ = 0;
};

// Runs `exe` with `arguments` to its end; its exit code, or ~0u when it could
// not start or did not end within `ms` (it is then killed).
DWORD RunToEnd(const std::string& exe, const std::string& arguments = "", DWORD ms = 30000);

}  // namespace fw::testing
