// Comparison-line identification: the wavelength table, the grid, the key
// measurements, the dispersion fit and the dispersion file.
#include "../support/TestSupport.h"
#include "LampSpectrum.h"
#include "RecordingPlotter.h"

#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/Dispersion.h"
#include "reduce/IdentGrid.h"
#include "reduce/LineMeasure.h"
#include "reduce/WavelengthTable.h"

#include <cmath>

using namespace raylen;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;

TEST(WavelengthTable, OnlyTheFirstElevenCharactersOfEachLineCount)
{
    TempDir dir;
    const std::string path = dir.file("lines.dat");
    writeAll(path, "4026.19  He I\r\n"
                   "123456789123\r\n"
                   "\r\n"
                   "He 5875.62\r\n"
                   "  5015.68 He I\r\n"
                   "7065.1900001Ar\r\n");
    std::vector<float> wave;
    ASSERT_EQ(sfOpenCompFile(path, wave), "");
    ASSERT_EQ(wave.size(), 6u) << "every line is an entry, the final line end adds none";
    EXPECT_EQ(wave[0], 4026.19f);
    EXPECT_EQ(wave[1], 12345678912.0f) << "the twelfth character is cut off";
    EXPECT_EQ(wave[2], 0.0f);
    EXPECT_EQ(wave[3], 0.0f);
    EXPECT_EQ(wave[4], 5015.68f);
    EXPECT_EQ(wave[5], 7065.19f);

    writeAll(path, "6402.25\n6506.53");
    ASSERT_EQ(sfOpenCompFile(path, wave), "");
    EXPECT_EQ(wave, (std::vector<float>{6402.25f, 6506.53f}));
}

TEST(WavelengthTable, EmptyOrMissingFileKeepsThePreviousTable)
{
    TempDir dir;
    std::vector<float> wave{1.0f, 2.0f};
    writeAll(dir.file("empty.dat"), "");
    EXPECT_EQ(sfOpenCompFile(dir.file("empty.dat"), wave), "sfOpenCompFile, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(sfOpenCompFile(dir.file("none.dat"), wave), "sfOpenCompFile, 53ファイルが見つかりません。");
    EXPECT_EQ(sfOpenCompFile(dir.path(), wave), "sfOpenCompFile, 75パス名が無効です。");
    EXPECT_EQ(wave, (std::vector<float>{1.0f, 2.0f}));
}

TEST(IdentGrid, HeaderRowNumbersWavelengthsAndKeptPixels)
{
    IdentGrid grid;
    dsFGridInit(grid, {4026.19f, 5000.0f, 0.0f});
    ASSERT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.text(0, 1), "   波長");
    EXPECT_EQ(grid.text(0, 2), "ピクセル");
    EXPECT_EQ(grid.text(2, 0), "2");
    EXPECT_EQ(grid.text(1, 1), "4026.19");
    EXPECT_EQ(grid.text(2, 1), "5000.0");
    EXPECT_EQ(grid.text(3, 1), "0.0");
    EXPECT_EQ(grid.text(1, 2), "");
    EXPECT_EQ(IdentGrid::Fgi(2, 2), 8);

    grid.setText(1, 2, "120.5");
    grid.setText(3, 2, "700");
    dsFGridInit(grid, {4026.19f, 5000.0f, 0.0f});
    EXPECT_EQ(grid.text(1, 2), "120.5") << "entering page 2 again keeps the pixels";

    std::vector<float> wave{9.0f}, pix{9.0f};
    ASSERT_EQ(sfInputGridData(grid, wave, pix), "");
    EXPECT_EQ(wave, (std::vector<float>{4026.19f})) << "a row without wavelength or pixel does not count";
    EXPECT_EQ(pix, (std::vector<float>{120.5f}));

    grid.setText(2, 2, "0");
    clearPixelColumn(grid);
    EXPECT_EQ(grid.text(1, 2), "");
    EXPECT_EQ(sfInputGridData(grid, wave, pix), "値が入力されていません。");
    EXPECT_EQ(pix, (std::vector<float>{120.5f})) << "a refused grid leaves the arrays alone";
}

