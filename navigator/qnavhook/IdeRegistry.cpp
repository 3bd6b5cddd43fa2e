#include "IdeRegistry.h"
#include "HookState.h"

namespace qnav {

bool ReadIdeRegistryText(IdeKind kind, std::initializer_list<const char*> path, const char* value,
                         DWORD maxBytes, std::string& out) {
    const char* root = IdeRegistryRoot(kind);
    if (!root) {
        out.clear();
        return false;
    }
    std::string keyPath = root;
    for (const char* name : path) keyPath.append("\\").append(name);
    return state::ReadRegistryText(keyPath, value, maxBytes, out);
}

}  // namespace qnav
