// The plot window's GUI-free pieces: continuum region lists, the cursor
// conversion and its read-out texts, the two-press key state.
#include "plot/ContRegion.h"
#include "plot/PlotCursor.h"

#include <gtest/gtest.h>

namespace {

using raylen::CursorState;
using raylen::PlotFrame;

struct RecordingMarks : raylen::NullSpectrumView {
    std::vector<float> x, y;
    int calls = 0;
    std::string sfPlotSymClone(const std::vector<float>& sngX, const std::vector<float>& sngY) override
    {
        x = sngX;
        y = sngY;
        ++calls;
        return {};
    }
};

std::vector<int32_t> range(int from, int to)
{
    std::vector<int32_t> r;
    for (int i = from; i <= to; ++i)
        r.push_back(i);
    return r;
}

struct Regions : ::testing::Test {
    std::vector<float> x, y;
    std::vector<int32_t> list{0};
    RecordingMarks marks;
    Regions()
    {
        for (int i = 0; i < 40; ++i) {
            x.push_back(100.0f + i);
            y.push_back(2.0f * i);
        }
    }
    std::string set(float a, float b) { return raylen::sfSetContRegion(x, y, a, b, list, marks); }
    std::string del(float a, float b) { return raylen::sfDeleteContRegion(x, y, a, b, list, marks); }
};

TEST_F(Regions, SetTwiceKeepsEachIndexOnceAndOverlapAddsOnlyNewOnes)
{
    ASSERT_EQ(set(113.5f, 109.6f), ""); // reversed marks: 110 … 114
    EXPECT_EQ(list, range(10, 14));
    ASSERT_EQ(set(109.6f, 113.5f), "");
    EXPECT_EQ(list, range(10, 14));
    ASSERT_EQ(set(111.6f, 119.5f), "");
    EXPECT_EQ(list, range(10, 20));
    // The marks are the listed points.
    ASSERT_EQ(marks.x.size(), 11u);
    EXPECT_EQ(marks.x.front(), 110.0f);
    EXPECT_EQ(marks.y.back(), 40.0f);
}

TEST_F(Regions, DeleteRemovesItsIndexWindowAndEverythingFailsWithTheList)
{
    ASSERT_EQ(set(109.6f, 119.5f), "");
    ASSERT_EQ(del(112.5f, 114.5f), ""); // 13 … 15
    std::vector<int32_t> left = range(10, 12);
    for (int i = 16; i <= 20; ++i)
        left.push_back(i);
    EXPECT_EQ(list, left);
    const int before = marks.calls;
    const std::string message = del(90, 200);
    EXPECT_EQ(message.rfind("sfDeleteContRegion, 9", 0), 0u) << message;
    EXPECT_EQ(list, left);
    EXPECT_EQ(marks.calls, before);
}

TEST_F(Regions, AListOfOnePointCountsAsEmpty)
{
    ASSERT_EQ(set(119.6f, 119.7f), "");
    EXPECT_EQ(list, std::vector<int32_t>{20});
    ASSERT_EQ(set(109.6f, 110.5f), "");
    EXPECT_EQ(list, range(10, 11));
    // Deleting from an empty list does nothing.
    list.assign(1, 0);
    EXPECT_EQ(del(100, 130), "");
    EXPECT_EQ(list, std::vector<int32_t>{0});
}

TEST_F(Regions, ARegionLeftOfTheListIsOnlyTurnedRound)
{
    // The list helper reverses a list whose last element is below its first
    // and does not sort otherwise: kept as the normalisation task expects.
    ASSERT_EQ(set(119.6f, 122.5f), "");
    ASSERT_EQ(set(104.6f, 105.5f), "");
    EXPECT_EQ(list, (std::vector<int32_t>{6, 5, 23, 22, 21, 20}));
}

TEST(PlotCursor, TwipsToMillimetresFollowTheControlsPage)
{
    CursorState c;
    // 1440 twips = 25.4 mm; y from the top of a page 6000 twips high.
    raylen::cursorToPage(1440, 1440, raylen::PageFrame{6000 * 25.4 / 1440, 0, 0, 1}, c);
    EXPECT_FLOAT_EQ(c.sngCursorXmm, 25.4f);
    EXPECT_FLOAT_EQ(c.sngCursorYmm, 4560 * 25.4f / 1440);
    // A shifted origin and a magnification of 2.
    raylen::cursorToPage(1440, 1440, raylen::PageFrame{100, 5, -3, 2}, c);
    EXPECT_FLOAT_EQ(c.sngCursorXmm, 5 + 12.7f);
    EXPECT_FLOAT_EQ(c.sngCursorYmm, 100 - 3 - 12.7f);
}

TEST(PlotCursor, MillimetresToDataAndDegenerateFrames)
{
    const PlotFrame f{13, 10, 120, 80, 6500, 6620, 0, 1000};
    CursorState c;
    c.sngCursorXmm = 13 + 60;
    c.sngCursorYmm = 10 + 20;
    ASSERT_TRUE(raylen::cursorToData(f, c));
    EXPECT_FLOAT_EQ(c.sngCursorX, 6560);
    EXPECT_FLOAT_EQ(c.sngCursorY, 250);
    // Equal ends map every point to that end.
    PlotFrame equal = f;
    equal.xMax = equal.xMin;
    ASSERT_TRUE(raylen::cursorToData(equal, c));
    EXPECT_FLOAT_EQ(c.sngCursorX, 6500);
    // No plot area or values beyond Single: the last values stay.
    PlotFrame empty = f;
    empty.width = 0;
    EXPECT_FALSE(raylen::cursorToData(empty, c));
    PlotFrame huge = f;
    huge.yMax = 1e300;
    EXPECT_FALSE(raylen::cursorToData(huge, c));
    EXPECT_FLOAT_EQ(c.sngCursorY, 250);
}

TEST(PlotCursor, ReadOutFormatsSwitchAtOneHundredThousandthAndNineHundredNinetyNineThousand)
{
    EXPECT_EQ(raylen::readOutX(6562.84f), "x 6562.8");
    EXPECT_EQ(raylen::readOutY(1234.5f, 12000), "y 1234.5");
    EXPECT_EQ(raylen::readOutY(0.25f, 999999), "y 0.25");
    EXPECT_EQ(raylen::readOutY(2.5E-6f, 9E-6), "y 2.5E-6");
    EXPECT_EQ(raylen::readOutY(1234567.0f, 1.5E6), "y 1.2346E+6");
    // Between the tick rule's 1E-6 and the read-out's 1E-5.
    EXPECT_EQ(raylen::readOutY(3E-6f, 5E-6), "y 3.E-6");
}

TEST(PlotKeysState, TwoPressStoresMarksAndRunsOnTheSecond)
{
    raylen::TwoPress p;
    EXPECT_FALSE(p.press(1, 2));
    EXPECT_EQ(p.state, 2);
    EXPECT_TRUE(p.press(3, 4));
    EXPECT_EQ(p.state, 1);
    EXPECT_EQ(p.x[0], 1);
    EXPECT_EQ(p.y[1], 4);
    // Any state other than 1 makes the next press the second one.
    p.state = 7;
    EXPECT_TRUE(p.press(5, 6));
    EXPECT_EQ(p.x[1], 5);
}

} // namespace
