// raylen-cli extract: the same results as the core, the system's messages,
// exit codes, and no output left behind by a failure.
#include "../support/CliRun.h"
#include "SyntheticFrame.h"

#include "reduce/Extract.h"
#include "reduce/ParamFile.h"
#include "reduce/Trace.h"
#include "files/TextSpectrum.h"

#include <filesystem>

using namespace raylen;
using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

using clitest::Result;

Result cli(const std::string& arguments, const TempDir& dir)
{
    return clitest::cli("extract " + arguments, dir);
}

class CliExtract : public ::testing::Test {
protected:
    void SetUp() override
    {
        image = extracttest::makeFrame(shape);
        extracttest::saveFrame(dir.file("object.fit"), image);
        frame = shellQuote(dir.file("object.fit"));
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir.file(name)); }

    TempDir dir;
    extracttest::FrameShape shape;
    SingleImage image;
    std::string frame;
};

} // namespace

TEST_F(CliExtract, RegionRunMatchesTheCoreByteForByte)
{
    Result r = cli(frame + " --x 620:-5 --y 20:100 --width 7 --trace-order 3 --sky 25:12,-12:-25 --sky-order 2 -o " +
                       shellQuote(dir.file("star.txt")),
                   dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");

    // The same steps through the core: the range corrected to the image,
    // sky offsets sorted.
    ScanParam p;
    dsInitScanParam(p);
    p.intScanWidth = 7;
    p.intSkyStart1 = -25;
    p.intSkyEnd1 = -12;
    p.intSkyStart2 = 12;
    p.intSkyEnd2 = 25;
    p.intSkyFitOrder = 2;
    p.lngStartX = 0;
    p.lngEndX = shape.width - 1;
    p.lngStartY = 20;
    p.lngEndY = 100;
    std::vector<float> xs, ys;
    ASSERT_EQ(sfInputPeakData(0, image, p.lngStartX, p.lngEndX, 20, 100, xs, ys), "");
    TraceFit fit = fitTrace("3", xs, ys, p);
    ASSERT_EQ(fit.status, "");
    NullSpectrumView none;
    ASSERT_EQ(sfScanDataPro(p, image, xs, ys, none), "");
    ASSERT_EQ(sfSaveText(xs, ys, dir.file("core.txt")), "");

    std::string expectedOut;
    for (const std::string& line : fit.resultLines)
        expectedOut += line + "\n";
    EXPECT_EQ(r.out, expectedOut);
    EXPECT_EQ(readAll(dir.file("star.txt")), readAll(dir.file("core.txt")));
    const PrmBytes bytes = encodeScanParam(p);
    EXPECT_EQ(readAll(dir.file("star.prm")), std::string(bytes.begin(), bytes.end()));

    // The parameter file repeats the aperture on the same frame: the plain
    // sums, whatever the file says about the sky.
    r = cli(frame + " --ref " + shellQuote(dir.file("star.prm")) + " -o " + shellQuote(dir.file("again.dat")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    p.blnSkySub = 0;
    ASSERT_EQ(sfScanDataPro(p, image, xs, ys, none), "");
    ASSERT_EQ(sfSaveText(xs, ys, dir.file("plain.txt")), "");
    EXPECT_EQ(readAll(dir.file("again.dat")), readAll(dir.file("plain.txt")));
    EXPECT_EQ(readAll(dir.file("again.prm")), readAll(dir.file("star.prm")));
}

TEST_F(CliExtract, DefaultsAreThoseOfProgramStart)
{
    Result r = cli(frame + " --x 0:599 --y 20:100 -o " + shellQuote(dir.file("d.txt")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    ScanParam back;
    readPrmFile(dir.file("d.prm"), back);
    EXPECT_EQ(back.intScanWidth, 6);
    EXPECT_EQ(back.intTraceOrder, 2);
    EXPECT_EQ(back.blnSkySub, -1);
    EXPECT_EQ(back.intSkyStart1, -20);
    EXPECT_EQ(back.intSkyEnd1, -10);
    EXPECT_EQ(back.intSkyStart2, 10);
    EXPECT_EQ(back.intSkyEnd2, 20);
    EXPECT_EQ(back.intSkyFitOrder, 1);
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "結果 a0+a1*x+a2*x^2+a3*x^3+....");
    r = cli(frame + " --x 0:599 --y 20:100 --no-sky -o " + shellQuote(dir.file("n.txt")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    readPrmFile(dir.file("n.prm"), back);
    EXPECT_EQ(back.blnSkySub, 0);
}

TEST_F(CliExtract, FailuresGiveTheSystemsMessageAndWriteNothing)
{
    ScanParam tooLarge;
    dsInitScanParam(tooLarge);
    tooLarge.lngEndX = shape.width + 1;
    ASSERT_EQ(sfWritePrmFile(dir.file("large.txt"), tooLarge), "");
    writeAll(dir.file("short.prm"), std::string(441, '\0'));
    // A start far below the image: refused before a column is allocated.
    ScanParam farBelow = tooLarge;
    farBelow.lngStartX = INT32_MIN;
    farBelow.lngEndX = 10;
    ASSERT_EQ(sfWritePrmFile(dir.file("below.txt"), farBelow), "");
    const std::string region = " --x 0:599 --y 20:100 ";
    const std::pair<std::string, std::string> cases[] = {
        {" --ref " + shellQuote(dir.file("none.prm")), "参照ファイルが存在しません。"},
        {" --ref " + shellQuote(dir.file("short.prm")), "sfRefScanDataPro, 62ファイルにこれ以上データがありません。"},
        {" --ref " + shellQuote(dir.file("large.prm")), "参照ファイルが適切ではありません。"},
        {" --ref " + shellQuote(dir.file("below.prm")), "参照ファイルが適切ではありません。"},
        {region + "--width 70000", "dsGetScanParam, 6オーバーフローしました。"},
        {region + "--sky-order 32768", "dsGetScanParam, 6オーバーフローしました。"},
        {region + "--trace-order 51", "cmdFit_Click, 9インデックスが有効範囲にありません。"},
        {region + "--sky -130:-120,10:20", "sfSkyFit, 9インデックスが有効範囲にありません。"},
        {region + "--sky-order 40", "sfLst2Fit, 110 で除算しました。"},
    };
    for (const auto& [options, message] : cases) {
        Result r = cli(frame + options + " -o " + shellQuote(dir.file("out.txt")), dir);
        EXPECT_EQ(r.status, 1) << options;
        EXPECT_EQ(r.err, message + "\n") << options;
        EXPECT_FALSE(exists("out.txt")) << options;
        EXPECT_FALSE(exists("out.prm")) << options;
    }
    Result r = cli(shellQuote(dir.file("absent.fit")) + region + "-o " + shellQuote(dir.file("out.txt")), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ﾌｧｲﾙが存在しません\n");
}

TEST_F(CliExtract, WrongUsage)
{
    const std::string out = " -o " + shellQuote(dir.file("out.txt"));
    for (const std::string& options :
         {std::string(" --x 0:10 --y 5:9"), " --x 0-10 --y 5:9" + out, " --y 5:9" + out, " --x 0:10 --y 5:9 --sky 1:2" + out,
          " --ref a.prm --x 0:10" + out, " --ref a.prm --no-sky" + out, " --x 0:10 --y 5:9 -o " + shellQuote(dir.file("s.prm")),
          std::string(" --x 0:10 --y 5:9 -o ab")}) {
        Result r = cli(frame + options, dir);
        EXPECT_EQ(r.status, 2) << options;
        EXPECT_NE(r.err.find("usage: raylen-cli extract"), std::string::npos) << options << r.err;
    }
    EXPECT_FALSE(exists("out.txt"));
    EXPECT_FALSE(exists("s.prm"));
}

// The column loops split a wide frame over the cores; the files must be
// those of one core, byte for byte.
TEST(CliExtractCores, AllCoresWriteTheBytesOfOne)
{
    TempDir dir;
    extracttest::FrameShape shape;
    shape.width = 2048;
    SingleImage image = extracttest::makeFrame(shape);
    // Cosmic rays in the aperture and in the sky rows, on both halves.
    for (int x : {300, 1100, 1900}) {
        image(x, static_cast<int>(extracttest::traceAt(shape, x)) + 1) += 5000.0f;
        image(x + 7, 80) += 3000.0f;
    }
    extracttest::saveFrame(dir.file("wide.fit"), image);
    const std::string frame = shellQuote(dir.file("wide.fit"));
    for (const char* jobs : {"1", "2"}) {
        const std::string out = dir.file(std::string("star") + jobs);
        Result r = clitest::cli("extract " + frame + " --x 0:2047 --y 30:100 --width 8 --sky 12:25,-25:-12 "
                                "--reject 3:3 --gain 2 --rdnoise 5 --optimal --sky-out " + shellQuote(out + ".sky.txt") +
                                " -o " + shellQuote(out + ".fits"),
                                dir, std::string("RAYLEN_JOBS=") + jobs);
        ASSERT_EQ(r.status, 0) << r.err;
        // The parameter file takes "prm" for the name's last three letters.
        r = clitest::cli("extract " + frame + " --ref " + shellQuote(out + ".fprm") + " -o " + shellQuote(out + "ref.txt"),
                         dir, std::string("RAYLEN_JOBS=") + jobs);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    for (const char* file : {".fits", ".fprm", ".sky.txt", "ref.txt"}) {
        const std::string one = readAll(dir.file(std::string("star1") + file));
        EXPECT_FALSE(one.empty()) << file;
        EXPECT_TRUE(one == readAll(dir.file(std::string("star2") + file))) << file;
    }
}

TEST(CliExtractIraf, AgreesWithApallAwayFromTheEdges)
{
    if (!std::filesystem::exists("/usr/bin/irafcl"))
        GTEST_SKIP() << "IRAF is not installed";
    TempDir dir;
    std::string output;
    const std::string script = std::string(RAYLEN_TEST_DIR) + "/../../bench/extract_iraf/compare.sh";
    const int status = testsupport::run("sh " + shellQuote(script) + " " + shellQuote(std::string(RAYLEN_BIN_DIR) + "/raylen-cli") +
                                            " " + shellQuote(dir.file("work")) + " 2>&1",
                                        &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("compared=984"), std::string::npos) << output;
    RecordProperty("apall", output);
}
