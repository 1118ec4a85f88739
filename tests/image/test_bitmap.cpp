// The display bitmap: exact bytes, grey mapping, limits.
#include "../support/TestSupport.h"

#include "display/Bitmap.h"
#include <cmath>
#include "image/ImageCut.h"
#include "numeric/Statistics.h"

using namespace raylen;

namespace {

std::string le32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
    return s;
}

std::string le16(uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

// The 54 header bytes written out field by field.
std::string expectedHeader(uint32_t w, uint32_t h, uint32_t rowBytes)
{
    return "BM" + le32(h * rowBytes + 54) + le16(0) + le16(0) + le32(54) + le32(40) + le32(w) + le32(h) + le16(1) +
           le16(24) + le32(0) + le32(h * rowBytes) + le32(0) + le32(0) + le32(0) + le32(0);
}

std::string asString(const BitmapBytes& b) { return std::string(b.begin(), b.end()); }

} // namespace

TEST(Bitmap, WidthThreeRowsArePaddedToTwelveBytes)
{
    GreyImage grey(3, 2);
    grey(0, 0) = 1, grey(1, 0) = 2, grey(2, 0) = 3; // top row
    grey(0, 1) = 10, grey(1, 1) = 20, grey(2, 1) = 30;
    BitmapBytes bytes;
    ASSERT_EQ(sfWriteBitMap(grey, 3, 2, bytes), "");
    std::string zeros(3, '\0');
    // Bottom-up: image row 1 is stored first.
    std::string expected = expectedHeader(3, 2, 12) + std::string("\x0a\x0a\x0a\x14\x14\x14\x1e\x1e\x1e", 9) + zeros +
                           std::string("\x01\x01\x01\x02\x02\x02\x03\x03\x03", 9) + zeros;
    EXPECT_EQ(asString(bytes), expected);
}

TEST(Bitmap, WidthFourNeedsNoPadding)
{
    GreyImage grey(4, 1);
    for (int x = 0; x < 4; ++x)
        grey(x, 0) = static_cast<uint8_t>(200 + x);
    BitmapBytes bytes;
    ASSERT_EQ(sfWriteBitMap(grey, 4, 1, bytes), "");
    EXPECT_EQ(asString(bytes), expectedHeader(4, 1, 12) + std::string("\xc8\xc8\xc8\xc9\xc9\xc9\xca\xca\xca\xcb\xcb\xcb", 12));
    EXPECT_EQ(bitmapRowBytes(1), 4);
    EXPECT_EQ(bitmapRowBytes(5), 16);
}

TEST(Bitmap, GreyLevelsRoundHalvesToEvenAndClip)
{
    SingleImage image(6, 1);
    float values[] = {0.5f, 1.5f, 2.5f, -7.0f, 1e9f, std::nanf("")};
    for (int x = 0; x < 6; ++x)
        image(x, 0) = values[x];
    float maximum = 255, minimum = 0;
    BitmapBytes bytes;
    ASSERT_EQ(sfCreateBitMap(image, 6, 1, maximum, minimum, bytes, false), "");
    const uint8_t* pixels = bytes.data() + 54;
    uint8_t expected[] = {0, 2, 2, 0, 255, 0};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(pixels[3 * x], expected[x]) << x;
    // Minimum above maximum: everything ends at the maximum, all white.
    maximum = 10, minimum = 20;
    ASSERT_EQ(sfCreateBitMap(image, 6, 1, maximum, minimum, bytes, false), "");
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(bytes[54 + 3 * static_cast<size_t>(x)], 255);
}

TEST(Bitmap, AutomaticLimits)
{
    SingleImage flat(4, 4);
    for (size_t i = 0; i < flat.size(); ++i)
        flat.data()[i] = 5.0f;
    float maximum = 0, minimum = 0;
    BitmapBytes bytes;
    ASSERT_EQ(sfCreateBitMap(flat, 4, 4, maximum, minimum, bytes, true), "");
    EXPECT_EQ(maximum, 1000.0f);
    EXPECT_EQ(minimum, 100.0f);
    EXPECT_EQ(bytes[54], 0);

    SingleImage ramp(2001, 1);
    for (int x = 0; x <= 2000; ++x)
        ramp(x, 0) = static_cast<float>(x - 50);
    ASSERT_EQ(sfCreateBitMap(ramp, 2001, 1, maximum, minimum, bytes, true), "");
    EXPECT_EQ(minimum, 0.0f);
    EXPECT_EQ(maximum, 195.0f);
    EXPECT_EQ(bytes.size(), 54u + 6004u);
}

