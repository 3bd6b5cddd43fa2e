// A file's date and time as the File Info box shows it, in the user's short
// date pattern and clock settings.
#pragma once
#include <cstdint>
#include <string>

namespace qnav::state {

// The [intl] values that shape the text, with the platform defaults.
struct IntlSettings {
    std::string shortDate = "m/d/yy";
    int clock24 = 0;          // iTime
    int hourLeadingZero = 0;  // iTLZero
    char timeSeparator = ':'; // first character of sTime
    std::string amSuffix;     // s1159
    std::string pmSuffix;     // s2359
};

// DOS date (day 0-4, month 5-8, years since 1980 9-15) and DOS time (minutes
// 5-10, hours 11-15); both zero give an empty text.
std::string FormatFileDateTime(std::uint16_t dosDate, std::uint16_t dosTime, const IntlSettings& intl);

}  // namespace qnav::state
