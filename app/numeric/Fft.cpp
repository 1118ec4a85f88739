#include "numeric/Fft.h"

#include "platform/BasicError.h"

#include <cmath>
#include <utility>

namespace raylen {

namespace {

// Points 1 … N of v: a NaN or infinite point is replaced by the straight
// line between its nearest finite neighbours (at an end, by the nearest
// finite point), since every output of the transform depends on every input
// and one bad point would leave nothing finite. Finite input is untouched;
// input without a finite point stays as it is.
void bridgeNonFinite(std::vector<float>& v, size_t N)
{
    size_t previous = 0; // the last finite point so far, 0 for none
    for (size_t i = 1; i <= N; ++i) {
        if (!std::isfinite(v[i]))
            continue;
        if (i > previous + 1) {
            for (size_t k = previous + 1; k < i; ++k)
                v[k] = previous == 0 ? v[i]
                                     : static_cast<float>(v[previous] + (static_cast<double>(v[i]) - v[previous]) *
                                                                           static_cast<double>(k - previous) /
                                                                           static_cast<double>(i - previous));
        }
        previous = i;
    }
    if (previous != 0)
        for (size_t k = previous + 1; k <= N; ++k)
            v[k] = v[previous];
}

} // namespace

std::string sfSngFFT(const std::vector<float>& re, const std::vector<float>& im, double sign,
                     std::vector<float>& outRe, std::vector<float>& outIm, int32_t& n)
{
    return platform::trapErrors("sfSngFFT", [&] {
        // The length rule works on the upper bound, so an empty input
        // (upper bound −1) still asks for one point and faults reading it.
        const int64_t upper = static_cast<int64_t>(re.size()) - 1;
        int64_t length = 0;
        for (int i = 1; i <= 32; ++i)
            if ((int64_t{1} << i) > upper) {
                length = int64_t{1} << (i - 1);
                break;
            }
        if (length == 0 || static_cast<int64_t>(re.size()) < length || static_cast<int64_t>(im.size()) < length)
            platform::raise(platform::errSubscript);
        const size_t N = static_cast<size_t>(length);

        std::vector<float> r(N + 1, 0.0f), m(N + 1, 0.0f);
        for (size_t j = 0; j < N; ++j) {
            r[j + 1] = re[j];
            m[j + 1] = im[j];
        }
        bridgeNonFinite(r, N);
        bridgeNonFinite(m, N);

        // Butterflies with the twiddle index k advancing in bit-reversed
        // order from group to group; one sine and cosine per group.
        const double theta = 8.0 * std::atan(1.0) / static_cast<double>(N);
        for (size_t h = N / 2; h > 0; h /= 2) {
            size_t k = 0;
            for (size_t g = 1; g <= N; g += 2 * h) {
                size_t t = N / 4;
                const double c = std::cos(static_cast<double>(k) * theta);
                const double s = std::sin(sign * theta * static_cast<double>(k));
                for (size_t i = g; i < g + h; ++i) {
                    const size_t j = i + h;
                    const float xr = static_cast<float>(r[j] * c - m[j] * s);
                    const float xi = static_cast<float>(m[j] * c + r[j] * s);
                    r[j] = r[i] - xr;
                    m[j] = m[i] - xi;
                    r[i] = r[i] + xr;
                    m[i] = m[i] + xi;
                }
                while (t > 0 && k >= t) {
                    k -= t;
                    t /= 2;
                }
                k += t;
            }
        }

        if (!(sign >= 0.0)) {
            const float count = static_cast<float>(N);
            for (size_t i = 1; i <= N; ++i) {
                r[i] /= count;
                m[i] /= count;
            }
        }

        // Bit-reversal into natural order.
        size_t j = 1;
        for (size_t i = 1; i < N; ++i) {
            if (j >= i) {
                std::swap(r[i], r[j]);
                std::swap(m[i], m[j]);
            }
            size_t half = N / 2;
            while (half < j && half > 0) {
                j -= half;
                half /= 2;
            }
            j += half;
        }

        outRe.swap(r);
        outIm.swap(m);
        n = static_cast<int32_t>(N);
    });
}

} // namespace raylen
