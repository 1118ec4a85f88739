#include "axis/AxisPlacement.h"
#include "axis/AxisTransform.h"
#include "axis/PlotCache.h"
#include "axis/NormalQuantile.h"
#include "axis/ProbabilityScale.h"
#include "axis/ScaleEnds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace lumigra;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(AxisPlacement, PlotPositionWithAndWithoutReverse)
{
    LinearTransform linear;
    AxisPlacement forward(linear, {20, 100, false});
    ASSERT_TRUE(forward.setEnds(0, 10));
    EXPECT_DOUBLE_EQ(*forward.position(0), 20);
    EXPECT_DOUBLE_EQ(*forward.position(10), 120);
    EXPECT_DOUBLE_EQ(*forward.position(2.5), 45);

    AxisPlacement mirrored(linear, {20, 100, true});
    ASSERT_TRUE(mirrored.setEnds(0, 10));
    EXPECT_DOUBLE_EQ(*mirrored.position(0), 120);
    EXPECT_DOUBLE_EQ(*mirrored.position(10), 20);
    EXPECT_DOUBLE_EQ(*mirrored.position(2.5), 95);

    Log10Transform log;
    AxisPlacement logAxis(log, {0, 90, false});
    ASSERT_TRUE(logAxis.setEnds(1, 1000));
    EXPECT_DOUBLE_EQ(*logAxis.position(10), 30);
    EXPECT_DOUBLE_EQ(*logAxis.position(100), 60);
    EXPECT_FALSE(logAxis.position(0).has_value());
    EXPECT_FALSE(logAxis.position(-3).has_value());
}

TEST(AxisPlacement, AxesThatCannotBeDrawn)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {0, 100, false});
    EXPECT_FALSE(axis.setEnds(5, 5));
    EXPECT_FALSE(axis.position(5).has_value());
    EXPECT_FALSE(axis.setEnds(kNaN, 5));
    EXPECT_FALSE(axis.setEnds(0, kInf));
    EXPECT_FALSE(axis.setEnds(-1e308, 1e308)); // span not finite
    // A reversed range is a mirrored scale, not an error.
    ASSERT_TRUE(axis.setEnds(10, 0));
    EXPECT_DOUBLE_EQ(*axis.position(10), 0);
    EXPECT_FALSE(axis.position(kNaN).has_value());
    EXPECT_FALSE(axis.position(kInf).has_value());

    Log10Transform log;
    AxisPlacement logAxis(log, {0, 100, false});
    EXPECT_FALSE(logAxis.setEnds(0, 100));

    AxisPlacement noLength(linear, {0, kNaN, false});
    EXPECT_FALSE(noLength.setEnds(0, 1));
}

TEST(AxisPlacement, MarkToleranceAtTheEnds)
{
    LinearTransform linear;
    AxisPlacement axis(linear, {20, 100, false});
    ASSERT_TRUE(axis.setEnds(0, 1));
    EXPECT_TRUE(axis.onAxis(120.0005));
    EXPECT_FALSE(axis.onAxis(120.002));
    EXPECT_TRUE(axis.onAxis(19.9995));
    EXPECT_FALSE(axis.onAxis(19.998));
    // Negative lengths run the other way but keep the same tolerance.
    AxisPlacement backwards(linear, {20, -10, false});
    ASSERT_TRUE(backwards.setEnds(0, 1));
    EXPECT_TRUE(backwards.onAxis(9.9995));
    EXPECT_FALSE(backwards.onAxis(9.998));
}

TEST(ProbabilityScale, SnapsEndsToTheTable)
{
    // Automatic ends from data 0.02 … 0.97.
    ScaleEndsRequest request;
    request.linearNumeric = false;
    const std::vector<DataExtent> data{{0.02, 0.97}};
    const ScaleEnds found = resolveScaleEnds(request, data);
    const auto snapped = snapProbabilityEnds(*found.lo, *found.hi);
    ASSERT_TRUE(snapped);
    EXPECT_EQ(snapped->first, 0.01);
    EXPECT_EQ(snapped->second, 0.99);

    EXPECT_EQ(*snapProbabilityEnds(0, 1), std::make_pair(0.00001, 0.99999));
    EXPECT_EQ(*snapProbabilityEnds(-4, 0.5), std::make_pair(0.00001, 0.5));
    EXPECT_EQ(*snapProbabilityEnds(0.1, 0.1000001), std::make_pair(0.1, 0.2));
    // Inside (0, 1) but beyond the outermost table values: left as they are.
    EXPECT_EQ(*snapProbabilityEnds(0.000001, 0.9999995), std::make_pair(0.000001, 0.9999995));
    EXPECT_FALSE(snapProbabilityEnds(0.6, 0.4));
    EXPECT_FALSE(snapProbabilityEnds(2, 3));     // upper becomes 0.99999, below 2
    EXPECT_FALSE(snapProbabilityEnds(-2, -1));   // lower becomes 0.00001, above -1
    EXPECT_FALSE(snapProbabilityEnds(kNaN, 0.5));
}

