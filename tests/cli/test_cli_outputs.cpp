// raylen-cli outputs: related files written whole or not at all, outputs that
// are inputs, unwritable standard output, results that overflowed, and
// values that are not finite.
#include "../support/CliRun.h"
#include "../fits/FitsBuilder.h"
#include "../support/SpecialFiles.h"

#include "files/TextSpectrum.h"

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>

using clitest::cli;
using clitest::Result;
using testsupport::folderEntries;
using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

const std::string program = std::string(RAYLEN_BIN_DIR) + "/raylen-cli";

// A star's spectrum along x: a Gaussian slit profile, centre 20 + 0.1 x,
// on a flat sky of 10; `hole` puts a NaN at (3, 20).
std::string starFits(bool hole = false)
{
    constexpr int width = 6, height = 41;
    std::vector<float> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<float>(10 + 100 * std::exp(-std::pow(y - 20.0 - 0.1 * x, 2) / 2)));
    if (hole)
        pixels[20 * width + 3] = std::nanf("");
    return fitstest::headerBytes(fitstest::imageCards(-32, width, height)) +
           fitstest::padded(fitstest::bigEndian(pixels));
}

// Runs raylen-cli with every file it writes limited to `limit` bytes, as a
// full disk would stop it (no special file system needed).
Result cliOnFullDisk(const std::vector<std::string>& arguments, rlim_t limit, const TempDir& scratch)
{
    const std::string errFile = scratch.file("stderr.txt");
    pid_t child = ::fork();
    if (child == 0) {
        int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(err, 2);
        ::dup2(null, 1);
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit size{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &size);
        std::vector<char*> argv{const_cast<char*>("raylen-cli")};
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", readAll(errFile)};
}

// Only the files named, no temporaries.
void expectEntries(const TempDir& dir, const std::set<std::string>& names) { EXPECT_EQ(folderEntries(dir.path()), names); }

} // namespace

