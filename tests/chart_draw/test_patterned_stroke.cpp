#include "axis/LoopBudget.h"
#include "draw/PatternedStroke.h"
#include "draw/RecordingSink.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lumigra;

namespace {

StrokePattern dashed(double length, double space)
{
    StrokePattern p;
    p.dashes[0] = DashStyle{true, length, space};
    return p;
}

void expectDash(const RecordingDashSink::Dash& d, double x0, double x1)
{
    EXPECT_NEAR(d.from.x(), x0, 1e-12);
    EXPECT_NEAR(d.to.x(), x1, 1e-12);
    EXPECT_EQ(d.from.y(), 0);
    EXPECT_EQ(d.to.y(), 0);
}

} // namespace

TEST(PatternedStroke, DashesKeepTheirPhaseAcrossPieces)
{
    PatternedStroke stroke(dashed(1, 1));
    RecordingDashSink sink;
    LoopBudget budget;
    stroke.moveTo({0, 0});
    EXPECT_EQ(stroke.lineTo({10, 0}, sink, &budget), PatternedStroke::Result::Drawn);
    ASSERT_EQ(sink.dashes().size(), 5u);
    for (int i = 0; i < 5; ++i)
        expectDash(sink.dashes()[static_cast<std::size_t>(i)], 2 * i, 2 * i + 1);
    EXPECT_EQ(stroke.currentPoint(), QPointF(10, 0));

    // The second piece continues at 10 with a fresh dash, exactly as if the
    // line had been one 20 mm piece.
    EXPECT_EQ(stroke.lineTo({20, 0}, sink, &budget), PatternedStroke::Result::Drawn);
    ASSERT_EQ(sink.dashes().size(), 10u);
    for (int i = 5; i < 10; ++i)
        expectDash(sink.dashes()[static_cast<std::size_t>(i)], 2 * i, 2 * i + 1);
    EXPECT_EQ(budget.overlay(), LoopBudget::Overlay::None);
}

TEST(PatternedStroke, PhaseInsideADashAndAGap)
{
    // 3 mm dash, 2 mm gap; pieces of 2, 2 and 4 mm end inside a dash and a gap.
    PatternedStroke stroke(dashed(3, 2));
    RecordingDashSink sink;
    stroke.moveTo({0, 0});
    stroke.lineTo({2, 0}, sink);
    EXPECT_FALSE(stroke.inGap());
    EXPECT_DOUBLE_EQ(stroke.usedPart(), 2);
    stroke.lineTo({4, 0}, sink);
    EXPECT_TRUE(stroke.inGap());
    EXPECT_DOUBLE_EQ(stroke.usedPart(), 1);
    stroke.lineTo({8, 0}, sink);
    ASSERT_EQ(sink.dashes().size(), 3u);
    expectDash(sink.dashes()[0], 0, 2);
    expectDash(sink.dashes()[1], 2, 3);
    expectDash(sink.dashes()[2], 5, 8);
    EXPECT_FALSE(stroke.inGap());
    EXPECT_DOUBLE_EQ(stroke.usedPart(), 3);

    // That piece ended exactly at the end of a dash: the gap still follows.
    stroke.lineTo({12, 0}, sink);
    ASSERT_EQ(sink.dashes().size(), 4u);
    expectDash(sink.dashes()[3], 10, 12);

    // Starting a new stroke resets the pattern.
    stroke.moveTo({0, 5});
    stroke.lineTo({1, 5}, sink);
    EXPECT_EQ(sink.dashes().back().from, QPointF(0, 5));
}

TEST(PatternedStroke, FourDashesWithTheirPens)
{
    StrokePattern p;
    p.dashes[0] = DashStyle{true, 2, 1};
    p.dashes[1] = DashStyle{false, 5, 1}; // no pen: the dash takes no room, its gap does
    p.dashes[2] = DashStyle{true, 1, 0};
    p.dashes[3] = DashStyle{true, 0, 2};  // zero dash, gap only
    PatternedStroke stroke(p);
    RecordingDashSink sink;
    stroke.moveTo({0, 0});
    // Along the diagonal so both coordinates move: a pattern period is 7 mm.
    const double s = std::sqrt(0.5);
    stroke.lineTo({14 * s, 14 * s}, sink);
    ASSERT_EQ(sink.dashes().size(), 4u);
    const int pens[] = {0, 2, 0, 2};
    const double starts[] = {0, 4, 7, 11};
    const double ends[] = {2, 5, 9, 12};
    for (int i = 0; i < 4; ++i) {
        const auto& d = sink.dashes()[static_cast<std::size_t>(i)];
        EXPECT_EQ(d.pen, pens[i]);
        EXPECT_NEAR(d.from.x(), starts[i] * s, 1e-12);
        EXPECT_NEAR(d.from.y(), starts[i] * s, 1e-12);
        EXPECT_NEAR(d.to.x(), ends[i] * s, 1e-12);
    }
}

