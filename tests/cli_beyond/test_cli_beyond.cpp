// raylen-cli: FITS spectrum outputs and resample.
#include "fits/FitsSpectrum.h"
#include "numeric/Resample.h"
#include "platform/Format.h"

#include "../support/TestSupport.h"

#include <algorithm>
#include <cmath>
#include <sstream>

using testsupport::TempDir;
using testsupport::shellQuote;

namespace {

std::string cli()
{
    return std::string(RAYLEN_BIN_DIR) + "/raylen-cli";
}

int runCli(const std::string& arguments, std::string* output = nullptr)
{
    return testsupport::run(shellQuote(cli()) + " " + arguments + " 2>&1", output);
}

} // namespace

TEST(CliResample, FitsOutputHasTheExactScaleAndKeepsTheFlux)
{
    TempDir dir;
    std::string text;
    std::vector<float> x, y;
    for (int i = 0; i < 400; ++i) {
        x.push_back(static_cast<float>(5400.0 + 1.17 * i + 3e-5 * i * i));
        y.push_back(static_cast<float>(100 + 80 * std::exp(-0.5 * std::pow((i - 200) / 3.0, 2))));
        text += std::to_string(x.back()) + "," + std::to_string(y.back()) + "\r\n";
    }
    testsupport::writeAll(dir.file("in.txt"), text);
    std::string out;
    ASSERT_EQ(runCli(shellQuote(dir.file("in.txt")) + " --step 1.25 --start 5410 --count 300 -o " +
                         shellQuote(dir.file("out.fits")) + " resample",
                     &out),
              2)
        << out; // the command comes first
    ASSERT_EQ(runCli("resample " + shellQuote(dir.file("in.txt")) + " --step 1.25 --start 5410 --count 300 -o " +
                         shellQuote(dir.file("out.fits")),
                     &out),
              0)
        << out;
    std::vector<float> rx, ry;
    bool wave = false;
    ASSERT_EQ(raylen::sfOpenFitsSpectrum(dir.file("out.fits"), rx, ry, &wave), "");
    EXPECT_TRUE(wave);
    ASSERT_EQ(rx.size(), 300u);
    EXPECT_FLOAT_EQ(rx[0], 5410.0f);
    EXPECT_FLOAT_EQ(rx[299], static_cast<float>(5410.0 + 299 * 1.25));
    std::string bytes = testsupport::readAll(dir.file("out.fits"));
    EXPECT_NE(bytes.find(testsupport::card("CDELT1  =                 1.25 / X step per pixel")), std::string::npos);
    // The same as a text file.
    ASSERT_EQ(runCli("resample " + shellQuote(dir.file("in.txt")) + " --step 1.25 --start 5410 --count 300 -o " +
                         shellQuote(dir.file("out.txt")),
                     &out),
              0)
        << out;
    std::string written = testsupport::readAll(dir.file("out.txt"));
    EXPECT_EQ(written.substr(0, 5), "5410,");
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 300);
    double sum = 0;
    for (float v : ry)
        sum += v * 1.25;
    const double reference = raylen::integrateFlux(x, y, 5410 - 0.625, 5410 + 299.5 * 1.25);
    EXPECT_NEAR(sum, reference, 1e-5 * reference);
    EXPECT_EQ(runCli("resample " + shellQuote(dir.file("in.txt")) + " --step -1 -o x.fits", &out), 2);
    EXPECT_EQ(runCli("resample " + shellQuote(dir.file("none.txt")) + " --step 1 -o " +
                         shellQuote(dir.file("x.fits")),
                     &out),
              1);
    EXPECT_EQ(out, "ﾌｧｲﾙが存在しません\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.fits")));
}