TEST(CliOutputs, ExtractWritesTheSpectrumAndItsParametersBothOrNeither)
{
    TempDir dir, scratch;
    writeAll(dir.file("star.fit"), starFits());
    const std::string star = dir.file("star.fit");
    const std::string region = " --x 0:5 --y 0:40 ";
    ASSERT_EQ(cli("extract " + shellQuote(star) + region + "--width 2 -o " + shellQuote(dir.file("out.txt")), scratch)
                  .status,
              0);
    const std::string oldSpectrum = readAll(dir.file("out.txt")), oldParam = readAll(dir.file("out.prm"));

    // The parameter file's name is a folder: no spectrum either.
    std::filesystem::create_directory(dir.file("f.prm"));
    Result r = cli("extract " + shellQuote(star) + region + "-o " + shellQuote(dir.file("f.txt")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "sfWritePrmFile, 75パス名が無効です。\n");
    expectEntries(dir, {"star.fit", "out.txt", "out.prm", "f.prm"});

    // The disk fills at the parameter file (442 bytes; the spectrum is smaller).
    r = cliOnFullDisk({"extract", star, "--x", "0:5", "--y", "0:40", "-o", dir.file("out.txt")}, 300, scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "sfWritePrmFile, 61ディスクの空き容量が不足しています。\n");
    EXPECT_EQ(readAll(dir.file("out.txt")), oldSpectrum);
    EXPECT_EQ(readAll(dir.file("out.prm")), oldParam);

    // A read-only parameter file keeps the old spectrum too.
    ::chmod(dir.file("out.prm").c_str(), 0444);
    r = cli("extract " + shellQuote(star) + region + "-o " + shellQuote(dir.file("out.txt")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "sfWritePrmFile, 70書き込みできません。\n");
    EXPECT_EQ(readAll(dir.file("out.txt")), oldSpectrum);
    expectEntries(dir, {"star.fit", "out.txt", "out.prm", "f.prm"});
}

TEST(CliOutputs, ConcurrentExtractsToOneNameNeverMixTheirFiles)
{
    TempDir dir, scratch;
    writeAll(dir.file("star.fit"), starFits());
    const std::string base = program + " extract " + shellQuote(dir.file("star.fit")) + " --x 0:5 --y 0:40 ";
    const std::string narrow = base + "--width 2 -o ", wide = base + "--width 8 -o ";
    ASSERT_EQ(testsupport::run(narrow + shellQuote(dir.file("n.txt")) + " >/dev/null"), 0);
    ASSERT_EQ(testsupport::run(wide + shellQuote(dir.file("w.txt")) + " >/dev/null"), 0);
    const auto pair = [&](const std::string& stem) {
        return std::make_pair(readAll(dir.file(stem + ".txt")), readAll(dir.file(stem + ".prm")));
    };
    const auto narrowPair = pair("n"), widePair = pair("w");
    ASSERT_NE(narrowPair.first, widePair.first);
    ASSERT_NE(narrowPair.second, widePair.second);
    const std::string out = shellQuote(dir.file("out.txt"));
    for (int round = 0; round < 12; ++round) {
        ASSERT_EQ(testsupport::run("(" + narrow + out + " & " + wide + out + " & wait) >/dev/null"), 0);
        const auto now = pair("out");
        EXPECT_TRUE(now == narrowPair || now == widePair) << "round " << round;
    }
    expectEntries(dir, {"star.fit", "n.txt", "n.prm", "w.txt", "w.prm", "out.txt", "out.prm"});
}

TEST(CliOutputs, SampleOnAFullDiskLeavesNoFrames)
{
    TempDir dir, scratch;
    // The 16-bit object frame fits, the 32-bit dark frame after it does not.
    constexpr rlim_t limit = 600000;
    Result r = cliOnFullDisk({"sample", dir.file("night")}, limit, scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "sample, 61ディスクの空き容量が不足しています。\n");
    expectEntries(dir, {});
    std::filesystem::create_directory(dir.file("kept"));
    r = cliOnFullDisk({"sample", dir.file("kept")}, limit, scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(folderEntries(dir.file("kept")), std::set<std::string>{});
}

TEST(CliOutputs, AnOutputThatIsOneOfTheInputsIsRefused)
{
    TempDir dir, scratch;
    writeAll(dir.file("star.fit"), starFits());
    const std::string star = shellQuote(dir.file("star.fit"));
    ASSERT_EQ(cli("extract " + star + " --x 0:5 --y 0:40 -o " + shellQuote(dir.file("long.txt")), scratch).status, 0);
    writeAll(dir.file("long.txt"), "a spectrum of another night");
    const std::string param = readAll(dir.file("long.prm"));

    // Through the derived parameter file name.
    Result r = cli("extract " + star + " --ref " + shellQuote(dir.file("long.prm")) + " -o " +
                       shellQuote(dir.file("long.txt")),
                   scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "入力ﾌｧｲﾙと同じﾌｧｲﾙには書き込めません: " + dir.file("long.prm") + "\n");
    EXPECT_EQ(readAll(dir.file("long.prm")), param);
    EXPECT_EQ(readAll(dir.file("long.txt")), "a spectrum of another night");

    // Through the derived dispersion file name (the table is not even read).
    writeAll(dir.file("c.dip"), "1,5\r\n2,9\r\n3,5\r\n");
    r = cli("identify " + shellQuote(dir.file("c.dip")) + " --table none.dat --line 1:2", scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "入力ﾌｧｲﾙと同じﾌｧｲﾙには書き込めません: " + dir.file("c.dip") + "\n");
    EXPECT_EQ(readAll(dir.file("c.dip")), "1,5\r\n2,9\r\n3,5\r\n");

    // The same file under another name.
    ASSERT_EQ(::link(dir.file("star.fit").c_str(), dir.file("same.fit").c_str()), 0);
    r = cli("convert " + star + " -o " + shellQuote(dir.file("same.fit")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(readAll(dir.file("star.fit")), starFits());
}

TEST(CliOutputs, UnwritableStandardOutputFails)
{
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    TempDir dir, scratch;
    writeAll(dir.file("star.fit"), starFits());
    writeAll(dir.file("line.txt"), "1,1\r\n2,1\r\n3,5\r\n4,1\r\n5,1\r\n");
    const std::string star = shellQuote(dir.file("star.fit"));
    for (const std::string& arguments :
         std::vector<std::string>{"--help", "info " + star, "header " + star, "extract --help",
          "gauss " + shellQuote(dir.file("line.txt")) + " --mark 1,1 --mark 5,1"}) {
        SCOPED_TRACE(arguments);
        const std::string errFile = scratch.file("err.txt");
        int status = testsupport::run(program + " " + arguments + " >/dev/full 2>" + shellQuote(errFile));
        EXPECT_EQ(status, 1);
        EXPECT_EQ(readAll(errFile), "標準出力に書き込めません\n");
    }
}

TEST(CliOutputs, EmptyAndOverflowingResultsAreRefusedWithoutAFile)
{
    TempDir dir, scratch;
    // 16-bit data scaled past the largest Single: described, not computed with.
    writeAll(dir.file("scaled.fit"), fitstest::headerBytes(fitstest::imageCards(
                                         16, 2, 1, {fitstest::valueCard("BSCALE", "1E38")})) +
                                         fitstest::padded(fitstest::bigEndian(std::vector<int16_t>{1, 7})));
    EXPECT_EQ(cli("info " + shellQuote(dir.file("scaled.fit")), scratch).status, 0);
    Result r = cli("convert " + shellQuote(dir.file("scaled.fit")) + " -o " + shellQuote(dir.file("o.fit")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "画素値が単精度の範囲を超えました\n");

    // A wavelength step that overflows the scale.
    writeAll(dir.file("step.fits"),
             fitstest::headerBytes({fitstest::valueCard("SIMPLE", "T"), fitstest::valueCard("BITPIX", "-32"),
                                    fitstest::valueCard("NAXIS", "1"), fitstest::valueCard("NAXIS1", "4"),
                                    fitstest::valueCard("CRVAL1", "5000."), fitstest::valueCard("CDELT1", "1E300"),
                                    fitstest::valueCard("CRPIX1", "1."), testsupport::card("END")}) +
                 fitstest::padded(fitstest::bigEndian(std::vector<float>{1, 2, 3, 4})));
    r = cli("fft " + shellQuote(dir.file("step.fits")) + " -o " + shellQuote(dir.file("o.txt")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Xに有限でない値があります\n");

    // Coefficients that take every wavelength past the largest Single.
    writeAll(dir.file("s.txt"), "1,1\r\n2,2\r\n3,3\r\n");
    writeAll(dir.file("huge.dip"), "1E308\r\n1E308\r\n");
    r = cli("dispcor " + shellQuote(dir.file("s.txt")) + " --dip " + shellQuote(dir.file("huge.dip")) + " -o " +
                shellQuote(dir.file("o.txt")),
            scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "計算結果に有限でない値が生じました\n");

    // A binary table of no rows.
    writeAll(dir.file("none.fits"),
             fitstest::headerBytes({fitstest::valueCard("SIMPLE", "T"), fitstest::valueCard("BITPIX", "8"),
                                    fitstest::valueCard("NAXIS", "0"), fitstest::valueCard("EXTEND", "T"),
                                    testsupport::card("END")}) +
                 fitstest::headerBytes({testsupport::card("XTENSION= 'BINTABLE'"), fitstest::valueCard("BITPIX", "8"),
                                        fitstest::valueCard("NAXIS", "2"), fitstest::valueCard("NAXIS1", "8"),
                                        fitstest::valueCard("NAXIS2", "0"), fitstest::valueCard("PCOUNT", "0"),
                                        fitstest::valueCard("GCOUNT", "1"), fitstest::valueCard("TFIELDS", "2"),
                                        testsupport::card("TTYPE1  = 'WAVE    '"), testsupport::card("TFORM1  = 'E       '"),
                                        testsupport::card("TTYPE2  = 'FLUX    '"), testsupport::card("TFORM2  = 'E       '"),
                                        testsupport::card("END")}));
    writeAll(dir.file("one.dip"), "0\r\n1\r\n");
    r = cli("dispcor " + shellQuote(dir.file("none.fits")) + " --dip " + shellQuote(dir.file("one.dip")) + " -o " +
                shellQuote(dir.file("o.txt")),
            scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "データがありません\n");
    expectEntries(dir, {"scaled.fit", "step.fits", "s.txt", "huge.dip", "none.fits", "one.dip"});

    for (const char* limits : {"--min nan --max 3", "--min 0 --max inf", "--min -inf --max 1"}) {
        r = cli("render " + shellQuote(dir.file("scaled.fit")) + " -o " + shellQuote(dir.file("o.bmp")) + " " + limits,
                scratch);
        EXPECT_EQ(r.status, 2) << limits;
    }
}

TEST(CliOutputs, NonFiniteInputsAreNotedAndReachOnlyWhatTheyTouch)
{
    TempDir dir, scratch;
    // A flat with one NaN pixel: only that pixel of the corrected frame is NaN.
    writeAll(dir.file("star.fit"), starFits());
    writeAll(dir.file("flat.fit"), starFits(true));
    Result r = cli("darkflat " + shellQuote(dir.file("star.fit")) + " --flat " + shellQuote(dir.file("flat.fit")) +
                       " -o " + shellQuote(dir.file("c.fit")),
                   scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "注意: " + dir.file("flat.fit") + " に有限でない値 (NaN, Inf) が 1 個あります\n");
    r = cli("cut " + shellQuote(dir.file("c.fit")) + " --x 0:5 --y 20:20 -o " + shellQuote(dir.file("row.txt")),
            scratch);
    ASSERT_EQ(r.status, 0);
    std::vector<float> x, y;
    ASSERT_EQ(raylen::sfOpenText(dir.file("row.txt"), x, y), "");
    ASSERT_EQ(y.size(), 6u);
    for (size_t i = 0; i < y.size(); ++i)
        EXPECT_EQ(std::isnan(y[i]), i == 3) << i;

    // Resampling: the NaN's bin (2.5 … 3.5) reaches the three output bins over it.
    writeAll(dir.file("s.txt"), "1,1\r\n2,2\r\n3,NaN\r\n4,4\r\n5,5\r\n6,6\r\n7,7\r\n8,8\r\n9,9\r\n");
    r = cli("resample " + shellQuote(dir.file("s.txt")) + " --step 0.5 -o " + shellQuote(dir.file("r.txt")), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "注意: " + dir.file("s.txt") + " に有限でない値 (NaN, Inf) が 1 個あります\n");
    EXPECT_EQ(readAll(dir.file("r.txt")), "1,1\r\n1.5,1.5\r\n2,2\r\n2.5,NaN\r\n3,NaN\r\n3.5,NaN\r\n4,4\r\n4.5,4.5\r\n"
                                          "5,5\r\n5.5,5.5\r\n6,6\r\n6.5,6.5\r\n7,7\r\n7.5,7.5\r\n8,8\r\n8.5,8.5\r\n9,9\r\n");

    // The amplitude spectrum stays finite.
    r = cli("fft " + shellQuote(dir.file("s.txt")) + " -o " + shellQuote(dir.file("f.txt")), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(raylen::sfOpenText(dir.file("f.txt"), x, y), "");
    for (float v : y)
        EXPECT_TRUE(std::isfinite(v));
}

TEST(CliOutputs, MeasurementsAndPlotsReadTheProgramsFitsSpectra)
{
    TempDir dir, scratch;
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += std::to_string(5000 + i) + "," +
                std::to_string(100 - 60 * std::exp(-std::pow(i - 20.3, 2) / 8)) + "\r\n";
    writeAll(dir.file("line.txt"), text);
    // The same resampled values as a FITS and as a text spectrum.
    for (const char* name : {"line.fits", "same.txt"})
        ASSERT_EQ(cli("resample " + shellQuote(dir.file("line.txt")) + " --step 1 -o " + shellQuote(dir.file(name)),
                      scratch)
                      .status,
                  0);
    for (const char* command : {"gauss", "eqwidth"}) {
        SCOPED_TRACE(command);
        const std::string marks = " --mark 5005,100 --mark 5035,100";
        Result fromText = cli(std::string(command) + " " + shellQuote(dir.file("same.txt")) + marks, scratch);
        Result fromFits = cli(std::string(command) + " " + shellQuote(dir.file("line.fits")) + marks, scratch);
        ASSERT_EQ(fromFits.status, 0) << fromFits.err;
        EXPECT_EQ(fromFits.out, fromText.out);
    }
    // Without a runtime folder Qt used to warn on every plot.
    const std::string errFile = scratch.file("plot.err");
    ASSERT_EQ(testsupport::run("env -u XDG_RUNTIME_DIR " + program + " plot " + shellQuote(dir.file("line.fits")) +
                               " -o " + shellQuote(dir.file("p.png")) + " 2>" + shellQuote(errFile)),
              0);
    EXPECT_EQ(readAll(errFile), "");
    EXPECT_EQ(readAll(dir.file("p.png")).substr(1, 3), "PNG");
}
