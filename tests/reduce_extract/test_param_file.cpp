// The parameter file's bytes, the record stored from numbers, and
// the reference scan's refusals.
#include "SyntheticFrame.h"

#include "reduce/Extract.h"
#include "reduce/ParamFile.h"
#include "reduce/ScanParam.h"

#include <cstring>
#include <initializer_list>
#include <limits>

using namespace raylen;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

ScanParam distinctRecord()
{
    ScanParam p;
    p.intScanWidth = 7;
    p.intTraceOrder = 3;
    p.blnSkySub = -1;
    p.intSkyStart1 = -25;
    p.intSkyEnd1 = -12;
    p.intSkyFitOrder = 2;
    p.intReserved = 0x1234;
    for (int k = 0; k < kTraceCoefCount; ++k)
        p.dblTraceCoef[static_cast<size_t>(k)] = 1.0 / (k + 3) - k * 1e-7;
    p.lngStartX = 17;
    p.lngEndX = 70000;
    p.lngStartY = -3;
    p.lngEndY = 123456;
    p.intSkyStart2 = 11;
    p.intSkyEnd2 = 32767;
    return p;
}

template <class T>
T at(const std::string& bytes, size_t offset)
{
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

} // namespace

TEST(ParamFile, ExactBytesAndMemberByMemberRoundTrip)
{
    TempDir dir;
    const ScanParam p = distinctRecord();
    ASSERT_EQ(sfWritePrmFile(dir.file("star.txt"), p), "");
    const std::string bytes = readAll(dir.file("star.prm"));
    ASSERT_EQ(bytes.size(), 442u);
    // Offsets of the file layout, read independently of the encoder.
    EXPECT_EQ(at<int16_t>(bytes, 0), 7);
    EXPECT_EQ(at<int16_t>(bytes, 2), 3);
    EXPECT_EQ(at<int16_t>(bytes, 4), -1);
    EXPECT_EQ(at<int16_t>(bytes, 6), -25);
    EXPECT_EQ(at<int16_t>(bytes, 8), -12);
    EXPECT_EQ(at<int16_t>(bytes, 10), 2);
    EXPECT_EQ(static_cast<uint8_t>(bytes[12]), 0x34); // little-endian
    EXPECT_EQ(static_cast<uint8_t>(bytes[13]), 0x12);
    for (size_t k = 0; k < 51; ++k)
        EXPECT_EQ(at<double>(bytes, 14 + 8 * k), p.dblTraceCoef[k]) << k;
    EXPECT_EQ(at<int32_t>(bytes, 422), 17);
    EXPECT_EQ(at<int32_t>(bytes, 426), 70000);
    EXPECT_EQ(at<int32_t>(bytes, 430), -3);
    EXPECT_EQ(at<int32_t>(bytes, 434), 123456);
    EXPECT_EQ(at<int16_t>(bytes, 438), 11);
    EXPECT_EQ(at<int16_t>(bytes, 440), 32767);

    ScanParam back;
    readPrmFile(dir.file("star.prm"), back);
    EXPECT_EQ(back, p);
    EXPECT_EQ(back.intReserved, 0x1234);
    EXPECT_EQ(back.dblTraceCoef[50], p.dblTraceCoef[50]);
}

TEST(ParamFile, NameRuleAndFailedWrites)
{
    TempDir dir;
    ScanParam p;
    dsInitScanParam(p);
    // By position, not by extension.
    EXPECT_EQ(prmFileName(dir.file("night.txt")), dir.file("night.prm"));
    EXPECT_EQ(prmFileName("spectrum.dat"), "spectrum.prm");
    EXPECT_EQ(prmFileName("ab.c"), "aprm");
    EXPECT_EQ(sfWritePrmFile("ab", p), "sfWritePrmFile, 5プロシージャの呼び出し、または引数が不正です。");
    EXPECT_EQ(sfWritePrmFile(dir.file("missing/x.txt"), p),
              "sfWritePrmFile, 76パスが見つかりません。");
    // An older, longer file of that name is replaced whole.
    writeAll(dir.file("old.prm"), std::string(600, 'x'));
    ASSERT_EQ(sfWritePrmFile(dir.file("old.txt"), p), "");
    EXPECT_EQ(readAll(dir.file("old.prm")).size(), 442u);
}

