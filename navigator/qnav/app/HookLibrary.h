// The control program's link to qnavhook.dll. The exports are resolved by
// their exact decorated names, the contract between the two deliverables,
// so no import library's idea of stdcall decoration can get in the way.
#pragma once
#include <windows.h>
#include "QuorvaneProtocol.h"
#include "fw/Handle.h"

namespace qnav {

class HookLibrary {
public:
    // Loads the library next to the program; false if it or an export is missing.
    bool Load();
    DWORD Version() const { return getVersion_ ? getVersion_() : 0; }
    // QuorvaneProc(command, window, 0, pointer, 0).
    LRESULT Call(QuorvaneCommand command, HWND window = nullptr, void* pointer = nullptr) const;

private:
    using GetVersionFn = DWORD(WINAPI*)();
    using QuorvaneProcFn = LRESULT(WINAPI*)(UINT, HWND, WPARAM, LPARAM, LPARAM);
    fw::Module module_;
    GetVersionFn getVersion_ = nullptr;
    QuorvaneProcFn proc_ = nullptr;
};

}  // namespace qnav
