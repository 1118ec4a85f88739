// One-dimensional FITS spectra against astropy and IRAF, and the
// flux-conserving resampling.
#include "fits/FitsSpectrum.h"
#include "numeric/Resample.h"

#include "../support/TestSupport.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

using namespace raylen;
using testsupport::TempDir;

namespace {

std::vector<float> lampLike(size_t n)
{
    std::vector<float> y(n);
    for (size_t i = 0; i < n; ++i)
        y[i] = static_cast<float>(100.0 + 50.0 * std::sin(0.05 * static_cast<double>(i)) +
                                  400.0 * std::exp(-0.5 * std::pow((static_cast<double>(i) - 40.0) / 1.5, 2)));
    return y;
}

// Pairs "x y" per line printed by a reference script.
void readPairs(const std::string& text, std::vector<double>& x, std::vector<double>& y)
{
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        double a, b;
        if (fields >> a >> b) {
            x.push_back(a);
            y.push_back(b);
        }
    }
}

HeaderCards sourceHeader()
{
    using testsupport::card;
    return {card("SIMPLE  =                    T"), card("BITPIX  =                  -32"),
            card("NAXIS   =                    2"), card("OBJECT  = 'HD 12345'           / target"),
            card("DATE-OBS= '2026-12-08T01:02:03'"), card("EXPTIME =                300.0"),
            card("GAIN    =                  1.5"), card("END")};
}

} // namespace

TEST(FitsSpectrum, EvenImageIsReadByAstropyWcsAndBack)
{
    if (!testsupport::requirePython("numpy, astropy"))
        return;
    TempDir dir;
    const size_t n = 300;
    std::vector<float> x(n), y = lampLike(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<float>(4000.0 + 1.25 * static_cast<double>(i));
    HeaderCards source = sourceHeader();
    FitsSpectrumOptions options;
    options.source = &source;
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("s.fits"), x, y, options), "");
    std::string bytes = testsupport::readAll(dir.file("s.fits"));
    ASSERT_EQ(bytes.size() % 2880, 0u);
    EXPECT_EQ(bytes.substr(0, 80), testsupport::card("SIMPLE  =                    T"));
    EXPECT_EQ(bytes.substr(80, 80), testsupport::card("BITPIX  =                  -32"));
    EXPECT_EQ(bytes.substr(160, 80), testsupport::card("NAXIS   =                    1"));
    EXPECT_NE(bytes.find(testsupport::card("OBJECT  = 'HD 12345'           / target")), std::string::npos);
    EXPECT_EQ(bytes.find("GAIN"), std::string::npos); // instrument cards stay behind

    std::string out = testsupport::python(
        "import numpy as np, warnings\n"
        "from astropy.io import fits\nfrom astropy.wcs import WCS\nwarnings.simplefilter('ignore')\n"
        "h = fits.open('" + dir.file("s.fits") + "')[0]\n"
        "w = WCS(h.header)\n"
        "assert h.header['CTYPE1'] == 'AWAV' and h.header['CUNIT1'] == 'Angstrom' and h.header['BUNIT'] == 'adu', h.header\n"
        "assert h.header['OBJECT'] == 'HD 12345' and h.header['EXPTIME'] == 300.0\n"
        "assert h.header['DATE-OBS'] == '2026-12-08T01:02:03'\n"
        "wl = w.wcs_pix2world(np.arange(h.data.size), 0)[0]\n"
        "wl = wl * (1e10 if w.wcs.cunit[0] == 'm' else 1.0)\n"
        "for a, b in zip(wl, h.data): print(repr(float(a)), repr(float(b)))\n",
        dir);
    std::vector<double> wx, wy;
    readPairs(out, wx, wy);
    ASSERT_EQ(wx.size(), n) << out;
    for (size_t i = 0; i < n; ++i) {
        EXPECT_NEAR(wx[i], x[i], 1e-7 * std::fabs(x[i]));
        EXPECT_EQ(static_cast<float>(wy[i]), y[i]);
    }

    std::vector<float> rx, ry;
    bool wave = false;
    ASSERT_EQ(sfOpenFitsSpectrum(dir.file("s.fits"), rx, ry, &wave), "");
    EXPECT_TRUE(wave);
    EXPECT_EQ(ry, y);
    for (size_t i = 0; i < n; ++i)
        EXPECT_EQ(rx[i], x[i]);
    EXPECT_TRUE(isFitsSpectrumFile(dir.file("s.fits")));
}

