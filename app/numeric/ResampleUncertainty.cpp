#include "numeric/ResampleUncertainty.h"

#include <algorithm>
#include <cmath>

namespace raylen {

std::string resampleUncertainty(const std::vector<float>& x, const std::vector<float>& sigma,
                                const EvenScale& scale, std::vector<float>& outSigma)
{
    if (x.size() < 2 || x.size() != sigma.size())
        return "データ点が2点以上必要です";
    if (!(scale.step > 0) || scale.count < 1)
        return "刻みは正の数で指定してください";
    // Input bins between the midpoints, as the flux resampling takes them.
    const size_t n = x.size();
    std::vector<double> edges(n + 1);
    for (size_t i = 1; i < n; ++i)
        edges[i] = 0.5 * (static_cast<double>(x[i - 1]) + x[i]);
    edges[0] = x[0] - (edges[1] - x[0]);
    edges[n] = x[n - 1] + (x[n - 1] - edges[n - 1]);
    std::vector<float> out(static_cast<size_t>(scale.count));
    size_t first = 0;
    for (long j = 0; j < scale.count; ++j) {
        const double centre = scale.start + static_cast<double>(j) * scale.step;
        const double lo = std::max(centre - 0.5 * scale.step, edges.front());
        const double hi = std::min(centre + 0.5 * scale.step, edges.back());
        if (!(hi > lo))
            continue;
        while (first + 1 < n && edges[first + 1] <= lo)
            ++first;
        double sum = 0, weights = 0;
        for (size_t i = first; i < n && edges[i] < hi; ++i) {
            const double w = std::min(hi, edges[i + 1]) - std::max(lo, edges[i]);
            if (w <= 0)
                continue;
            sum += w * w * static_cast<double>(sigma[i]) * sigma[i];
            weights += w;
        }
        out[static_cast<size_t>(j)] = weights > 0 ? static_cast<float>(std::sqrt(sum) / weights) : 0.0f;
    }
    outSigma.swap(out);
    return {};
}

} // namespace raylen
