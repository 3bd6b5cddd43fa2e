// Second process for the shared-section test: maps the hook library, then
// writes or reads the first word of its shared section.
//   SharedProbe read          exit code = the word
//   SharedProbe write <n>     stores n, exit code 0
#include <windows.h>
#include <cstdlib>
#include <cstring>
#include "PeSection.h"

int main(int argc, char** argv) {
    HMODULE lib = LoadLibraryA("qnavhook.dll");
    if (!lib) return 200;
    auto [data, size] = FindSection(lib, ".shared");
    if (!data || size < sizeof(LONG)) return 201;
    auto* word = reinterpret_cast<volatile LONG*>(data);
    if (argc >= 3 && std::strcmp(argv[1], "write") == 0) {
        *word = std::atol(argv[2]);
        return 0;
    }
    return static_cast<int>(*word);
}
