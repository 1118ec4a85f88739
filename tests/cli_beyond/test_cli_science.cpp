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
        {"obj.txt", ""}, {"extract.out", ""}, {"comp.txt", ""}, {"comp.prm", ""}, {"comp.dip", ""},
        {"identify.out", ""}, {"w.txt", ""}, {"f.txt", ""}, {"r.txt", ""}, {"gauss.out", ""}, {"eqwidth.out", ""},
    };
    for (const auto& [name, hash] : expected)
        EXPECT_EQ(fileHash(dir.file(name)), hash) << name;
}
