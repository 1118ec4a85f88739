// raylen-cli plot: the plot window's chart rendered to PNG, SVG and PDF.
#include "../support/CliRun.h"
#include "../support/TestSupport.h"

#include "files/TextSpectrum.h"

#include <cmath>

using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;

namespace {

using clitest::Result;

Result cli(const std::string& arguments, const TempDir& dir)
{
    return clitest::cli("plot " + arguments, dir, "QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=" + shellQuote(dir.path()));
}

std::string spectrum(const TempDir& dir)
{
    std::vector<float> x, y;
    for (int i = 0; i < 400; ++i) {
        x.push_back(6500.0f + 0.5f * i);
        y.push_back(100.0f + 50.0f * std::sin(i * 0.05f));
    }
    const std::string path = dir.file("spec.txt");
    EXPECT_EQ(raylen::sfSaveText(x, y, path), "");
    return path;
}

// The PNG's size from its header.
std::pair<uint32_t, uint32_t> pngSize(const std::string& bytes)
{
    auto be = [&](size_t at) {
        return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
               (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
    };
    return {be(16), be(20)};
}

TEST(PlotCli, WritesThePlotWindowsPageAsPngSvgAndPdf)
{
    TempDir dir;
    const std::string spec = spectrum(dir);
    // The window's 8107 x 6395 twips at 200 dots per inch.
    ASSERT_EQ(cli(shellQuote(spec) + " -o " + shellQuote(dir.file("a.png")), dir).status, 0);
    const std::string png = readAll(dir.file("a.png"));
    ASSERT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(pngSize(png), std::make_pair(uint32_t(8107 * 200 / 1440), uint32_t(6395 * 200 / 1440)));

    Result svg = cli(shellQuote(spec) + " -o " + shellQuote(dir.file("a.svg")) + " --x 6550:6600 --overlay " +
                         shellQuote(spec),
                     dir);
    ASSERT_EQ(svg.status, 0) << svg.err;
    const std::string text = readAll(dir.file("a.svg"));
    EXPECT_NE(text.find("<title>Lumigra Works</title>"), std::string::npos);
    EXPECT_NE(text.find(">6550<"), std::string::npos);
    EXPECT_NE(text.find(">6600<"), std::string::npos);
    EXPECT_NE(text.find("spec.txt"), std::string::npos);
    // The overlay is red.
    EXPECT_NE(text.find("#ff0000"), std::string::npos);

    ASSERT_EQ(cli(shellQuote(spec) + " -o " + shellQuote(dir.file("a.pdf")) + " --log-y --y 10:1000", dir).status, 0);
    std::string info;
    ASSERT_EQ(testsupport::run("pdfinfo " + shellQuote(dir.file("a.pdf")), &info), 0);
    // 143.0 x 112.8 mm in whole points.
    EXPECT_NE(info.find("Page size:       405 x 320 pts"), std::string::npos) << info;
}

TEST(PlotCli, FailuresLeaveNoFileBehind)
{
    TempDir dir;
    Result missing = cli(shellQuote(dir.file("none.txt")) + " -o " + shellQuote(dir.file("b.png")), dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ﾌｧｲﾙが存在しません\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.png")));
    const std::string spec = spectrum(dir);
    EXPECT_EQ(cli(shellQuote(spec) + " -o " + shellQuote(dir.file("b.gif")), dir).status, 2);
    EXPECT_EQ(cli(shellQuote(spec) + " -o " + shellQuote(dir.file("b.png")) + " --x 1", dir).status, 2);
    EXPECT_EQ(cli(shellQuote(spec), dir).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("b.png")));
}

} // namespace
