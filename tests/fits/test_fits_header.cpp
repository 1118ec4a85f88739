// Header cards: END position, block arithmetic, value look-up, editing.
#include "FitsBuilder.h"

#include "fits/FitsData.h"
#include "fits/FitsHeader.h"

using namespace raylen;
using namespace fitstest;
using testsupport::TempDir;

namespace {

std::vector<std::string> cardsWithEndAt(int endIndex)
{
    std::vector<std::string> cards = imageCards(16, 4, 3);
    cards.pop_back();
    while (static_cast<int>(cards.size()) < endIndex)
        cards.push_back(card("COMMENT filler"));
    cards.push_back(card("END"));
    return cards;
}

} // namespace

TEST(FitsHeader, EndOnCard35And36DecidesWhereTheDataBegin)
{
    TempDir dir;
    std::vector<int16_t> values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (int endIndex : {35, 36}) {
        std::string path = dir.file("h" + std::to_string(endIndex) + ".fit");
        std::string header = headerBytes(cardsWithEndAt(endIndex));
        testsupport::writeAll(path, header + padded(bigEndian(values)));
        FitsInfo info;
        ASSERT_EQ(sfGetHeaderEndInFile(path, info), "");
        EXPECT_EQ(info.HeaderN, endIndex + 1);
        EXPECT_EQ(header.size(), endIndex == 35 ? 2880u : 5760u);
        HeaderCards cards;
        SingleImage image;
        ASSERT_EQ(sfOpenFits(path, cards, info, image), "");
        EXPECT_EQ(image(0, 0), 1.0f);
        EXPECT_EQ(image(3, 2), 12.0f);
        EXPECT_EQ(cards.size(), static_cast<size_t>(endIndex + 1));
    }
    int32_t records = 0, blocks = 0;
    for (auto [cards, expected] : {std::pair{10, 36}, {36, 36}, {37, 72}, {54, 72}, {40000, 40032}}) {
        ASSERT_EQ(sfCalcHeaderRecodeN(cards, records), "");
        EXPECT_EQ(records, expected);
        ASSERT_EQ(sfCalcHeaderTapeN(cards, blocks), "");
        EXPECT_EQ(blocks, expected / 36);
    }
}

TEST(FitsHeader, LongHeadersOpenAndAFileWithoutEndOverflows)
{
    TempDir dir;
    // Far past the 410 cards a 16-bit byte position once allowed.
    std::string path = dir.file("long.fit");
    std::vector<int16_t> values = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    testsupport::writeAll(path, headerBytes(cardsWithEndAt(1500)) + padded(bigEndian(values)));
    FitsInfo info;
    ASSERT_EQ(sfGetHeaderEndInFile(path, info), "");
    EXPECT_EQ(info.HeaderN, 1501);
    HeaderCards cards;
    SingleImage image;
    ASSERT_EQ(sfOpenFits(path, cards, info, image), "");
    EXPECT_EQ(cards.size(), 1501u);
    EXPECT_EQ(image(3, 2), 12.0f);
    // No END at all, long or short: the overflow error, as always.
    for (size_t count : {450u, 1u}) {
        testsupport::writeAll(path, headerBytes(std::vector<std::string>(count, card("COMMENT no end"))));
        EXPECT_EQ(sfGetHeaderEndInFile(path, info), "sfGetHeaderEndInFile, 6オーバーフローしました。");
    }
    EXPECT_EQ(sfGetHeaderEndInFile(dir.file("missing.fit"), info), "sfGetHeaderEndInFile, 53ファイルが見つかりません。");
}

TEST(FitsHeader, OnlyTheKeywordEndAloneEndsTheHeader)
{
    // Two blocks, as astropy writes them: ENDTIME, ENDSCAN and a blank-led
    // " END" are ordinary cards; the data follow the second block.
    std::vector<std::string> extra = {valueCard("ENDTIME", "'12:00:00'"), valueCard("ENDSCAN", "3")};
    for (int i = 0; i < 32; ++i)
        extra.push_back(card("COMMENT filler"));
    extra.push_back(card(" END"));
    std::vector<std::string> cards = imageCards(16, 4, 3, extra);
    ASSERT_EQ(cards.size(), 41u);
    std::vector<int16_t> values = {30000, 30100, 30200, 30300, 30400, 30500,
                                   30600, 30700, 30800, 30900, 31000, 31100};
    TempDir dir;
    const std::string path = dir.file("endtime.fit");
    testsupport::writeAll(path, headerBytes(cards) + padded(bigEndian(values)));
    FitsInfo info;
    HeaderCards read;
    SingleImage image;
    ASSERT_EQ(sfOpenFits(path, read, info, image), "");
    EXPECT_EQ(info.HeaderN, 41);
    EXPECT_EQ(read[5], cards[5]);
    EXPECT_EQ(image(0, 0), 30000.0f);
    EXPECT_EQ(image(3, 2), 31100.0f);
    EXPECT_TRUE(isEndCard("END"));
    EXPECT_TRUE(isEndCard(card("END")));
    EXPECT_FALSE(isEndCard(card("ENDTIME = 1")));
    EXPECT_FALSE(isEndCard(card(" END")));
}

