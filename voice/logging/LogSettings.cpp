#include "LogSettings.h"

#include <windows.h>

namespace kvo {

int ReadSuiteInt(const char* section, const char* key, int def) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, def, kSuiteIni));
}

std::string ReadSuiteString(const char* section, const char* key, const char* def) {
    char buf[MAX_PATH * 2];
    DWORD n = GetPrivateProfileStringA(section, key, def, buf, sizeof buf, kSuiteIni);
    return std::string(buf, n);
}

void WriteSuiteString(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, kSuiteIni);
}

CategoryMask LoadCategoryMask(const std::string& section) {
    return CategoryMask::Load(
        [&](const char* key, int def) { return ReadSuiteInt(section.c_str(), key, def); });
}

void StoreCategoryMask(const std::string& section, const CategoryMask& mask) {
    mask.Store([&](const char* key, const char* value) {
        WriteSuiteString(section.c_str(), key, value);
    });
}

std::string ChannelWindowSection(int line) { return "LogChWindow" + std::to_string(line); }

}  // namespace kvo
