// raylen-cli identify, dispcor, fluxcal, normalize and fft as a script
// calls them: outputs, messages and exit codes.
#include "../support/CliRun.h"
#include "../support/TestSupport.h"
#include "LampSpectrum.h"

#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "files/TextSpectrum.h"

#include <cmath>
#include <sstream>

using testsupport::readAll;
using testsupport::shellQuote;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

using clitest::cli;
using clitest::Result;

bool exists(const std::string& path)
{
    return testsupport::run("test -e " + shellQuote(path)) == 0;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

// The lamp spectrum and its table in dir; returns the arguments marking every line.
std::string writeLamp(const TempDir& dir)
{
    std::vector<float> x, y;
    lamp::spectrum(x, y);
    EXPECT_EQ(raylen::sfSaveText(x, y, dir.file("comp.txt")), "");
    std::string table, marks;
    for (size_t j = 0; j < lamp::lines().size(); ++j) {
        const lamp::Line& l = lamp::lines()[j];
        table += platform::Format(l.wave, "0.00") + "  " + l.element + "\r\n";
        marks += " --line " + std::to_string(j + 1) + ":" + platform::Format(lamp::pixelOf(l.wave) - 1.2, "0.0");
    }
    writeAll(dir.file("lamp.dat"), table);
    return marks;
}

} // namespace

TEST(CliIdentify, MeasuresEveryMarkedLineAndWritesTheDispersionFile)
{
    TempDir dir;
    const std::string marks = writeLamp(dir);
    const std::string comp = shellQuote(dir.file("comp.txt")), table = shellQuote(dir.file("lamp.dat"));
    Result r = cli("identify " + comp + " --table " + table + marks, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), lamp::lines().size() + 3);
    for (size_t j = 0; j < lamp::lines().size(); ++j) {
        std::istringstream fields(out[j]);
        int row = 0;
        double wave = 0, pixel = 0;
        fields >> row >> wave >> pixel;
        EXPECT_EQ(row, static_cast<int>(j) + 1);
        EXPECT_DOUBLE_EQ(wave, std::stod(platform::Format(lamp::lines()[j].wave, "0.00")));
        EXPECT_NEAR(pixel, lamp::pixelOf(lamp::lines()[j].wave), 0.05 + 1e-4);
    }
    EXPECT_EQ(out[out.size() - 3].rfind("a0=", 0), 0u);
    EXPECT_EQ(out.back().rfind("a2=", 0), 0u);

    // Without -o the spectrum's name with "dip" for its last three characters.
    const std::string dip = readAll(dir.file("comp.dip"));
    const std::vector<std::string> coefficients = lines(dip);
    ASSERT_EQ(coefficients.size(), 3u);
    EXPECT_EQ(dip.back(), '\n');
    EXPECT_EQ(coefficients[0].back(), '\r');
    EXPECT_NEAR(std::stod(coefficients[0]), lamp::trueA0, 0.05);
    EXPECT_NEAR(std::stod(coefficients[1]), lamp::trueA1, 1e-4);

    r = cli("identify " + comp + " --table " + table + marks + " --order 1 --measure peak --search 6 --hw 2.5 -o " +
                shellQuote(dir.file("linear.dip")),
            dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(readAll(dir.file("linear.dip"))).size(), 2u);
}