TEST(IdentGrid, TypedWidthsAreRoundedHalvesToEven)
{
    EXPECT_EQ(halfWidthFromText("2.5"), 2.0);
    EXPECT_EQ(halfWidthFromText("3.5 px"), 4.0);
    EXPECT_EQ(halfWidthFromText("wide"), 0.0);
    EXPECT_EQ(searchWidthFromText("8"), 8);
    EXPECT_EQ(searchWidthFromText("6.5"), 6);
    EXPECT_THROW(searchWidthFromText("40000"), platform::BasicError);
    EXPECT_EQ(orderFromText("2.5"), 2);
}

TEST(LineMeasure, HighestPointInTheSearchWindow)
{
    std::vector<float> x(20), y(20, 1.0f);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = 100.0f + static_cast<float>(i);
    y[14] = 50.0f; // index 10 + 4: inside the window of search width 8
    y[15] = 90.0f; // one point outside it
    RecordingPlotter plot;
    std::string cell = "old";
    ASSERT_EQ(sfSearchPeakPos(109.6f, x, y, 8, plot, cell), "");
    EXPECT_EQ(cell, "114");
    EXPECT_EQ(plot.cloneSymbols.x, (std::vector<float>{114.0f}));
    EXPECT_EQ(plot.cloneSymbols.y, (std::vector<float>{50.0f}));

    y.assign(20, 1.0f);
    y[6] = 7.0f;
    y[8] = 7.0f;
    ASSERT_EQ(sfSearchPeakPos(107.0f, x, y, 8, plot, cell), "");
    EXPECT_EQ(cell, "106") << "among equal values the first wins";

    y.assign(20, 1.0f);
    y[0] = 1000.0f;
    ASSERT_EQ(sfSearchPeakPos(101.0f, x, y, 8, plot, cell), "");
    EXPECT_EQ(cell, "101") << "a window start below 0 becomes 1: the first point is never taken";

    cell = "kept";
    EXPECT_EQ(sfSearchPeakPos(100.0f, x, y, 8, plot, cell), "");
    EXPECT_EQ(sfSearchPeakPos(119.5f, x, y, 8, plot, cell), "");
    EXPECT_EQ(cell, "kept") << "at the first point or beyond the last nothing is measured";

    y.assign(20, -3.0f);
    EXPECT_EQ(sfSearchPeakPos(110.0f, x, y, 8, plot, cell), "sfSearchPeakIndex, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(cell, "kept");
}

TEST(LineMeasure, GaussianCentresOfLampLinesGiveTheDispersionBack)
{
    std::vector<float> x, y;
    lamp::spectrum(x, y);
    TempDir dir;
    std::string table;
    for (const lamp::Line& l : lamp::lines())
        table += platform::Format(l.wave, "0.00") + "  " + l.element + "\r\n";
    writeAll(dir.file("lamp.dat"), table);
    std::vector<float> wave;
    ASSERT_EQ(sfOpenCompFile(dir.file("lamp.dat"), wave), "");
    IdentGrid grid;
    dsFGridInit(grid, wave);

    RecordingPlotter plot;
    for (size_t j = 0; j < lamp::lines().size(); ++j) {
        const double truth = lamp::pixelOf(lamp::lines()[j].wave);
        grid.setRow(static_cast<int>(j) + 1);
        std::string cell;
        // The cursor a little off the line, as a hand puts it.
        ASSERT_EQ(sfSearchGaussPeakPos(static_cast<float>(truth + 1.3), x, y, 8, 1.0, plot, cell), "");
        EXPECT_NEAR(platform::leadingNumber(cell), truth, 0.05 + 1e-4) << lamp::lines()[j].wave;
        grid.setText(grid.Row(), IdentGrid::colPixel, cell);
        ASSERT_EQ(plot.clone.x.size(), 9u) << "the model is drawn over the window index ± 4";

        std::string peak;
        ASSERT_EQ(sfSearchPeakPos(static_cast<float>(truth + 1.3), x, y, 8, plot, peak), "");
        EXPECT_NEAR(platform::leadingNumber(peak), truth, 0.5 + 1e-4);
    }
    EXPECT_EQ(plot.calls.front(), "busy");

    std::vector<float> sngWave, sngPix;
    ASSERT_EQ(sfInputGridData(grid, sngWave, sngPix), "");
    std::vector<double> a;
    ASSERT_EQ(sfDispersionFit(sngPix, sngWave, 2, a), "");
    ASSERT_EQ(a.size(), 3u);
    for (const lamp::Line& l : lamp::lines()) {
        const double p = lamp::pixelOf(l.wave);
        EXPECT_NEAR(polynomialValue(a, p), l.wave, 0.05) << l.element << " " << l.wave;
    }
    EXPECT_NEAR(a[1], lamp::trueA1, 1e-4);

    ASSERT_EQ(sfPlotDispersionCurve(sngPix, a, plot), "");
    EXPECT_EQ(plot.clone.x, sngPix);
    ASSERT_EQ(sfPlotCalibComp(x, y, a, plot), "");
    EXPECT_NEAR(plot.line.x[2000], lamp::wavelengthAt(2000), 0.05);
    EXPECT_EQ(plot.line.y, y);
}

TEST(Dispersion, FewerPointsThanTheOrderNeedsGiveTheFixedWarning)
{
    std::vector<double> a{7.0};
    EXPECT_EQ(sfDispersionFit({10.0f, 20.0f}, {4000.0f, 4010.0f}, 2, a), "３点以上のデータを入力して下さい");
    EXPECT_EQ(sfDispersionFit({10.0f, 10.0f, 10.0f}, {4000.0f, 4010.0f, 4020.0f}, 1, a),
              "３点以上のデータを入力して下さい");
    EXPECT_EQ(a, (std::vector<double>{7.0}));
    ASSERT_EQ(sfDispersionFit({0.0f, 1.0f, 2.0f}, {4000.0f, 4002.5f, 4007.0f}, 2, a), "");
    EXPECT_EQ(dispersionResultText(2, a), "結果 a0+a1*x+a2*x^2+a3*x^3+....\na0=4000.0\na1=1.5\na2=1.0");
}

TEST(Dispersion, FileHoldsOneFullPrecisionCoefficientPerCrLfLine)
{
    TempDir dir;
    const std::string path = dir.file("comp.dip");
    const std::vector<double> a{3900.123456789012, 0.9000000000000123};
    ASSERT_EQ(sfWriteDispFactor(path, 1, a), "");
    EXPECT_EQ(readAll(path), "3900.123456789012\r\n0.9000000000000123\r\n");
    std::vector<double> back;
    ASSERT_EQ(sfOpenDispFile(path, back), "");
    EXPECT_EQ(back, a);

    const std::vector<double> b{-12.5, 1e-6, -3.25e-11, 1e20};
    ASSERT_EQ(sfWriteDispFactor(path, 3, b), "");
    EXPECT_EQ(readAll(path), "-12.5\r\n1E-06\r\n-3.25E-11\r\n1E+20\r\n");
    ASSERT_EQ(sfOpenDispFile(path, back), "");
    EXPECT_EQ(back, b);

    writeAll(path, "4000,2\r\n0.5");
    ASSERT_EQ(sfOpenDispFile(path, back), "");
    EXPECT_EQ(back, (std::vector<double>{4000, 2, 0.5})) << "commas separate numbers too";

    EXPECT_EQ(sfWriteDispFactor(dir.file("no/such/dir.dip"), 1, a).rfind("sfWriteDispFactor, 76", 0), 0u);
}

TEST(Dispersion, BadFilesAreRefusedAndChangeNothing)
{
    TempDir dir;
    std::vector<double> a{1.0, 2.0};
    writeAll(dir.file("bad.dip"), "4000\r\nfour\r\n");
    EXPECT_EQ(sfOpenDispFile(dir.file("bad.dip"), a), "sfOpenDispFile, 13型が一致しません。");
    writeAll(dir.file("empty.dip"), "\r\n");
    EXPECT_EQ(sfOpenDispFile(dir.file("empty.dip"), a), "sfOpenDispFile, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(sfOpenDispFile(dir.file("none.dip"), a), "sfOpenDispFile, 53ファイルが見つかりません。");
    EXPECT_EQ(a, (std::vector<double>{1.0, 2.0}));

    std::string name;
    ASSERT_EQ(dfEditDipFileName("/data/lamp.txt", name), "");
    EXPECT_EQ(name, "/data/lamp.dip");
    EXPECT_EQ(dfEditDipFileName("ab", name), "dfEditDipFileName, 5プロシージャの呼び出し、または引数が不正です。");
}
