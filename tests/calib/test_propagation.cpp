// FITS spectra with an uncertainty through barycorr, fluxcal with the
// atmosphere and coadd: cards kept, one HISTORY card a step, the
// uncertainty as a numpy propagation of the same step gives it.
#include "files/ShareData.h"
#include "fits/FitsSpectrum.h"
#include "reduce/CalibSpectrumSteps.h"
#include "../support/CliRun.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace raylen;

namespace {

std::string shellPath(const std::string& path) { return testsupport::shellQuote(path); }

Spectrum observation(double scale)
{
    Spectrum s;
    for (int i = 0; i < 400; ++i) {
        s.x.push_back(static_cast<float>(5000.0 + 2.0 * i));
        s.y.push_back(static_cast<float>(scale * (100.0 + 10.0 * std::sin(i / 9.0))));
        s.sigma.push_back(static_cast<float>(scale * (2.0 + 0.5 * std::cos(i / 13.0))));
    }
    for (const char* card : {"OBJECT  = 'HD-1'", "EXPTIME =                 60.0", "AIRMASS =                  1.3",
                             "RA      = '05:35:17.3'", "DEC     = '-05:23:28'", "SITELONG=               -111.6",
                             "SITELAT =                31.96", "SITEELEV=               2120.0",
                             "DATE-OBS= '2026-11-20T21:14:05'"}) {
        std::string c(card);
        c.resize(80, ' ');
        s.meta.cards.push_back(c);
    }
    return s;
}

TEST(Propagation, BarycorrFluxcalAndCoaddKeepCardsAndCarryTheUncertainty)
{
    if (!testsupport::requirePython("astropy, numpy"))
        return;
    testsupport::TempDir dir;
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("a.fits"), observation(1.0)), "");
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("b.fits"), observation(1.5)), "");
    testsupport::writeAll(dir.file("flat.sns"), "# unit erg.s-1.cm-2.Angstrom-1\r\n4000,2e14\r\n6000,4e14\r\n");
    auto r = clitest::cli("barycorr " + shellPath(dir.file("a.fits")) + " -o " + shellPath(dir.file("a-bary.fits")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const double v = std::stod(r.out.substr(2));
    r = clitest::cli("fluxcal " + shellPath(dir.file("a-bary.fits")) + " --sns " + shellPath(dir.file("flat.sns")) +
                         " --extinction kpno -o " + shellPath(dir.file("a-flux.fits")),
                     dir);
    ASSERT_EQ(r.status, 0) << r.err;
    r = clitest::cli("coadd " + shellPath(dir.file("a.fits")) + " " + shellPath(dir.file("b.fits")) + " --step 3 -o " +
                         shellPath(dir.file("ab.fits")),
                     dir);
    ASSERT_EQ(r.status, 0) << r.err;

    const std::string kpno = resolveShippedTable(extinctionFolder, "kpno");
    const std::string script =
        "import numpy as np\nfrom astropy.io import fits\n"
        "d = '" + dir.path() + "/'\n"
        "def load(n):\n"
        "    h = fits.open(d + n)\n"
        "    p = h[0].header\n"
        "    x = p['CRVAL1'] + p['CDELT1'] * (np.arange(p['NAXIS1']) + 1 - p['CRPIX1'])\n"
        "    return p, x, h[0].data.astype(float), h['ERR'].data.astype(float)\n"
        "pa, xa, ya, ea = load('a.fits')\npb, xb, yb, eb = load('b.fits')\n"
        "p1, x1, y1, e1 = load('a-bary.fits')\n"
        "print(p1['VHELIO'], p1['BSS_VHEL'], p1['OBJECT'], p1['HISTORY'][-1].split()[0])\n"
        "print(np.max(np.abs(x1 / (xa * (1 + p1['VHELIO'] / 299792.458)) - 1)), np.max(np.abs(e1 - ea)))\n"
        "p2, x2, y2, e2 = load('a-flux.fits')\n"
        "k = np.loadtxt('" + kpno + "')\n"
        "s = np.interp(x1, [4000, 6000], [2e14, 4e14]) * 60.0 * 10 ** (-0.4 * np.interp(x1, k[:, 0], k[:, 1]) * 1.3)\n"
        "print(p2['BUNIT'], p2['DATE-OBS'], len(p2['HISTORY']), np.max(np.abs(e2 * s / e1 - 1)), np.max(np.abs(y2 * s / y1 - 1)))\n"
        "p3, x3, y3, e3 = load('ab.fits')\n"
        "def rs(x, y, e, g, w):\n"
        "    ed = np.concatenate([[x[0] - 1], (x[1:] + x[:-1]) / 2, [x[-1] + 1]])\n"
        "    o = np.clip(np.minimum(g[:, None] + w / 2, ed[None, 1:]) - np.maximum(g[:, None] - w / 2, ed[None, :-1]), 0, None)\n"
        "    return o @ y / o.sum(1), np.sqrt((o ** 2) @ (e ** 2)) / o.sum(1)\n"
        "fa, sa = rs(xa, ya, ea, x3, 3.0)\nfb, sb = rs(xb, yb, eb, x3, 3.0)\n"
        "m = (fa / sa ** 2 + fb / sb ** 2) / (1 / sa ** 2 + 1 / sb ** 2)\nu = (1 / sa ** 2 + 1 / sb ** 2) ** -0.5\n"
        "print(p3['OBJECT'], p3['HISTORY'][-1].split()[0], np.max(np.abs(y3 - m)), np.max(np.abs(e3 / u - 1)))\n";
    std::istringstream out(testsupport::python(script, dir));
    double vhelio = 0, bss = 0, scaleError = 0, sigmaChange = 0;
    std::string object, step;
    ASSERT_TRUE(out >> vhelio >> bss >> object >> step) << out.str();
    EXPECT_NEAR(vhelio, v, 1e-4);
    EXPECT_EQ(bss, vhelio);
    EXPECT_EQ(object, "HD-1");
    EXPECT_EQ(step, "barycorr");
    ASSERT_TRUE(out >> scaleError >> sigmaChange);
    EXPECT_LT(scaleError, 1e-7);
    EXPECT_EQ(sigmaChange, 0.0);
    std::string unit, date;
    int histories = 0;
    double sigmaError = 0, valueError = 0;
    ASSERT_TRUE(out >> unit >> date >> histories >> sigmaError >> valueError);
    EXPECT_EQ(unit, "erg.s-1.cm-2.Angstrom-1");
    EXPECT_EQ(date, "2026-11-20T21:14:05");
    EXPECT_EQ(histories, 2);
    EXPECT_LT(sigmaError, 1e-5);
    EXPECT_LT(valueError, 1e-5);
    double meanError = 0, coaddSigmaError = 0;
    ASSERT_TRUE(out >> object >> step >> meanError >> coaddSigmaError);
    EXPECT_EQ(step, "coadd");
    EXPECT_LT(meanError, 1e-4);
    EXPECT_LT(coaddSigmaError, 1e-4);
}

} // namespace

