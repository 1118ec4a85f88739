// Radix-2 transform: length rule, indexing from 1, sign and scaling, and the
// values against numpy.fft.
#include "numeric/Fft.h"

#include "PythonReference.h"
#include "platform/BasicError.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace raylen;

namespace {

struct Transform {
    std::string status;
    std::vector<float> re, im;
    int32_t n = -1;
};

Transform run(const std::vector<float>& re, const std::vector<float>& im, double sign)
{
    Transform t;
    t.status = sfSngFFT(re, im, sign, t.re, t.im, t.n);
    return t;
}

// Largest |ours − numpy| over the largest |numpy|, for indices 1 … N.
double compareWithNumpy(const std::vector<float>& re, const std::vector<float>& im, double sign)
{
    const Transform t = run(re, im, sign);
    EXPECT_EQ(t.status, "");
    std::string input;
    for (int32_t j = 0; j < t.n; ++j)
        input += testref::singleText(re[j]) + " " + testref::singleText(im[j]) + "\n";
    const std::vector<double> ref = testref::runReference("fft", sign > 0 ? "1" : "-1", input);
    EXPECT_EQ(ref.size(), 2u * t.n) << "numpy reference failed";
    if (ref.size() != 2u * t.n)
        return INFINITY;
    double worst = 0.0, largest = 0.0;
    for (int32_t k = 0; k < t.n; ++k) {
        largest = std::max(largest, std::hypot(ref[2 * k], ref[2 * k + 1]));
        worst = std::max(worst, std::hypot(t.re[k + 1] - ref[2 * k], t.im[k + 1] - ref[2 * k + 1]));
    }
    return worst / largest;
}

} // namespace

TEST(FourierTransform, LengthIsTheLargestPowerOfTwoNotAboveTheUpperBound)
{
    const std::pair<size_t, int32_t> cases[] = {{8, 4}, {9, 8}, {1024, 512}, {1025, 1024}, {2, 1}, {1, 1}, {3, 2}};
    for (auto [size, expected] : cases) {
        const Transform t = run(std::vector<float>(size, 1.0f), std::vector<float>(size, 0.0f), 1);
        ASSERT_EQ(t.status, "") << size;
        EXPECT_EQ(t.n, expected) << size;
        // Used from index 1 to N; element 0 stays unused.
        ASSERT_EQ(t.re.size(), size_t(expected) + 1);
        ASSERT_EQ(t.im.size(), size_t(expected) + 1);
        EXPECT_EQ(t.re[0], 0.0f);
    }

    // One point is returned unchanged whatever the sign.
    const Transform one = run({3.5f, 99.0f}, {-1.25f, 7.0f}, -1);
    ASSERT_EQ(one.n, 1);
    EXPECT_EQ(one.re[1], 3.5f);
    EXPECT_EQ(one.im[1], -1.25f);

    const std::string subscript = "sfSngFFT, 9" + platform::errorDescription(9);
    EXPECT_EQ(run({}, {}, 1).status, subscript);
    EXPECT_EQ(run(std::vector<float>(9, 1.0f), std::vector<float>(7, 0.0f), 1).status, subscript);
}

TEST(FourierTransform, ConstantSequenceScalesByTheSign)
{
    for (size_t n : {2u, 4u, 64u}) {
        const std::vector<float> re(n + 1, 2.5f), im(n + 1, 0.0f);
        const Transform down = run(re, im, -1);
        ASSERT_EQ(down.n, int32_t(n));
        EXPECT_FLOAT_EQ(down.re[1], 2.5f);
        const Transform up = run(re, im, 1);
        EXPECT_FLOAT_EQ(up.re[1], 2.5f * float(n));
        for (size_t k = 2; k <= n; ++k) {
            EXPECT_NEAR(down.re[k], 0.0f, 1e-6f) << k;
            EXPECT_NEAR(up.re[k], 0.0f, 1e-5f) << k;
            EXPECT_NEAR(down.im[k], 0.0f, 1e-6f) << k;
            EXPECT_NEAR(up.im[k], 0.0f, 1e-5f) << k;
        }
    }
}

TEST(FourierTransform, PureToneLandsInItsBinWithThePositiveExponent)
{
    // exp(−2πi·3j/16) transformed with the positive exponent sums to 16 only
    // at frequency 3, index 4 (index 1 is the zero frequency).
    const size_t n = 16;
    std::vector<float> re(n + 1), im(n + 1);
    for (size_t j = 0; j <= n; ++j) {
        re[j] = float(std::cos(2 * M_PI * 3 * double(j) / n));
        im[j] = float(-std::sin(2 * M_PI * 3 * double(j) / n));
    }
    const Transform t = run(re, im, 1);
    for (size_t k = 1; k <= n; ++k) {
        EXPECT_NEAR(t.re[k], k == 4 ? 16.0f : 0.0f, 2e-5f) << k;
        EXPECT_NEAR(t.im[k], 0.0f, 2e-5f) << k;
    }
}

TEST(FourierTransform, AgreesWithNumpyOnTheFirstNPoints)
{
    std::vector<float> re, im;
    uint32_t state = 7;
    for (int j = 0; j < 1025; ++j) {
        state = state * 1664525u + 1013904223u;
        re.push_back(float(std::sin(j * 0.05) + (state >> 8) / 16777216.0));
        im.push_back(j % 3 == 0 ? 0.0f : float((state & 0xff) / 256.0 - 0.5));
    }
    EXPECT_LT(compareWithNumpy(re, im, 1), 2e-6);
    EXPECT_LT(compareWithNumpy(re, im, -1), 2e-6);
    // 0 … 1023: only the first 512 points enter, no padding.
    re.pop_back();
    im.pop_back();
    EXPECT_LT(compareWithNumpy(re, im, 1), 2e-6);
    // The spectrum plot's call: real data, zero imaginary part.
    std::fill(im.begin(), im.end(), 0.0f);
    EXPECT_LT(compareWithNumpy(re, im, 1), 2e-6);
}