TEST(PatternedStroke, StopsAfterFiveThousandStrokes)
{
    PatternedStroke stroke(dashed(0.01, 0));
    RecordingDashSink sink;
    LoopBudget budget;
    stroke.moveTo({10, 20});
    EXPECT_EQ(stroke.lineTo({110, 20}, sink, &budget), PatternedStroke::Result::StrokeLimit);
    ASSERT_EQ(sink.dashes().size(), 5000u);
    EXPECT_NEAR(sink.dashes().back().to.x(), 60, 1e-9);
    EXPECT_EQ(budget.overlay(), LoopBudget::Overlay::Message);
    EXPECT_EQ(budget.overlayText(),
              "(10.000000,20.000000)から(110.000000,20.000000)までの直線を引くために必要なストロークが5000を超えたので"
              "直線描画を中止しました。");

    // The rest of the drawing continues from the target; only the first
    // message of the paint is kept.
    EXPECT_EQ(stroke.currentPoint(), QPointF(110, 20));
    EXPECT_EQ(stroke.lineTo({-1000, -0.5}, sink, &budget), PatternedStroke::Result::StrokeLimit);
    EXPECT_NE(budget.overlayText().find("(10.000000,20.000000)"), std::string::npos);

    // Exactly 5000 strokes are allowed (binary lengths, so no rounding residue).
    sink.clear();
    stroke.setPattern(dashed(0.25, 0));
    stroke.moveTo({0, 0});
    EXPECT_EQ(stroke.lineTo({1250, 0}, sink, nullptr), PatternedStroke::Result::Drawn);
    EXPECT_EQ(sink.dashes().size(), 5000u);
}

TEST(PatternedStroke, DrawsNothingWithoutLengths)
{
    RecordingDashSink sink;
    LoopBudget budget;
    PatternedStroke zero(dashed(0, 0));
    zero.moveTo({0, 0});
    EXPECT_EQ(zero.lineTo({100, 0}, sink, &budget), PatternedStroke::Result::Nothing);
    EXPECT_TRUE(sink.dashes().empty());
    EXPECT_EQ(budget.overlay(), LoopBudget::Overlay::None);
    EXPECT_EQ(zero.currentPoint(), QPointF(0, 0));

    // A pen that is missing: nothing drawn, but the gap still advances.
    StrokePattern noPen = dashed(1, 1);
    noPen.dashes[0].penUsable = false;
    PatternedStroke gapOnly(noPen);
    gapOnly.moveTo({0, 0});
    EXPECT_EQ(gapOnly.lineTo({3, 0}, sink, &budget), PatternedStroke::Result::Drawn);
    EXPECT_TRUE(sink.dashes().empty());

    StrokePattern hidden = dashed(1, 0);
    hidden.visible = false;
    PatternedStroke invisible(hidden);
    invisible.moveTo({0, 0});
    EXPECT_EQ(invisible.lineTo({3, 0}, sink, &budget), PatternedStroke::Result::Nothing);

    // Degenerate and non-finite pieces leave the current point.
    PatternedStroke solid(dashed(1, 0));
    solid.moveTo({1, 1});
    EXPECT_EQ(solid.lineTo({1, 1}, sink, &budget), PatternedStroke::Result::Nothing);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(solid.lineTo({nan, 1}, sink, &budget), PatternedStroke::Result::Nothing);
    EXPECT_EQ(solid.lineTo({std::numeric_limits<double>::infinity(), 1}, sink, &budget),
              PatternedStroke::Result::Nothing);
    EXPECT_EQ(solid.currentPoint(), QPointF(1, 1));
    EXPECT_TRUE(sink.dashes().empty());

    // NaN and negative lengths take no room.
    PatternedStroke odd(dashed(nan, -1));
    odd.moveTo({0, 0});
    EXPECT_EQ(odd.lineTo({5, 0}, sink, &budget), PatternedStroke::Result::Nothing);
    EXPECT_EQ(budget.overlay(), LoopBudget::Overlay::None);
}

TEST(LoopBudget, RefusesAtMaxLoop)
{
    LoopBudget budget(1000);
    EXPECT_TRUE(budget.add(998));
    EXPECT_TRUE(budget.add(1));
    EXPECT_FALSE(budget.add(1)); // would reach 1000
    EXPECT_EQ(budget.count(), 999);
    EXPECT_EQ(budget.overlayText(), "中止:最大計算回数(MaxLoop=1000)を超えたので描画を中止しました。");
    budget.report("later message");
    EXPECT_EQ(budget.overlay(), LoopBudget::Overlay::MaxLoopExceeded);
    EXPECT_FALSE(budget.add(std::numeric_limits<std::int32_t>::max()));
    budget.reset();
    EXPECT_EQ(budget.count(), 0);
    EXPECT_EQ(budget.overlayText(), "");
    budget.report("first");
    budget.report("second");
    EXPECT_EQ(budget.overlayText(), "first");
}