TEST(FitsSpectrum, UnevenTableIsReadByAstropyTableAndBack)
{
    if (!testsupport::requirePython("numpy, astropy"))
        return;
    TempDir dir;
    const size_t n = 200;
    std::vector<float> x(n), y = lampLike(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<float>(5000.0 + 2.0 * i + 1e-4 * i * i);
    double start, step;
    ASSERT_FALSE(isEvenlySpaced(x, start, step));
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("t.fits"), x, y), "");
    std::string out = testsupport::python(
        "from astropy.table import Table\nfrom astropy.io import fits\n"
        "f = fits.open('" + dir.file("t.fits") + "')\n"
        "assert f[0].header['NAXIS'] == 0 and len(f) == 2\n"
        "t = Table.read('" + dir.file("t.fits") + "')\n"
        "assert t['WAVE'].dtype.str == '>f4' and t['FLUX'].dtype.str == '>f4', t.dtype\n"
        "assert str(t['WAVE'].unit) == 'Angstrom'\n"
        "for a, b in zip(t['WAVE'], t['FLUX']): print(repr(float(a)), repr(float(b)))\n",
        dir);
    std::vector<double> tx, ty;
    readPairs(out, tx, ty);
    ASSERT_EQ(tx.size(), n) << out;
    for (size_t i = 0; i < n; ++i) {
        EXPECT_EQ(static_cast<float>(tx[i]), x[i]);
        EXPECT_EQ(static_cast<float>(ty[i]), y[i]);
    }
    std::vector<float> rx, ry;
    ASSERT_EQ(sfOpenFitsSpectrum(dir.file("t.fits"), rx, ry), "");
    EXPECT_EQ(rx, x);
    EXPECT_EQ(ry, y);
}

TEST(FitsSpectrum, FilesWrittenByAstropyOpen)
{
    if (!testsupport::requirePython("numpy, astropy"))
        return;
    TempDir dir;
    testsupport::python(
        "import numpy as np\nfrom astropy.io import fits\nfrom astropy.table import Table\n"
        "d = np.arange(50, dtype=np.float64) ** 1.5\n"
        "h = fits.PrimaryHDU(d)\n"
        "h.header['CRVAL1'] = 6500.0; h.header['CDELT1'] = -0.5; h.header['CRPIX1'] = 11.0\n"
        "h.header['CTYPE1'] = 'WAVE'; h.header['CUNIT1'] = 'Angstrom'\n"
        "h.writeto('" + dir.file("img.fits") + "')\n"
        "t = Table({'ID': np.arange(4, dtype=np.int16), 'WAVE': [4000.0, 4001.0, 4003.5, 4010.0],\n"
        "           'FLUX': np.array([1.0, 2.0, 3.0, 4.5], dtype=np.float32)})\n"
        "t.write('" + dir.file("tab.fits") + "')\n",
        dir);
    std::vector<float> x, y;
    ASSERT_EQ(sfOpenFitsSpectrum(dir.file("img.fits"), x, y), "");
    ASSERT_EQ(x.size(), 50u);
    // A negative step is put into ascending order.
    EXPECT_FLOAT_EQ(x.back(), 6500.0f + 5.0f);
    EXPECT_FLOAT_EQ(y.back(), 0.0f);
    EXPECT_FLOAT_EQ(x.front(), 6480.5f);
    EXPECT_FLOAT_EQ(y.front(), static_cast<float>(std::pow(49.0, 1.5)));
    ASSERT_EQ(sfOpenFitsSpectrum(dir.file("tab.fits"), x, y), "");
    EXPECT_EQ(x, (std::vector<float>{4000.0f, 4001.0f, 4003.5f, 4010.0f}));
    EXPECT_EQ(y, (std::vector<float>{1.0f, 2.0f, 3.0f, 4.5f}));
    EXPECT_TRUE(isFitsSpectrumFile(dir.file("tab.fits")));
}

TEST(FitsSpectrum, TwoDimensionalImageAndOtherTablesAreRefused)
{
    TempDir dir;
    using testsupport::card;
    std::string header = card("SIMPLE  =                    T") + card("BITPIX  =                  -32") +
                         card("NAXIS   =                    2") + card("NAXIS1  =                    2") +
                         card("NAXIS2  =                    2") + card("END");
    header.resize(2880, ' ');
    header.resize(2880 * 2, '\0');
    testsupport::writeAll(dir.file("img2d.fits"), header);
    std::vector<float> x{1.0f}, y{2.0f};
    EXPECT_FALSE(isFitsSpectrumFile(dir.file("img2d.fits")));
    EXPECT_EQ(sfOpenFitsSpectrum(dir.file("img2d.fits"), x, y), "1次元FITSスペクトルではありません");
    EXPECT_EQ(x, std::vector<float>{1.0f}); // left as it was
    testsupport::writeAll(dir.file("short.fits"), card("SIMPLE  =                    T") + card("NAXIS   =  1"));
    EXPECT_EQ(sfOpenFitsSpectrum(dir.file("short.fits"), x, y), "FITSファイルが壊れています");
    EXPECT_FALSE(isFitsSpectrumFile(dir.file("missing.fits")));
}

TEST(FitsSpectrum, PixelScaleHasNoWavelengthCards)
{
    TempDir dir;
    std::vector<float> x{0, 1, 2, 3}, y{5, 6, 7, 8};
    FitsSpectrumOptions options;
    options.xIsWavelength = false;
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("p.fits"), x, y, options), "");
    std::string bytes = testsupport::readAll(dir.file("p.fits"));
    EXPECT_EQ(bytes.find("CTYPE1"), std::string::npos);
    EXPECT_NE(bytes.find(testsupport::card("CDELT1  =                  1.0 / X step per pixel")), std::string::npos);
    std::vector<float> rx, ry;
    bool wave = true;
    ASSERT_EQ(sfOpenFitsSpectrum(dir.file("p.fits"), rx, ry, &wave), "");
    EXPECT_FALSE(wave);
    EXPECT_EQ(rx, x);
    EXPECT_EQ(ry, y);
}

