// Dispersion residuals and automatic identification on a synthetic lamp.
#include "numeric/Polynomial.h"
#include "platform/Format.h"
#include "reduce/AutoIdentify.h"
#include "reduce/DispersionResiduals.h"
#include "reduce/LineMeasure.h"
#include "view/SpectrumView.h"

#include "../support/TestSupport.h"

#include <cmath>
#include <random>
#include <sstream>

using namespace raylen;

namespace {

constexpr int pixels = 1024;
const double truth[] = {5400.0, 1.1, 4.0e-5}; // about the sample night's 1.2 Å per pixel

double truthWave(double x)
{
    return truth[0] + truth[1] * x + truth[2] * x * x;
}

double truthPixel(double wave)
{
    return (-truth[1] + std::sqrt(truth[1] * truth[1] - 4 * truth[2] * (truth[0] - wave))) / (2 * truth[2]);
}

struct Lamp {
    std::vector<float> x, y;
    std::vector<float> table;
    std::vector<bool> expected; // isolated and more than 10 px from the ends
};

Lamp makeLamp()
{
    Lamp lamp;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> spread(-0.3, 0.3);
    std::normal_distribution<double> noise(0.0, 2.0);
    // Lines every ~60 px, one blended pair, and lines beyond both ends.
    std::vector<double> linePixels = {-30, 5};
    for (double p = 40; p < pixels - 20; p += 60)
        linePixels.push_back(p + 17 * spread(random));
    linePixels.push_back(503.0); // blend partner of the line near 500
    linePixels.push_back(1020.0);
    linePixels.push_back(1100.0);
    std::sort(linePixels.begin(), linePixels.end());
    lamp.x.resize(pixels);
    lamp.y.resize(pixels);
    for (int i = 0; i < pixels; ++i) {
        double v = 20.0 + noise(random);
        for (double p : linePixels)
            v += 1000.0 * std::exp(-0.5 * std::pow((i - p) / 1.4, 2));
        lamp.x[static_cast<size_t>(i)] = static_cast<float>(i);
        lamp.y[static_cast<size_t>(i)] = static_cast<float>(v);
    }
    for (size_t k = 0; k < linePixels.size(); ++k) {
        const double p = linePixels[k];
        lamp.table.push_back(static_cast<float>(std::round(truthWave(p) * 1000) / 1000));
        bool isolated = (k == 0 || p - linePixels[k - 1] > 10) && (k + 1 == linePixels.size() || linePixels[k + 1] - p > 10);
        lamp.expected.push_back(isolated && p > 10 && p < pixels - 1 - 10);
    }
    return lamp;
}

void mark(IdentGrid& grid, const Lamp& lamp, int row)
{
    NullSpectrumView plotter;
    std::string cell;
    const double p = truthPixel(lamp.table[static_cast<size_t>(row - 1)]);
    ASSERT_EQ(sfSearchGaussPeakPos(static_cast<float>(p), lamp.x, lamp.y, 8, 1.0, plotter, cell), "");
    grid.setText(row, IdentGrid::colPixel, cell);
}

} // namespace

TEST(AutoIdentify, ThreeMarksFindEveryIsolatedLineAndTheTruthDispersion)
{
    Lamp lamp = makeLamp();
    IdentGrid grid;
    dsFGridInit(grid, lamp.table);
    mark(grid, lamp, 3);
    mark(grid, lamp, 9);
    mark(grid, lamp, 16);
    AutoIdentifySettings settings;
    std::vector<double> a;
    int added = 0;
    ASSERT_EQ(sfAutoIdentify(grid, {}, lamp.x, lamp.y, settings, a, added), "");
    int found = 0;
    for (size_t k = 0; k < lamp.table.size(); ++k) {
        const std::string& cell = grid.text(static_cast<int>(k) + 1, IdentGrid::colPixel);
        if (lamp.expected[k]) {
            EXPECT_FALSE(cell.empty()) << "line " << lamp.table[k];
            ++found;
        }
        if (!cell.empty()) {
            EXPECT_NEAR(std::stod(cell), truthPixel(lamp.table[k]), 0.3) << "line " << lamp.table[k];
        }
    }
    EXPECT_GE(found, 15);
    EXPECT_GE(added, found - 3);
    double sum = 0;
    for (int i = 0; i < pixels; ++i) {
        double d = polynomialValue(a, i) - truthWave(i);
        sum += d * d;
    }
    EXPECT_LT(std::sqrt(sum / pixels), 0.02);
}

