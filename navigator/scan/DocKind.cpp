#include "DocKind.h"
#include "LineScan.h"

namespace qv {

namespace {

struct Builtin {
    std::string_view typeName;
    DocKind kind;
};

constexpr Builtin kBuiltins[] = {
    {"C", kKindC},           {"CPP", kKindCpp},          {"H", kKindHeader},        {"ASM", kKindAsm},
    {"INC", kKindAsmInclude}, {"RC", kKindResource},     {"DEF", kKindDefinition},  {"MAK", kKindMake},
    {"MDP", kKindMake},      {"INL", kKindC},            {"CXX", kKindC},           {"HPP", kKindHeader},
    {"HXX", kKindHeader},    {"RC2", kKindResource},     {"DLG", kKindResource},    {"INI", kKindSections},
    {"INF", kKindSections},  {"CLW", kKindSections},     {"HPJ", kKindHelpProject}, {"PAS", kKindPascal},
    {"BAS", kKindBasic},     {"FRM", kKindBasic},        {"FAQ", kKindDigest},      {"LOG", kKindLog},
    {"BSC", kKindNone},      {"RCV", kKindResource},
};

constexpr std::string_view kDebuggerWindows[] = {"Watch",  "Locals",    "Registers",  "Output",
                                                 "Memory", "Call Stack", "Disassembly"};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (linescan::Upper(a[i]) != linescan::Upper(b[i])) return false;
    return true;
}

bool UserKind(const ExtensionMap* userMap, std::string_view extension, DocKind& kind) {
    return userMap && BuiltinKind(userMap->TypeNameFor(extension), kind);
}

}  // namespace

bool BuiltinKind(std::string_view typeName, DocKind& kind) {
    for (const Builtin& b : kBuiltins) {
        if (SameIgnoringCase(b.typeName, typeName)) {
            kind = b.kind;
            return true;
        }
    }
    return false;
}

DocKind DocKindOf(std::string_view path, const ExtensionMap* userMap) {
    const std::size_t slash = path.find_last_of("\\/:");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    DocKind kind = kKindOther;
    if (dot == std::string_view::npos || dot + 1 == name.size()) {
        for (std::string_view window : kDebuggerWindows)
            if (SameIgnoringCase(name, window)) return kKindNone;
        return UserKind(userMap, ".", kind) ? kind : kKindOther;
    }
    const std::string_view extension = name.substr(dot + 1);
    if (UserKind(userMap, extension, kind) || BuiltinKind(extension, kind)) return kind;
    return kKindOther;
}

}  // namespace qv
