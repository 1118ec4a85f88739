// Dispersion correction, flux calibration, normalisation and the Fourier
// amplitude spectrum, with numpy as the reference for the last two.
#include "../support/TestSupport.h"
#include "RecordingPlotter.h"

#include "reduce/DispCor.h"
#include "reduce/Dispersion.h"
#include "reduce/FftPlot.h"
#include "reduce/FluxCal.h"
#include "reduce/Normalize.h"
#include "reduce/WavelengthTable.h"
#include "files/TextSpectrum.h"

#include <cmath>
#include <sstream>

using namespace raylen;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

std::vector<double> numbers(const std::string& text)
{
    std::vector<double> values;
    std::istringstream in(text);
    double v;
    while (in >> v)
        values.push_back(v);
    return values;
}

} // namespace

TEST(DispCor, PixelsBecomeWavelengthsAndIntensitiesStay)
{
    TempDir dir;
    writeAll(dir.file("a.dip"), "4000\r\n2\r\n");
    std::vector<double> a;
    ASSERT_EQ(sfOpenDispFile(dir.file("a.dip"), a), "");
    const std::vector<float> x{0.0f, 50.0f, 100.0f}, y{3.0f, -1.0f, 7.5f};
    std::vector<float> newX;
    RecordingPlotter plot;
    ASSERT_EQ(sfDispCorPlot(x, y, a, newX, plot), "");
    EXPECT_EQ(newX, (std::vector<float>{4000.0f, 4100.0f, 4200.0f}));
    EXPECT_EQ(plot.line.x, newX);
    EXPECT_EQ(plot.line.y, y);
    EXPECT_EQ(plot.calls, (std::vector<std::string>{"Show", "dsErasePlotClone", "sfPlotLin"}));

    writeAll(dir.file("c.dip"), "4321.5\r\n");
    ASSERT_EQ(sfOpenDispFile(dir.file("c.dip"), a), "");
    ASSERT_EQ(sfDispCorPlot(x, y, a, newX, plot), "");
    EXPECT_EQ(newX, (std::vector<float>{4321.5f, 4321.5f, 4321.5f}));

    plot.failWith = "plot failed";
    EXPECT_EQ(sfDispCorPlot(x, y, a, newX, plot), "") << "a plotting failure is not reported";
}

TEST(FluxCal, DividesByTheInterpolatedSensitivity)
{
    TempDir dir;
    writeAll(dir.file("s.sns"), "4000,2\r\n5000,4\r\n");
    std::vector<float> sx, sy, newY;
    ASSERT_EQ(sfReadSensFncFile(dir.file("s.sns"), sx, sy), "");
    EXPECT_EQ(sx, (std::vector<float>{4000.0f, 5000.0f}));
    RecordingPlotter plot;
    ASSERT_EQ(sfCalibratePlot({4000.0f, 4500.0f, 5000.0f}, {10.0f, 10.0f, 10.0f}, sx, sy, newY, plot), "");
    EXPECT_EQ(newY, (std::vector<float>{5.0f, 10.0f / 3.0f, 2.5f}));
    EXPECT_EQ(plot.line.x, (std::vector<float>{4000.0f, 4500.0f, 5000.0f}));

    writeAll(dir.file("z.sns"), "4000 0\r\n5000 4\r\n");
    ASSERT_EQ(sfReadSensFncFile(dir.file("z.sns"), sx, sy), "");
    ASSERT_EQ(sfCalibratePlot({4000.0f, 4500.0f}, {10.0f, 10.0f}, sx, sy, newY, plot), "");
    EXPECT_EQ(newY, (std::vector<float>{10.0f, 5.0f})) << "a zero sensitivity passes the value";
}

TEST(FluxCal, LinesWithoutTwoNumbersAreRefused)
{
    TempDir dir;
    std::vector<float> sx{1.0f}, sy{2.0f};
    const std::pair<const char*, const char*> cases[] = {
        {"4000,2\r\n5000\r\n6000,3\r\n", "sfReadSensFncFile, 62ファイルにこれ以上データがありません。"},
        {"4000,2\r\n\r\n", "sfReadSensFncFile, 62ファイルにこれ以上データがありません。"},
        {"wave,sens\r\n4000,2\r\n", "sfReadSensFncFile, 13型が一致しません。"},
        {"4000,2,9\r\n", "sfReadSensFncFile, 13型が一致しません。"},
        {"", "sfReadSensFncFile, 9インデックスが有効範囲にありません。"},
    };
    for (const auto& [text, message] : cases) {
        writeAll(dir.file("bad.sns"), text);
        EXPECT_EQ(sfReadSensFncFile(dir.file("bad.sns"), sx, sy), message) << text;
    }
    EXPECT_EQ(sx, (std::vector<float>{1.0f}));
    EXPECT_EQ(sy, (std::vector<float>{2.0f}));
}