TEST(ProbabilityScale, MarksAndSubmarks)
{
    const std::vector<double> marks = probabilityMarkValues(0.01, 0.99);
    const std::vector<double> expected{0.01, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.99};
    EXPECT_EQ(marks, expected);
    // The upper end admits one epsilon of relative excess, no more.
    EXPECT_EQ(probabilityMarkValues(0.4, std::nextafter(0.5, 0.0)).back(), 0.5);
    EXPECT_EQ(probabilityMarkValues(0.4, 0.5 - 1e-15).back(), 0.4);
    EXPECT_EQ(probabilityMarkValues(0.4, 0.49999).back(), 0.4);

    // 0.01 … 0.05 in steps of 0.01, 0.05 … 0.1 in steps of 0.01.
    const std::vector<double> sub = probabilitySubMarkValues(0.01, 0.1);
    ASSERT_EQ(sub.size(), 3u + 4u);
    EXPECT_NEAR(sub[0], 0.02, 1e-15);
    EXPECT_NEAR(sub[3], 0.06, 1e-15);
    EXPECT_NEAR(sub[6], 0.09, 1e-15);
    // The full table: 9 + 9 + 9 + 3 + 4 + 4 + 4 x 6 + 4 + 4 + 3 + 9 + 9 + 9 submarks.
    EXPECT_EQ(probabilitySubMarkValues(0.00001, 0.99999).size(), 104u);
}

TEST(NormalProbability, QuantileMatchesScipy)
{
    std::vector<double> ps{1e-300, 1e-20, 1e-10, 0.00001, 0.001, 0.01, 0.02425, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5,
                           0.6, 0.7, 0.8, 0.9, 0.95, 0.97575, 0.99, 0.999, 0.99999, 1 - 1e-12};
    std::ostringstream cmd;
    cmd.precision(17);
    cmd << RAYLEN_PYTHON << " -c \"import scipy.stats as s; print(' '.join(repr(float(s.norm.ppf(p))) for p in [";
    for (double p : ps)
        cmd << p << ',';
    cmd << "]))\" 2>/dev/null";
    FILE* pipe = popen(cmd.str().c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe))
        out += buf;
    if (pclose(pipe) != 0 || out.empty())
        GTEST_SKIP() << "scipy is not available to " << RAYLEN_PYTHON;
    std::istringstream in(out);
    for (double p : ps) {
        double ref = 0;
        ASSERT_TRUE(in >> ref);
        EXPECT_NEAR(standardNormalQuantile(p), ref, 1e-9 * std::max(1.0, std::fabs(ref))) << "p = " << p;
    }
    EXPECT_TRUE(std::isnan(standardNormalQuantile(0)));
    EXPECT_TRUE(std::isnan(standardNormalQuantile(1)));
    EXPECT_TRUE(std::isnan(standardNormalQuantile(kNaN)));
}

TEST(NormalProbability, PlacementUsesTheQuantile)
{
    NormalProbabilityTransform normal;
    AxisPlacement axis(normal, {0, 100, false});
    ASSERT_TRUE(axis.setEnds(0.01, 0.99));
    EXPECT_NEAR(*axis.position(0.5), 50, 1e-12);
    // Symmetric about the median.
    EXPECT_NEAR(*axis.position(0.1) + *axis.position(0.9), 100, 1e-9);
    EXPECT_FALSE(axis.position(0).has_value());
    EXPECT_FALSE(axis.position(1).has_value());
}

TEST(CustomTransform, AsksTheContainerThroughThePlotCache)
{
    int asked = 0;
    PlotCache cache;
    CustomTransform custom([&](double value) {
        return cache.lookup(value, [&](double v) -> std::optional<double> {
            ++asked;
            if (v < 0)
                return std::nullopt;
            return v == 7 ? kInf : std::sqrt(v);
        });
    });
    EXPECT_EQ(*custom.apply(4), 2);
    EXPECT_EQ(*custom.apply(4), 2);
    EXPECT_EQ(asked, 2); // no cache yet

    ASSERT_TRUE(cache.set(1));
    EXPECT_EQ(*custom.apply(9), 3);
    EXPECT_EQ(*custom.apply(9), 3);
    EXPECT_FALSE(custom.apply(-1).has_value());
    EXPECT_FALSE(custom.apply(-1).has_value());
    EXPECT_FALSE(custom.apply(7).has_value()); // infinite answers cannot be placed
    EXPECT_FALSE(custom.apply(kNaN).has_value());
    EXPECT_EQ(asked, 5);
    EXPECT_EQ(cache.size(), 3u);

    ASSERT_TRUE(cache.set(2));
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(*custom.apply(9), 3);
    EXPECT_EQ(asked, 6);
    EXPECT_FALSE(cache.set(3));

    AxisPlacement axis(custom, {0, 30, false});
    ASSERT_TRUE(axis.setEnds(0, 9));
    EXPECT_DOUBLE_EQ(*axis.position(4), 20);
}

TEST(AxisTransform, KindsFromHostNumbers)
{
    EXPECT_EQ(axisScaleKind(18, 24), AxisScaleKind::Linear);
    EXPECT_EQ(axisScaleKind(18, 25), AxisScaleKind::Log10);
    EXPECT_EQ(axisScaleKind(18, 26), AxisScaleKind::NormalProbability);
    EXPECT_EQ(axisScaleKind(18, 68), AxisScaleKind::Custom);
    EXPECT_EQ(axisScaleKind(19, 8), AxisScaleKind::DateTime);
    EXPECT_EQ(makeAxisTransform(AxisScaleKind::Log10)->kind(), AxisScaleKind::Log10);
    EXPECT_EQ(makeAxisTransform(AxisScaleKind::DateTime)->kind(), AxisScaleKind::DateTime);
}
