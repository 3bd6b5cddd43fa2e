#include "fw/testing/Windows.h"

#include <algorithm>

#include <tlhelp32.h>

#include "fw/Handle.h"
#include "fw/testing/Wait.h"

namespace fw::testing {

namespace {
struct Search {
    DWORD pid;
    const char* className;
    const char* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
    auto& s = *reinterpret_cast<Search*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (s.pid && owner != s.pid) return TRUE;
    if (s.className) {
        char cls[256] = "";
        GetClassNameA(w, cls, sizeof cls);
        if (lstrcmpA(cls, s.className) != 0) return TRUE;
    }
    if (s.caption && WindowText(w) != s.caption) return TRUE;
    s.found.push_back(w);
    return TRUE;
}

std::string Hex(std::uintptr_t v) {
    char buf[16];
    wsprintfA(buf, "%08lX", static_cast<unsigned long>(v));
    return buf;
}
}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className, const char* caption) {
    Search s{pid, className, caption, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitTopLevelWindow(DWORD pid, const char* className, const char* caption, DWORD ms) {
    HWND found = nullptr;
    WaitUntil([&] {
        auto all = TopLevelWindows(pid, className, caption);
        found = all.empty() ? nullptr : all.front();
        return found != nullptr;
    }, ms);
    return found;
}

std::string WindowText(HWND hwnd) {
    char buf[1024];
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 5000, &n))
        return {};
    return std::string(buf, std::min<std::size_t>(n, sizeof buf - 1));
}

std::string ProgramName(DWORD pid) {
    // A snapshot's "none" is INVALID_HANDLE_VALUE, as a file's is.
    fw::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return "?";
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ProcessID == pid) return entry.szExeFile;
    return "?";
}

std::string Describe(const std::vector<HWND>& windows) {
    std::string out;
    for (HWND w : windows) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char cls[256] = "";
        GetClassNameA(w, cls, sizeof cls);
        out += "  window " + Hex(reinterpret_cast<std::uintptr_t>(w)) + " class \"" + cls + "\" title \"" +
               WindowText(w) + "\" of process " + std::to_string(pid) + " (" + ProgramName(pid) + ")\n";
    }
    return out;
}

std::string DescribeProcesses(const std::vector<DWORD>& pids) {
    std::string out;
    for (DWORD pid : pids) out += "  process " + std::to_string(pid) + " (" + ProgramName(pid) + ")\n";
    return out;
}

}  // namespace fw::testing
