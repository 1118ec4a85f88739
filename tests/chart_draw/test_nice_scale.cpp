#include "axis/NiceScale.h"
#include "axis/ScaleEnds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace lumigra;

namespace {

void expectScale(double lo, double hi, double newLo, double newHi, int intervals, double step)
{
    SCOPED_TRACE(testing::Message() << "[" << lo << ", " << hi << "]");
    const auto r = niceScale(lo, hi);
    ASSERT_TRUE(r.has_value());
    EXPECT_DOUBLE_EQ(r->lo, newLo);
    EXPECT_DOUBLE_EQ(r->hi, newHi);
    EXPECT_EQ(r->intervals, intervals);
    EXPECT_DOUBLE_EQ(r->step, step);
}

} // namespace

TEST(NiceScale, FramesRangesByRoundNumbers)
{
    expectScale(0, 1, 0, 1, 5, 0.2);
    // 15 x 0.1 over five intervals spans 7.5, beating 8 for (1, 8) and (2, 4).
    expectScale(0, 7.3, 0, 7.5, 5, 1.5);
    expectScale(-3, 0, -3, 0, 3, 1);
    expectScale(3000, 8000, 3000, 8000, 5, 1000);
    expectScale(4000, 7000, 4000, 7000, 3, 1000);
    expectScale(1, 1.05, 1, 1.05, 5, 0.01);
    // Nothing fits at p = 1; at p = 10 (2, 5) ties with (25, 4) and comes first.
    expectScale(0.5, 9.2, 0, 10, 5, 2);
}

TEST(NiceScale, FailsOnEmptyOrInvalidRanges)
{
    EXPECT_FALSE(niceScale(1, 1).has_value());
    EXPECT_FALSE(niceScale(2, 1).has_value());
    EXPECT_FALSE(niceScale(0, std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(niceScale(-std::numeric_limits<double>::infinity(), 1).has_value());
    EXPECT_FALSE(niceScale(-1e308, 1e308).has_value()); // span overflows
    // Subnormal spans must not hang or produce nonsense.
    const auto tiny = niceScale(0, 5e-324);
    if (tiny) {
        EXPECT_LE(tiny->lo, 0);
        EXPECT_GE(tiny->hi, 5e-324);
    }
}

TEST(ScaleEnds, TwoChartsShareOneAutomaticAxis)
{
    ScaleEndsRequest request;
    const std::vector<DataExtent> charts{{0.5, 5}, {3, 9.2}, {std::nullopt, std::nullopt}};
    const ScaleEnds ends = resolveScaleEnds(request, charts);
    ASSERT_TRUE(ends.lo && ends.hi);
    EXPECT_EQ(*ends.lo, 0.0);
    EXPECT_EQ(*ends.hi, 10.0);
}

TEST(ScaleEnds, ManualEndsAndAxesWithoutData)
{
    // Nothing contributes: the ends stay as they were, even unset.
    ScaleEndsRequest none;
    none.current = {2.0, 3.0};
    ScaleEnds kept = resolveScaleEnds(none, {});
    EXPECT_EQ(*kept.lo, 2.0);
    EXPECT_EQ(*kept.hi, 3.0);
    EXPECT_FALSE(resolveScaleEnds(ScaleEndsRequest{}, {}).lo.has_value());

    // Non-finite extremes count as missing.
    const std::vector<DataExtent> bad{{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()},
                                      {1.0, 4.0}};
    ScaleEnds fromBad = resolveScaleEnds(ScaleEndsRequest{}, bad);
    EXPECT_EQ(*fromBad.lo, 1.0);
    EXPECT_EQ(*fromBad.hi, 4.0);

    // Both ends manual: the data does not touch them and no rounding happens.
    ScaleEndsRequest manual;
    manual.current = {0.3, 0.7};
    manual.lowerAutomatic = manual.upperAutomatic = false;
    const std::vector<DataExtent> data{{-5, 50}};
    ScaleEnds m = resolveScaleEnds(manual, data);
    EXPECT_EQ(*m.lo, 0.3);
    EXPECT_EQ(*m.hi, 0.7);

    // Only the lower end automatic: rounded down, the manual upper end kept.
    ScaleEndsRequest lowerOnly;
    lowerOnly.current = {std::nullopt, 7.3};
    lowerOnly.upperAutomatic = false;
    const std::vector<DataExtent> low{{0.4, 100}};
    ScaleEnds l = resolveScaleEnds(lowerOnly, low);
    EXPECT_EQ(*l.lo, 0.0);
    EXPECT_EQ(*l.hi, 7.3);

    // A non-linear axis takes the data extremes as they are.
    ScaleEndsRequest logAxis;
    logAxis.linearNumeric = false;
    const std::vector<DataExtent> logData{{0.37, 91.0}};
    ScaleEnds g = resolveScaleEnds(logAxis, logData);
    EXPECT_EQ(*g.lo, 0.37);
    EXPECT_EQ(*g.hi, 91.0);
}

TEST(ScaleEnds, CustomAxisComparesTransformedValues)
{
    // A container that mirrors the axis: each chart still offers its Max and
    // Min, but the winner is the one whose transformed value is larger/smaller.
    ScaleEndsRequest request;
    request.linearNumeric = false;
    request.compareKey = [](double v) -> std::optional<double> { return -v; };
    const std::vector<DataExtent> data{{1, 2}, {5, 8}};
    ScaleEnds ends = resolveScaleEnds(request, data);
    EXPECT_EQ(*ends.hi, 2.0); // -2 > -8
    EXPECT_EQ(*ends.lo, 5.0); // -5 < -1
}

TEST(NiceScale, FramesEveryRangeItAccepts)
{
    // Ranges from 1e-300 to 1e300 in width and offset: the result, when
    // there is one, covers the range within the rule's 0.001-step tolerance.
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    int accepted = 0;
    for (int i = 0; i < 5000; ++i) {
        const double width = std::pow(10.0, -300 + 600 * next()) * (1 + 9 * next());
        const double lo = (next() - 0.5) * width * std::pow(10.0, 6 * next() - 3);
        const double hi = lo + width;
        const auto r = niceScale(lo, hi);
        if (!r)
            continue;
        ++accepted;
        SCOPED_TRACE(testing::Message() << "[" << lo << ", " << hi << "]");
        ASSERT_GE(r->intervals, 3);
        ASSERT_LE(r->intervals, 9);
        ASSERT_GT(r->step, 0);
        ASSERT_LE(r->lo, lo + 1e-9 * r->step);
        ASSERT_GE(r->hi, hi - 0.0011 * r->step);
        // The span is at most ten times the range (the widened power of ten).
        ASSERT_LE(r->hi - r->lo, 100 * (hi - lo));
    }
    EXPECT_GT(accepted, 4000);
}
