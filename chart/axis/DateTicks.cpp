#include "axis/DateTicks.h"

#include "axis/LoopBudget.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumigra {

namespace {

// Dates run from year 100 to 9999 in the date type of the host.
constexpr double kFirstDay = -657434.0;
constexpr double kLastDay = 2958465.0 + 1.0;
constexpr double kTargetMarks = 10.0;
// Without a budget no date axis yields more marks than this.
constexpr std::int64_t kUnbudgetedMarks = 100000;

double floorDiv(double a, double b) { return std::floor(a / b); }

std::int64_t chooseMultiple(double spanUnits, TimeUnit unit)
{
    static constexpr std::array<std::int64_t, 9> kSeconds{1, 2, 5, 10, 15, 30, 60, 120, 300};
    static constexpr std::array<std::int64_t, 9> kHours{1, 2, 3, 6, 12, 24, 48, 72, 168};
    static constexpr std::array<std::int64_t, 9> kDays{1, 2, 7, 14, 28, 56, 91, 182, 364};
    static constexpr std::array<std::int64_t, 9> kMonths{1, 2, 3, 6, 12, 24, 36, 60, 120};
    static constexpr std::array<std::int64_t, 9> kYears{1, 2, 5, 10, 20, 50, 100, 200, 500};
    const std::array<std::int64_t, 9>* ladder = &kYears;
    switch (unit) {
    case TimeUnit::Second:
    case TimeUnit::Minute: ladder = &kSeconds; break;
    case TimeUnit::Hour: ladder = &kHours; break;
    case TimeUnit::Day: ladder = &kDays; break;
    case TimeUnit::Month: ladder = &kMonths; break;
    case TimeUnit::Year: break;
    }
    for (std::int64_t k : *ladder) {
        if (spanUnits / static_cast<double>(k) <= kTargetMarks)
            return k;
    }
    // Beyond the ladder: a power-of-ten multiple of its last rung.
    std::int64_t k = ladder->back();
    while (spanUnits / static_cast<double>(k) > kTargetMarks && k < (std::int64_t{1} << 50))
        k *= 10;
    return k;
}

std::int64_t secondsPerUnit(TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Second: return 1;
    case TimeUnit::Minute: return 60;
    case TimeUnit::Hour: return 3600;
    default: return 86400;
    }
}

} // namespace

double timeUnitDays(TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Second: return 1.0 / 86400.0;
    case TimeUnit::Minute: return 1.0 / 1440.0;
    case TimeUnit::Hour: return 1.0 / 24.0;
    case TimeUnit::Day: return 1.0;
    case TimeUnit::Month: return 31.0;
    case TimeUnit::Year: return 365.0;
    }
    return 365.0;
}

TimeUnit timeUnitFromCode(int code)
{
    switch (code) {
    case 1: return TimeUnit::Second;
    case 2: return TimeUnit::Minute;
    case 4: return TimeUnit::Hour;
    case 8: return TimeUnit::Day;
    case 16: return TimeUnit::Month;
    default: return TimeUnit::Year;
    }
}

// Day-number conversions after the proleptic Gregorian era arithmetic,
// shifted to the date origin 1899-12-30.
CivilDate civilFromDays(std::int64_t days)
{
    const std::int64_t z = days + 693899; // 1899-12-30 is day -25569 of 1970
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = yoe + era * 400 + (date.month <= 2 ? 1 : 0);
    return date;
}

std::int64_t daysFromCivil(const CivilDate& date)
{
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t m = date.month;
    const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + date.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 693899;
}

std::vector<double> dateTickValues(double lo, double hi, TimeUnit unit, double manualIntervalDays,
                                   LoopBudget* budget, bool* stopped)
{
    if (stopped)
        *stopped = false;
    std::vector<double> marks;
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return marks;
    if (lo > hi)
        std::swap(lo, hi);
    if (lo < kFirstDay || hi > kLastDay)
        return marks;

    const double unitDays = timeUnitDays(unit);
    // A multiple longer than the whole date range gives one mark at most;
    // capping it keeps the stepping arithmetic inside 64 bits.
    const double maxMultiple = std::ceil((kLastDay - kFirstDay) / unitDays) + 1.0;
    double multiple = 1.0;
    if (manualIntervalDays > 0 && std::isfinite(manualIntervalDays))
        multiple = std::max(1.0, std::round(manualIntervalDays / unitDays));
    else
        multiple = static_cast<double>(chooseMultiple((hi - lo) / unitDays, unit));
    const std::int64_t k = static_cast<std::int64_t>(std::min(multiple, maxMultiple));

    std::int64_t produced = 0;
    auto take = [&](double v) {
        if (budget ? !budget->add(1) : ++produced > kUnbudgetedMarks) {
            if (stopped)
                *stopped = true;
            return false;
        }
        marks.push_back(v);
        return true;
    };

    if (unit == TimeUnit::Year || unit == TimeUnit::Month) {
        // Months counted from year 0 so that multiples align on the calendar.
        const CivilDate first = civilFromDays(static_cast<std::int64_t>(std::floor(lo)));
        const std::int64_t step = unit == TimeUnit::Year ? 12 * k : k;
        std::int64_t month = first.year * 12 + (first.month - 1);
        month = static_cast<std::int64_t>(floorDiv(static_cast<double>(month), static_cast<double>(step))) * step;
        for (;; month += step) {
            CivilDate d;
            d.year = month >= 0 ? month / 12 : (month - 11) / 12;
            d.month = static_cast<int>(month - d.year * 12) + 1;
            d.day = 1;
            const double v = static_cast<double>(daysFromCivil(d));
            if (v > hi)
                break;
            if (v >= lo && !take(v))
                break;
        }
        return marks;
    }

    // Whole seconds from the origin are exact in 64 bits over the date range.
    const std::int64_t stepSeconds = secondsPerUnit(unit) * k;
    // A millisecond of slack: days with fractions rarely hold whole seconds exactly.
    const double loSeconds = lo * 86400.0 - 1e-3;
    const double hiSeconds = hi * 86400.0 + 1e-3;
    std::int64_t s = static_cast<std::int64_t>(std::ceil(loSeconds / static_cast<double>(stepSeconds))) * stepSeconds;
    for (; static_cast<double>(s) <= hiSeconds; s += stepSeconds) {
        if (!take(static_cast<double>(s) / 86400.0))
            break;
    }
    return marks;
}

} // namespace lumigra
