#include "IdeRegistry.h"
#include "fw/Handle.h"
#include <vector>

namespace qnav {

bool ReadIdeRegistryText(IdeKind kind, std::initializer_list<const char*> path, const char* value,
                         DWORD maxBytes, std::string& out) {
    out.clear();
    const char* root = IdeRegistryRoot(kind);
    if (!root) return false;
    // One level at a time, each parent closed as soon as the child is open.
    fw::RegKey key;
    HKEY parent = HKEY_CURRENT_USER;
    auto descend = [&](const char* name) {
        fw::RegKey next;
        if (RegOpenKeyExA(parent, name, 0, KEY_READ, next.Put()) != ERROR_SUCCESS) return false;
        key = std::move(next);
        parent = key.Get();
        return true;
    };
    std::string rootPath = root;
    for (std::size_t start = 0; start <= rootPath.size();) {
        const std::size_t end = rootPath.find('\\', start);
        const std::string part = rootPath.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!descend(part.c_str())) return false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    for (const char* name : path)
        if (!descend(name)) return false;

    std::vector<char> buf(maxBytes + 1, '\0');
    DWORD size = maxBytes, type = 0;
    if (RegQueryValueExA(key.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    out.assign(buf.data());  // a value without its terminator still ends in our buffer
    return true;
}

}  // namespace qnav