TEST(CliIdentify, FailuresAndWrongUsage)
{
    TempDir dir;
    writeLamp(dir);
    const std::string comp = shellQuote(dir.file("comp.txt")), table = shellQuote(dir.file("lamp.dat"));
    const std::string out = shellQuote(dir.file("out.dip"));

    Result r = cli("identify " + comp + " --table " + table + " --line 1:100 --line 2:200 --measure none -o " + out,
                   dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "３点以上のデータを入力して下さい\n");
    EXPECT_FALSE(exists(dir.file("out.dip")));

    r = cli("identify " + comp + " --table " + shellQuote(dir.file("none.dat")) + " --line 1:100 -o " + out, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "波長テーブルファイルが存在しません。\n");

    writeAll(dir.file("empty.dat"), "");
    r = cli("identify " + comp + " --table " + shellQuote(dir.file("empty.dat")) + " --line 1:100 -o " + out, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "sfOpenCompFile, 9インデックスが有効範囲にありません。\n");

    // Cursor on the first point: nothing is measured, so no row counts.
    r = cli("identify " + comp + " --table " + table + " --line 1:0 -o " + out, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "値が入力されていません。\n");

    r = cli("identify " + shellQuote(dir.file("nothing.txt")) + " --table " + table + " --line 1:100 -o " + out, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ﾌｧｲﾙが存在しません\n");
    EXPECT_FALSE(exists(dir.file("out.dip")));

    for (const char* usage : {" --line 1:100", " --table T", " --table T --line 0:5", " --table T --line 99:5",
                              " --table T --line 1:5 --measure fit", " --table T --line 1:5 --order two"}) {
        std::string arguments = std::string(usage);
        const size_t t = arguments.find(" T");
        if (t != std::string::npos)
            arguments.replace(t, 2, " " + table);
        r = cli("identify " + comp + arguments, dir);
        EXPECT_EQ(r.status, 2) << usage;
        EXPECT_NE(r.err.find("usage: raylen-cli identify"), std::string::npos) << usage;
    }
}

TEST(CliCalib, DispersionCorrectionAndFluxCalibration)
{
    TempDir dir;
    writeAll(dir.file("spec.txt"), "0,1\r\n100,2\r\n");
    writeAll(dir.file("a.dip"), "4000\r\n2\r\n");
    const std::string spec = shellQuote(dir.file("spec.txt"));
    Result r = cli("dispcor " + spec + " --dip " + shellQuote(dir.file("a.dip")) + " -o " +
                       shellQuote(dir.file("w.txt")),
                   dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(dir.file("w.txt")), "4000,1\r\n4200,2\r\n");

    writeAll(dir.file("s.sns"), "4000,2\r\n5000,4\r\n");
    writeAll(dir.file("w.txt"), "4500,10\r\n");
    r = cli("fluxcal " + shellQuote(dir.file("w.txt")) + " --sns " + shellQuote(dir.file("s.sns")) + " -o " +
                shellQuote(dir.file("f.txt")),
            dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readAll(dir.file("f.txt")), "4500," + platform::singleToText(10.0f / 3.0f) + "\r\n");

    // Failures leave an existing output as it was.
    writeAll(dir.file("keep.txt"), "keep");
    const std::string keep = " -o " + shellQuote(dir.file("keep.txt"));
    writeAll(dir.file("bad.dip"), "4000\r\nx\r\n");
    writeAll(dir.file("bad.sns"), "4000,2\r\n5000\r\n");
    const std::pair<std::string, std::string> failures[] = {
        {"dispcor " + spec + " --dip " + shellQuote(dir.file("bad.dip")), "sfOpenDispFile, 13型が一致しません。\n"},
        {"dispcor " + spec + " --dip " + shellQuote(dir.file("none.dip")), "ファイルが存在しません。\n"},
        {"fluxcal " + spec + " --sns " + shellQuote(dir.file("bad.sns")),
         "sfReadSensFncFile, 62ファイルにこれ以上データがありません。\n"},
        {"fluxcal " + shellQuote(dir.file("none.txt")) + " --sns " + shellQuote(dir.file("s.sns")),
         "ﾌｧｲﾙが存在しません\n"},
    };
    for (const auto& [arguments, message] : failures) {
        r = cli(arguments + keep, dir);
        EXPECT_EQ(r.status, 1) << arguments;
        EXPECT_EQ(r.err, message) << arguments;
    }
    EXPECT_EQ(readAll(dir.file("keep.txt")), "keep");

    EXPECT_EQ(cli("dispcor " + spec + keep, dir).status, 2);
    EXPECT_EQ(cli("fluxcal " + spec + " --sns " + shellQuote(dir.file("s.sns")), dir).status, 2);
}

TEST(CliCalib, NormalizeAndFourierTransform)
{
    TempDir dir;
    writeAll(dir.file("spec.txt"), "1,2\r\n2,4\r\n3,6\r\n4,8\r\n5,10\r\n");
    const std::string spec = shellQuote(dir.file("spec.txt"));
    // Two regions as key s marks them: 1 … 2 takes indices 0 … 2 (the first point beyond), 4.5 … 5 adds 4.
    Result r = cli("normalize " + spec + " --region 1:2 --region 5:4.5 --order 0 -o " + shellQuote(dir.file("n.txt")),
                   dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const float mean = (2.0f + 4.0f + 6.0f + 10.0f) / 4.0f;
    std::string expected;
    for (int i = 1; i <= 5; ++i)
        expected += std::to_string(i) + "," + platform::singleToText(2.0f * static_cast<float>(i) / mean) + "\r\n";
    EXPECT_EQ(readAll(dir.file("n.txt")), expected);

    r = cli("normalize " + spec + " --region 1:5 -o " + shellQuote(dir.file("n5.txt")), dir);
    EXPECT_EQ(r.status, 1) << "order 5 needs six points";
    EXPECT_EQ(r.err.rfind("sfLst2Fit, 11", 0), 0u) << r.err;
    EXPECT_FALSE(exists(dir.file("n5.txt")));
    EXPECT_EQ(cli("normalize " + spec + " -o " + shellQuote(dir.file("n.txt")), dir).status, 2);
    EXPECT_EQ(cli("normalize " + spec + " --region 1-2 -o " + shellQuote(dir.file("n.txt")), dir).status, 2);

    std::vector<float> x(1025), y(1025);
    for (size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<float>(i);
        y[i] = static_cast<float>(std::cos(2.0 * M_PI * 64.0 * static_cast<double>(i) / 1024.0));
    }
    ASSERT_EQ(raylen::sfSaveText(x, y, dir.file("wave.txt")), "");
    r = cli("fft " + shellQuote(dir.file("wave.txt")) + " -o " + shellQuote(dir.file("fft.txt")), dir);
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<float> f, amp;
    ASSERT_EQ(raylen::sfOpenText(dir.file("fft.txt"), f, amp), "");
    ASSERT_EQ(amp.size(), 512u);
    EXPECT_FLOAT_EQ(f[64], 64.0f / 1024.0f);
    EXPECT_NEAR(amp[64], 512.0f, 1e-2f);
    EXPECT_NEAR(amp[63], 0.0f, 1e-2f);

    writeAll(dir.file("two.txt"), "1,1\r\n2,1\r\n");
    r = cli("fft " + shellQuote(dir.file("two.txt")) + " -o " + shellQuote(dir.file("fft2.txt")), dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "sfMean1D, 9インデックスが有効範囲にありません。\n");
    EXPECT_FALSE(exists(dir.file("fft2.txt")));
    EXPECT_EQ(cli("fft " + spec, dir).status, 2);
}
