// Reading and writing image data: types, scaling, damaged files, padding.
#include "FitsBuilder.h"

#include "fits/FitsData.h"
#include "numeric/OutsideLibrary.h"

using namespace raylen;
using namespace fitstest;
using testsupport::TempDir;

namespace {

struct Opened {
    HeaderCards header;
    FitsInfo info;
    SingleImage image;
    std::string message;
};

Opened openFile(const std::string& path)
{
    Opened o;
    o.message = sfOpenFits(path, o.header, o.info, o.image);
    return o;
}

} // namespace

TEST(FitsData, SixteenBitWithScaleAndOffset)
{
    TempDir dir;
    std::string path = dir.file("s.fit");
    std::vector<int16_t> stored = {-32768, -1, 0, 1, 32767, 100};
    testsupport::writeAll(path, headerBytes(imageCards(16, 3, 2, {valueCard("BSCALE", "2"), valueCard("BZERO", "32768")})) +
                                    padded(bigEndian(stored)));
    Opened o = openFile(path);
    ASSERT_EQ(o.message, "");
    EXPECT_EQ(o.image(0, 0), -32768.0f); // −32768 × 2 + 32768
    EXPECT_EQ(o.image(1, 0), 32766.0f);
    EXPECT_EQ(o.image(2, 0), 32768.0f);
    EXPECT_EQ(o.image(0, 1), 32770.0f);
    EXPECT_EQ(o.image(1, 1), 98302.0f);
    EXPECT_EQ(o.image(2, 1), 32968.0f);
}

TEST(FitsData, ThirtyTwoBitAndFloatData)
{
    TempDir dir;
    std::string path = dir.file("l.fit");
    std::vector<int32_t> longs = {-2147483647 - 1, 2147483647, 7, -7};
    testsupport::writeAll(path, headerBytes(imageCards(32, 2, 2)) + padded(bigEndian(longs)));
    Opened o = openFile(path);
    ASSERT_EQ(o.message, "");
    EXPECT_EQ(o.image(0, 0), -2147483648.0f);
    EXPECT_EQ(o.image(1, 0), 2147483648.0f);
    EXPECT_EQ(o.image(0, 1), 7.0f);
    std::vector<float> floats = {1.5f, -0.25f, 3.0e-30f, 6562.8f};
    testsupport::writeAll(path, headerBytes(imageCards(-32, 4, 1)) + padded(bigEndian(floats)));
    o = openFile(path);
    ASSERT_EQ(o.message, "");
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(o.image(x, 0), floats[static_cast<size_t>(x)]);
}

TEST(FitsData, RefusedTypesKeepTheOpenImage)
{
    TempDir dir;
    std::string good = dir.file("good.fit");
    testsupport::writeAll(good, headerBytes(imageCards(-32, 1, 1)) + padded(bigEndian(std::vector<float>{42.0f})));
    Opened o = openFile(good);
    ASSERT_EQ(o.message, "");
    struct Case {
        int bitpix;
        std::string message;
    };
    for (const Case& c : {Case{8, "8bit符号なし整数データはサポートしていません"},
                          Case{-64, "64bit倍精度浮動小数点データはサポートしていません"},
                          Case{64, "sfOpenFits, データ型が分かりません"}, Case{12, "sfOpenFits, データ型が分かりません"}}) {
        std::string path = dir.file("bad.fit");
        testsupport::writeAll(path, headerBytes(imageCards(c.bitpix, 1, 1)) + padded(std::string(8, '\0')));
        EXPECT_EQ(sfOpenFits(path, o.header, o.info, o.image), c.message);
        EXPECT_EQ(o.info.BITPIX, -32);
        EXPECT_EQ(o.image(0, 0), 42.0f);
    }
}

