// Instrument response from a synthetic standard observed through a known
// response, exposure time and extinction, and flux calibration with it.
#include "files/ShareData.h"
#include "reduce/CalibTables.h"
#include "reduce/FluxCal.h"
#include "reduce/SensFunc.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

using namespace raylen;

namespace {

constexpr double exposure = 120.0, airmass = 1.5;
constexpr double balmer[] = {4101.74, 4340.47, 4861.33, 6562.79};

double trueResponse(double lambda)
{
    const double t = (lambda - 5600.0) / 2400.0;
    return 4.0e15 * std::exp(-t * t) * (1.0 + 0.08 * std::sin(lambda / 900.0));
}

// A hot star's continuum with Balmer absorption of 8 Å width.
double starFlux(double lambda, double slope, double scale)
{
    double f = scale * std::pow(lambda / 5500.0, slope);
    for (double line : balmer) {
        const double d = (lambda - line) / 8.0;
        f *= 1.0 - 0.5 * std::exp(-0.5 * d * d);
    }
    return f;
}

// Counts a pixel: the flux blurred by the instrument (σ 2 Å), through the
// atmosphere and the response.
std::vector<float> observe(const std::vector<float>& x, const ExtinctionTable& ext, double slope, double scale)
{
    std::vector<float> y(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        double sum = 0, weight = 0;
        for (double d = -8.0; d <= 8.0; d += 0.25) {
            const double w = std::exp(-0.5 * (d / 2.0) * (d / 2.0));
            sum += w * starFlux(x[i] + d, slope, scale);
            weight += w;
        }
        y[i] = static_cast<float>(sum / weight * trueResponse(x[i]) * exposure *
                                  std::pow(10.0, -0.4 * extinctionAt(ext, x[i]) * airmass));
    }
    return y;
}

bool masked(double lambda)
{
    for (const WaveRange& m : defaultSensMasks())
        if (lambda >= m.lo && lambda <= m.hi)
            return true;
    return false;
}

struct Night : ::testing::Test {
    ExtinctionTable ext;
    std::vector<float> x;
    StandardTable table;
    void SetUp() override
    {
        ASSERT_EQ(sfReadExtinctionTable(resolveShippedTable(extinctionFolder, "kpno"), ext), "");
        for (double l = 3900; l <= 7900; l += 2.0)
            x.push_back(static_cast<float>(l));
        // The table: the unblurred flux every 10 Å, in its own unit.
        table.unit = "erg.s-1.cm-2.Angstrom-1";
        for (double l = 3800; l <= 8000; l += 10.0) {
            table.wave.push_back(l);
            table.flux.push_back(starFlux(l, -2.0, 3e-13));
            table.band.push_back(0);
        }
    }
};

TEST_F(Night, ResponseRecoveredAndSecondStarCalibratedWithinTwoPercent)
{
    std::vector<float> counts = observe(x, ext, -2.0, 3e-13);
    // A cosmic ray on one table point: the rejection must keep it out.
    const size_t hit = static_cast<size_t>((5500 - 3900) / 2);
    counts[hit] *= 3.0f;
    SensFuncSettings settings;
    settings.exptime = exposure;
    settings.airmass = airmass;
    SensFuncResult result;
    ASSERT_EQ(sfSensFunc(x, counts, table, &ext, settings, result), "");
    EXPECT_EQ(result.unit, table.unit);
    bool rejectedHit = false;
    for (const SensPoint& p : result.points)
        rejectedHit |= p.wave == 5500.0 && p.rejected;
    EXPECT_TRUE(rejectedHit);

    double worst = 0;
    for (size_t i = 0; i < x.size(); ++i)
        if (x[i] >= 4500 && x[i] <= 7000 && !masked(x[i]))
            worst = std::max(worst, std::fabs(result.sensY[i] / trueResponse(x[i]) - 1.0));
    EXPECT_LT(worst, 0.02);

    // A second star of another colour through the same night.
    const std::vector<float> second = observe(x, ext, -1.2, 8e-14);
    std::vector<float> calibrated;
    ASSERT_EQ(sfCalibrateExtinction(x, second, result.sensX, result.sensY, exposure, airmass, ext, calibrated), "");
    double worstFlux = 0;
    for (size_t i = 0; i < x.size(); ++i)
        if (x[i] >= 4500 && x[i] <= 7000 && !masked(x[i])) {
            double blurred = 0, weight = 0;
            for (double d = -8.0; d <= 8.0; d += 0.25) {
                const double w = std::exp(-0.5 * (d / 2.0) * (d / 2.0));
                blurred += w * starFlux(x[i] + d, -1.2, 8e-14);
                weight += w;
            }
            worstFlux = std::max(worstFlux, std::fabs(calibrated[i] / (blurred / weight) - 1.0));
        }
    EXPECT_LT(worstFlux, 0.02);
}

TEST_F(Night, StandardsUncertaintyWeighsTheFitAsNumpyDoes)
{
    if (!testsupport::requirePython("numpy"))
        return;
    // A noisy blue end (5 % at 4300 Å, 0.2 % in the red), one realisation.
    const std::vector<float> clean = observe(x, ext, -2.0, 3e-13);
    std::vector<float> counts(x.size()), sigma(x.size());
    std::mt19937 random(21);
    std::normal_distribution<double> gauss(0.0, 1.0);
    for (size_t i = 0; i < x.size(); ++i) {
        sigma[i] = static_cast<float>(clean[i] * (0.002 + 0.05 * std::exp(-std::pow((x[i] - 4300.0) / 300.0, 2))));
        counts[i] = static_cast<float>(clean[i] + sigma[i] * gauss(random));
    }
    SensFuncSettings settings;
    settings.exptime = exposure;
    settings.airmass = airmass;
    settings.reject = {};
    SensFuncResult weighted, plain;
    ASSERT_EQ(sfSensFunc(x, counts, table, &ext, settings, weighted, &sigma), "");
    ASSERT_EQ(sfSensFunc(x, counts, table, &ext, settings, plain), "");
    // The same fit in numpy: magnitudes over the scaled wavelength, w = 1/σ.
    std::ostringstream script;
    script.precision(17);
    script << "import numpy as np\np = np.array([";
    for (const SensPoint& pt : weighted.points)
        if (!pt.masked)
            script << "[" << pt.wave << "," << pt.response << "," << pt.sigma << "," << pt.fitted << "],";
    script << "])\nw, r, e, f = p.T\nmid, half = (w[0] + w[-1]) / 2, (w[-1] - w[0]) / 2\n"
              "m = 2.5 * np.log10(r); ref = m.mean(); t = (w - mid) / half\n"
              "c = np.polyfit(t, m - ref, 7, w=1 / (2.5 / np.log(10) * e / r))\n"
              "print(np.max(np.abs(10 ** ((np.polyval(c, t) + ref) / 2.5) / f - 1)))\n";
    testsupport::TempDir dir;
    EXPECT_LT(std::stod(testsupport::python(script.str(), dir)), 1e-5);
    // Weighted, the noisy blue end no longer bends the response.
    auto worst = [&](const SensFuncResult& r) {
        double w = 0;
        for (size_t i = 0; i < x.size(); ++i)
            if (x[i] >= 4500 && x[i] <= 7000 && !masked(x[i]))
                w = std::max(w, std::fabs(r.sensY[i] / trueResponse(x[i]) - 1.0));
        return w;
    };
    EXPECT_LT(worst(weighted), 0.02);
    EXPECT_LT(worst(weighted), worst(plain));
}

TEST_F(Night, SensFileRoundTripsWithItsUnitLine)
{
    const std::vector<float> counts = observe(x, ext, -2.0, 3e-13);
    SensFuncSettings settings;
    settings.exptime = exposure;
    settings.airmass = airmass;
    SensFuncResult result;
    ASSERT_EQ(sfSensFunc(x, counts, table, &ext, settings, result), "");
    testsupport::TempDir dir;
    const std::string path = dir.file("night.sns");
    ASSERT_EQ(sfWriteSensFile(path, result.unit, result.sensX, result.sensY), "");
    const std::string bytes = testsupport::readAll(path);
    EXPECT_EQ(bytes.substr(0, 34), "# unit erg.s-1.cm-2.Angstrom-1\r\n39");
    std::vector<float> sx, sy;
    ASSERT_EQ(sfReadSensFncFile(path, sx, sy), "");
    EXPECT_EQ(sx, result.sensX);
    EXPECT_EQ(sy, result.sensY);
    EXPECT_EQ(unitLineName(bytes), table.unit);
}

TEST_F(Night, TooFewPointsOutsideTheMasksIsRefused)
{
    const std::vector<float> counts = observe(x, ext, -2.0, 3e-13);
    SensFuncSettings settings;
    settings.masks = {{3000, 6000}, {6020, 9000}};
    SensFuncResult result;
    result.rms = -1;
    EXPECT_EQ(sfSensFunc(x, counts, table, &ext, settings, result), "感度曲線を求めるには標準星のデータ点が足りません");
    EXPECT_EQ(result.rms, -1);
}

TEST(CalibTables, ShippedTablesReadWithTheirUnitsAndCitations)
{
    const std::vector<std::string> names = shippedTables(standardsFolder);
    ASSERT_GE(names.size(), 5u);
    for (const std::string& name : names) {
        StandardTable t;
        const std::string path = resolveShippedTable(standardsFolder, name);
        ASSERT_EQ(sfReadStandardTable(path, t), "") << name;
        EXPECT_EQ(t.unit, "erg.s-1.cm-2.Angstrom-1") << name;
        EXPECT_NE(testsupport::readAll(path).find("Oke, J. B. 1990, AJ 99, 1621"), std::string::npos) << name;
    }
    // Feige 34 at 5460 Å is AB 11.13 in the published table.
    StandardTable feige34;
    ASSERT_EQ(sfReadStandardTable(resolveShippedTable(standardsFolder, "feige34"), feige34), "");
    for (size_t i = 0; i < feige34.wave.size(); ++i)
        if (feige34.wave[i] == 5460.0) {
            EXPECT_NEAR(-2.5 * std::log10(feige34.flux[i] * 5460.0 * 5460.0 / 2.99792458e18) - 48.60, 11.13, 1e-4);
        }
    ExtinctionTable kpno;
    ASSERT_EQ(sfReadExtinctionTable(resolveShippedTable(extinctionFolder, "kpno.dat"), kpno), "");
    EXPECT_NEAR(extinctionAt(kpno, 3225.0), 0.5 * (1.017 + 0.881), 1e-12);
    EXPECT_EQ(extinctionAt(kpno, 100.0), 1.017);
}

TEST(CalibTables, MalformedTablesAreRefused)
{
    testsupport::TempDir dir;
    const std::string path = dir.file("t.dat");
    StandardTable t;
    t.unit = "kept";
    testsupport::writeAll(path, "# unit x\n5000 1\n4000 2\n");
    EXPECT_EQ(sfReadStandardTable(path, t), "表の波長が昇順ではありません: 4000 2");
    testsupport::writeAll(path, "5000 1 2 3\n6000 1\n");
    EXPECT_EQ(sfReadStandardTable(path, t), "表の行は波長と値の数値で書いてください: 5000 1 2 3");
    testsupport::writeAll(path, "5000 1\n");
    EXPECT_EQ(sfReadStandardTable(path, t), "表のデータ点が2点以上必要です");
    EXPECT_EQ(t.unit, "kept");
}

} // namespace
