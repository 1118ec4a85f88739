// raylen-cli science products: provenance through a FITS chain, specutils
// loading, the propagated uncertainty against numpy, optimal extraction
// against specreduce, and today's outputs unchanged without the new options.
#include "fits/FitsSpectrum.h"

#include "../support/TestSupport.h"

#include <sstream>

using testsupport::TempDir;
using testsupport::shellQuote;

namespace {

int runScienceCli(const std::string& arguments, std::string* output = nullptr)
{
    return testsupport::run(shellQuote(std::string(RAYLEN_BIN_DIR) + "/raylen-cli") + " " + arguments + " 2>&1",
                            output);
}

std::string fileHash(const std::string& path)
{
    std::string out;
    testsupport::run("sha256sum " + shellQuote(path), &out);
    return out.substr(0, 64);
}

// The sample night, its object frame given the cards a telescope writes.
void prepareNight(const TempDir& dir)
{
    std::string out;
    ASSERT_EQ(runScienceCli("sample " + shellQuote(dir.path()), &out), 0) << out;
    testsupport::python("from astropy.io import fits\n"
                        "f = fits.open('" + dir.file("object.fit") + "', do_not_scale_image_data=True)\n"
                        "h = f[0].header\n"
                        "h['AIRMASS'] = 1.23; h['RA'] = '05:35:17.3'; h['DEC'] = '-05:23:28'\n"
                        "h['GAIN'] = 1.5; h['RDNOISE'] = 6.0\n"
                        "f.writeto('" + dir.file("star.fit") + "')\n",
                        dir);
    testsupport::writeAll(dir.file("units.sns"), "# unit erg/(s cm2 Angstrom)\r\n" +
                                                     testsupport::readAll(dir.file("sensitivity.sns")));
}

} // namespace

