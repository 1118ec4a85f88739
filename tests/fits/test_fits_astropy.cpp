// Our reader and writer against astropy's.
#include "FitsBuilder.h"

#include "fits/FitsData.h"

#include <cmath>
#include <sstream>

using namespace raylen;
using testsupport::TempDir;

namespace {

// Values astropy computed, one per line, as repr() of a float32.
std::vector<float> parseValues(const std::string& text)
{
    std::vector<float> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty())
            values.push_back(std::strtof(line.c_str(), nullptr));
    return values;
}

} // namespace

TEST(FitsAstropy, FilesWrittenByAstropyReadTheSame)
{
    TempDir dir;
    std::string script = R"(
import numpy as np
from astropy.io import fits
rng = np.random.default_rng(7)
folder = ')" + dir.path() + R"('
u16 = rng.integers(0, 65536, size=(13, 17), dtype=np.uint16)
fits.PrimaryHDU(u16).writeto(folder + '/u16.fit', overwrite=True)
i32 = rng.integers(-2**31, 2**31 - 1, size=(5, 7), dtype=np.int64).astype(np.int32)
hdu = fits.PrimaryHDU(i32)
hdu.header['BSCALE'] = 0.5
hdu.header['BZERO'] = 1000.0
hdu.writeto(folder + '/i32.fit', overwrite=True)
f32 = (rng.standard_normal((9, 11)) * 1e3).astype(np.float32)
fits.PrimaryHDU(f32).writeto(folder + '/f32.fit', overwrite=True)
for name in ('u16', 'i32', 'f32'):
    with fits.open(folder + '/' + name + '.fit', do_not_scale_image_data=True) as f:
        raw = f[0].data
        bscale = f[0].header.get('BSCALE', 1.0)
        bzero = f[0].header.get('BZERO', 0.0)
    physical = (raw.astype(np.float64) * bscale + bzero).astype(np.float32)
    with open(folder + '/' + name + '.txt', 'w') as out:
        for v in physical.ravel():
            out.write(repr(float(v)) + '\n')
print('ok')
)";
    ASSERT_EQ(testsupport::python(script, dir), "ok\n");
    for (std::string name : {"u16", "i32", "f32"}) {
        HeaderCards cards;
        FitsInfo info;
        SingleImage image;
        ASSERT_EQ(sfOpenFits(dir.file(name + ".fit"), cards, info, image), "") << name;
        std::vector<float> expected = parseValues(testsupport::readAll(dir.file(name + ".txt")));
        ASSERT_EQ(expected.size(), image.size()) << name;
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(image.data()[i], expected[i]) << name << " value " << i;
    }
}

TEST(FitsAstropy, FilesWeWriteReadTheSameInAstropy)
{
    TempDir dir;
    SingleImage image(23, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 23; ++x)
            image(x, y) = std::ldexp(static_cast<float>(x * 31 - y * 17), y - 3) + 0.1f * static_cast<float>(x);
    HeaderCards cards = fitstest::imageCards(16, 23, 7,
                                             {fitstest::valueCard("BSCALE", "1"), fitstest::valueCard("BZERO", "32768"),
                                              testsupport::card("OBJECT  = 'HD 1'             / target")});
    ASSERT_EQ(sfSaveImgSng(dir.file("ours.fit"), cards, image), "");
    std::string script = R"(
import numpy as np
from astropy.io import fits
import os
path = ')" + dir.file("ours.fit") + R"('
with fits.open(path) as f:
    h = f[0].header
    d = f[0].data
    assert h['BITPIX'] == -32, h['BITPIX']
    assert h['OBJECT'] == 'HD 1'
    print(len(f), d.dtype.name, d.shape, os.path.getsize(path) % 2880, f[0]._data_offset)
    for v in d.ravel():
        print(repr(float(v)))
)";
    std::string output = testsupport::python(script, dir);
    std::istringstream in(output);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "1 float32 (7, 23) 0 2880");
    std::string rest((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> values = parseValues(rest);
    ASSERT_EQ(values.size(), image.size());
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(values[i], image.data()[i]) << i;
}

TEST(FitsAstropy, TwoBlockHeaderWithEndtimeReadsAndSavesWhole)
{
    // ENDTIME in the first block must not end the header: the data start
    // after the second block, and our save keeps every card and the END.
    TempDir dir;
    std::string script = R"(
import numpy as np
from astropy.io import fits
folder = ')" + dir.path() + R"('
data = (30000 + np.arange(12, dtype=np.int32).reshape(3, 4) * 90).astype(np.int16)
hdu = fits.PrimaryHDU(data)
hdu.header['ENDTIME'] = '12:34:56'
for i in range(40):
    hdu.header.add_history('step %d' % i)
hdu.writeto(folder + '/frame.fit', overwrite=True)
print('ok')
)";
    ASSERT_EQ(testsupport::python(script, dir), "ok\n");
    HeaderCards cards;
    FitsInfo info;
    SingleImage image;
    ASSERT_EQ(sfOpenFits(dir.file("frame.fit"), cards, info, image), "");
    EXPECT_GT(info.HeaderN, 36);
    EXPECT_EQ(image(0, 0), 30000.0f);
    EXPECT_EQ(image(3, 2), 30990.0f);
    ASSERT_EQ(sfSaveImgSng(dir.file("saved.fit"), cards, image), "");
    std::string check = R"(
from astropy.io import fits
with fits.open(')" + dir.file("saved.fit") + R"(') as f:
    h = f[0].header
    print(h['ENDTIME'], len(h['HISTORY']), f[0].data[2, 3])
)";
    EXPECT_EQ(testsupport::python(check, dir), "12:34:56 40 30990.0\n");
}