TEST(Normalize, OrderZeroOverAllPointsDividesByTheMean)
{
    const std::vector<float> x{1, 2, 3, 4, 5}, y{2, 4, 6, 8, 10};
    std::vector<double> c;
    ASSERT_EQ(sfContinuumFit(x, y, {0, 1, 2, 3, 4}, 0, c), "");
    ASSERT_EQ(c.size(), 1u);
    EXPECT_DOUBLE_EQ(c[0], 6.0);
    std::vector<float> newY;
    RecordingPlotter plot;
    ASSERT_EQ(sfNormalizePlot(x, y, c, newY, plot), "");
    EXPECT_EQ(newY, (std::vector<float>{2 / 6.0f, 4 / 6.0f, 1.0f, 8 / 6.0f, 10 / 6.0f}));

    ASSERT_EQ(sfPlotContinuum(x, c, plot), "");
    EXPECT_EQ(plot.clone.y, (std::vector<float>{6, 6, 6, 6, 6}));

    EXPECT_EQ(sfNormalizePlot(x, y, {0.0}, newY, plot), "sfNormalizePlot, 110 で除算しました。");
    // The reset list (one entry) holds no region.
    c = {9.0};
    EXPECT_EQ(sfContinuumFit(x, y, {0}, 0, c).rfind("sfLst2Fit, ", 0), 0u);
    EXPECT_EQ(c, (std::vector<double>{9.0}));
    EXPECT_EQ(sfContinuumFit(x, y, {0, 7}, 0, c), "cmdFit_Click, 9インデックスが有効範囲にありません。");
}

TEST(Normalize, AgreesWithNumpyPolyfitInScaledX)
{
    // A sloping, curved continuum with absorption lines; the regions avoid the lines.
    std::vector<float> x(1200), y(1200);
    for (size_t i = 0; i < x.size(); ++i) {
        const double w = 5400.0 + 1.0 * static_cast<double>(i);
        const double t = (w - 6000.0) / 600.0;
        double v = 1000.0 + 180.0 * t - 90.0 * t * t + 35.0 * t * t * t;
        v *= 1.0 - 0.6 * std::exp(-0.5 * std::pow((w - 5890.0) / 3.0, 2)) -
             0.4 * std::exp(-0.5 * std::pow((w - 6563.0) / 5.0, 2));
        x[i] = static_cast<float>(w);
        y[i] = static_cast<float>(v + 3.0 * std::sin(0.37 * static_cast<double>(i)));
    }
    std::vector<int32_t> list;
    const std::pair<int, int> regions[] = {{0, 150}, {300, 460}, {520, 700}, {760, 1100}, {1180, 1199}};
    for (auto [a, b] : regions)
        for (int i = a; i <= b; ++i)
            list.push_back(i);

    TempDir dir;
    ASSERT_EQ(sfSaveText(x, y, dir.file("spec.txt")), "");
    std::string indices;
    for (int32_t i : list)
        indices += std::to_string(i) + ",";
    for (int order : {3, 5}) {
        std::vector<double> c;
        ASSERT_EQ(sfContinuumFit(x, y, list, static_cast<int16_t>(order), c), "");
        std::vector<float> mine;
        RecordingPlotter plot;
        ASSERT_EQ(sfNormalizePlot(x, y, c, mine, plot), "");
        const std::string out = testsupport::python(
            "import numpy as np\n"
            "d = np.loadtxt('" + dir.file("spec.txt") + "', delimiter=',')\n"
            "x, y = d[:, 0], d[:, 1]\n"
            "idx = np.array([" + indices + "])\n"
            "mid, half = (x[idx].max() + x[idx].min()) / 2, (x[idx].max() - x[idx].min()) / 2\n"
            "p = np.polyfit((x[idx] - mid) / half, y[idx], " + std::to_string(order) + ")\n"
            "for v in y / np.polyval(p, (x - mid) / half): print(repr(v))\n",
            dir);
        const std::vector<double> ref = numbers(out);
        ASSERT_EQ(ref.size(), mine.size());
        double worst = 0;
        for (size_t i = 0; i < ref.size(); ++i)
            worst = std::max(worst, std::fabs(mine[i] - ref[i]) / std::fabs(ref[i]));
        EXPECT_LT(worst, 1e-6) << "order " << order;
    }
}

