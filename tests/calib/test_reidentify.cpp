// Reidentification of a lamp that moved by 7.3 pixels and stretched by
// 0.2 % since the earlier solution, without hand marks.
#include "reduce/Dispersion.h"
#include "reduce/IdentGrid.h"
#include "reduce/Reidentify.h"
#include "../reduce_wave/LampSpectrum.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace raylen;

namespace {

constexpr double movedBy = 7.3, stretchedBy = 0.002;
const double centre = 0.5 * (lamp::pixels - 1);

double movedPixel(double p) { return p + movedBy + stretchedBy * (p - centre); }

// Today's lamp: yesterday's lines moved and stretched, a little noise.
void movedLamp(std::vector<float>& x, std::vector<float>& y)
{
    x.assign(lamp::pixels, 0.0f);
    y.assign(lamp::pixels, 0.0f);
    unsigned noise = 12345;
    for (int p = 0; p < lamp::pixels; ++p) {
        double v = lamp::background;
        for (const lamp::Line& l : lamp::lines()) {
            const double d = (p - movedPixel(lamp::pixelOf(l.wave))) / lamp::sigma;
            v += l.strength * std::exp(-0.5 * d * d);
        }
        noise = noise * 1103515245u + 12345u;
        v += (static_cast<double>(noise >> 16 & 0x7fff) / 32767.0 - 0.5) * 4.0;
        x[static_cast<size_t>(p)] = static_cast<float>(p);
        y[static_cast<size_t>(p)] = static_cast<float>(v);
    }
}

const std::vector<double> yesterday = {lamp::trueA0, lamp::trueA1, lamp::trueA2};

IdentGrid tableGrid()
{
    std::vector<float> wave;
    for (const lamp::Line& l : lamp::lines())
        wave.push_back(static_cast<float>(l.wave));
    IdentGrid grid;
    dsFGridInit(grid, wave);
    return grid;
}

// RMS of the solution against the truth at every table line in range.
double truthRms(const std::vector<double>& a)
{
    double sum = 0;
    int n = 0;
    for (const lamp::Line& l : lamp::lines()) {
        const double p = movedPixel(lamp::pixelOf(l.wave));
        if (p < 0 || p > lamp::pixels - 1)
            continue;
        const double d = a[0] + p * (a[1] + p * a[2]) - l.wave;
        sum += d * d;
        ++n;
    }
    return std::sqrt(sum / n);
}

TEST(Reidentify, MovedAndStretchedLampSolvedFromTheTableAlone)
{
    std::vector<float> x, y;
    movedLamp(x, y);
    IdentGrid grid = tableGrid();
    ReidentifySettings settings;
    LampShift found;
    std::vector<double> a;
    int added = -1;
    ASSERT_EQ(sfReidentify(grid, x, y, yesterday, {}, settings, found, a, added), "");
    EXPECT_NEAR(found.shift, movedBy, 0.3);
    EXPECT_NEAR(found.stretch, stretchedBy, 0.0003);
    EXPECT_EQ(added, 0);
    ASSERT_EQ(a.size(), 3u);
    EXPECT_LT(truthRms(a), 0.05);
    int measured = 0;
    for (int row = 1; row < grid.Rows(); ++row)
        measured += grid.text(row, IdentGrid::colPixel).empty() ? 0 : 1;
    EXPECT_EQ(measured, static_cast<int>(lamp::lines().size()));
}

TEST(Reidentify, EarlierLampGivesTheSameSolution)
{
    std::vector<float> x, y, oldX, oldY;
    movedLamp(x, y);
    lamp::spectrum(oldX, oldY);
    IdentGrid grid = tableGrid();
    ReidentifySettings settings;
    settings.automatic = true;
    LampShift found;
    std::vector<double> a;
    int added = 0;
    ASSERT_EQ(sfReidentify(grid, x, y, yesterday, {&oldX, &oldY}, settings, found, a, added), "");
    EXPECT_NEAR(found.shift, movedBy, 0.3);
    EXPECT_NEAR(found.stretch, stretchedBy, 0.0003);
    EXPECT_LT(truthRms(a), 0.05);
    EXPECT_EQ(lampShiftText(found).substr(0, 6), "shift=");
}

TEST(Reidentify, LampWithoutTheLinesIsRefusedAndTheGridKept)
{
    std::vector<float> x(lamp::pixels), y(lamp::pixels, 40.0f);
    for (int p = 0; p < lamp::pixels; ++p)
        x[static_cast<size_t>(p)] = static_cast<float>(p);
    IdentGrid grid = tableGrid();
    grid.setText(3, IdentGrid::colPixel, "123.4");
    LampShift found;
    std::vector<double> a = {1, 2};
    int added = 0;
    EXPECT_EQ(sfReidentify(grid, x, y, yesterday, {}, {}, found, a, added),
              "前回の比較光源と一致する位置が見つかりません");
    EXPECT_EQ(grid.text(3, IdentGrid::colPixel), "123.4");
    EXPECT_EQ(a, (std::vector<double>{1, 2}));
}

} // namespace