namespace {

const char* const lampTable = "5400.56\r\n5852.49\r\n5881.90\r\n5944.83\r\n5975.53\r\n6029.00\r\n6074.34\r\n"
                              "6096.16\r\n6143.06\r\n6163.59\r\n6217.28\r\n6266.50\r\n6304.79\r\n6334.43\r\n"
                              "6382.99\r\n6402.25\r\n6506.53\r\n6532.88\r\n6598.95\r\n";

// The synthetic night with its lamp and object spectra extracted.
void reduceSample(const TempDir& dir)
{
    const std::string d = shellQuote(dir.path()) + "/";
    std::string out;
    ASSERT_EQ(runCli("sample " + shellQuote(dir.path()), &out), 0) << out;
    ASSERT_EQ(runCli("extract " + d + "object.fit --x 0:1023 --y 100:156 --width 8 --trace-order 2 "
                     "--sky -25:-10,10:25 --sky-order 1 -o " + d + "obj.txt > " + d + "extract.out"),
              0);
    ASSERT_EQ(runCli("extract " + d + "comp.fit --x 0:1023 --y 100:156 --no-sky -o " + d + "comp.txt", &out), 0)
        << out;
    testsupport::writeAll(dir.file("ne.dat"), lampTable);
}

std::string sha256(const std::string& path)
{
    std::string out;
    testsupport::run("sha256sum " + shellQuote(path), &out);
    return out.substr(0, 64);
}

} // namespace

// Hashes of the outputs the commands gave before the FITS, residual, automatic
// identification and rejection options were added.
TEST(CliBeyond, WithoutTheNewOptionsEveryOutputIsAsBefore)
{
    TempDir dir;
    reduceSample(dir);
    const std::string d = shellQuote(dir.path()) + "/";
    ASSERT_EQ(runCli("identify " + d + "comp.txt --table " + d + "ne.dat --line 2:390 --line 11:700 --line 18:967 "
                     "-o " + d + "comp.dip > " + d + "identify.out"),
              0);
    ASSERT_EQ(runCli("dispcor " + d + "obj.txt --dip " + d + "comp.dip -o " + d + "objw.txt"), 0);
    ASSERT_EQ(runCli("normalize " + d + "objw.txt --region 5450:5800 --region 6000:6100 --region 6420:6550 "
                     "--order 3 -o " + d + "objn.txt"),
              0);
    const std::pair<const char*, const char*> expected[] = {
        {"obj.txt", "f8fde8210268ff7049dff7391108e426a997cab99c76d9d5b7afdfbf63157194"},
        {"obj.prm", "7fb85a948684b5f85da3974875781100db37c466e77738d4d13a528053dc3ac0"},
        {"extract.out", "7a2f14034432a66c1cf67c1663fd20e4289b034d2360f4ed0a4701732ae25ddf"},
        {"comp.dip", "62094941a63c2b5a456a9e1f368292db749ffe8b2d4ed530b694482c741551f1"},
        {"identify.out", "65f054eaabb993aaadbd734dc0eb3b86f4db8a963aa336377371884cb638ee71"},
        {"objw.txt", "f9db09c01b6008dfbfc09e086f650ce1ae603913041e395bd04d00a1c2abb4aa"},
        {"objn.txt", "f819d561984168183285f6aa0489de88770c1736af0c090d5edb94fcc6524e03"},
    };
    for (const auto& [name, hash] : expected)
        EXPECT_EQ(sha256(dir.file(name)), hash) << name;
}