TEST(ScanParamValues, RangesCheckedAsNumbersOffsetsSorted)
{
    ScanParam p;
    dsInitScanParam(p);
    ScanParamValues values = scanParamValues(p);
    EXPECT_EQ(values.scanWidth, 6);
    EXPECT_EQ(values.skyOffsets, (std::array<int64_t, 4>{-20, -10, 10, 20}));
    values.scanWidth = 32767;
    values.skyOffsets = {-32768, 5, -1, 0};
    values.startX = INT32_MIN;
    values.endY = INT32_MAX;
    ASSERT_EQ(sfStoreScanParam(values, p), "");
    EXPECT_EQ(values.skyOffsets, (std::array<int64_t, 4>{-32768, -1, 0, 5}));
    EXPECT_EQ(p.intScanWidth, 32767);
    EXPECT_EQ(p.intSkyStart1, -32768);
    EXPECT_EQ(p.intSkyEnd2, 5);
    EXPECT_EQ(p.lngStartX, INT32_MIN);
    EXPECT_EQ(p.lngEndY, INT32_MAX);

    const ScanParam before = p;
    for (auto spoil : std::initializer_list<void (*)(ScanParamValues&)>{
             [](ScanParamValues& v) { v.scanWidth = 32768; },
             [](ScanParamValues& v) { v.skyOffsets[3] = -32769; },
             [](ScanParamValues& v) { v.skyFitOrder = INT64_MIN; },
             [](ScanParamValues& v) { v.endX = int64_t{INT32_MAX} + 1; }}) {
        ScanParamValues bad = values;
        spoil(bad);
        const ScanParamValues kept = bad;
        EXPECT_EQ(sfStoreScanParam(bad, p), "dsGetScanParam, 6オーバーフローしました。");
        EXPECT_EQ(p, before);
        EXPECT_EQ(bad.skyOffsets, kept.skyOffsets);
    }
    EXPECT_EQ(toWholeSaturated(2.5), 2);
    EXPECT_EQ(toWholeSaturated(-3.5), -4);
    EXPECT_EQ(toWholeSaturated(1e300), INT64_MAX);
    EXPECT_EQ(toWholeSaturated(-1e300), INT64_MIN);
}

class ReferenceScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        shape.width = 200;
        shape.height = 90;
        shape.centre0 = 44;
        image = extracttest::makeFrame(shape);
        info = extracttest::infoOf(image);
        reference.intScanWidth = 5;
        reference.intTraceOrder = 1;
        reference.blnSkySub = -1;
        reference.intSkyStart1 = -20;
        reference.intSkyEnd1 = -10;
        reference.intSkyFitOrder = 1;
        reference.intSkyStart2 = 10;
        reference.intSkyEnd2 = 20;
        reference.dblTraceCoef[0] = 44.25;
        reference.dblTraceCoef[1] = 0.01;
        reference.lngStartX = 5;
        reference.lngEndX = 190;
        reference.lngStartY = 20;
        reference.lngEndY = 70;
    }

    extracttest::FrameShape shape;
    SingleImage image;
    FitsInfo info;
    ScanParam reference;
    NullSpectrumView plotter;
    TempDir dir;
};

