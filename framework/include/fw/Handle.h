// RAII ownership of Win32 handles: one template, a traits struct per kind of
// handle saying what "none" is and how to close it.
#pragma once
#include <windows.h>
#include <utility>

namespace fw {

template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o) Reset(o.Release());
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Type Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::None(); }
    Type Release() { return std::exchange(h_, Traits::None()); }
    void Reset(Type h = Traits::None()) {
        if (h_ != Traits::None()) Traits::Close(h_);
        h_ = h;
    }
    // For APIs that return a handle through a pointer.
    Type* Put() { Reset(); return &h_; }

private:
    Type h_ = Traits::None();
};

struct KernelHandleTraits {   // events, threads, processes, mappings
    using Type = HANDLE;
    static Type None() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FileHandleTraits {     // CreateFile's "none" is INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type None() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type None() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type None() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};
struct RegKeyTraits {
    using Type = HKEY;
    static Type None() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type None() { return nullptr; }
    static void Close(Type h) { if (IsWindow(h)) DestroyWindow(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type None() { return nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};
struct HookTraits {
    using Type = HHOOK;
    static Type None() { return nullptr; }
    static void Close(Type h) { UnhookWindowsHookEx(h); }
};
template <class G>
struct GdiTraits {            // pens, brushes, fonts, bitmaps, regions
    using Type = G;
    static Type None() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using Module = UniqueHandle<ModuleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using OwnedWindow = UniqueHandle<WindowTraits>;
using OwnedMenu = UniqueHandle<MenuTraits>;
using Hook = UniqueHandle<HookTraits>;
using Pen = UniqueHandle<GdiTraits<HPEN>>;
using Brush = UniqueHandle<GdiTraits<HBRUSH>>;
using Font = UniqueHandle<GdiTraits<HFONT>>;
using Bitmap = UniqueHandle<GdiTraits<HBITMAP>>;

// A GetProcAddress result as a typed function pointer (FARPROC's own type is
// unrelated to the target's, so go through a generic function pointer).
template <class Fn>
Fn ProcAddress(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Selects a GDI object into a DC for one scope.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectObjectScope() { SelectObject(dc_, old_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace fw
