#include <gtest/gtest.h>
#include <map>
#include <string>
#include "DocKind.h"

namespace {

struct Case {
    const char* path;
    qv::DocKind kind;
};

TEST(DocKind, BuiltinTable) {
    const Case cases[] = {
        {"C:\\SRC\\MAIN.CPP", 2}, {"main.c", 1}, {"x.h", 3},    {"a.Asm", 4},   {"defs.inc", 5}, {"app.rc", 7},
        {"app.def", 6},           {"x.mak", 10}, {"x.mdp", 10}, {"x.inl", 1},   {"x.cxx", 1},    {"x.hpp", 3},
        {"x.hxx", 3},             {"x.rc2", 7},  {"x.dlg", 7},  {"x.ini", 8},   {"x.inf", 8},    {"x.clw", 8},
        {"x.hpj", 9},             {"x.pas", 12}, {"x.bas", 11}, {"x.frm", 11},  {"x.faq", 14},   {"x.log", 13},
        {"x.bsc", 0xFFFF},        {"x.rcv", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(qv::DocKindOf(c.path), c.kind) << c.path;
}

TEST(DocKind, NamesWithoutATableEntry) {
    const Case cases[] = {
        {"readme.txt", 0},         {"Makefile", 0},       {"Watch", 0xFFFF},     {"call stack", 0xFFFF},
        {"C:\\dir.d\\Output", 0xFFFF}, {"/home/u/file.cpp", 2}, {"a.b.pas", 12},   {"foo.", 0},
        {"C:\\dir.cpp\\notes", 0}, {"", 0},               {"x.cppx", 0},         {"Watches", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(qv::DocKindOf(c.path), c.kind) << '"' << c.path << '"';
}

class UserMap final : public qv::ExtensionMap {
public:
    std::string_view TypeNameFor(std::string_view extension) const override {
        std::string upper(extension);
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        const auto it = entries.find(upper);
        return it == entries.end() ? std::string_view() : std::string_view(it->second);
    }
    std::map<std::string, std::string> entries{
        {"CC", "CPP"}, {".", "ini"}, {"TXT", "LOG"}, {"H", "CPP"}, {"X", "NOPE"}, {"PAS", "BSC"}};
};

TEST(DocKind, UserMapComesFirst) {
    const UserMap map;
    const Case cases[] = {
        {"a.cc", 2}, {"README", 8}, {"Watch", 0xFFFF}, {"a.txt", 13}, {"a.h", 2}, {"a.x", 0}, {"a.pas", 0xFFFF},
        {"a.rc", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(qv::DocKindOf(c.path, &map), c.kind) << c.path;
}

}  // namespace
