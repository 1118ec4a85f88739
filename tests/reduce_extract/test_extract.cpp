// The extraction's arithmetic against analytic results and an independent
// numpy computation of the same formulas.
#include "SyntheticFrame.h"

#include "reduce/ApertureSum.h"
#include "reduce/Extract.h"
#include "reduce/Trace.h"

#include <iomanip>
#include <sstream>

using namespace raylen;
using testsupport::TempDir;

namespace {

ScanParam straightTrace(float centre, int16_t width, int32_t x1, int32_t x2)
{
    ScanParam p;
    dsInitScanParam(p);
    p.intTraceOrder = 0;
    p.dblTraceCoef[0] = centre;
    p.intScanWidth = width;
    p.lngStartX = x1;
    p.lngEndX = x2;
    return p;
}

// Records what would be plotted.
struct CollectingPlotter : NullSpectrumView {
    std::string sfPlotLin(const std::vector<float>& x, const std::vector<float>& y) override
    {
        ++lines;
        lastX = x;
        lastY = y;
        return {};
    }
    std::string sfPlotLinClone(const std::vector<float>&, const std::vector<float>&) override { return {}; }
    std::string sfPlotRejected(const std::vector<float>& x, const std::vector<float>& y) override
    {
        ++rejectedCalls;
        rejectedX = x;
        rejectedY = y;
        return {};
    }
    int lines = 0, rejectedCalls = 0;
    std::vector<float> lastX, lastY, rejectedX, rejectedY;
};

} // namespace

TEST(ApertureSum, LinearColumnsIntegrateExactly)
{
    // Joining a straight line by straight lines is exact: the sum is the
    // width times the value at the centre, wherever the ends fall. Width 1
    // has both ends between the same whole rows and must not count the row
    // between them twice.
    SingleImage image(4, 80);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 80; ++y)
            image(x, y) = static_cast<float>(100 + 10 * x + (x + 1) * 0.75 * y);
    for (float centre : {40.3f, 40.0f, 39.5f, 12.71f})
        for (int16_t width : {6, 5, 1, 13}) {
            for (int x = 0; x < 4; ++x) {
                float sum = 0;
                ASSERT_EQ(sfIntegData(straightTrace(centre, width, 0, 3), image, x, centre, sum), "");
                const double expected = width * (100 + 10 * x + (x + 1) * 0.75 * centre);
                EXPECT_NEAR(sum, expected, 2e-6 * expected) << centre << " " << width << " " << x;
            }
        }
}

TEST(ApertureSum, SkyUnderTheApertureIsSubtracted)
{
    extracttest::FrameShape shape;
    shape.width = 120;
    shape.tilt = shape.bend = 0; // the star stays clear of the sky rows
    shape.skySlope = 0;
    shape.noise = 0; // a constant sky of s counts
    SingleImage image = extracttest::makeFrame(shape);
    // Sky lines vary along x only: they are part of the constant sky of their column.
    NullSpectrumView none;
    std::vector<float> xs, withSky, withoutSky;
    for (int16_t width : {6, 5, 1}) {
        ScanParam p = straightTrace(57.6f, width, 0, 119);
        p.intSkyFitOrder = 0;
        ASSERT_EQ(sfScanDataPro(p, image, xs, withSky, none), "");
        p.blnSkySub = 0;
        ASSERT_EQ(sfScanDataPro(p, image, xs, withoutSky, none), "");
        for (size_t i = 0; i < xs.size(); ++i) {
            const double s = image(static_cast<int>(i), 0); // far from the star: sky alone
            EXPECT_NEAR(withSky[i], withoutSky[i] - s * width, 1e-6 * withoutSky[i]) << i << " width " << width;
        }
    }

    // A sloped sky fitted with order 1 is removed exactly too.
    shape.skyLevel = 50;
    shape.skySlope = 0.8;
    image = extracttest::makeFrame(shape);
    ScanParam p = straightTrace(57.6f, 6, 0, 119);
    ASSERT_EQ(sfScanDataPro(p, image, xs, withSky, none), "");
    p.blnSkySub = 0;
    ASSERT_EQ(sfScanDataPro(p, image, xs, withoutSky, none), "");
    for (size_t i = 0; i < xs.size(); ++i) {
        const double skyAtCentre = image(static_cast<int>(i), 0) + 0.8 * 57.6;
        EXPECT_NEAR(withSky[i], withoutSky[i] - 6 * skyAtCentre, 2e-6 * withoutSky[i]) << i;
    }
}