TEST(CliScience, FitsChainKeepsTheObservationAndLoadsInSpecutils)
{
    if (!testsupport::requirePython("numpy, astropy, specutils"))
        return;
    TempDir dir;
    prepareNight(dir);
    const std::string d = shellQuote(dir.path()) + "/";
    std::string out;
    ASSERT_EQ(runScienceCli("extract " + d + "star.fit --x 0:1023 --y 100:156 --width 8 --sky -25:-10,10:25 --optimal "
                     "--sky-out " + d + "sky.fits -o " + d + "a.fits",
                     &out),
              0)
        << out;
    EXPECT_EQ(out.find("注意"), std::string::npos) << out; // GAIN and RDNOISE came from the frame
    ASSERT_EQ(runScienceCli("extract " + d + "comp.fit --x 0:1023 --y 100:156 --no-sky -o " + d + "comp.txt", &out), 0);
    ASSERT_EQ(runScienceCli("identify " + d + "comp.txt --table " + d + "lamp.dat --line 2:102 --line 7:643 --line 13:949 "
                     "-o " + d + "comp.dip",
                     &out),
              0)
        << out;
    ASSERT_EQ(runScienceCli("dispcor " + d + "a.fits --dip " + d + "comp.dip -o " + d + "b.fits", &out), 0) << out;
    ASSERT_EQ(runScienceCli("fluxcal " + d + "b.fits --sns " + d + "units.sns -o " + d + "c.fits", &out), 0) << out;
    ASSERT_EQ(runScienceCli("normalize " + d + "c.fits --region 4500:4800 --region 5500:6000 --region 6800:7400 "
                     "--order 3 -o " + d + "n.fits",
                     &out),
              0)
        << out;
    ASSERT_EQ(runScienceCli("dispcor " + d + "a.fits --dip " + d + "comp.dip --linear --step 3 -o " + d + "l.fits", &out),
              0)
        << out;
    const std::string result = testsupport::python(
        "import numpy as np, warnings\nwarnings.simplefilter('ignore')\n"
        "from astropy.io import fits\nfrom specutils import Spectrum1D\n"
        "d = '" + dir.path() + "/'\n"
        "for n, steps in [('a', 1), ('b', 2), ('c', 3), ('n', 4), ('l', 2)]:\n"
        "    h = fits.getheader(d + n + '.fits', 0)\n"
        "    keys = all(k in h for k in ['OBJECT', 'DATE-OBS', 'EXPTIME', 'AIRMASS', 'RA', 'DEC'])\n"
        "    hist = len(h['HISTORY']) if 'HISTORY' in h else 0\n"
        "    print(n, keys, hist == steps)\n"
        "for n in ['b', 'c', 'l']:\n"
        "    s = Spectrum1D.read(d + n + '.fits')\n"
        "    print(n, s.spectral_axis.unit.physical_type, s.flux.unit, s.spectral_axis.to_value('Angstrom')[0] > 4000)\n"
        "print(fits.getheader(d + 'b.fits', 1)['TCTYP1'], fits.getheader(d + 'l.fits')['CTYPE1'])\n"
        "print(fits.getheader(d + 'n.fits', 1).get('TUNIT2') is None)\n"
        // The propagation of the same steps in numpy.
        "a = fits.getdata(d + 'a.fits', 'ERR'); b = fits.getdata(d + 'b.fits', 1)\n"
        "c = fits.getdata(d + 'c.fits', 1); n = fits.getdata(d + 'n.fits', 1)\n"
        "print(np.allclose(b['ERR'], a, rtol=1e-6))\n"
        "sx, sy = np.loadtxt(d + 'sensitivity.sns', delimiter=',', unpack=True)\n"
        "print(np.allclose(c['ERR'], a / np.interp(b['WAVE'], sx, sy), rtol=1e-5))\n"
        "cont = c['FLUX'] / n['FLUX']\n"
        "print(np.allclose(n['ERR'], c['ERR'] / np.abs(cont), rtol=1e-4))\n"
        "sky = fits.getdata(d + 'sky.fits'); y = fits.getdata(d + 'a.fits')\n"
        "print(sky.shape == y.shape, float(np.median(sky)) > 0)\n",
        dir);
    EXPECT_EQ(result, "a True True\nb True True\nc True True\nn True True\nl True True\n"
                      "b length adu True\nc length erg / (Angstrom cm2 s) True\nl length adu True\n"
                      "AWAV AWAV\nTrue\nTrue\nTrue\nTrue\nTrue True\n");
}

TEST(CliScience, OptimalExtractionAgreesWithSpecreduceHorne)
{
    if (!testsupport::requirePython("numpy, astropy, specreduce"))
        return;
    TempDir dir;
    // A star on a dark sky: gain 2, read noise 5, σ = 2. The trace is
    // straight: HorneExtract shifts a curved trace by whole rows and leaves
    // the variance unshifted, which is its own approximation, not ours.
    testsupport::python(
        "import numpy as np\nfrom astropy.io import fits\nfrom scipy.special import erf\n"
        "rng = np.random.default_rng(4)\n"
        "w, h, g, r, s = 300, 60, 2.0, 5.0, 2.0\n"
        "x = np.arange(w); y = np.arange(h)[:, None]; c = 29.6 + 0 * x\n"
        "f = 4000 * (1 + 0.3 * np.sin(x / 30))\n"
        "frac = 0.5 * (erf((y + 0.5 - c) / (np.sqrt(2) * s)) - erf((y - 0.5 - c) / (np.sqrt(2) * s)))\n"
        "e = rng.poisson(g * f * frac) + rng.normal(0, r, (h, w))\n"
        "hdr = fits.Header(); hdr['GAIN'] = g; hdr['RDNOISE'] = r\n"
        "fits.PrimaryHDU((e / g).astype(np.float32), hdr).writeto('" + dir.file("frame.fit") + "')\n",
        dir);
    std::string out;
    ASSERT_EQ(runScienceCli("extract " + shellQuote(dir.file("frame.fit")) + " --x 0:299 --y 20:40 --width 14 "
                     "--trace-order 0 --no-sky --optimal -o " + shellQuote(dir.file("ours.fits")),
                     &out),
              0)
        << out;
    const std::string result = testsupport::python(
        "import numpy as np, warnings\nwarnings.simplefilter('ignore')\n"
        "from astropy.io import fits\nfrom astropy.modeling import models\n"
        "from specreduce.extract import HorneExtract\nfrom specreduce.tracing import FlatTrace\n"
        "img = fits.getdata('" + dir.file("frame.fit") + "').astype(float)\n"
        "var = (np.maximum(img, 0) * 2.0 + 25.0) / 4.0\n"
        "trace = FlatTrace(img, 29.6)\n"
        "theirs = HorneExtract(img, trace, bkgrd_prof=models.Polynomial1D(0), variance=var,\n"
        "                      mask=np.zeros(img.shape, bool), unit='adu').spectrum.flux.value\n"
        "ours = fits.getdata('" + dir.file("ours.fits") + "')\n"
        "ratio = ours / theirs\n"
        "print(abs(np.median(ratio) - 1) < 0.02, np.mean(np.abs(ratio - 1) < 0.02) > 0.95)\n",
        dir);
    EXPECT_EQ(result, "True True\n");
}

