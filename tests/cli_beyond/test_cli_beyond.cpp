// raylen-cli: FITS spectrum outputs and resample.
#include "fits/FitsSpectrum.h"
#include "numeric/Resample.h"

#include "../support/TestSupport.h"

#include <algorithm>
#include <cmath>

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
