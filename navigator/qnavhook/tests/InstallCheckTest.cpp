// The installation check against the registry keys the stand-in IDE writes.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>
#include <future>
#include <string>
#include "fw/Handle.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Process.h"
#include "fw/testing/Wait.h"

namespace {

using QuorvaneProcFn = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);

void ForgetIdes() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Developer");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Visual C++ 2.0");
}

// The stand-in writes its kind's keys, as an installed IDE has them.
void RegisterIde(int kind, const std::string& version) {
    ASSERT_EQ(fw::testing::RunToEnd("ide.exe", "/register /kind:" + std::to_string(kind) + " /version:" + version),
              0u);
}

struct Outcome {
    LRESULT result;
    std::string box;  // text of the message box shown, empty if none
};

// Runs the check on a second thread, as its message box blocks the caller,
// and answers the box from here.
Outcome RunCheck() {
    fw::Module lib(LoadLibraryA("qnavhook.dll"));
    auto proc = fw::ProcAddress<QuorvaneProcFn>(lib.Get(), "_QuorvaneProc@20");
    if (!proc) return {-1, "no library"};
    auto check = std::async(std::launch::async, [proc] { return proc(0, nullptr, 0, 0, 0); });
    Outcome out{0, {}};
    const bool done = fw::testing::WaitUntil([&] {
        return check.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready ||
               !fw::testing::FindDialogs(GetCurrentProcessId()).empty();
    });
    if (!done) return {-1, "neither a result nor a box"};
    if (check.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        HWND box = fw::testing::WaitForDialog(GetCurrentProcessId());
        out.box = fw::testing::MessageBoxText(box);
        char title[64] = "";
        GetWindowTextA(box, title, sizeof title);
        if (std::string(title) != "Quorvane") out.box += " [title " + std::string(title) + "]";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    out.result = check.get();
    return out;
}

const std::string kNoRegistry =
    "Couldn't find Microsoft Visual C++ registry entries.\n\n-  Unable to install Quorvane  -";
std::string Unsupported(const std::string& v) {
    return "Microsoft Visual C++ version " + v + " found.\nThis version is not supported yet.\n\n-  Unable to install Quorvane  -";
}

TEST(InstallCheck, AcceptsSupportedVersionsAndExplainsEveryRefusal) {
    struct Case { const char* v4; const char* v2; LRESULT result; std::string box; const char* note; };
    const Case cases[] = {
        {nullptr, nullptr, 0, kNoRegistry, "no IDE at all"},
        {"4.0", nullptr, 1, "", "Developer Studio"},
        {"4.00.1234", nullptr, 1, "", "only the first three characters count"},
        {nullptr, "2.2", 1, "", "Visual C++ 2.2"},
        {nullptr, "2.0", 1, "", "Visual C++ 2.0"},
        {"5.0", nullptr, 0, Unsupported("5.0"), "newer Developer Studio"},
        {nullptr, "1.5", 0, Unsupported("1.5"), "older Visual C++"},
        {"4.0", "1.5", 0, Unsupported("1.5"), "a bad second IDE refuses too"},
        {"4.2", "2.1", 0, Unsupported("4.2"), "the first refusal wins"},
    };
    for (const Case& c : cases) {
        ForgetIdes();
        if (c.v4) RegisterIde(4, c.v4);
        if (c.v2) RegisterIde(2, c.v2);
        const Outcome out = RunCheck();
        EXPECT_EQ(out.result, c.result) << c.note;
        EXPECT_EQ(out.box, c.box) << c.note;
    }
    ForgetIdes();
}

}  // namespace
