// Started by the test-support tests:
//   fw_testing_child window        shows a window titled with its process id, waits
//   fw_testing_child spawn         the same, after starting "window" in its own job
//   fw_testing_child orphan        starts "window", then dies without cleaning up;
//                                  its exit code is the started one's process id
//   fw_testing_child exit <code>   ends at once with <code>
#include <windows.h>
#include <cstdlib>
#include <string>
#include "fw/testing/Process.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "window";
    if (mode == "exit") return argc > 2 ? std::atoi(argv[2]) : 0;
    fw::testing::Process child;
    if (mode == "spawn" || mode == "orphan") child.Start("fw_testing_child.exe", "window");
    if (mode == "orphan") {
        child.WaitWindow("QvTestingChild");
        TerminateProcess(GetCurrentProcess(), child.Id());   // no destructor runs
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvTestingChild";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, std::to_string(GetCurrentProcessId()).c_str(), WS_POPUP, 0, 0, 10, 10,
                    nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