TEST(FitsHeader, DescriptionRecordFromTheValueField)
{
    HeaderCards cards = imageCards(-32, 10, 20, {card("BITPIX  =                   16"), valueCard("BSCALE", "1.5E-01"),
                                                 valueCard("BZERO", "-100.25")});
    FitsInfo info;
    ASSERT_EQ(sfInputHeader(cards, info), "");
    EXPECT_EQ(info.BITPIX, -32); // the first BITPIX card wins
    EXPECT_EQ(info.SIMPLE, "T");
    EXPECT_EQ(info.NAXIS, 2);
    EXPECT_EQ(info.NAXIS1, 10);
    EXPECT_EQ(info.NAXIS2, 20);
    EXPECT_DOUBLE_EQ(info.BSCALE, 0.15);
    EXPECT_DOUBLE_EQ(info.BZERO, -100.25);

    HeaderCards plain = imageCards(16, 1, 1);
    ASSERT_EQ(sfInputHeader(plain, info), "");
    EXPECT_EQ(info.BSCALE, 1.0);
    EXPECT_EQ(info.BZERO, 0.0);
    HeaderCards zeroScale = imageCards(16, 1, 1, {valueCard("BSCALE", "0")});
    ASSERT_EQ(sfInputHeader(zeroScale, info), "");
    EXPECT_EQ(info.BSCALE, 1.0);
    // A keyword after END is not seen; the END card's blank value field is.
    HeaderCards afterEnd = imageCards(16, 1, 1);
    afterEnd.push_back(valueCard("BZERO", "5"));
    ASSERT_EQ(sfInputHeader(afterEnd, info), "");
    EXPECT_EQ(info.BZERO, 0.0);
    std::string value;
    ASSERT_EQ(sfCompKeyWord("OBJECT", afterEnd, 6, value), "");
    EXPECT_EQ(value, std::string(20, ' '));

    HeaderCards wide = imageCards(16, 40000, 10);
    EXPECT_EQ(sfInputHeader(wide, info), "sfInputHeader, 6オーバーフローしました。");
}

TEST(FitsHeader, CommentCardsBeforeEnd)
{
    HeaderCards cards = imageCards(16, 2, 2);
    std::string c71(71, 'a'), c72 = std::string(70, 'b') + "cd";
    ASSERT_EQ(sfAddComent(c71, cards), "");
    ASSERT_EQ(sfAddComent(c72, cards), "");
    ASSERT_EQ(cards.size(), 8u);
    EXPECT_EQ(cards[5], "COMMENT " + c71 + " ");
    EXPECT_EQ(cards[6], "COMMENT " + std::string(70, 'b') + "  ");
    EXPECT_EQ(cards[7], "END" + std::string(77, ' '));
    // Padding cards after END are dropped with the extension.
    cards.push_back(std::string(80, ' '));
    ASSERT_EQ(sfAddComent("dark: d.fit", cards), "");
    EXPECT_EQ(cards.size(), 9u);
    EXPECT_EQ(cards[8].substr(0, 3), "END");
    for (const std::string& c : cards)
        EXPECT_EQ(c.size(), 80u);
}

TEST(FitsHeader, EditingAValueKeepsTheCommentColumns)
{
    HeaderCards cards = {card("BITPIX  =                   16 / bits per pixel"), card("BZERO   = 32768"),
                         card("END")};
    ASSERT_EQ(sfEditHdrValueLng(cards, "BITPIX", -32), "");
    EXPECT_EQ(cards[0], card("BITPIX  =                  -32 / bits per pixel"));
    ASSERT_EQ(sfEditHdrValueLng(cards, "BZERO", 0), "");
    EXPECT_EQ(cards[1], card("BZERO   =                    0"));
    HeaderCards before = cards;
    ASSERT_EQ(sfEditHdrValueLng(cards, "BSCALE", 1), "");
    EXPECT_EQ(cards, before);
}

TEST(HeaderCard, ValuesAsStringsAndNumbersFoundBeforeEnd)
{
    EXPECT_EQ(cardValue(card("OBJECT  = 'It''s M 1 '   / target")), "It's M 1");
    EXPECT_EQ(cardValue(card("EXPTIME =                 1.5D2 / seconds")), "1.5D2");
    EXPECT_EQ(cardNumber("1.5D2"), 150.0);
    EXPECT_EQ(cardNumber("-32"), -32.0);
    EXPECT_FALSE(cardNumber("12 apples").has_value());
    EXPECT_FALSE(cardNumber("1E999").has_value());
    EXPECT_EQ(cardValueField("BITPIX  ="), std::string(valueField, ' '));
    EXPECT_TRUE(cardHasValue(card("NAXIS   = 2")));
    EXPECT_FALSE(cardHasValue(card("HISTORY   x")));
    EXPECT_TRUE(isEndCard(card("END")));
    EXPECT_FALSE(isEndCard(card("ENDTIME = 3")));

    const HeaderCards cards = {card("DATE-OBS  old style"), card("DATE-OBS= '2001-02-03'"), card("END"),
                               card("AIRMASS = 1.2")};
    ASSERT_NE(findValueCard(cards, "DATE-OBS"), nullptr);
    EXPECT_EQ(findValueCard(cards, "DATE-OBS"), &cards[1]);
    EXPECT_EQ(findValueCard(cards, "AIRMASS"), nullptr);
}
