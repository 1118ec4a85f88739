// raylen-cli gauss and eqwidth: the result lines top first, the system's
// messages on failure, usage errors.
#include "../support/CliRun.h"
#include "../support/TestSupport.h"

#include "MeasureFixtures.h"
#include "plot/GaussFit.h"
#include "files/TextSpectrum.h"

using testsupport::TempDir;
using testsupport::shellQuote;

namespace {

using clitest::cli;
using clitest::Result;

} // namespace

TEST(MeasureCli, EqWidthPrintsTitleIntervalAndWidth)
{
    TempDir dir;
    std::vector<float> x, y;
    for (int i = 6555; i <= 6570; ++i) {
        x.push_back(float(i));
        y.push_back(i >= 6562 && i <= 6564 ? 0.5f : 1.0f);
    }
    const std::string spectrum = dir.file("line.txt");
    ASSERT_EQ(raylen::sfSaveText(x, y, spectrum), "");
    Result r = cli("eqwidth " + shellQuote(spectrum) + " --mark 6565.5,1 --mark 6560,1", dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "-等価幅-\n波長幅 = 6559.50 : 6566.50\n等価幅 = 1.50000\n");
    EXPECT_EQ(r.err, "");
}

TEST(MeasureCli, GaussPrintsTheWindowsLinesTopFirst)
{
    TempDir dir;
    const measuretest::SyntheticLine line{1000.0, 2.0, 6500.0, 400.0, 6562.8, 4.0};
    const measuretest::Spectrum s = measuretest::sample(line, 6500.0, 0.5, 241, 5.0, 11);
    const std::string spectrum = dir.file("line.txt");
    ASSERT_EQ(raylen::sfSaveText(s.x, s.y, spectrum), "");
    const float y1 = float(line.continuum(6545.0)), y2 = float(line.continuum(6580.0));
    measuretest::RecordingWriter window;
    measuretest::RecordingOverlay overlay;
    ASSERT_EQ(raylen::sfGaussFitPro(s.x, s.y, {6545.0f, 6580.0f}, {y1, y2}, window, overlay), "");

    char marks[128];
    std::snprintf(marks, sizeof marks, " --mark 6545,%.9g --mark 6580,%.9g", double(y1), double(y2));
    Result r = cli("gauss " + shellQuote(spectrum) + marks, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, window.lines[2] + "\n" + window.lines[1] + "\n" + window.lines[0] + "\n");
}

TEST(MeasureCli, FailuresAndUsage)
{
    TempDir dir;
    const std::string spectrum = dir.file("flat.txt");
    ASSERT_EQ(raylen::sfSaveText({1, 2, 3, 4}, {1, 1, 1, 1}, spectrum), "");
    Result same = cli("gauss " + shellQuote(spectrum) + " --mark 2,1 --mark 2,1", dir);
    EXPECT_EQ(same.status, 1);
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(same.err, "sfGaussFitPro 領域が指定されていません\n");

    Result missing = cli("eqwidth " + shellQuote(dir.file("none.txt")) + " --mark 1,1 --mark 3,1", dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_FALSE(missing.err.empty());

    EXPECT_EQ(cli("gauss " + shellQuote(spectrum) + " --mark 2,1", dir).status, 2);
    EXPECT_EQ(cli("eqwidth " + shellQuote(spectrum) + " --mark 2 --mark 3,1", dir).status, 2);
}
