#include "FileDateFormat.h"
#include <cstdio>

namespace qnav::state {

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void Append(std::string& out, const char* format, unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    out += buf;
}
}  // namespace

std::string FormatFileDateTime(std::uint16_t dosDate, std::uint16_t dosTime, const IntlSettings& intl) {
    if (dosDate == 0 && dosTime == 0) return {};
    const unsigned day = dosDate & 0x1F, month = (dosDate >> 5) & 0x0F, year = 1980u + (dosDate >> 9);
    const unsigned hour = dosTime >> 11, minute = (dosTime >> 5) & 0x3F;

    std::string out;
    const std::string& p = intl.shortDate;
    for (std::size_t i = 0; i < p.size();) {
        const char c = Lower(p[i]);
        std::size_t run = 1;
        while (i + run < p.size() && Lower(p[i + run]) == c) ++run;
        if (c == 'd' || c == 'm') {
            const unsigned v = c == 'd' ? day : month;
            if (run >= 2) { Append(out, "%02u", v); i += 2; }
            else { Append(out, "%u", v); i += 1; }
        } else if (c == 'y' && run >= 4) {
            Append(out, "%04u", year); i += 4;
        } else if (c == 'y' && run >= 2) {
            Append(out, "%02u", year % 100); i += run;
        } else {
            out += p[i]; i += 1;
        }
    }

    const bool pm = hour >= 12;
    // Noon and midnight read 12 on a 12-hour clock, never 0.
    const unsigned shownHour = intl.clock24 ? hour : (hour % 12 == 0 ? 12 : hour % 12);
    const std::string& suffix = intl.clock24 ? intl.pmSuffix : (pm ? intl.pmSuffix : intl.amSuffix);
    char time[64];
    std::snprintf(time, sizeof time, intl.hourLeadingZero ? "  %02u%c%02u %s" : "  %2u%c%02u %s",
                  shownHour, intl.timeSeparator, minute, suffix.c_str());
    return out + time;
}

}  // namespace qnav::state
