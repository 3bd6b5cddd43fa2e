// The kind of a document, chosen from its file name: it decides which
// scanner outlines it, which colours the list uses and what the menu offers.
// Portable: no Windows headers.
#pragma once
#include <cstdint>
#include <string_view>

namespace qv {

using DocKind = std::uint16_t;

constexpr DocKind kKindOther = 0;
constexpr DocKind kKindC = 1;
constexpr DocKind kKindCpp = 2;
constexpr DocKind kKindHeader = 3;
constexpr DocKind kKindAsm = 4;
constexpr DocKind kKindAsmInclude = 5;
constexpr DocKind kKindDefinition = 6;
constexpr DocKind kKindResource = 7;
constexpr DocKind kKindSections = 8;
constexpr DocKind kKindHelpProject = 9;
constexpr DocKind kKindMake = 10;
constexpr DocKind kKindBasic = 11;
constexpr DocKind kKindPascal = 12;
constexpr DocKind kKindLog = 13;
constexpr DocKind kKindDigest = 14;
// Debugger windows and browse files: nothing is offered for them.
constexpr DocKind kKindNone = 0xFFFF;

// The user's extension map: an extension (without the dot, "." for names
// without one) to a built-in type name such as "CPP". Returns an empty view
// when the user has no entry.
class ExtensionMap {
public:
    virtual std::string_view TypeNameFor(std::string_view extension) const = 0;
protected:
    ~ExtensionMap() = default;
};

// The kind of a built-in type name (the extensions of the built-in table,
// compared ignoring case); false when the name is not one of them.
bool BuiltinKind(std::string_view typeName, DocKind& kind);

// The kind of the document at path (directories may use '\\' or '/'); the
// user's map, when given, is asked before the built-in table.
DocKind DocKindOf(std::string_view path, const ExtensionMap* userMap = nullptr);

}  // namespace qv
