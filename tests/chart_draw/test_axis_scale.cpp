#include "axis/AxisScale.h"
#include "axis/TickLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace lumigra;

TEST(AxisScale, SharedAutomaticAxisAndStoredEnds)
{
    AxisScale scale;
    AxisScaleSettings settings;
    settings.start = 20;
    settings.length = 100;
    // One chart without data contributes nothing.
    const std::vector<DataExtent> charts{{0.5, 5}, {}, {3, 9.2}};
    const ScaleEnds stored = scale.prepare(settings, charts);
    EXPECT_EQ(*stored.lo, 0.0);
    EXPECT_EQ(*stored.hi, 10.0);
    ASSERT_TRUE(scale.drawable());
    EXPECT_DOUBLE_EQ(*scale.position(5), 70);

    settings.reverse = true;
    scale.prepare(settings, charts);
    EXPECT_DOUBLE_EQ(*scale.position(0), 120);
    EXPECT_DOUBLE_EQ(*scale.position(10), 20);

    // Nothing contributes and nothing was set: not drawable, no positions.
    AxisScale empty;
    const ScaleEnds none = empty.prepare(AxisScaleSettings{}, {});
    EXPECT_FALSE(none.lo.has_value());
    EXPECT_FALSE(empty.drawable());
    EXPECT_FALSE(empty.position(1).has_value());

    // All data equal: the ends are equal and the axis is not drawn.
    const std::vector<DataExtent> flat{{4, 4}};
    AxisScaleSettings sized;
    sized.length = 50;
    empty.prepare(sized, flat);
    EXPECT_FALSE(empty.drawable());
}

TEST(AxisScale, ProbabilityAxisSnapsItsScale)
{
    AxisScale scale;
    AxisScaleSettings settings;
    settings.style = 26;
    settings.length = 100;
    const std::vector<DataExtent> data{{0.02, 0.97}};
    const ScaleEnds stored = scale.prepare(settings, data);
    // The found extremes are stored; the scale runs between snapped ends.
    EXPECT_EQ(*stored.lo, 0.02);
    EXPECT_EQ(*stored.hi, 0.97);
    ASSERT_TRUE(scale.drawable());
    EXPECT_EQ(scale.placement().lo(), 0.01);
    EXPECT_EQ(scale.placement().hi(), 0.99);
    EXPECT_NEAR(*scale.position(0.5), 50, 1e-9);

    // Ends that cannot be ordered after snapping: not drawn.
    settings.minimumAutomatic = settings.maximumAutomatic = false;
    settings.ends = {1.5, 2.0};
    scale.prepare(settings, data);
    EXPECT_FALSE(scale.drawable());
}

TEST(AxisScale, StyleChangesAndCustomCache)
{
    int asked = 0;
    AxisScale scale([&](double v) -> std::optional<double> {
        ++asked;
        return v * v;
    });
    AxisScaleSettings settings;
    settings.length = 100;
    settings.ends = {1, 1000};
    settings.minimumAutomatic = settings.maximumAutomatic = false;

    settings.style = 25;
    scale.prepare(settings, {});
    EXPECT_EQ(scale.kind(), AxisScaleKind::Log10);
    EXPECT_NEAR(*scale.position(10), 100.0 / 3, 1e-12);

    settings.style = 68;
    settings.ends = {0, 10};
    ASSERT_TRUE(scale.setPlotCache(1));
    scale.prepare(settings, {});
    EXPECT_EQ(scale.kind(), AxisScaleKind::Custom);
    EXPECT_DOUBLE_EQ(*scale.position(5), 25);
    const int afterFirst = asked;
    EXPECT_DOUBLE_EQ(*scale.position(5), 25);
    EXPECT_EQ(asked, afterFirst); // answered from the cache

    // Custom ticks follow the container: 0 … 10 in 5 intervals, no reframing.
    const TickLayout ticks = layoutMainTicks(scale.placement(), TickSpec{}, nullptr);
    EXPECT_FALSE(ticks.reframed);
    ASSERT_EQ(ticks.marks.size(), 6u);
    EXPECT_DOUBLE_EQ(ticks.marks[1].position, 4); // 2 * 2 / 100 of the length

    settings.type = 19;
    settings.style = 8;
    scale.prepare(settings, {});
    EXPECT_EQ(scale.kind(), AxisScaleKind::DateTime);
    EXPECT_FALSE(scale.setPlotCache(7));
}

TEST(AxisScale, CustomAxisFindsEndsByTransformedValue)
{
    // A container that turns the axis round.
    AxisScale scale([](double v) -> std::optional<double> { return -v; });
    AxisScaleSettings settings;
    settings.style = 68;
    settings.length = 10;
    const std::vector<DataExtent> data{{1, 2}, {5, 8}};
    const ScaleEnds ends = scale.prepare(settings, data);
    EXPECT_EQ(*ends.lo, 5.0);
    EXPECT_EQ(*ends.hi, 2.0);
    EXPECT_DOUBLE_EQ(*scale.position(5), 0);
    EXPECT_DOUBLE_EQ(*scale.position(2), 10);
}
