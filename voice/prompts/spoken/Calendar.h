// Local date and time as the spoken values need them, and the clock they are
// read from: the system clock in a call, a fixed one in tests and tools.
#pragma once

namespace kvo {

struct LocalTime {
    int year = 1970;
    int month = 1;   // 1-12
    int day = 1;     // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

class SystemClock : public Clock {
public:
    LocalTime Now() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(const LocalTime& now) : now_(now) {}
    LocalTime Now() const override { return now_; }

private:
    LocalTime now_;
};

// 0 = Sunday. Any day 1-31 of any month counts on from the month's start.
int DayOfWeek(int year, int month, int day);

// Days since 1970-01-01 of the proleptic Gregorian calendar.
long DaysFromCivil(int year, int month, int day);

}  // namespace kvo
