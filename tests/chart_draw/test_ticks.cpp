#include "axis/AxisPlacement.h"
#include "axis/AxisTransform.h"
#include "axis/DateTicks.h"
#include "axis/TickLayout.h"
#include "axis/LoopBudget.h"

#include <QDate>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace lumigra;

namespace {

std::vector<double> positions(const TickLayout& layout)
{
    std::vector<double> out;
    for (const TickMark& m : layout.marks)
        out.push_back(m.position);
    return out;
}

void expectValues(const std::vector<double>& actual, const std::vector<double>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12 * std::max(1.0, std::fabs(expected[i]))) << "at " << i;
}

} // namespace

TEST(TickLayout, AutomaticIntervalReframesALinearAxis)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {10, 100, false});
    ASSERT_TRUE(axis.setEnds(0.5, 9.2));
    LoopBudget budget;
    const TickLayout main = layoutMainTicks(axis, TickSpec{}, &budget);
    EXPECT_TRUE(main.reframed);
    EXPECT_EQ(main.lo, 0);
    EXPECT_EQ(main.hi, 10);
    EXPECT_EQ(main.intervals, 5);
    EXPECT_EQ(main.step, 2);
    expectValues(positions(main), {10, 30, 50, 70, 90, 110});
    EXPECT_EQ(axis.lo(), 0);
    EXPECT_EQ(axis.hi(), 10);
    EXPECT_EQ(budget.count(), 6);

    // Subticks: each interval of 2 split by the rule into five steps of 0.4.
    TickSpec sub;
    sub.level = 2;
    const TickLayout minor = layoutSubTicks(axis, sub, main.values, &budget);
    ASSERT_EQ(minor.values.size(), 5u * 4u);
    EXPECT_NEAR(minor.values[0], 0.4, 1e-15);
    EXPECT_NEAR(minor.values[4], 2.4, 1e-15);
    EXPECT_EQ(budget.count(), 26);

    // A manual subtick interval: 2 / 0.7 truncates to 2 parts.
    sub.automaticInterval = false;
    sub.markInterval = 0.7;
    const TickLayout halves = layoutSubTicks(axis, sub, main.values, nullptr);
    expectValues(halves.values, {1, 3, 5, 7, 9});
    // An interval wider than the parent still gives one part (no subticks).
    sub.markInterval = 5;
    EXPECT_TRUE(layoutSubTicks(axis, sub, main.values, nullptr).values.empty());
}

TEST(TickLayout, ManualIntervalAndFallback)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {0, 100, true});
    ASSERT_TRUE(axis.setEnds(0, 1));
    TickSpec spec;
    spec.automaticInterval = false;
    spec.markInterval = 0.3;
    const TickLayout manual = layoutMainTicks(axis, spec, nullptr);
    EXPECT_FALSE(manual.reframed);
    expectValues(manual.values, {0, 0.3, 0.6, 0.9});
    expectValues(positions(manual), {100, 70, 40, 10}); // reversed axis

    // A reversed range fails the rule: two intervals over the range as it is.
    ASSERT_TRUE(axis.setEnds(10, 0));
    const TickLayout fallback = layoutMainTicks(axis, TickSpec{}, nullptr);
    EXPECT_FALSE(fallback.reframed);
    EXPECT_EQ(fallback.intervals, 2);
    expectValues(fallback.values, {10, 5, 0});
    // A manual interval on a reversed range steps from lo towards hi.
    const TickLayout down = layoutMainTicks(axis, spec, nullptr);
    ASSERT_EQ(down.values.size(), 34u);
    EXPECT_NEAR(down.values[1], 9.7, 1e-12);

    // A zero or non-finite manual interval behaves like a failed rule.
    spec.markInterval = 0;
    EXPECT_EQ(layoutMainTicks(axis, spec, nullptr).values.size(), 3u);

    // Axis not drawable: no marks at all.
    AxisPlacement flat(linear, {0, 100, false});
    flat.setEnds(3, 3);
    EXPECT_TRUE(layoutMainTicks(flat, TickSpec{}, nullptr).marks.empty());
}