TEST(FitsSpectrum, IrafListpixelsGivesTheSamePairs)
{
    if (std::system("command -v irafcl >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "irafcl not installed";
    TempDir dir;
    const size_t n = 64;
    std::vector<float> x(n), y = lampLike(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<float>(6000.0 + 0.75 * static_cast<double>(i));
    ASSERT_EQ(sfSaveFitsSpectrum(dir.file("s.fits"), x, y), "");
    std::string out;
    testsupport::run("cd " + testsupport::shellQuote(dir.path()) + " && HOME=" + testsupport::shellQuote(dir.path()) +
                         " USER=raylen TERM=dumb timeout 120 irafcl 2>&1 <<'CL'\n"
                         "listpixels s.fits wcs=world formats=\"%.10g\" verbose=no\nlogout\nCL\n",
                     &out);
    std::vector<double> lx, ly;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        double a, b;
        if (fields >> a >> b && !(fields >> line)) {
            lx.push_back(a);
            ly.push_back(b);
        }
    }
    ASSERT_EQ(lx.size(), n) << out;
    for (size_t i = 0; i < n; ++i) {
        EXPECT_NEAR(lx[i], x[i], 1e-6 * x[i]);
        EXPECT_NEAR(ly[i], y[i], 1e-5 * std::fabs(y[i]));
    }
}

TEST(Resample, ConservesFluxAgainstNumpyIntegral)
{
    if (!testsupport::requirePython("numpy"))
        return;
    TempDir dir;
    // A dispersion-corrected, unevenly spaced spectrum.
    const size_t n = 500;
    std::vector<float> x(n), y = lampLike(n);
    for (size_t i = 0; i < n; ++i)
        x[i] = static_cast<float>(4000.0 + 1.3 * i + 2e-4 * i * i);
    EvenScale scale{4010.0, 0.9, 700};
    std::vector<float> rx, ry;
    ASSERT_EQ(resampleFlux(x, y, scale, rx, ry), "");
    ASSERT_EQ(rx.size(), 700u);
    double ours = 0;
    for (float v : ry)
        ours += static_cast<double>(v) * scale.step;
    std::ostringstream data;
    data.precision(9);
    for (size_t i = 0; i < n; ++i)
        data << x[i] << ' ' << y[i] << '\n';
    testsupport::writeAll(dir.file("in.txt"), data.str());
    // Piecewise-constant bins between midpoints, integrated by numpy.
    std::string out = testsupport::python(
        "import numpy as np\nx, y = np.loadtxt('" + dir.file("in.txt") + "', unpack=True)\n"
        "e = np.concatenate(([x[0] - (x[1] - x[0]) / 2], (x[1:] + x[:-1]) / 2, [x[-1] + (x[-1] - x[-2]) / 2]))\n"
        "a, b = 4010.0 - 0.45, 4010.0 + 699 * 0.9 + 0.45\n"
        "lo = np.clip(e[:-1], a, b); hi = np.clip(e[1:], a, b)\n"
        "print(repr(float(np.sum(y * (hi - lo)))))\n",
        dir);
    double reference = std::stod(out);
    EXPECT_NEAR(ours, reference, 1e-5 * std::fabs(reference));
    // Whole data range, default scale: total flux kept.
    EvenScale whole = defaultEvenScale(x);
    EXPECT_EQ(whole.count, static_cast<long>(n));
    ASSERT_EQ(resampleFlux(x, y, whole, rx, ry), "");
    // Bins wholly inside the data (the end ones reach past its edges).
    double total = integrateFlux(x, y, whole.start + whole.step / 2, whole.start + (whole.count - 1.5) * whole.step);
    double sum = 0;
    for (size_t j = 1; j + 1 < ry.size(); ++j)
        sum += static_cast<double>(ry[j]) * whole.step;
    EXPECT_NEAR(sum, total, 1e-5 * total);
}

TEST(Resample, RefusesBadScales)
{
    std::vector<float> x{1, 2, 3}, y{1, 1, 1}, rx{9}, ry{9};
    EXPECT_EQ(resampleFlux(x, y, {1, 0, 3}, rx, ry), "刻みは正の数で指定してください");
    EXPECT_EQ(resampleFlux(x, y, {1, 1, 0}, rx, ry), "点数が範囲外です");
    std::vector<float> down{3, 2, 1};
    EXPECT_EQ(resampleFlux(down, y, {1, 1, 3}, rx, ry), "Xが昇順ではありません");
    EXPECT_EQ(rx, std::vector<float>{9});
    // Flat spectrum stays flat, bins outside the data are 0.
    ASSERT_EQ(resampleFlux(x, y, {0.0, 0.5, 10}, rx, ry), "");
    EXPECT_FLOAT_EQ(ry[0], 0.0f);
    EXPECT_FLOAT_EQ(ry[2], 1.0f);
    EXPECT_FLOAT_EQ(ry[9], 0.0f);
}