TEST(FitsData, DataCutShortAreRefusedMissingPaddingIsNot)
{
    TempDir dir;
    std::vector<int16_t> values(100);
    for (int i = 0; i < 100; ++i)
        values[static_cast<size_t>(i)] = static_cast<int16_t>(i * 3);
    std::string header = headerBytes(imageCards(16, 10, 10));
    std::string path = dir.file("t.fit");
    // Complete data without the final padding: accepted.
    testsupport::writeAll(path, header + bigEndian(values));
    Opened o = openFile(path);
    ASSERT_EQ(o.message, "");
    EXPECT_EQ(o.image(9, 9), 297.0f);
    // One value short (and one byte short): the converter's subscript error.
    std::string data = bigEndian(values);
    for (size_t cut : {size_t(2), size_t(1)}) {
        testsupport::writeAll(path, header + data.substr(0, data.size() - cut));
        o = openFile(path);
        EXPECT_EQ(o.message, "sfConvertInt2DSng, 9インデックスが有効範囲にありません。");
        EXPECT_TRUE(o.image.empty());
    }
    std::vector<float> floats(100, 1.0f);
    testsupport::writeAll(path, headerBytes(imageCards(-32, 10, 10)) + bigEndian(floats).substr(0, 396));
    EXPECT_EQ(openFile(path).message, "sfConvertSng2DSng, 9インデックスが有効範囲にありません。");
    testsupport::writeAll(path, headerBytes(imageCards(32, 10, 10)));
    EXPECT_EQ(openFile(path).message, "sfConvertLng2DSng, 9インデックスが有効範囲にありません。");
    // A one-dimensional file has no NAXIS2: its upper bound −1 fails.
    std::vector<std::string> oneAxis = {valueCard("SIMPLE", "T"), valueCard("BITPIX", "16"), valueCard("NAXIS", "1"),
                                        valueCard("NAXIS1", "10"), card("END")};
    testsupport::writeAll(path, headerBytes(oneAxis) + padded(bigEndian(std::vector<int16_t>(10, 1))));
    EXPECT_EQ(openFile(path).message, "sfConvertInt2DSng, 9インデックスが有効範囲にありません。");
}

TEST(FitsData, WritingPadsToWholeBlocksAndReplacesTheFile)
{
    TempDir dir;
    std::string path = dir.file("w.fit");
    for (auto [w, h, zeros] : {std::tuple{36, 20, 0}, std::tuple{721, 1, 719}}) {
        SingleImage image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image(x, y) = static_cast<float>(x - 2 * y) * 0.5f;
        HeaderCards cards = imageCards(16, w, h, {valueCard("BZERO", "32768"), valueCard("BSCALE", "1")});
        // A larger old file must leave nothing behind.
        testsupport::writeAll(path, std::string(100000, 'x'));
        ASSERT_EQ(sfSaveImgSng(path, cards, image), "");
        std::string bytes = testsupport::readAll(path);
        size_t values = static_cast<size_t>(w) * h;
        EXPECT_EQ(bytes.size(), 2880 + (values + static_cast<size_t>(zeros)) * 4);
        EXPECT_EQ(bytes.size() % 2880, 0u);
        EXPECT_EQ(bytes.substr(2880 + values * 4), std::string(static_cast<size_t>(zeros) * 4, '\0'));
        // The cards in memory keep the edit and the padding.
        EXPECT_EQ(cards.size(), 36u);
        EXPECT_EQ(cards[1], valueCard("BITPIX", "-32"));
        EXPECT_EQ(cards[5], valueCard("BZERO", "0"));
        EXPECT_EQ(cards[35], std::string(80, ' '));
        Opened o = openFile(path);
        ASSERT_EQ(o.message, "");
        EXPECT_EQ(o.info.BITPIX, -32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(o.image(x, y), image(x, y));
    }
}

TEST(FitsData, FailedSaveKeepsTheOldFile)
{
    TempDir dir;
    std::string path = dir.file("keep.fit");
    testsupport::writeAll(path, "old contents");
    SingleImage small(2, 2);
    HeaderCards cards = imageCards(-32, 3, 3); // the header says more than the image holds
    EXPECT_EQ(sfWriteFitsSng(path, cards, small), "sfWriteFitsSng, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(testsupport::readAll(path), "old contents");
    EXPECT_EQ(sfWriteFitsSng(dir.file("no/such/dir.fit"), imageCards(-32, 2, 2), small),
              "sfWriteFitsSng, 76パスが見つかりません。");
}

TEST(FitsData, MissingByteOrderLibrary)
{
    TempDir dir;
    std::string path = dir.file("s.fit");
    testsupport::writeAll(path, headerBytes(imageCards(16, 1, 1)) + padded(bigEndian(std::vector<int16_t>{5})));
    setOutsideLibraryPath("");
    Opened o = openFile(path);
    setOutsideLibraryPath(nullptr);
    EXPECT_EQ(o.message, "sfConvertInt2DSng, 48DLL 読み込み時のエラーです。");
    EXPECT_EQ(openFile(path).message, "");
}