TEST_F(ReferenceScan, IgnoresSkySubtractionAndTakesTheWholeRecord)
{
    ASSERT_EQ(sfWritePrmFile(dir.file("ref.txt"), reference), "");
    ScanParam shared;
    dsInitScanParam(shared);
    std::vector<float> xs, ys;
    ASSERT_EQ(sfRefScanDataPro(dir.file("ref.prm"), image, info, shared, xs, ys, plotter), "");
    EXPECT_EQ(shared, reference);
    ASSERT_EQ(xs.size(), 186u);
    ScanParam plain = reference;
    plain.blnSkySub = 0;
    std::vector<float> px, py;
    ASSERT_EQ(sfScanDataPro(plain, image, px, py, plotter), "");
    EXPECT_EQ(xs, px);
    EXPECT_EQ(ys, py);
    EXPECT_EQ(xs.front(), 5.0f);
    EXPECT_EQ(xs.back(), 190.0f);
}

TEST_F(ReferenceScan, RefusalsLeaveTheSpectrumAlone)
{
    const std::vector<float> keepX{1, 2}, keepY{3, 4};
    std::vector<float> xs = keepX, ys = keepY;
    ScanParam shared;
    dsInitScanParam(shared);
    const ScanParam initial = shared;

    // Shorter than the record: refused, record untouched.
    const PrmBytes full = encodeScanParam(reference);
    writeAll(dir.file("short.prm"), std::string(full.begin(), full.end() - 1));
    EXPECT_EQ(sfRefScanDataPro(dir.file("short.prm"), image, info, shared, xs, ys, plotter),
              "sfRefScanDataPro, 62ファイルにこれ以上データがありません。");
    EXPECT_EQ(shared, initial);

    // Larger than the image, in either direction: refused before any
    // column is read, the record keeping what the file said.
    for (int axis = 0; axis < 2; ++axis) {
        ScanParam large = reference;
        (axis == 0 ? large.lngEndX : large.lngEndY) = (axis == 0 ? info.NAXIS1 : info.NAXIS2) + 1;
        ASSERT_EQ(sfWritePrmFile(dir.file("large.txt"), large), "");
        EXPECT_EQ(sfRefScanDataPro(dir.file("large.prm"), image, info, shared, xs, ys, plotter),
                  "参照ファイルが適切ではありません。");
        EXPECT_EQ(shared, large);
    }
    // Every other field out of range, each refused the same way before any
    // column is allocated (a start of -2^31 would need 2^31 columns).
    using Damage = void (*)(ScanParam&);
    for (Damage damage : std::initializer_list<Damage>{
             [](ScanParam& p) { p.lngStartX = INT32_MIN; },
             [](ScanParam& p) { p.lngStartY = -1; },
             [](ScanParam& p) { p.lngStartX = p.lngEndX + 1; },
             [](ScanParam& p) { p.lngStartY = p.lngEndY + 1; },
             [](ScanParam& p) { std::swap(p.intSkyStart1, p.intSkyEnd2); },
             [](ScanParam& p) { p.dblTraceCoef[1] = std::numeric_limits<double>::infinity(); }}) {
        ScanParam bad = reference;
        damage(bad);
        ASSERT_EQ(sfWritePrmFile(dir.file("bad.txt"), bad), "");
        EXPECT_EQ(sfRefScanDataPro(dir.file("bad.prm"), image, info, shared, xs, ys, plotter),
                  "参照ファイルが適切ではありません。");
        EXPECT_EQ(shared, bad);
    }
    // A typed region far outside the image fails at its first column.
    ScanParam typed = reference;
    typed.blnSkySub = 0;
    typed.lngStartX = INT32_MIN;
    EXPECT_EQ(sfScanDataPro(typed, image, xs, ys, plotter), "sfIntegData, 9インデックスが有効範囲にありません。");
    // An end equal to the size passes the check and fails on reading it.
    ScanParam edge = reference;
    edge.lngEndX = info.NAXIS1;
    ASSERT_EQ(sfWritePrmFile(dir.file("edge.txt"), edge), "");
    EXPECT_EQ(sfRefScanDataPro(dir.file("edge.prm"), image, info, shared, xs, ys, plotter),
              "sfIntegData, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(xs, keepX);
    EXPECT_EQ(ys, keepY);
}
