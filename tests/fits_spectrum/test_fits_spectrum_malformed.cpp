// Damaged one-dimensional FITS spectra: sizes that wrap past 2^64, counts
// beyond any integer, tables without WAVE, and END-like keywords.
#include "fits/FitsSpectrum.h"

#include "../support/TestSupport.h"

using namespace raylen;
using testsupport::card;
using testsupport::TempDir;

namespace {

std::string valueCard(const std::string& key, const std::string& value)
{
    std::string k = key;
    k.resize(8, ' ');
    return card(k + "= " + value);
}

std::string block(std::vector<std::string> cards)
{
    std::string bytes;
    for (const std::string& c : cards)
        bytes += card(c);
    bytes += card("END");
    bytes.resize((bytes.size() + 2879) / 2880 * 2880, ' ');
    return bytes;
}

const std::string emptyPrimary = block({valueCard("SIMPLE", "T"), valueCard("BITPIX", "8"),
                                        valueCard("NAXIS", "0"), valueCard("EXTEND", "T")});

// A binary table after an empty primary, with one 8-byte row of data.
std::string tableFile(const std::string& naxis1, const std::string& naxis2, const std::string& wave,
                      const std::string& waveForm = "'E'")
{
    std::string table = block({valueCard("XTENSION", "'BINTABLE'"), valueCard("BITPIX", "8"),
                               valueCard("NAXIS", "2"), valueCard("NAXIS1", naxis1), valueCard("NAXIS2", naxis2),
                               valueCard("PCOUNT", "0"), valueCard("GCOUNT", "1"), valueCard("TFIELDS", "2"),
                               valueCard("TTYPE1", wave), valueCard("TFORM1", waveForm),
                               valueCard("TTYPE2", "'FLUX'"), valueCard("TFORM2", "'E'")});
    std::string data("\x45\x7a\x00\x00\x3f\x80\x00\x00", 8); // 4000.0, 1.0
    data.resize(2880, '\0');
    return emptyPrimary + table + data;
}

struct Reading {
    bool isSpectrum;
    std::string message;
    std::vector<float> x{-1}, y{-1};
};

Reading readAs(const TempDir& dir, const std::string& bytes)
{
    const std::string path = dir.file("s.fits");
    testsupport::writeAll(path, bytes);
    Reading r;
    r.isSpectrum = isFitsSpectrumFile(path);
    r.message = sfOpenFitsSpectrum(path, r.x, r.y);
    return r;
}

} // namespace

TEST(FitsSpectrumDamaged, SizesThatWrapPast2To64AreRefusedBeforeAnyRead)
{
    TempDir dir;
    // The well-formed table reads.
    Reading good = readAs(dir, tableFile("8", "1", "'WAVE'"));
    ASSERT_TRUE(good.isSpectrum);
    ASSERT_EQ(good.message, "");
    EXPECT_EQ(good.x, std::vector<float>{4000.0f});
    // Row width 2^44 times 2^20 rows is 2^64: zero once wrapped.
    Reading wrapped = readAs(dir, tableFile("17592186044416", "1048576", "'WAVE'"));
    EXPECT_TRUE(wrapped.isSpectrum);
    EXPECT_EQ(wrapped.message, "FITSファイルが壊れています");
    EXPECT_EQ(wrapped.x, std::vector<float>{-1}); // left as it was
    // A primary image of 2^40 × 2^24 bytes, which wraps to nothing, before
    // a valid table: not skipped to the table.
    std::string bigPrimary = block({valueCard("SIMPLE", "T"), valueCard("BITPIX", "8"), valueCard("NAXIS", "2"),
                                    valueCard("NAXIS1", "1099511627776"), valueCard("NAXIS2", "16777216")});
    std::string valid = tableFile("8", "1", "'WAVE'");
    Reading skipped = readAs(dir, bigPrimary + valid.substr(2880));
    EXPECT_FALSE(skipped.isSpectrum);
    EXPECT_EQ(skipped.message, "1次元FITSスペクトルではありません");
}

TEST(FitsSpectrumDamaged, RepeatCountsBeyondAnyIntegerAreRefused)
{
    TempDir dir;
    for (std::string form : {"'99999999999999999999E'", "'18446744073709551615E'", "'4611686018427387904E'"}) {
        Reading r = readAs(dir, tableFile("8", "1", "'WAVE'", form));
        EXPECT_TRUE(r.isSpectrum) << form;
        EXPECT_EQ(r.message, "FITSファイルが壊れています") << form;
    }
    // A column of a type the reader skips by size (a variable-length
    // descriptor) is fine beside WAVE and FLUX; as WAVE it is unsupported.
    Reading descriptor = readAs(dir, tableFile("12", "1", "'WAVE'", "'1PE(4)'"));
    EXPECT_EQ(descriptor.message, "WAVE, FLUX列の形式はサポートしていません");
}

TEST(FitsSpectrumDamaged, TableWithoutWaveSaysSo)
{
    TempDir dir;
    Reading r = readAs(dir, tableFile("8", "1", "'LAMBDA'"));
    EXPECT_TRUE(r.isSpectrum); // so the reader, not the image reader, answers
    EXPECT_EQ(r.message, "WAVE, FLUX列がありません");
}

TEST(FitsSpectrumDamaged, EndtimeDoesNotEndTheHeader)
{
    // A one-dimensional image whose ENDTIME card is the last card of the
    // first block: the header goes on into the second block.
    std::vector<std::string> cards = {valueCard("SIMPLE", "T"), valueCard("BITPIX", "-32"),
                                      valueCard("NAXIS", "1"), valueCard("NAXIS1", "2")};
    while (cards.size() < 35)
        cards.push_back(card("COMMENT filler"));
    cards.push_back(valueCard("ENDTIME", "'12:00:00'"));
    cards.push_back(valueCard("CRVAL1", "5000.0"));
    cards.push_back(valueCard("CDELT1", "2.0"));
    std::string data("\x3f\x80\x00\x00\x40\x00\x00\x00", 8); // 1.0, 2.0
    data.resize(2880, '\0');
    TempDir dir;
    Reading r = readAs(dir, block(cards) + data);
    ASSERT_EQ(r.message, "");
    EXPECT_EQ(r.x, (std::vector<float>{5000.0f, 5002.0f}));
    EXPECT_EQ(r.y, (std::vector<float>{1.0f, 2.0f}));
}