TEST(DispersionResiduals, TableMatchesAnIndependentNumpyFitAndExclusionKeepsThePixel)
{
    if (!testsupport::requirePython("numpy"))
        return;
    testsupport::TempDir dir;
    IdentGrid grid;
    std::vector<float> table = {4100.5f, 4300.25f, 4555.0f, 4800.75f, 5012.0f, 5300.5f, 5600.0f};
    dsFGridInit(grid, table);
    const char* pixelsText[] = {"52.3", "157.9", "289.1", "412.6", "520.4", "661.0", "806.2"};
    for (int row = 1; row <= 7; ++row)
        grid.setText(row, IdentGrid::colPixel, pixelsText[row - 1]);
    std::vector<ResidualRow> rows = identifiedRows(grid, {5});
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_TRUE(rows[4].excluded);
    std::vector<double> a;
    ASSERT_EQ(sfDispersionFitRows(rows, 2, {}, a), "");
    ResidualTable result = dispersionResiduals(rows, a);
    std::string out = testsupport::python(
        "import numpy as np\n"
        "p = np.array([52.3, 157.9, 289.1, 412.6, 520.4, 661.0, 806.2], dtype=np.float32).astype(float)\n"
        "w = np.array([4100.5, 4300.25, 4555.0, 4800.75, 5012.0, 5300.5, 5600.0], dtype=np.float32).astype(float)\n"
        "keep = np.arange(7) != 4\n"
        "c = np.polyfit(p[keep], w[keep], 2)\n"
        "f = np.polyval(c, p)\n"
        "for v in f: print(repr(float(v)), repr(float(0)))\n"
        "r = (w - f)[keep]\n"
        "print(repr(float(np.sqrt(np.mean(r * r)))), 0)\n",
        dir);
    std::istringstream in(out);
    for (const ResidualRow& r : result.rows) {
        double fitted = 0, zero = 0;
        ASSERT_TRUE(in >> fitted >> zero) << out;
        EXPECT_NEAR(r.fitted, fitted, 1e-7);
        EXPECT_NEAR(r.residual, r.wave - fitted, 1e-7);
    }
    double rms = 0;
    ASSERT_TRUE(in >> rms);
    EXPECT_NEAR(result.rms, rms, 1e-9);
    std::string text = residualTableText(result);
    EXPECT_EQ(text.substr(text.rfind("RMS=")), "RMS=" + platform::Format(rms, "0.0000") + "\n");
    EXPECT_NE(text.find("\n5 5012.0 520.4 "), std::string::npos);
    EXPECT_NE(text.find(" 除外\n"), std::string::npos);
    // The excluded row keeps its measured pixel in the grid.
    EXPECT_EQ(grid.text(5, IdentGrid::colPixel), "520.4");
}

TEST(DispersionResiduals, RejectionDropsABadLine)
{
    IdentGrid grid;
    std::vector<float> table;
    for (int k = 0; k < 12; ++k)
        table.push_back(static_cast<float>(truthWave(40.0 + 80.0 * k)));
    dsFGridInit(grid, table);
    for (int k = 0; k < 12; ++k)
        grid.setText(k + 1, IdentGrid::colPixel, platform::Format(40.0 + 80.0 * k + (k == 6 ? 4.0 : 0.0), "0.0"));
    std::vector<ResidualRow> rows = identifiedRows(grid, {});
    std::vector<double> plain, cleaned;
    ASSERT_EQ(sfDispersionFitRows(rows, 2, {}, plain), "");
    RejectOptions reject{3, 3, 5};
    ASSERT_EQ(sfDispersionFitRows(rows, 2, reject, cleaned), "");
    for (size_t k = 0; k < rows.size(); ++k)
        EXPECT_EQ(rows[k].rejected, k == 6);
    EXPECT_LT(dispersionResiduals(rows, cleaned).rms, 0.06);
    EXPECT_GT(dispersionResiduals(identifiedRows(grid, {}), plain).rms, 1.0);
}

TEST(AutoIdentify, NeedsThreeRows)
{
    Lamp lamp = makeLamp();
    IdentGrid grid;
    dsFGridInit(grid, lamp.table);
    mark(grid, lamp, 3);
    mark(grid, lamp, 9);
    mark(grid, lamp, 12);
    std::vector<double> a{1.0};
    int added = 7;
    EXPECT_EQ(sfAutoIdentify(grid, {9}, lamp.x, lamp.y, {}, a, added), "自動同定には3本以上の同定が必要です");
    EXPECT_EQ(a, std::vector<double>{1.0});
    EXPECT_EQ(added, 0);
}
