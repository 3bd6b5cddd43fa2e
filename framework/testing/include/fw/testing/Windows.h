// Finding top-level windows and saying whose they are. A test that counts
// windows (or frames, slots) prints Describe() of what it counted, so a
// failure names the process that intruded.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace fw::testing {

// Top-level windows of process `pid` (0: any process), of class `className`
// and caption `caption` where given.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className = nullptr, const char* caption = nullptr);

// The first such window once one exists, or nullptr after `ms`.
HWND WaitTopLevelWindow(DWORD pid, const char* className, const char* caption = nullptr, DWORD ms = 10000);

// A window's text, asked of the window itself (WM_GETTEXT is marshalled across
// processes), with a time limit so a hung window cannot hang the test.
std::string WindowText(HWND hwnd);

// The file name of process `pid` ("ide.exe"), or "?" when it cannot be had.
std::string ProgramName(DWORD pid);

// One line per window: handle, class, caption, process id and program.
std::string Describe(const std::vector<HWND>& windows);
// One line per process: its id and program.
std::string DescribeProcesses(const std::vector<DWORD>& pids);

}  // namespace fw::testing