TEST(FftPlot, PointCountRuleAndFrequencyStep)
{
    RecordingPlotter plot;
    std::vector<float> f, amp;
    std::vector<float> x(1025), y(1025, 1.0f);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = 4000.0f + 0.5f * static_cast<float>(i);
    ASSERT_EQ(sfFFTPlot(x, y, f, amp, plot), "");
    ASSERT_EQ(amp.size(), 512u);
    EXPECT_FLOAT_EQ(f[1], static_cast<float>(1.0 / (0.5 * 1024)));
    EXPECT_FLOAT_EQ(f[511], static_cast<float>(511.0 / (0.5 * 1024)));
    EXPECT_FLOAT_EQ(amp[0], 1024.0f);
    EXPECT_EQ(plot.line.x, f);

    x.resize(1024);
    y.resize(1024);
    ASSERT_EQ(sfFFTPlot(x, y, f, amp, plot), "");
    EXPECT_EQ(amp.size(), 256u) << "1024 points use N = 512";
    EXPECT_FLOAT_EQ(amp[0], 512.0f);
    EXPECT_FLOAT_EQ(f[1], static_cast<float>(1.0 / (0.5 * 512)));

    std::vector<float> keep{7.0f};
    f = keep;
    EXPECT_EQ(sfFFTPlot({1.0f, 2.0f}, {1.0f, 1.0f}, f, amp, plot), "sfMean1D, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(f, keep);
}

TEST(FftPlot, AgreesWithNumpyFft)
{
    // Uneven X (the mean step counts from the second step on) and a mixed signal.
    std::vector<float> x(1500), y(1500);
    for (size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i);
        x[i] = static_cast<float>(5000.0 + 0.8 * t + 2e-5 * t * t);
        y[i] = static_cast<float>(100.0 + 20.0 * std::sin(0.21 * t) + 7.0 * std::cos(1.3 * t + 0.4) +
                                  3.0 * std::sin(0.011 * t * t));
    }
    TempDir dir;
    ASSERT_EQ(sfSaveText(x, y, dir.file("spec.txt")), "");
    std::vector<float> f, amp;
    RecordingPlotter plot;
    ASSERT_EQ(sfFFTPlot(x, y, f, amp, plot), "");
    const std::string out = testsupport::python(
        "import numpy as np\n"
        "d = np.loadtxt('" + dir.file("spec.txt") + "', delimiter=',').astype(np.float32)\n"
        "x, y = d[:, 0], d[:, 1].astype(np.float64)\n"
        "n = 1024\n"
        "a = np.abs(np.fft.fft(y[:n]))[:n // 2]\n"
        "delta = np.mean(np.diff(x.astype(np.float32))[1:n // 2].astype(np.float64))\n"
        "f = np.arange(n // 2) / (delta * n)\n"
        "for u, v in zip(f, a): print(repr(u), repr(v))\n",
        dir);
    const std::vector<double> ref = numbers(out);
    ASSERT_EQ(ref.size(), 2 * amp.size());
    const double scale = ref[1];
    for (size_t j = 0; j < amp.size(); ++j) {
        EXPECT_NEAR(f[j], ref[2 * j], 1e-6 * ref[2 * j] + 1e-12) << j;
        EXPECT_NEAR(amp[j], ref[2 * j + 1], 2e-6 * scale) << j;
    }
}

TEST(CalibrationFiles, NulInsideANumberIsRefused)
{
    // Each would otherwise read 12 for 123.5 and go on silently.
    TempDir dir;
    const std::string nul = std::string("12\0" "3.5", 6);
    writeAll(dir.file("a.dip"), "0.5\r\n" + nul + "\r\n");
    std::vector<double> a{9};
    EXPECT_EQ(sfOpenDispFile(dir.file("a.dip"), a), "sfOpenDispFile, 13型が一致しません。");
    EXPECT_EQ(a, std::vector<double>{9});
    writeAll(dir.file("s.sns"), "4000," + nul + "\r\n");
    std::vector<float> sx, sy;
    EXPECT_EQ(sfReadSensFncFile(dir.file("s.sns"), sx, sy), "sfReadSensFncFile, 13型が一致しません。");
    writeAll(dir.file("l.dat"), "4026.19 He I\r\n" + nul + " Ar\r\n");
    std::vector<float> wave;
    EXPECT_EQ(sfOpenCompFile(dir.file("l.dat"), wave), "sfOpenCompFile, 13型が一致しません。");
}
