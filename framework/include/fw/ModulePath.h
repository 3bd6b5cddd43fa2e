// Files that ship beside a program or library (help files, drivers, data)
// are found through that module's own path, not the current directory.
#pragma once
#include <windows.h>
#include <string>

// Every module (program or library) links the framework statically, so this
// names the module the calling code was linked into: the library's own
// resources, not the host program's.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace fw {

inline HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The module's full path (nullptr: the running program); empty when the
// path cannot be had whole.
std::string ModuleFileName(HMODULE module = nullptr);

// The folder of the module (nullptr: the running program), with its trailing
// separator; empty when the path cannot be had whole.
std::string ModuleDirectory(HMODULE module = nullptr);

inline std::string BesideModule(const char* name, HMODULE module = nullptr) {
    return ModuleDirectory(module) + name;
}

}  // namespace fw
