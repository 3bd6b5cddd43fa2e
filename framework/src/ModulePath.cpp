#include "fw/ModulePath.h"

namespace fw {

std::string ModuleFileName(HMODULE module) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};  // a cut path names the wrong file
    return std::string(path, n);
}

std::string ModuleDirectory(HMODULE module) {
    std::string dir = ModuleFileName(module);
    const std::size_t sep = dir.find_last_of("\\/");
    dir.erase(sep == std::string::npos ? 0 : sep + 1);
    return dir;
}

}  // namespace fw