TEST(ApertureSum, DefaultOffsetsSampleElevenRowsEachSide)
{
    ScanParam p;
    dsInitScanParam(p);
    p.intSkyFitOrder = 0;
    // Rows outside the two windows are poisoned: any of them in the fit
    // would show. Centres 50.5 and 51.5 both round to an even row.
    for (float centre : {50.5f, 51.5f, 50.2f}) {
        const int r = centre == 50.5f ? 50 : centre == 51.5f ? 52 : 50;
        SingleImage image(1, 100);
        for (int y = 0; y < 100; ++y) {
            const int offset = y - r;
            const bool inWindow = (offset >= -20 && offset <= -10) || (offset >= 10 && offset <= 20);
            image(0, y) = inWindow ? 7.0f : 1e6f;
        }
        SkyFitter fitter(p);
        SkyPolynomial sky;
        ASSERT_EQ(fitter.fit(image, 0, centre, sky), "");
        EXPECT_EQ(sky.origin, r);
        float level = 0;
        ASSERT_EQ(sfIntegSky(p, centre, sky, level), "");
        EXPECT_NEAR(level, 7.0f * 6, 1e-4) << centre;
    }
}

TEST(TraceCentres, ThresholdCentroidAndMiddleRow)
{
    SingleImage image(3, 60);
    for (int y = 0; y < 60; ++y) {
        image(0, y) = 10.0f;                       // never above the threshold
        image(1, y) = y == 30 ? 20.0f : y == 31 ? 40.0f : 9.0f;
        image(2, y) = y == 44 ? 15.0f : -5.0f;
    }
    std::vector<float> xs, ys;
    ASSERT_EQ(sfInputPeakData(0, image, 0, 2, 20, 51, xs, ys), "");
    EXPECT_EQ(xs, (std::vector<float>{0, 1, 2}));
    EXPECT_EQ(ys[0], 35.5f);                      // 20 + (51 − 20) / 2
    EXPECT_FLOAT_EQ(ys[1], (10 * 30 + 30 * 31) / 40.0f);
    EXPECT_EQ(ys[2], 44.0f);
    // A non-zero flag does nothing; a region off the image is a fault.
    std::vector<float> keep = ys;
    ASSERT_EQ(sfInputPeakData(1, image, 0, 2, 0, 10, xs, ys), "");
    EXPECT_EQ(ys, keep);
    EXPECT_EQ(sfInputPeakData(0, image, 0, 3, 20, 51, xs, ys), "sfInputPeakData, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(sfInputPeakData(0, image, 0, 2, 20, 60, xs, ys), "sfInputPeakData, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(ys, keep);
}

TEST(TraceFit, ResultTextStoredCoefficientsAndRefusals)
{
    std::vector<float> xs{0, 1, 2, 3, 4}, ys{1, 1.5f, 2, 2.5f, 3};
    ScanParam p;
    dsInitScanParam(p);
    p.dblTraceCoef[2] = 99;
    TraceFit fit = fitTrace("1", xs, ys, p);
    ASSERT_EQ(fit.status, "");
    EXPECT_EQ(fit.resultLines, (std::vector<std::string>{"結果 a0+a1*x+a2*x^2+a3*x^3+....", "a0=1.000000000000",
                                                         "a1=0.500000000000"}));
    EXPECT_EQ(p.intTraceOrder, 1);
    EXPECT_NEAR(p.dblTraceCoef[0], 1.0, 1e-12);
    EXPECT_NEAR(p.dblTraceCoef[1], 0.5, 1e-12);
    EXPECT_EQ(p.dblTraceCoef[2], 99); // beyond the order: left as it was
    EXPECT_EQ(fit.fitY, ys);

    const ScanParam before = p;
    fit = fitTrace("51", xs, ys, p);
    EXPECT_EQ(fit.status, "cmdFit_Click, 9インデックスが有効範囲にありません。");
    EXPECT_FALSE(fit.leastSquaresFailed);
    fit = fitTrace("40000", xs, ys, p);
    EXPECT_EQ(fit.status, "cmdFit_Click, 6オーバーフローしました。");
    fit = fitTrace("5", xs, ys, p);
    EXPECT_EQ(fit.status, "sfLst2Fit, 110 で除算しました。");
    EXPECT_TRUE(fit.leastSquaresFailed);
    EXPECT_EQ(p, before);
}

TEST(Extraction, FaultsEndWithTheirReportsAndKeepTheSpectrum)
{
    extracttest::FrameShape shape;
    shape.width = 50;
    shape.height = 60;
    shape.centre0 = 30;
    SingleImage image = extracttest::makeFrame(shape);
    NullSpectrumView none;
    const std::vector<float> keep{42};
    std::vector<float> xs = keep, ys = keep;

    ScanParam p = straightTrace(30.2f, 6, 0, 50);
    EXPECT_EQ(sfScanDataPro(p, image, xs, ys, none), "sfSkyFit, 9インデックスが有効範囲にありません。");
    p.blnSkySub = 0;
    EXPECT_EQ(sfScanDataPro(p, image, xs, ys, none), "sfIntegData, 9インデックスが有効範囲にありません。");
    p = straightTrace(30.2f, 6, 0, 49);
    p.intSkyEnd2 = 35; // row 65 is off the image
    EXPECT_EQ(sfScanDataPro(p, image, xs, ys, none), "sfSkyFit, 9インデックスが有効範囲にありません。");
    p = straightTrace(30.2f, 6, 0, 49);
    p.intTraceOrder = 51;
    EXPECT_EQ(sfScanDataPro(p, image, xs, ys, none), "sfScanDataPro, 9インデックスが有効範囲にありません。");
    p = straightTrace(30.2f, 6, 10, 9);
    EXPECT_EQ(sfScanDataPro(p, image, xs, ys, none), "sfScanDataPro, 9インデックスが有効範囲にありません。");
    p = straightTrace(30.2f, 6, 0, 49);
    p.intSkyFitOrder = 30; // more terms than the 22 sky rows
    EXPECT_EQ(sfScanDataPro(p, image, xs, ys, none), "sfLst2Fit, 110 で除算しました。");
    EXPECT_EQ(xs, keep);
    EXPECT_EQ(ys, keep);

    CollectingPlotter plotter;
    p.intSkyFitOrder = 1;
    ASSERT_EQ(sfScanDataPro(p, image, xs, ys, plotter), "");
    EXPECT_EQ(plotter.lines, 1);
    EXPECT_EQ(plotter.lastY, ys);
    EXPECT_EQ(xs.size(), 50u);
}

TEST(Extraction, SkyRejectionMarksTheColumnsWhoseSkyLostPixels)
{
    extracttest::FrameShape shape;
    shape.width = 50;
    shape.height = 60;
    shape.centre0 = 30;
    SingleImage image = extracttest::makeFrame(shape);
    image(7, 30 + 15) += 4000.0f;
    image(33, 30 - 12) += 2500.0f;
    ScanParam p = straightTrace(30.2f, 6, 0, 49);
    p.blnSkySub = -1;
    p.intSkyFitOrder = 1;
    std::vector<float> xs, ys;

    // Off: nothing but the spectrum is plotted.
    CollectingPlotter off;
    ASSERT_EQ(sfScanDataPro(p, image, xs, ys, off), "");
    EXPECT_EQ(off.rejectedCalls, 0);

    // On: the two columns, at their extracted values.
    CollectingPlotter on;
    ASSERT_EQ(sfScanDataPro(p, image, xs, ys, on, {4, 4, 5}), "");
    ASSERT_EQ(on.rejectedCalls, 1);
    EXPECT_EQ(on.rejectedX, (std::vector<float>{7, 33}));
    EXPECT_EQ(on.rejectedY, (std::vector<float>{ys[7], ys[33]}));

    // Without sky subtraction there is no sky fit to mark.
    p.blnSkySub = 0;
    CollectingPlotter noSky;
    ASSERT_EQ(sfScanDataPro(p, image, xs, ys, noSky, {4, 4, 5}), "");
    EXPECT_EQ(noSky.rejectedCalls, 0);
}

TEST(Extraction, EqualsNumpyComputationOfTheSameFormulas)
{
    TempDir dir;
    extracttest::FrameShape shape;
    const SingleImage image = extracttest::makeFrame(shape);
    testsupport::writeAll(dir.file("frame.f32"),
                          std::string(reinterpret_cast<const char*>(image.data()), image.size() * sizeof(float)));
    const int32_t x1 = 3, x2 = 596, y1 = 25, y2 = 95;
    ScanParam p;
    dsInitScanParam(p);
    p.lngStartX = x1;
    p.lngEndX = x2;
    p.lngStartY = y1;
    p.lngEndY = y2;

    std::vector<float> xs, ys;
    ASSERT_EQ(sfInputPeakData(0, image, x1, x2, y1, y2, xs, ys), "");
    const std::vector<float> centres = ys;
    ASSERT_EQ(fitTrace("2", xs, ys, p).status, "");
    NullSpectrumView none;
    std::vector<float> spectrum, plain;
    ASSERT_EQ(sfScanDataPro(p, image, xs, spectrum, none), "");
    p.blnSkySub = 0;
    ASSERT_EQ(sfScanDataPro(p, image, xs, plain, none), "");

    std::ostringstream script;
    script << R"(
import numpy as np
from numpy.polynomial import polynomial as P
w, h = )" << shape.width << ", " << shape.height << R"(
x1, x2, y1, y2 = )" << x1 << ", " << x2 << ", " << y1 << ", " << y2 << R"(
width, s1, e1, s2, e2, sorder = 6, -20, -10, 10, 20, 1
img = np.fromfile(')" << dir.file("frame.f32") << R"(', dtype='<f4').reshape(h, w).astype(np.float64)
sub = img[y1:y2 + 1, x1:x2 + 1] - 10.0
wgt = np.where(sub > 0, sub, 0.0)
rows = np.arange(y1, y2 + 1, dtype=np.float64)[:, None]
S, M = wgt.sum(0), (wgt * rows).sum(0)
cen = np.where(S != 0, M / np.where(S != 0, S, 1), y1 + (y2 - y1) / 2).astype(np.float32)
xs = np.arange(x1, x2 + 1)
coef = P.polyfit(xs.astype(np.float64), cen.astype(np.float64), 2)
def trapezoid(a, b, f, fa, fb):
    n1, n2 = int(np.floor(a)) + 1, int(np.floor(b))
    mid = f(n1) / 2 + sum(f(y) for y in range(n1 + 1, n2)) + f(n2) / 2
    return (n1 - a) * (f(n1) + fa) / 2 + mid + (b - n2) * (fb + f(n2)) / 2
for x in xs:
    c = float(np.float32(P.polyval(float(x), coef)))
    a, b = c - width / 2, c + width / 2
    v = img[:, x]
    ia, n2 = int(np.floor(a)), int(np.floor(b))
    vl = v[ia] + (a - ia) * (v[ia + 1] - v[ia])
    vr = v[n2] + (b - n2) * (v[n2 + 1] - v[n2])
    total = trapezoid(a, b, lambda y: v[y], vl, vr)
    r = int(np.round(c))
    srows = np.r_[r + s1:r + e1 + 1, r + s2:r + e2 + 1]
    sc = P.polyfit(srows.astype(np.float64), v[srows], sorder)
    f = lambda y: P.polyval(y, sc)
    sky = trapezoid(a, b, f, f(a), f(b))
    print(repr(float(cen[x - x1])), repr(float(np.float32(total))), repr(float(np.float32(total) - np.float32(sky))), repr(float(total)))
)";
    std::istringstream reference(testsupport::python(script.str(), dir));
    size_t i = 0;
    double worstPlain = 0, worstSky = 0;
    for (double centre, sum, net, magnitude; reference >> centre >> sum >> net >> magnitude; ++i) {
        ASSERT_LT(i, spectrum.size());
        EXPECT_NEAR(centres[i], centre, 2e-6 * centre) << i;
        worstPlain = std::max(worstPlain, std::fabs(plain[i] - sum) / std::fabs(magnitude));
        worstSky = std::max(worstSky, std::fabs(spectrum[i] - net) / std::fabs(magnitude));
    }
    EXPECT_EQ(i, spectrum.size());
    // Single precision of the column's aperture sum.
    EXPECT_LT(worstPlain, 3e-7);
    EXPECT_LT(worstSky, 1e-6);
    std::ostringstream figures;
    figures << std::scientific << std::setprecision(2) << worstPlain << " " << worstSky;
    RecordProperty("worst_relative_plain_sky", figures.str());
}
