#include "Subclass.h"

namespace qnav {

namespace {

// Wine hands out small handles instead of addresses for procedures of the
// other character set; CallWindowProc and SetWindowLongPtr accept both.
bool IsProcedureHandle(WNDPROC p) {
    return (reinterpret_cast<ULONG_PTR>(p) >> 16) == 0xFFFF;
}

bool IsCodeAddress(WNDPROC p) {
    if (!p) return false;
    if (IsProcedureHandle(p)) return true;
    MEMORY_BASIC_INFORMATION mbi{};
    if (!VirtualQuery(reinterpret_cast<LPCVOID>(p), &mbi, sizeof mbi)) return false;
    constexpr DWORD kExec = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return mbi.State == MEM_COMMIT && (mbi.Protect & kExec) != 0;
}

WNDPROC StoredProc(HWND w) { return reinterpret_cast<WNDPROC>(GetPropA(w, kOldProcProperty)); }

}  // namespace

bool SubclassWindow(HWND w, WNDPROC proc) {
    if (!w || !IsWindow(w)) return false;
    if (GetPropA(w, kOldProcProperty)) return true;
    SetLastError(0);
    auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    if (!old) return false;
    if (!SetPropA(w, kOldProcProperty, reinterpret_cast<HANDLE>(old))) {
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        return false;
    }
    return true;
}

void UnsubclassWindow(HWND w) {
    if (!w || !IsWindow(w)) return;
    WNDPROC old = StoredProc(w);
    if (IsCodeAddress(old)) SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(w, kOldProcProperty);
}

bool IsSubclassed(HWND w) { return w && GetPropA(w, kOldProcProperty) != nullptr; }

LRESULT CallOldProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC old = StoredProc(w);
    return IsCodeAddress(old) ? CallWindowProcA(old, w, msg, wp, lp) : 0;
}

LRESULT UnsubclassAndCallOld(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC old = StoredProc(w);
    UnsubclassWindow(w);
    return IsCodeAddress(old) ? CallWindowProcA(old, w, msg, wp, lp) : 0;
}

}  // namespace qnav
