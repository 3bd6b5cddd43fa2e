// Shows the control program at work, headless: starts the stand-in IDE and
// qnav.exe, reports what qnav loaded and attached, shows that it refuses to
// quit while the IDE uses the hook, and ends both cleanly.
#include <cstdio>
#include <string>
#include "IdeControl.h"
#include "PeSection.h"
#include "QuorvaneProtocol.h"
#include "SettingsFile.h"
#include "SharedState.h"
#include "fw/ModulePath.h"
#include "fw/testing/Dialogs.h"
#include "fw/testing/Process.h"
#include "fw/testing/Wait.h"
#include "fw/testing/Windows.h"

using fw::testing::AnswerMessageBox;
using fw::testing::Process;
using fw::testing::WaitUntil;
using fw::testing::WindowText;

namespace {

// Main window class of the stand-in IDE playing Developer Studio.
constexpr char kIdeFrameClass[] = "Afx:400000:8:10011:0:1a3e";
constexpr int IDC_QUIT = 404;

DWORD AttachedThreads(HMODULE hook) {
    using Proc = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);
    auto proc = fw::ProcAddress<Proc>(hook, "_QuorvaneProc@20");
    DWORD threads = 0;
    return proc && proc(qnav::QP_QUERYATTACHED, nullptr, 0, reinterpret_cast<LPARAM>(&threads), 0) ? threads : 0;
}

bool Attached(HMODULE hook, HWND frame) {
    auto* shared = reinterpret_cast<const qnav::SharedHookState*>(FindSection(hook, ".shared").first);
    if (!shared) return false;
    for (const auto& slot : shared->slots)
        if (slot.frame == frame && slot.attached) return true;
    return false;
}

LRESULT AskIde(HWND frame, WPARAM query) {
    static const UINT message = RegisterWindowMessageA(ide::kQueryMessageName);
    return SendMessageA(frame, message, query, 0);
}

int Fail(const char* what) {
    std::printf("FAILED: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string sample = argc > 1 ? argv[1] : "";
    fw::Module hook(LoadLibraryA(fw::BesideModule("qnavhook.dll").c_str()));
    if (!hook) return Fail("qnavhook.dll not found");

    Process ide;
    if (!ide.Start("ide.exe", sample)) return Fail("cannot start the stand-in IDE");
    HWND frame = ide.WaitWindow(kIdeFrameClass);
    if (!frame) return Fail("the stand-in IDE shows no main window");

    Process qnav;
    if (!qnav.Start("qnav.exe")) return Fail("cannot start qnav.exe");
    HWND main = qnav.WaitWindow("QNAV");
    if (!main) return Fail("qnav.exe shows no main window");
    std::printf("qnav.exe running: window \"%s\"%s\n", WindowText(main).c_str(),
                IsWindowVisible(main) ? ", shown" : ", hidden");

    qnav::HookSettings settings{};
    qnav::SettingsFile(GetModuleHandleA(nullptr)).Load(settings);
    std::printf("settings from QNAV.INI: ItemCount %u, %s comments, %s opens the list, font \"%s\"\n",
                settings.ItemCount, settings.CppComments ? "C++" : "C",
                settings.ShiftRightMouse ? "Shift+right button" : "right button",
                settings.Font.lfFaceName[0] ? settings.Font.lfFaceName : "(system)");

    if (!WaitUntil([&] { return Attached(hook.Get(), frame); }, 10000)) return Fail("the IDE was not attached");
    std::printf("attached to \"%s\"; its windows run the navigator: %s\n", WindowText(frame).c_str(),
                AskIde(frame, ide::kQueryProcsOriginal) ? "no" : "yes");
    // The IDE starts a worker thread, as a build would: the hook now counts it.
    AskIde(frame, ide::kQueryStartThread);
    WaitUntil([&] { return AttachedThreads(hook.Get()) > 0; });
    std::printf("attached IDE threads: %lu\n", static_cast<unsigned long>(AttachedThreads(hook.Get())));

    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    std::string refusal = AnswerMessageBox(qnav.Id(), "Quorvane");
    std::printf("Quit while attached: \"%s\"\n", refusal.substr(0, refusal.find('\n')).c_str());

    AskIde(frame, ide::kQueryStopThreads);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ide.WaitExit(5000);
    PostMessageA(main, WM_COMMAND, IDC_QUIT, 0);
    const DWORD code = qnav.WaitExit(5000);
    std::printf("IDE closed; Quit: qnav.exe %s, attached IDE threads: %lu\n",
                code == 0 ? "ended cleanly" : "did not end", static_cast<unsigned long>(AttachedThreads(hook.Get())));
    return code == 0 ? 0 : 1;
}