// Hashes of the outputs the commands gave before the uncertainty, optimal
// extraction and provenance options were added (text outputs and printed
// lines; FITS outputs gained the new cards by design).
TEST(CliScience, WithoutTheNewOptionsTextOutputsAreAsBefore)
{
    TempDir dir;
    std::string out;
    ASSERT_EQ(runScienceCli("sample " + shellQuote(dir.path()), &out), 0) << out;
    const std::string d = shellQuote(dir.path()) + "/";
    ASSERT_EQ(runScienceCli("extract " + d + "object.fit --x 0:1023 --y 100:156 --width 8 --sky -25:-10,10:25 "
                     "-o " + d + "obj.txt > " + d + "extract.out"),
              0);
    ASSERT_EQ(runScienceCli("extract " + d + "comp.fit --ref " + d + "obj.prm -o " + d + "comp.txt"), 0);
    ASSERT_EQ(runScienceCli("identify " + d + "comp.txt --table " + d + "lamp.dat --line 2:102 --line 7:643 --line 13:949 "
                     "-o " + d + "comp.dip > " + d + "identify.out"),
              0);
    ASSERT_EQ(runScienceCli("dispcor " + d + "obj.txt --dip " + d + "comp.dip -o " + d + "w.txt"), 0);
    ASSERT_EQ(runScienceCli("fluxcal " + d + "w.txt --sns " + d + "sensitivity.sns -o " + d + "f.txt"), 0);
    ASSERT_EQ(runScienceCli("resample " + d + "f.txt --step 2.5 -o " + d + "r.txt"), 0);
    ASSERT_EQ(runScienceCli("gauss " + d + "comp.txt --mark 90,0 --mark 115,0 > " + d + "gauss.out"), 0);
    ASSERT_EQ(runScienceCli("eqwidth " + d + "f.txt --mark 6500,0.9 --mark 6620,0.9 > " + d + "eqwidth.out"), 0);
    const std::pair<const char*, const char*> expected[] = {
        {"obj.txt", "f8fde8210268ff7049dff7391108e426a997cab99c76d9d5b7afdfbf63157194"},
        {"extract.out", "7a2f14034432a66c1cf67c1663fd20e4289b034d2360f4ed0a4701732ae25ddf"},
        {"comp.txt", "a0dbe4f85018bcb6c943c0b31129db9c139e1d2af01fd73e848b8287aa60d730"},
        {"comp.prm", "7fb85a948684b5f85da3974875781100db37c466e77738d4d13a528053dc3ac0"},
        {"comp.dip", "f80bcb9b426455e6697aabb238174e0b1ee99414f6eedb8e94f0aba353a921d7"},
        {"identify.out", "1843ee1986eb44514c1245fff8129427af7e88e9bb6abbae38c4d4134a123789"},
        {"w.txt", "b6cfef1fccd3a96a9b2e35804d054f83a43ff3469b82752378d0cd6525f0e4ec"},
        {"f.txt", "a3ac54087022d2938a3e30a003ff4465bd386a1fe97d84a0fb4aef1a70d51592"},
        {"r.txt", "b18d9c3113df9f0f602a7b4308c6abe1af48c6e7000c1f2b72742a1c0b14118b"},
        {"gauss.out", "ccb68aa7daab84c43bff0ba3c93360ebe2d540e773214a839aa8782f12e2d7f2"},
        {"eqwidth.out", "6d4ded46b3f3fa23d57833c22e45f91d8252781278ab39f39a95e4d32827106f"},
    };
    for (const auto& [name, hash] : expected)
        EXPECT_EQ(fileHash(dir.file(name)), hash) << name;
}

