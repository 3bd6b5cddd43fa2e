#include "HookLibrary.h"

namespace qnav {

bool HookLibrary::Load() {
    module_.Reset(LoadLibraryA("qnavhook.dll"));
    if (!module_) return false;
    getVersion_ = fw::ProcAddress<GetVersionFn>(module_.Get(), "_GetDLLVersion@0");
    proc_ = fw::ProcAddress<QuorvaneProcFn>(module_.Get(), "_QuorvaneProc@20");
    return getVersion_ && proc_;
}

LRESULT HookLibrary::Call(QuorvaneCommand command, HWND window, void* pointer) const {
    if (!proc_) return 0;
    return proc_(command, window, 0, reinterpret_cast<LPARAM>(pointer), 0);
}

}  // namespace qnav
