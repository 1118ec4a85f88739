// The sample night reduced by the batch chain of scripts/run: the recovered
// dispersion and line measurements against the truth the night was made from.
#include "../support/TestSupport.h"

#include "fits/FitsData.h"
#include "reduce/FluxCal.h"
#include "reduce/WavelengthTable.h"

#include <cmath>
#include <map>
#include <sstream>

using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

std::vector<std::vector<std::string>> rowsStarting(const std::string& text, const std::string& first)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<std::string> row;
        for (std::string w; words >> w;)
            row.push_back(w);
        if (row.size() > 1 && row[0] == first && std::isdigit(static_cast<unsigned char>(row[1][0])))
            rows.push_back(row);
    }
    return rows;
}

double resultValue(const std::string& text, const std::string& key)
{
    size_t at = text.find(key + " = ");
    EXPECT_NE(at, std::string::npos) << key << " in " << text;
    return at == std::string::npos ? NAN : std::stod(text.substr(at + key.size() + 3));
}

} // namespace

TEST(SampleNight, FilesAreWhatTheReductionReads)
{
    TempDir dir;
    std::string out;
    ASSERT_EQ(testsupport::run(std::string(RAYLEN_BIN_DIR) + "/raylen-cli sample " + shellQuote(dir.path()), &out), 0);
    EXPECT_EQ(out, dir.path() + "/object.fit\n" + dir.path() + "/dark.fit\n" + dir.path() + "/flat.fit\n" + dir.path() +
                       "/comp.fit\n" + dir.path() + "/lamp.dat\n" + dir.path() + "/sensitivity.sns\n" + dir.path() +
                       "/README.txt\n");

    // Each frame's storage, and its pixels as astropy reads them.
    const std::map<std::string, int> bitpix = {{"object", 16}, {"dark", 32}, {"flat", -32}, {"comp", 16}};
    for (const auto& [name, bits] : bitpix) {
        raylen::HeaderCards cards;
        raylen::FitsInfo info;
        raylen::SingleImage image;
        ASSERT_EQ(raylen::sfOpenFits(dir.file(name + ".fit"), cards, info, image), "") << name;
        EXPECT_EQ(info.BITPIX, bits) << name;
        double sum = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 1024; ++x)
                sum += image(x, y);
        std::string reference = testsupport::python(
            "from astropy.io import fits\nimport numpy as np\nprint('%.10g' % fits.getdata('" + dir.file(name + ".fit") +
                "').astype(np.float64).sum())\n",
            dir);
        EXPECT_NEAR(sum, std::stod(reference), 1e-9 * std::abs(sum)) << name;
    }

    std::vector<float> wave;
    ASSERT_EQ(raylen::sfOpenCompFile(dir.file("lamp.dat"), wave), "");
    ASSERT_EQ(wave.size(), 14u);
    EXPECT_EQ(wave[0], 4471.48f);
    EXPECT_EQ(wave[13], 7503.87f);
    EXPECT_EQ(readAll(dir.file("lamp.dat")).substr(0, 32), "4471.48  He I\r\n4713.15  He I\r\n49");
    std::vector<float> sensX, sensY;
    ASSERT_EQ(raylen::sfReadSensFncFile(dir.file("sensitivity.sns"), sensX, sensY), "");
    EXPECT_EQ(sensX.front(), 4200.0f);
    EXPECT_EQ(sensX.back(), 7800.0f);

    // Deterministic: a second night is byte for byte the first.
    TempDir again;
    ASSERT_EQ(testsupport::run(std::string(RAYLEN_BIN_DIR) + "/raylen-cli sample " + shellQuote(again.path()), &out), 0);
    for (const char* name : {"object.fit", "dark.fit", "flat.fit", "comp.fit", "README.txt"})
        EXPECT_TRUE(readAll(dir.file(name)) == readAll(again.file(name))) << name;
}

