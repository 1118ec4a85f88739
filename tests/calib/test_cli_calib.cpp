// sensfunc, fluxcal with the atmosphere, identify --from and barycorr as a
// script runs them.
#include "files/ShareData.h"
#include "files/TextSpectrum.h"
#include "reduce/BaryCorr.h"
#include "reduce/CalibTables.h"
#include "reduce/Dispersion.h"
#include "../reduce_wave/LampSpectrum.h"
#include "../support/CliRun.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace raylen;

namespace {

std::string quoted(const std::string& path) { return testsupport::shellQuote(path); }

double response(double lambda) { return 2.0e15 * std::exp(-std::pow((lambda - 5800.0) / 2500.0, 2)); }

TEST(CliCalib, SensfuncFromAShippedStandardThenFluxcalRecoversItsFlux)
{
    testsupport::TempDir dir;
    StandardTable feige34;
    ExtinctionTable kpno;
    ASSERT_EQ(sfReadStandardTable(resolveShippedTable(standardsFolder, "feige34"), feige34), "");
    ASSERT_EQ(sfReadExtinctionTable(resolveShippedTable(extinctionFolder, "kpno"), kpno), "");
    // The star's smooth tabulated flux observed for 60 s at airmass 1.2.
    std::vector<float> x, y, truth;
    for (double l = 4000; l <= 7400; l += 2.5) {
        size_t k = 1;
        while (feige34.wave[k] < l)
            ++k;
        const double t = (l - feige34.wave[k - 1]) / (feige34.wave[k] - feige34.wave[k - 1]);
        const double flux = feige34.flux[k - 1] + t * (feige34.flux[k] - feige34.flux[k - 1]);
        x.push_back(static_cast<float>(l));
        truth.push_back(static_cast<float>(flux));
        y.push_back(static_cast<float>(flux * response(l) * 60.0 * atmosphericTransmission(kpno, l, 1.2)));
    }
    ASSERT_EQ(sfSaveText(x, y, dir.file("std.txt")), "");
    auto r = clitest::cli("sensfunc " + quoted(dir.file("std.txt")) +
                              " --standard feige34 --exptime 60 --airmass 1.2 --extinction kpno -o " +
                              quoted(dir.file("night.sns")),
                          dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 25), "exptime=60\nairmass=1.2\n40");
    EXPECT_NE(r.out.find("\nRMS="), std::string::npos);
    EXPECT_EQ(testsupport::readAll(dir.file("night.sns")).substr(0, 32), "# unit erg.s-1.cm-2.Angstrom-1\r\n");

    r = clitest::cli("fluxcal " + quoted(dir.file("std.txt")) + " --sns " + quoted(dir.file("night.sns")) +
                         " --exptime 60 --airmass 1.2 --extinction kpno -o " + quoted(dir.file("cal.txt")),
                     dir);
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<float> cx, cy;
    ASSERT_EQ(sfOpenText(dir.file("cal.txt"), cx, cy), "");
    ASSERT_EQ(cx, x);
    for (size_t i = 0; i < cx.size(); ++i)
        if (cx[i] >= 4500 && cx[i] <= 7000) {
            ASSERT_NEAR(cy[i] / truth[i], 1.0, 0.02) << cx[i];
        }