namespace {

// A part of a FITS spectrum cut out by resample --start/--count: the
// uncertainty on the bin-overlap weights, σ = √(Σ wᵢ²σᵢ²)/Σ wᵢ, and the cards.
TEST(Propagation, ResampledPartKeepsTheUncertaintyAndTheCards)
{
    if (!testsupport::requirePython("astropy, numpy"))
        return;
    testsupport::TempDir dir;
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("a.fits"), observation(1.0)), "");
    auto r = clitest::cli("resample " + shellPath(dir.file("a.fits")) + " --step 3 --start 5100.5 --count 50 -o " +
                              shellPath(dir.file("cut.fits")),
                          dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string result = testsupport::python(
        "import numpy as np\nfrom astropy.io import fits\n"
        "d = '" + dir.path() + "/'\n"
        "a = fits.open(d + 'a.fits'); c = fits.open(d + 'cut.fits')\n"
        "pa, pc = a[0].header, c[0].header\n"
        "xa = pa['CRVAL1'] + pa['CDELT1'] * (np.arange(pa['NAXIS1']) + 1 - pa['CRPIX1'])\n"
        "g = pc['CRVAL1'] + pc['CDELT1'] * (np.arange(pc['NAXIS1']) + 1 - pc['CRPIX1'])\n"
        "ed = np.concatenate([[xa[0] - 1], (xa[1:] + xa[:-1]) / 2, [xa[-1] + 1]])\n"
        "o = np.clip(np.minimum(g[:, None] + 1.5, ed[None, 1:]) - np.maximum(g[:, None] - 1.5, ed[None, :-1]), 0, None)\n"
        "e = np.sqrt((o ** 2) @ (a['ERR'].data.astype(float) ** 2)) / o.sum(1)\n"
        "print(len(g), g[0], pc['OBJECT'], pc['HISTORY'][-1].split()[0], np.max(np.abs(c['ERR'].data / e - 1)) < 1e-5)\n",
        dir);
    EXPECT_EQ(result, "50 5100.5 HD-1 resample True\n");
}

} // namespace