TEST(SampleNight, BatchChainRecoversTheTruth)
{
    TempDir dir;
    ASSERT_EQ(testsupport::run(std::string(RAYLEN_BIN_DIR) + "/raylen-cli sample " + shellQuote(dir.path()) +
                               " >/dev/null"),
              0);
    std::string log;
    ASSERT_EQ(testsupport::run(std::string(RAYLEN_TEST_DIR) + "/../../scripts/reduce-night " + RAYLEN_BIN_DIR +
                                   "/raylen-cli " + shellQuote(dir.path()) + " 2>&1",
                               &log),
              0)
        << log;
    const std::string truth = readAll(dir.file("README.txt"));

    // The dispersion file against the true polynomial at every lamp line.
    // The identification fits the pixels as its grid shows them (0.1 pixel),
    // so the bound is half that step at the local dispersion.
    std::istringstream dip(readAll(dir.file("comp.dip")));
    double a0 = 0, a1 = 0, a2 = 0;
    dip >> a0 >> a1 >> a2;
    const auto lamps = rowsStarting(truth, "lamp");
    ASSERT_EQ(lamps.size(), 14u);
    std::string pixels, waves;
    double worst = 0;
    for (const auto& row : lamps) {
        const double wave = std::stod(row[2]), pixel = std::stod(row[3]);
        const double error = a0 + a1 * pixel + a2 * pixel * pixel - wave;
        worst = std::max(worst, std::abs(error));
        EXPECT_LT(std::abs(error), 0.05 * (3.05 + 2e-4 * pixel)) << wave;
    }
    EXPECT_LT(worst, 0.12);

    // Measured pixels (to the grid's 0.1) against the true ones, and the
    // coefficients against numpy's fit of those same pixels.
    std::istringstream ident(readAll(dir.file("identify.txt")));
    std::string line;
    size_t j = 0;
    while (std::getline(ident, line) && j < lamps.size()) {
        std::istringstream f(line);
        int row = 0;
        double wave = 0, pixel = 0;
        f >> row >> wave >> pixel;
        EXPECT_EQ(row, static_cast<int>(j) + 1);
        EXPECT_NEAR(pixel, std::stod(lamps[j][3]), 0.1) << wave;
        pixels += line.substr(line.rfind(' ') + 1) + ",";
        waves += std::to_string(wave) + ",";
        ++j;
    }
    ASSERT_EQ(j, lamps.size());
    std::istringstream numpy(testsupport::python("import numpy as np\nc = np.polyfit([" + pixels + "], [" + waves +
                                                     "], 2)[::-1]\nprint('%.12g %.12g %.12g' % tuple(c))\n",
                                                 dir));
    double n0 = 0, n1 = 0, n2 = 0;
    numpy >> n0 >> n1 >> n2;
    // The fit runs in single precision: agreement to a milliångström.
    for (double x : {0.0, 512.0, 1023.0})
        EXPECT_NEAR(a0 + a1 * x + a2 * x * x, n0 + n1 * x + n2 * x * x, 1e-3) << x;

    // H alpha in emission by the Gaussian fit, H beta's equivalent width.
    std::map<std::string, std::vector<std::string>> lines;
    for (const auto& row : rowsStarting(truth, "line"))
        lines[row[1]] = row;
    ASSERT_EQ(lines.size(), 4u);
    const std::string halpha = readAll(dir.file("halpha.txt")), hbeta = readAll(dir.file("hbeta.txt"));
    EXPECT_NEAR(resultValue(halpha, "中心値"), 6562.79, 0.15);
    EXPECT_NEAR(resultValue(halpha, "半値幅"), std::stod(lines["6562.79"][2]), 0.03 * 10.6);
    EXPECT_NEAR(resultValue(hbeta, "等価幅"), std::stod(lines["4861.33"][3]), 0.06 * 6.77);

    EXPECT_EQ(readAll(dir.file("object_n.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_NE(log.find("dispersion: largest |recovered - true| at a lamp line"), std::string::npos) << log;
}

// Nights reduced side by side give the files and log lines of one at a
// time, in the order given; a night that fails fails the whole run.
TEST(SampleNight, NightsSideBySideMatchOneAtATime)
{
    TempDir dir;
    const std::string cli = std::string(RAYLEN_BIN_DIR) + "/raylen-cli";
    const std::string script = std::string(RAYLEN_TEST_DIR) + "/../../scripts/reduce-night ";
    for (const char* night : {"a", "b", "c", "d"})
        ASSERT_EQ(testsupport::run(cli + " sample " + shellQuote(dir.file(night)) + " >/dev/null"), 0);
    std::string alone, together;
    ASSERT_EQ(testsupport::run("RAYLEN_JOBS=1 " + script + cli + " " + shellQuote(dir.file("a")) + " " +
                                   shellQuote(dir.file("b")) + " 2>&1",
                               &alone),
              0)
        << alone;
    ASSERT_EQ(testsupport::run("RAYLEN_JOBS=2 " + script + cli + " " + shellQuote(dir.file("c")) + " " +
                                   shellQuote(dir.file("d")) + " 2>&1",
                               &together),
              0)
        << together;
    auto named = [](std::string text, const std::string& from, const std::string& to) {
        for (size_t at; (at = text.find(from)) != std::string::npos;)
            text.replace(at, from.size(), to);
        return text;
    };
    EXPECT_EQ(together, named(named(alone, dir.file("a"), dir.file("c")), dir.file("b"), dir.file("d")));
    EXPECT_NE(together.find("== results in " + dir.file("d")), std::string::npos) << together;
    for (const char* file : {"object.txt", "object.prm", "comp.dip", "identify.txt", "object_n.txt", "halpha.txt"})
        for (const char* night : {"b", "c", "d"})
            EXPECT_TRUE(readAll(dir.file(std::string("a/") + file)) == readAll(dir.file(std::string(night) + "/" + file)))
                << night << "/" << file;

    std::string failed;
    EXPECT_NE(testsupport::run("RAYLEN_JOBS=2 " + script + cli + " " + shellQuote(dir.file("a")) + " " +
                                   shellQuote(dir.file("missing")) + " 2>&1",
                               &failed),
              0);
    EXPECT_NE(failed.find("== results in " + dir.file("a")), std::string::npos) << failed;
    // A night that stops part-way gets no summary from its earlier run's files.
    writeAll(dir.file("b/flat.fit"), "not a frame");
    failed.clear();
    EXPECT_NE(testsupport::run(script + cli + " " + shellQuote(dir.file("a")) + " " + shellQuote(dir.file("b")) + " 2>&1",
                               &failed),
              0);
    EXPECT_NE(failed.find("== results in " + dir.file("a")), std::string::npos) << failed;
    EXPECT_EQ(failed.find("== results in " + dir.file("b")), std::string::npos) << failed;
    EXPECT_NE(failed.find("night1.txt: stopped at line 3"), std::string::npos) << failed;
}
