// Finds a named section of a loaded module from its PE headers, so tests can
// look at the hook library's shared data without an export made for them.
#pragma once
#include <windows.h>
#include <cstring>
#include <utility>

inline std::pair<BYTE*, DWORD> FindSection(HMODULE module, const char* name) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    IMAGE_SECTION_HEADER* sec = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++sec) {
        if (std::strncmp(reinterpret_cast<const char*>(sec->Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0)
            return {base + sec->VirtualAddress, sec->Misc.VirtualSize};
    }
    return {nullptr, 0};
}
