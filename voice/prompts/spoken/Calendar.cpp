#include "Calendar.h"

#include <ctime>

namespace kvo {

LocalTime SystemClock::Now() const {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    // localtime's buffer is shared; one call, copied at once.
    if (const std::tm* t = std::localtime(&now)) tm = *t;
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

long DaysFromCivil(int year, int month, int day) {
    const long y = static_cast<long>(year) - (month <= 2);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DayOfWeek(int year, int month, int day) {
    const long days = DaysFromCivil(year, month, day);
    // 1970-01-01 was a Thursday.
    long weekday = (days + 4) % 7;
    if (weekday < 0) weekday += 7;
    return static_cast<int>(weekday);
}

}  // namespace kvo
