#pragma once

#include <cstdint>
#include <vector>

namespace lumigra {

class LoopBudget;

// Tick units of a date/time axis; the numbers are the host's.
enum class TimeUnit : int { Second = 1, Minute = 2, Hour = 4, Day = 8, Month = 16, Year = 32 };

// Nominal length of a unit in days: 365 days a year, 31 a month, 24 hours
// a day, 60 minutes an hour and 60 seconds a minute.
double timeUnitDays(TimeUnit unit);

// A unit number of the host; anything unknown counts as a year.
TimeUnit timeUnitFromCode(int code);

// Civil date of a day number (days since 1899-12-30, the date origin) and back.
struct CivilDate {
    std::int64_t year = 1899;
    int month = 12;
    int day = 30;
};
CivilDate civilFromDays(std::int64_t days);
std::int64_t daysFromCivil(const CivilDate& date);

// Date marks within [lo, hi] (days with fractions, either order) on whole
// multiples of the unit: calendar years and months, midnights, and whole
// hours, minutes or seconds. manualIntervalDays > 0 fixes the multiple as
// that interval in whole units (at least one); otherwise a multiple is
// chosen that gives about ten marks. Each mark counts against the budget;
// generation stops when it is refused. Values outside the representable
// date range give no marks.
std::vector<double> dateTickValues(double lo, double hi, TimeUnit unit, double manualIntervalDays,
                                   LoopBudget* budget, bool* stopped = nullptr);

} // namespace lumigra
