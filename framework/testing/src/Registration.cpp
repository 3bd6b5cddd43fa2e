#include "fw/testing/Registration.h"

#include "fw/Handle.h"

namespace fw::testing {

HRESULT CallLibraryEntry(const std::string& libraryPath, const char* name) {
    fw::Module library(LoadLibraryA(libraryPath.c_str()));
    if (!library) return HRESULT_FROM_WIN32(GetLastError());
    auto entry = fw::ProcAddress<HRESULT(STDAPICALLTYPE*)()>(library.Get(), name);
    return entry ? entry() : E_NOTIMPL;
}

bool RegistryKeyExists(HKEY root, const std::string& path) {
    fw::RegKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

std::string RegistryText(HKEY root, const std::string& path, const char* name) {
    fw::RegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return "<missing>";
    char data[512];
    DWORD size = sizeof data, type = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return "<missing>";
    return std::string(data, size && data[size - 1] == '\0' ? size - 1 : size);
}

}  // namespace fw::testing
