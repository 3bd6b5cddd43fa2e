// The logging keys of KVO32.INI, read and written through the profile API.
#pragma once
#include <string>

#include "CategoryMask.h"

namespace kvo {

constexpr char kSuiteIni[] = "KVO32.INI";
constexpr char kFileMaskSection[] = "LogFile";
constexpr char kTestWindowMaskSection[] = "TestLogWindow";

int ReadSuiteInt(const char* section, const char* key, int def);
std::string ReadSuiteString(const char* section, const char* key, const char* def = "");
void WriteSuiteString(const char* section, const char* key, const char* value);

CategoryMask LoadCategoryMask(const std::string& section);
void StoreCategoryMask(const std::string& section, const CategoryMask& mask);

// [LogChWindowN], N the line counted from 0: mask and Show flag.
std::string ChannelWindowSection(int line);

}  // namespace kvo
