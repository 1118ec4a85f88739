// raylen-cli as an observer scripts it: outputs, messages, exit codes.
#include "../support/CliRun.h"

#include "fits/FitsData.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"

#include <algorithm>
#include <cstdio>

using testsupport::TempDir;
using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::writeAll;

using clitest::cli;
using clitest::Result;

TEST(Cli, SampleNightDescribedRenderedAndCut)
{
    TempDir dir;
    ASSERT_EQ(cli("sample " + shellQuote(dir.path()), dir).status, 0);
    std::string object = shellQuote(dir.file("object.fit"));
    Result info = cli("info " + object, dir);
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out, "HeaderN=14\nSIMPLE=T\nBITPIX=16\nNAXIS=2\nNAXIS1=1024\nNAXIS2=256\nBSCALE=1\nBZERO=32768\n");
    Result header = cli("header " + object, dir);
    ASSERT_EQ(header.status, 0);
    EXPECT_EQ(header.out.size(), 14u * 81u);
    EXPECT_EQ(header.out.substr(0, 81), testsupport::card("SIMPLE  =                    T / file conforms to FITS standard") + "\n");
    EXPECT_EQ(header.out.substr(13 * 81), testsupport::card("END") + "\n");

    // Both bitmaps against numpy's render of astropy's pixels, laid out by
    // the bitmap file rules: 54-byte header, rows bottom-up, 3 grey bytes a
    // pixel, rows padded to 4 bytes.
    Result render = cli("render " + object + " -o " + shellQuote(dir.file("o.bmp")), dir);
    ASSERT_EQ(render.status, 0) << render.err;
    Result limited = cli("render " + object + " --min 100.4 --max 1999.5 -o " + shellQuote(dir.file("m.bmp")), dir);
    ASSERT_EQ(limited.status, 0) << limited.err;
    EXPECT_EQ(limited.out, "max=2000\nmin=100\n");
    std::string reference = testsupport::python(R"(import struct, numpy as np
from astropy.io import fits
def render(pixels, lo, hi):
    v = np.clip(pixels, lo, hi)
    v = np.where(np.isnan(pixels), lo, v)
    grey = np.rint((v.astype(np.float64) - np.float64(lo)) * (255.0 / (np.float64(hi) - np.float64(lo))))
    grey = np.flipud(grey.astype(np.uint8))
    h, w = grey.shape
    row = (3 * w + 3) // 4 * 4
    body = np.zeros((h, row), np.uint8)
    body[:, :3 * w] = np.repeat(grey, 3, axis=1)
    data = body.tobytes()
    header = struct.pack('<2sIHHIIiiHHIIiiII', b'BM', 54 + len(data), 0, 0, 54, 40, w, h, 1, 24, 0, len(data),
                         0, 0, 0, 0)
    return header + data
pixels = fits.getdata(')" + dir.file("object.fit") + R"(').astype(np.float32)
lo = max(np.float32(pixels.min()), np.float32(0))
hi = np.float32(lo + (np.float32(pixels.max()) - lo) / np.float32(10))
auto = open(')" + dir.file("o.bmp") + R"(', 'rb').read() == render(pixels, lo, hi)
fixed = open(')" + dir.file("m.bmp") + R"(', 'rb').read() == render(pixels, np.float32(100.4), np.float32(1999.5))
print(auto, fixed, '%.9g %.9g' % (hi, lo))
)",
                                                dir);
    float maximum = 0, minimum = 0;
    char autoSame[8] = "", fixedSame[8] = "";
    ASSERT_EQ(std::sscanf(reference.c_str(), "%7s %7s %f %f", autoSame, fixedSame, &maximum, &minimum), 4) << reference;
    EXPECT_STREQ(autoSame, "True");
    EXPECT_STREQ(fixedSame, "True");
    EXPECT_EQ(render.out, "max=" + platform::Format(maximum, "0") + "\nmin=" + platform::Format(minimum, "0") + "\n");
    raylen::HeaderCards cards;
    raylen::FitsInfo fitsInfo;
    raylen::SingleImage image;
    ASSERT_EQ(raylen::sfOpenFits(dir.file("object.fit"), cards, fitsInfo, image), "");

    // A region typed backwards and beyond the image is corrected.
    Result cut = cli("cut " + object + " --x 1023:1020 --y 250:9999 --along x -o " + shellQuote(dir.file("c.txt")), dir);
    ASSERT_EQ(cut.status, 0) << cut.err;
    std::string text = readAll(dir.file("c.txt"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_EQ(text.substr(0, 5), "1020,");
    double sum = 0;
    for (int y = 250; y <= 255; ++y)
        sum += image(1020, y);
    EXPECT_EQ(text.substr(5, text.find('\r') - 5), platform::singleToText(static_cast<float>(sum / 6)));

    Result convert = cli("convert " + object + " -o " + shellQuote(dir.file("f.fit")), dir);
    ASSERT_EQ(convert.status, 0);
    EXPECT_EQ(cli("info " + shellQuote(dir.file("f.fit")), dir).out.substr(0, 30), "HeaderN=14\nSIMPLE=T\nBITPIX=-32");
}

TEST(Cli, FailuresGiveTheSystemsMessageAndNoOutput)
{
    TempDir dir;
    Result missing = cli("header " + shellQuote(dir.file("none.fit")), dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ﾌｧｲﾙが存在しません\n");
    EXPECT_EQ(missing.out, "");
    writeAll(dir.file("nine.fit"), "SIMPLE  =");
    Result nine = cli("info " + shellQuote(dir.file("nine.fit")), dir);
    EXPECT_EQ(nine.status, 1);
    EXPECT_EQ(nine.err, "ファイルが空っぽです " + dir.file("nine.fit") + "\n");
    writeAll(dir.file("notes.txt"), "# observing log\n");
    Result other = cli("render " + shellQuote(dir.file("notes.txt")) + " -o " + shellQuote(dir.file("x.bmp")), dir);
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.err, "ｻﾎﾟｰﾄしていないﾌｧｲﾙ形式です\n");
    EXPECT_FALSE(testsupport::run("test -e " + shellQuote(dir.file("x.bmp"))) == 0);
    // Data cut short: the converter's message, no output file.
    ASSERT_EQ(cli("sample " + shellQuote(dir.path()), dir).status, 0);
    std::string whole = readAll(dir.file("object.fit"));
    writeAll(dir.file("short.fit"), whole.substr(0, 2880 + 1000));
    Result cutShort = cli("convert " + shellQuote(dir.file("short.fit")) + " -o " + shellQuote(dir.file("y.fit")), dir);
    EXPECT_EQ(cutShort.status, 1);
    EXPECT_EQ(cutShort.err, "sfConvertInt2DSng, 9インデックスが有効範囲にありません。\n");
    EXPECT_FALSE(testsupport::run("test -e " + shellQuote(dir.file("y.fit"))) == 0);
}

TEST(Cli, WrongUsageExitsWithTwo)
{
    TempDir dir;
    for (std::string args : {"", "frobnicate", "header", "header a b", "render a.fit", "render a.fit -o x --min 3",
                             "cut a.fit --x 1-3 --y 0:1 -o c.txt", "info a.fit --bogus 1", "convert a.fit -o"}) {
        Result r = cli(args, dir);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.err.find("usage: raylen-cli"), std::string::npos) << args;
    }
    Result help = cli("--help", dir);
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"header", "info", "convert", "render", "cut", "sample"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
}