TEST(TickLayout, MarksJustBeyondTheAxisEnd)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {20, 100, false});
    ASSERT_TRUE(axis.setEnds(0, 1));
    TickSpec spec;
    spec.customTick = 1;
    spec.customPositions = {0.5, 1.000005, 1.00002, -0.00002};
    const TickLayout layout = layoutMainTicks(axis, spec, nullptr);
    ASSERT_EQ(layout.marks.size(), 2u);
    EXPECT_EQ(layout.marks[0].customIndex, 0);
    EXPECT_NEAR(layout.marks[1].position, 120.0005, 1e-9);
    EXPECT_EQ(layout.marks[1].customIndex, 1);
    EXPECT_TRUE(layout.values.empty()); // custom only: no normal marks

    spec.customTick = 2;
    const TickLayout both = layoutMainTicks(axis, spec, nullptr);
    EXPECT_EQ(both.marks.size(), 6u + 2u);
}

TEST(TickLayout, LoopBudgetStopsRunawayTicks)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {0, 100, false});
    ASSERT_TRUE(axis.setEnds(0, 1));
    TickSpec spec;
    spec.automaticInterval = false;
    spec.markInterval = 1e-12;
    LoopBudget budget(1000);
    const TickLayout layout = layoutMainTicks(axis, spec, &budget);
    EXPECT_TRUE(layout.budgetExhausted);
    EXPECT_EQ(layout.values.size(), 999u);
    EXPECT_EQ(budget.overlay(), LoopBudget::Overlay::MaxLoopExceeded);

    // Without a budget the generation is still bounded.
    EXPECT_LE(layoutMainTicks(axis, spec, nullptr).values.size(), 100000u);

    // Subticks under an exhausted budget draw nothing more.
    TickSpec sub;
    sub.level = 2;
    const std::vector<double> parents{0, 0.5, 1};
    EXPECT_TRUE(layoutSubTicks(axis, sub, parents, &budget).values.empty());
}

TEST(TickLayout, LogarithmicDecades)
{
    Log10Transform log;
    AxisPlacement axis(log, {0, 90, false});
    ASSERT_TRUE(axis.setEnds(1, 1000));
    const TickLayout main = layoutMainTicks(axis, TickSpec{}, nullptr);
    EXPECT_FALSE(main.reframed);
    expectValues(main.values, {1, 10, 100, 1000});
    expectValues(positions(main), {0, 30, 60, 90});
    TickSpec sub;
    sub.level = 2;
    const TickLayout minor = layoutSubTicks(axis, sub, main.values, nullptr);
    ASSERT_EQ(minor.values.size(), 24u);
    EXPECT_EQ(minor.values[0], 2);
    EXPECT_EQ(minor.values[8], 20);
    EXPECT_NEAR(minor.marks[0].position, 30 * std::log10(2.0), 1e-12);
}

TEST(TickLayout, NormalProbabilityMarks)
{
    NormalProbabilityTransform normal;
    AxisPlacement axis(normal, {0, 100, false});
    ASSERT_TRUE(axis.setEnds(0.02, 0.97));
    const TickLayout main = layoutMainTicks(axis, TickSpec{}, nullptr);
    EXPECT_TRUE(main.reframed);
    EXPECT_EQ(main.lo, 0.01);
    EXPECT_EQ(main.hi, 0.99);
    ASSERT_EQ(main.marks.size(), 13u);
    EXPECT_NEAR(main.marks.front().position, 0, 1e-9);
    EXPECT_NEAR(main.marks[6].position, 50, 1e-9);
    EXPECT_NEAR(main.marks.back().position, 100, 1e-9);
    TickSpec sub;
    sub.level = 2;
    // Interior submarks: 0.01-0.05 by 0.01, 0.05-0.1 by 0.01, 0.1-0.2 by 0.01,
    // six intervals by 0.02, then the mirror image.
    EXPECT_EQ(layoutSubTicks(axis, sub, main.values, nullptr).marks.size(), 3u + 4u + 9u + 6u * 4u + 9u + 4u + 3u);
}