TEST(CliScience, MeasurementsAddOneUncertaintyLineOnlyWithAnUncertainty)
{
    if (!testsupport::requirePython("numpy, astropy"))
        return;
    TempDir dir;
    // An absorption line, depth 0.4, σ 3 Å, on a continuum of 1000 with
    // σ 20 a point every 1 Å; the same data as text (no uncertainty) too.
    testsupport::python(
        "import numpy as np\nfrom astropy.io import fits\n"
        "x = np.arange(6000, 6200, 1.0); rng = np.random.default_rng(2)\n"
        "y = 1000 * (1 - 0.4 * np.exp(-0.5 * ((x - 6100) / 3) ** 2)) + rng.normal(0, 20, x.size)\n"
        "h = fits.PrimaryHDU(y.astype(np.float32)); h.header['CRVAL1'] = 6000.0; h.header['CDELT1'] = 1.0\n"
        "h.header['CRPIX1'] = 1.0; h.header['CTYPE1'] = 'AWAV'\n"
        "e = fits.ImageHDU(np.full(x.size, 20, np.float32), name='ERR')\n"
        "fits.HDUList([h, e]).writeto('" + dir.file("line.fits") + "')\n"
        "np.savetxt('" + dir.file("line.txt") + "', np.c_[x, y.astype(np.float32)], delimiter=',')\n",
        dir);
    std::string withError, plain;
    const std::string marks = " --mark 6080,1000 --mark 6120,1000";
    ASSERT_EQ(runScienceCli("eqwidth " + shellQuote(dir.file("line.fits")) + marks, &withError), 0) << withError;
    ASSERT_EQ(runScienceCli("eqwidth " + shellQuote(dir.file("line.txt")) + marks, &plain), 0) << plain;
    // The design's three lines, then the uncertainty: 42 points of σ·Δλ/F_c = 0.02.
    EXPECT_EQ(withError, plain + "誤差: 等価幅 ±0.12961\n");
    // Against the scatter of the same sum over noise realisations in numpy
    // (the continuum through the marks is exact, so only the flux errors count).
    const std::string scatter = testsupport::python(
        "import numpy as np\nrng = np.random.default_rng(9)\nx = np.arange(6080, 6122, 1.0)\n"
        "w = [np.sum(1 - (1000 * (1 - 0.4 * np.exp(-0.5 * ((x - 6100) / 3) ** 2)) +\n"
        "             rng.normal(0, 20, x.size)) / 1000) for _ in range(2000)]\n"
        "print(np.std(w))\n",
        dir);
    EXPECT_NEAR(std::stod(scatter), 0.12961, 0.05 * 0.12961);
    ASSERT_EQ(runScienceCli("gauss " + shellQuote(dir.file("line.fits")) + marks, &withError), 0) << withError;
    ASSERT_EQ(runScienceCli("gauss " + shellQuote(dir.file("line.txt")) + marks, &plain), 0) << plain;
    ASSERT_EQ(withError.compare(0, plain.size(), plain), 0) << withError;
    EXPECT_EQ(withError.substr(plain.size()).rfind("誤差: 中心値 ±", 0), 0u) << withError;
}