TEST(CliBeyond, AutomaticIdentificationOnTheSampleLamp)
{
    if (!testsupport::requirePython("numpy"))
        return;
    TempDir dir;
    reduceSample(dir);
    const std::string d = shellQuote(dir.path()) + "/";
    std::string out;
    ASSERT_EQ(runCli("identify " + d + "comp.txt --table " + d + "lamp.dat --line 2:102 --line 7:643 --line 13:949 "
                     "--auto -o " + d + "auto.dip",
                     &out),
              0)
        << out;
    // Every table line more than 10 pixels from the ends is identified.
    std::vector<double> a;
    std::string rows;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("a", 0) == 0 && line.find('=') != std::string::npos)
            a.push_back(std::stod(line.substr(line.find('=') + 1)));
        else if (!line.empty() && line[0] >= '0' && line[0] <= '9' && std::count(line.begin(), line.end(), ' ') >= 4)
            rows += line + "\n";
    }
    ASSERT_EQ(a.size(), 3u) << out;
    EXPECT_NE(out.find("added "), std::string::npos);
    for (int row = 1; row <= 14; ++row)
        EXPECT_NE(("\n" + rows).find("\n" + std::to_string(row) + " "), std::string::npos) << "row " << row << "\n"
                                                                                             << out;
    // The truth dispersion of the sample night, 4400 + 3.05 x + 1e-4 x². The grid keeps
    // pixels to 0.1, worth up to 0.15 A at this dispersion.
    double sum = 0;
    for (int x = 0; x < 1024; ++x) {
        const double truth = 4400.0 + 3.05 * x + 1.0e-4 * x * x;
        sum += std::pow(a[0] + a[1] * x + a[2] * x * x - truth, 2);
    }
    EXPECT_LT(std::sqrt(sum / 1024), 0.1);
    // The residual table against numpy's fit of the same pairs.
    testsupport::writeAll(dir.file("rows.txt"), rows);
    std::string reference = testsupport::python(
        "import numpy as np\n"
        "t = np.array([l.split()[:5] for l in open('" + dir.file("rows.txt") + "')], dtype=float)\n"
        "p = t[:, 2].astype(np.float32).astype(float); w = t[:, 1].astype(np.float32).astype(float)\n"
        "f = np.polyval(np.polyfit(p, w, 2), p)\n"
        "print(float(np.max(np.abs(f - t[:, 3]))), float(np.max(np.abs((w - f) - t[:, 4]))),\n"
        "      float(np.sqrt(np.mean((w - f) ** 2))))\n",
        dir);
    double fittedError = 1, residualError = 1, rms = 0;
    std::istringstream ref(reference);
    ASSERT_TRUE(ref >> fittedError >> residualError >> rms) << reference;
    EXPECT_LE(fittedError, 0.0006); // printed to three decimals
    EXPECT_LE(residualError, 0.0006);
    EXPECT_NE(out.find("RMS=" + platform::Format(rms, "0.0000")), std::string::npos) << out << rms;
}

TEST(CliBeyond, FitsOutputsOfExtractAndDispcorCarryTheObservation)
{
    if (!testsupport::requirePython("numpy, astropy"))
        return;
    TempDir dir;
    reduceSample(dir);
    const std::string d = shellQuote(dir.path()) + "/";
    std::string out;
    ASSERT_EQ(runCli("extract " + d + "object.fit --x 0:1023 --y 100:156 --width 8 --trace-order 2 "
                     "--sky -25:-10,10:25 --sky-order 1 -o " + d + "obj.fits",
                     &out),
              0)
        << out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("obj.fprm")));
    ASSERT_EQ(runCli("identify " + d + "comp.txt --table " + d + "ne.dat --line 2:390 --line 11:700 --line 18:967 "
                     "-o " + d + "comp.dip",
                     &out),
              0);
    // A FITS spectrum is read as input too; the wavelength scale is uneven.
    ASSERT_EQ(runCli("dispcor " + d + "obj.fits --dip " + d + "comp.dip -o " + d + "objw.fits", &out), 0) << out;
    ASSERT_EQ(runCli("dispcor " + d + "obj.txt --dip " + d + "comp.dip -o " + d + "objw.txt", &out), 0) << out;
    std::string reference = testsupport::python(
        "import numpy as np\nfrom astropy.io import fits\nfrom astropy.table import Table\n"
        "h = fits.open('" + dir.file("obj.fits") + "')[0]\n"
        "print(h.header['OBJECT'], h.header['EXPTIME'], 'CTYPE1' in h.header, h.header['NAXIS1'])\n"
        "t = Table.read('" + dir.file("objw.fits") + "')\n"
        "x, y = np.loadtxt('" + dir.file("objw.txt") + "', delimiter=',', unpack=True)\n"
        "print(np.array_equal(t['WAVE'], x.astype(np.float32)), np.array_equal(t['FLUX'], y.astype(np.float32)))\n",
        dir);
    EXPECT_EQ(reference, "HD 000001 600.0 False 1024\nTrue True\n");
}