TEST(DateTicks, CalendarConversionsMatchQDate)
{
    const qint64 julianOfOrigin = QDate(1899, 12, 30).toJulianDay();
    for (std::int64_t day = -657434; day <= 2958465; day += 997) {
        const QDate q = QDate::fromJulianDay(julianOfOrigin + day);
        const CivilDate c = civilFromDays(day);
        ASSERT_EQ(c.year, q.year());
        ASSERT_EQ(c.month, q.month());
        ASSERT_EQ(c.day, q.day());
        ASSERT_EQ(daysFromCivil(c), day);
    }
    EXPECT_EQ(daysFromCivil({2000, 1, 1}), 36526);
}

TEST(DateTicks, StepsThroughUnits)
{
    // 2000-01-01 … 2010-06-01: every second year (ten yearly marks would be eleven).
    const double lo = 36526, hi = daysFromCivil({2010, 6, 1});
    const std::vector<double> years = dateTickValues(lo, hi, TimeUnit::Year, 0, nullptr);
    expectValues(years, {36526, 37257, static_cast<double>(daysFromCivil({2004, 1, 1})),
                         static_cast<double>(daysFromCivil({2006, 1, 1})),
                         static_cast<double>(daysFromCivil({2008, 1, 1})),
                         static_cast<double>(daysFromCivil({2010, 1, 1}))});
    // 2021-01-15 … 2021-04-20 by months.
    expectValues(dateTickValues(44211, 44306, TimeUnit::Month, 0, nullptr), {44228, 44256, 44287});
    // 06:00 … 12:00 of one day by hours.
    const std::vector<double> hours = dateTickValues(1.25, 1.5, TimeUnit::Hour, 0, nullptr);
    ASSERT_EQ(hours.size(), 7u);
    EXPECT_DOUBLE_EQ(hours[1], 1.25 + 1.0 / 24);
    // A manual interval of a week on a day axis: multiples of seven days.
    const std::vector<double> weeks = dateTickValues(0.5, 30, TimeUnit::Day, 7, nullptr);
    expectValues(weeks, {7, 14, 21, 28});
    // Seconds of a minute; the unit conversions keep them exact.
    const std::vector<double> seconds = dateTickValues(10.0, 10.0 + 5.0 / 86400, TimeUnit::Second, 0, nullptr);
    ASSERT_EQ(seconds.size(), 6u);
    EXPECT_DOUBLE_EQ(seconds[5], (10.0 * 86400 + 5) / 86400);

    EXPECT_TRUE(dateTickValues(-1e9, 0, TimeUnit::Day, 0, nullptr).empty());
    EXPECT_TRUE(dateTickValues(0, std::nan(""), TimeUnit::Day, 0, nullptr).empty());
    // Whole date range in seconds, one second apart: stopped by the budget.
    LoopBudget budget(5000);
    bool stopped = false;
    EXPECT_EQ(dateTickValues(-657434, 2958465, TimeUnit::Second, 1.0 / 86400, &budget, &stopped).size(), 4999u);
    EXPECT_TRUE(stopped);
    // A huge manual interval gives at most one mark.
    EXPECT_LE(dateTickValues(-657434, 2958465, TimeUnit::Day, 1e300, nullptr).size(), 1u);
    EXPECT_EQ(timeUnitDays(TimeUnit::Month), 31);
    EXPECT_EQ(timeUnitDays(TimeUnit::Year), 365);
}

TEST(TickLayout, DateAxisUsesTheTimeUnit)
{
    DateTimeTransform dates;
    AxisPlacement axis(dates, {0, 95, false});
    ASSERT_TRUE(axis.setEnds(44211, 44306));
    TickSpec spec;
    spec.timeUnit = TimeUnit::Month;
    const TickLayout layout = layoutMainTicks(axis, spec, nullptr);
    EXPECT_FALSE(layout.reframed);
    expectValues(positions(layout), {17, 45, 76});
}