TEST(ImageCut, ProfilesAlongXAndY)
{
    SingleImage image(20, 200);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 20; ++x)
            image(x, y) = static_cast<float>(x * 1000 + y);
    std::vector<float> xs, ys;
    ASSERT_EQ(sfImplotData(image, 0, 10, 14, 100, 101, xs, ys), "");
    ASSERT_EQ(xs.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(xs[static_cast<size_t>(i)], 10.0f + static_cast<float>(i));
        EXPECT_EQ(ys[static_cast<size_t>(i)], (10 + i) * 1000.0f + 100.5f);
    }
    ASSERT_EQ(sfImplotData(image, -1, 7, 7, 3, 6, xs, ys), "");
    ASSERT_EQ(ys.size(), 4u);
    EXPECT_EQ(xs[0], 3.0f);
    EXPECT_EQ(ys[3], 7006.0f);
    EXPECT_EQ(sfImplotData(image, 0, 14, 10, 0, 0, xs, ys), "sfImplotData, 9インデックスが有効範囲にありません。");
    EXPECT_EQ(xs.size(), 4u);
}

namespace {

// The per-pixel definition: the limits' running fold and one grey level per
// pixel, one row after another.
void scalarMinMax(const SingleImage& a, float& lo, float& hi)
{
    lo = 1e10f;
    hi = -1e10f;
    for (size_t i = 0; i < a.size(); ++i) {
        const float v = a.data()[i];
        lo = v >= lo ? lo : v;
        hi = v > hi ? v : hi;
    }
}

uint8_t scalarGrey(float v, float low, float high)
{
    if (!(v >= low))
        v = low;
    if (v > high)
        v = high;
    return static_cast<uint8_t>(std::nearbyint((static_cast<double>(v) - low) * (255.0 / (double(high) - low))));
}

} // namespace

TEST(Bitmap, LargeFramesGiveThePerPixelBytesAndLimits)
{
    // Over a megapixel, so the work is split between cores; wide enough
    // that rows end in padding.
    const int32_t w = 1201, h = 1003;
    SingleImage image(w, h);
    uint64_t state = 7;
    for (size_t i = 0; i < image.size(); ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        image.data()[i] = static_cast<float>(static_cast<int64_t>(state >> 40) % 5000 - 100) * 0.37f;
    }
    struct Case {
        const char* what;
        std::vector<std::pair<size_t, float>> set;
    };
    const float nan = std::nanf("");
    const std::vector<Case> cases = {
        {"plain", {}},
        {"NaN early", {{5, nan}}},
        {"NaN last", {{image.size() - 1, nan}}},
        {"NaN then beyond 1e10", {{image.size() / 2, nan}, {image.size() / 2 + 1, 3e10f}}},
        {"-0 before +0 as the minimum", {{10, -0.0f}, {image.size() - 3, 0.0f}}},
    };
    for (const Case& c : cases) {
        SingleImage frame = image;
        if (std::string(c.what).find("-0") != std::string::npos)
            for (size_t i = 0; i < frame.size(); ++i)
                frame.data()[i] = std::fabs(frame.data()[i]) + 1;
        for (auto [i, v] : c.set)
            frame.data()[i] = v;
        float lo = 0, hi = 0, refLo = 0, refHi = 0;
        ASSERT_EQ(sfMinMax2D(frame, lo, hi), "");
        scalarMinMax(frame, refLo, refHi);
        EXPECT_EQ(std::signbit(lo), std::signbit(refLo)) << c.what;
        EXPECT_TRUE(lo == refLo || (std::isnan(lo) && std::isnan(refLo))) << c.what << " " << lo << " " << refLo;
        EXPECT_TRUE(hi == refHi || (std::isnan(hi) && std::isnan(refHi))) << c.what;

        float maximum = 0, minimum = 0;
        BitmapBytes bytes;
        ASSERT_EQ(sfCreateBitMap(frame, w, h, maximum, minimum, bytes, true), "") << c.what;
        const int32_t r = bitmapRowBytes(w);
        ASSERT_EQ(bytes.size(), 54u + static_cast<size_t>(r) * h);
        size_t wrong = 0;
        for (int32_t y = 0; y < h; ++y) {
            const uint8_t* row = bytes.data() + 54 + static_cast<size_t>(h - 1 - y) * r;
            for (int32_t x = 0; x < w; ++x) {
                const uint8_t g = scalarGrey(frame(x, y), minimum, maximum);
                wrong += row[3 * x] != g || row[3 * x + 1] != g || row[3 * x + 2] != g;
            }
            for (int32_t k = 3 * w; k < r; ++k)
                wrong += row[k] != 0;
        }
        EXPECT_EQ(wrong, 0u) << c.what;
    }
}
