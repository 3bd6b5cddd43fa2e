// Shows the hook library at work the way the control program drives it:
// starts the stand-in IDE on a file, attaches, asks how many IDE threads use
// the library, then detaches and shows the IDE's windows handed back.
//   navattach <kind 2|4> <file>
#include <windows.h>
#include <cstdio>
#include <string>
#include "HookSettings.h"
#include "IdeProcess.h"
#include "QuorvaneProtocol.h"
#include "fw/Handle.h"

namespace {

using QuorvaneProcFn = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);

int g_subclassed = 0;

BOOL CALLBACK CountSubclassed(HWND w, LPARAM) {
    if (GetPropA(w, "QuorvaneOldProc")) ++g_subclassed;
    return TRUE;
}

int Subclassed(HWND frame) {
    g_subclassed = GetPropA(frame, "QuorvaneOldProc") ? 1 : 0;
    EnumChildWindows(frame, &CountSubclassed, 0);
    return g_subclassed;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc > 1 ? argv[1] : "4";
    const std::string file = argc > 2 ? argv[2] : "";
    fw::Module lib(LoadLibraryA("qnavhook.dll"));
    auto proc = fw::ProcAddress<QuorvaneProcFn>(lib.Get(), "_QuorvaneProc@20");
    if (!proc) {
        std::printf("qnavhook.dll cannot be loaded\n");
        return 1;
    }
    auto call = [&](UINT cmd, HWND w = nullptr, const void* p = nullptr) {
        return proc(cmd, w, 0, reinterpret_cast<LPARAM>(p), 0);
    };

    ide::testing::IdeProcess ide("/kind:" + kind + " \"" + file + "\"");
    HWND frame = ide.MainWindow();
    if (!frame) {
        std::printf("the stand-in IDE did not start\n");
        return 1;
    }
    char title[128] = "", cls[128] = "";
    GetWindowTextA(frame, title, sizeof title);
    GetClassNameA(frame, cls, sizeof cls);
    const std::string name = file.substr(file.find_last_of("\\/") + 1);
    std::printf("stand-in IDE \"%s\" (class %s) opened %s\n", title, cls, name.c_str());

    fw::OwnedWindow control(CreateWindowExA(0, "STATIC", "qnav", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    qnav::HookSettings settings{};
    settings.ItemCount = 24;
    call(qnav::QP_INSTALLSHELLHOOK, control.Get());
    call(qnav::QP_ATTACHALL, nullptr, &settings);
    fw::testing::WaitUntil([&] { return Subclassed(frame) >= 5; });
    std::printf("attached: %d IDE windows subclassed (frame, MDI client, document, inner frame, view)\n",
                Subclassed(frame));

    LONG threads = 0;
    LRESULT inUse = call(qnav::QP_QUERYATTACHED, nullptr, &threads);
    std::printf("IDE threads started since attachment: %ld (library in use: %s)\n", threads, inUse ? "yes" : "no");
    ide::testing::Query(frame, ide::kQueryStartThread);
    fw::testing::WaitUntil([&] { return call(qnav::QP_QUERYATTACHED, nullptr, &threads) != 0; }, 3000);
    inUse = call(qnav::QP_QUERYATTACHED, nullptr, &threads);
    std::printf("after the IDE starts a worker thread: %ld (library in use: %s)\n", threads, inUse ? "yes" : "no");
    ide::testing::Query(frame, ide::kQueryStopThreads);

    call(qnav::QP_DETACHALL);
    call(qnav::QP_REMOVESHELLHOOK);
    call(qnav::QP_REMOVEALLHOOKS);
    const bool restored = ide::testing::Query(frame, ide::kQueryProcsOriginal) == 1;
    std::printf("detached: %d windows still subclassed, IDE procedures %s\n", Subclassed(frame),
                restored ? "restored" : "NOT restored");
    PostMessageA(frame, WM_CLOSE, 0, 0);
    return restored && ide.Alive() ? 0 : 1;
}
