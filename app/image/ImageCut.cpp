#include "image/ImageCut.h"

#include "platform/BasicError.h"

using platform::trapErrors;

namespace raylen {

std::string sfImplotData(const SingleImage& sngData, int16_t intDirct, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                         int32_t lngY2, std::vector<float>& sngDataX, std::vector<float>& sngDataY)
{
    return trapErrors("sfImplotData", [&] {
        if (lngX2 < lngX1 || lngY2 < lngY1)
            platform::raise(platform::errSubscript);
        if (!sngData.contains(lngX1, lngY1) || !sngData.contains(lngX2, lngY2))
            platform::raise(platform::errSubscript);
        const bool alongX = intDirct == 0;
        const int32_t first = alongX ? lngX1 : lngY1, last = alongX ? lngX2 : lngY2;
        std::vector<float> xs(static_cast<size_t>(last - first) + 1);
        std::vector<double> sums(xs.size(), 0.0);
        // Rows are contiguous: both directions walk the region row by row.
        for (int32_t y = lngY1; y <= lngY2; ++y) {
            const float* row = &sngData(lngX1, y);
            if (alongX) {
                for (int32_t x = 0; x <= lngX2 - lngX1; ++x)
                    sums[static_cast<size_t>(x)] += row[x];
            } else {
                double sum = 0.0;
                for (int32_t x = 0; x <= lngX2 - lngX1; ++x)
                    sum += row[x];
                sums[static_cast<size_t>(y - lngY1)] = sum;
            }
        }
        const double n = alongX ? static_cast<double>(lngY2) - lngY1 + 1 : static_cast<double>(lngX2) - lngX1 + 1;
        std::vector<float> ys(xs.size());
        for (size_t i = 0; i < xs.size(); ++i) {
            xs[i] = static_cast<float>(first + static_cast<int64_t>(i));
            ys[i] = static_cast<float>(sums[i] / n);
        }
        sngDataX.swap(xs);
        sngDataY.swap(ys);
    });
}

} // namespace raylen