    // An airmass but no extinction table asked for: the exposure alone.
    r = clitest::cli("fluxcal " + quoted(dir.file("std.txt")) + " --sns " + quoted(dir.file("night.sns")) +
                         " --extinction " + quoted(dir.file("none.dat")) + " --exptime 60 --airmass 1 -o " +
                         quoted(dir.file("bad.txt")),
                     dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ファイルが存在しません。\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.txt")));
    r = clitest::cli("fluxcal " + quoted(dir.file("std.txt")) + " --sns " + quoted(dir.file("night.sns")) +
                         " --extinction kpno -o " + quoted(dir.file("bad.txt")),
                     dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--exptime is required"), std::string::npos);
}

TEST(CliCalib, IdentifyFromYesterdaysSolutionPrintsShiftStretchAndResiduals)
{
    testsupport::TempDir dir;
    std::vector<float> oldX, oldY, x, y;
    lamp::spectrum(oldX, oldY);
    // Today's lamp: moved by 7.3 pixels and stretched by 0.2 % about its centre.
    const double centre = 0.5 * (lamp::pixels - 1);
    x = oldX;
    y.assign(x.size(), 0.0f);
    for (size_t i = 0; i < x.size(); ++i) {
        const double p = centre + (x[i] - 7.3 - centre) / 1.002;
        const size_t k = static_cast<size_t>(std::clamp(p, 0.0, lamp::pixels - 2.0));
        const double f = p - static_cast<double>(k);
        y[i] = static_cast<float>(oldY[k] * (1 - f) + oldY[k + 1] * f);
    }
    std::string table;
    for (const lamp::Line& l : lamp::lines())
        table += std::to_string(l.wave).substr(0, 7) + "  " + l.element + "\r\n";
    testsupport::writeAll(dir.file("lines.dat"), table);
    ASSERT_EQ(sfSaveText(x, y, dir.file("comp.txt")), "");
    ASSERT_EQ(sfWriteDispFactor(dir.file("old.dip"), 2, {lamp::trueA0, lamp::trueA1, lamp::trueA2}), "");

    auto r = clitest::cli("identify " + quoted(dir.file("comp.txt")) + " --table " + quoted(dir.file("lines.dat")) +
                              " --from " + quoted(dir.file("old.dip")) + " --auto",
                          dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 8), "shift=7.");
    EXPECT_NE(r.out.find("\nstretch=0.002"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nadded 0 lines\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nRMS="), std::string::npos);
    std::vector<double> a;
    ASSERT_EQ(sfOpenDispFile(dir.file("comp.dip"), a), "");
    ASSERT_EQ(a.size(), 3u);
    for (const lamp::Line& l : lamp::lines()) {
        const double p = centre + 1.002 * (lamp::pixelOf(l.wave) - centre) + 7.3;
        EXPECT_NEAR(a[0] + p * (a[1] + p * a[2]), l.wave, 0.1);
    }

    r = clitest::cli("identify " + quoted(dir.file("comp.txt")) + " --table " + quoted(dir.file("lines.dat")) +
                         " --from " + quoted(dir.file("old.dip")) + " --line 1:100 -o " + quoted(dir.file("x.dip")),
                     dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.dip")));
}

TEST(CliCalib, BarycorrPrintsTheVelocityAndShiftsTheScale)
{
    testsupport::TempDir dir;
    const std::vector<float> x = {6500.0f, 6550.5f, 6600.25f}, y = {1.0f, 2.0f, 3.0f};
    ASSERT_EQ(sfSaveText(x, y, dir.file("spec.txt")), "");
    auto r = clitest::cli("barycorr " + quoted(dir.file("spec.txt")) +
                              " --ra 05:35:17.3 --dec -05:23:28 --site -111.6,31.96,2120 "
                              "--date-obs 2026-11-20T21:14:05 --exptime 600 -o " +
                              quoted(dir.file("out.txt")),
                          dir);
    ASSERT_EQ(r.status, 0) << r.err;
    Observation o;
    ASSERT_TRUE(parseRightAscension("05:35:17.3", o.raDeg));
    ASSERT_TRUE(parseDeclination("-05:23:28", o.decDeg));
    o.longitudeDeg = -111.6;
    o.latitudeDeg = 31.96;
    o.heightM = 2120;
    o.start = {2026, 11, 20, 21, 14, 5.0};
    o.exptime = 600;
    double v = 0;
    ASSERT_EQ(sfRadialVelocityCorrection(o, VelocityFrame::barycentric, v), "");
    char expected[32];
    std::snprintf(expected, sizeof expected, "v=%.4f\n", v);
    EXPECT_EQ(r.out, expected);
    std::vector<float> ox, oy;
    ASSERT_EQ(sfOpenText(dir.file("out.txt"), ox, oy), "");
    EXPECT_EQ(ox, shiftWavelengths(x, v));
    EXPECT_EQ(oy, y);

    r = clitest::cli("barycorr " + quoted(dir.file("spec.txt")) + " --ra 10 --dec 10 -o " + quoted(dir.file("o2.txt")),
                     dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--site is required"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("o2.txt")));
}

TEST(CliCalib, CoaddAveragesOnTheCommonGrid)
{
    testsupport::TempDir dir;
    const std::vector<float> ax = {10, 11, 12, 13, 14, 15}, ay = {1, 1, 1, 1, 1, 1};
    const std::vector<float> bx = {11.5f, 12, 12.5f, 13, 13.5f, 14, 14.5f, 15, 15.5f}, by(9, 3.0f);
    ASSERT_EQ(sfSaveText(ax, ay, dir.file("a.txt")), "");
    ASSERT_EQ(sfSaveText(bx, by, dir.file("b.txt")), "");
    auto r = clitest::cli("coadd " + quoted(dir.file("a.txt")) + " " + quoted(dir.file("b.txt")) + " -o " +
                              quoted(dir.file("c.txt")),
                          dir);
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<float> cx, cy;
    ASSERT_EQ(sfOpenText(dir.file("c.txt"), cx, cy), "");
    EXPECT_EQ(cx, (std::vector<float>{11.5f, 12, 12.5f, 13, 13.5f, 14, 14.5f, 15}));
    EXPECT_EQ(cy, std::vector<float>(8, 2.0f));
    r = clitest::cli("coadd " + quoted(dir.file("a.txt")) + " -o " + quoted(dir.file("d.txt")), dir);
    EXPECT_EQ(r.status, 2);
}

} // namespace
