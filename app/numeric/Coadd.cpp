#include "numeric/Coadd.h"

#include "numeric/Resample.h"

#include <algorithm>
#include <cmath>

namespace raylen {

std::string sfCoadd(const std::vector<CoaddInput>& inputs, double step, CoaddResult& result)
{
    if (inputs.size() < 2)
        return "スペクトルが2つ以上必要です";
    double start = -HUGE_VAL, end = HUGE_VAL, finest = HUGE_VAL;
    bool weighted = true;
    for (const CoaddInput& in : inputs) {
        if (in.x.size() < 2 || in.y.size() != in.x.size())
            return "データ点が2点以上必要です";
        start = std::max(start, static_cast<double>(in.x.front()));
        end = std::min(end, static_cast<double>(in.x.back()));
        finest = std::min(finest, (static_cast<double>(in.x.back()) - in.x.front()) / static_cast<double>(in.x.size() - 1));
        weighted = weighted && in.sigma.size() == in.x.size();
    }
    if (!(end > start))
        return "スペクトルに共通の範囲がありません";
    // The grid as resample makes it, from the common start to the common end.
    EvenScale scale = defaultEvenScale({static_cast<float>(start), static_cast<float>(end)}, step > 0 ? step : finest);
    scale.start = start;
    if (!(scale.step > 0) || scale.count < 1)
        return "刻みは正の数で指定してください";

    const size_t m = static_cast<size_t>(scale.count);
    std::vector<double> sum(m, 0.0), weights(m, 0.0), plainSum(m, 0.0), varianceSum(m, 0.0);
    std::vector<char> unweighted(m, 0);
    std::vector<float> gridX;
    for (const CoaddInput& in : inputs) {
        std::vector<float> y, sigma;
        std::string message = resampleFlux(in.x, in.y, scale, gridX, y);
        if (message.empty() && weighted)
            message = resampleUncertainty(in.x, in.sigma, scale, sigma);
        if (!message.empty())
            return message;
        for (size_t j = 0; j < m; ++j) {
            plainSum[j] += y[j];
            if (!weighted)
                continue;
            const double s = sigma[j];
            varianceSum[j] += s * s;
            // A point without a usable uncertainty cannot be weighted.
            if (s > 0 && std::isfinite(s)) {
                sum[j] += y[j] / (s * s);
                weights[j] += 1.0 / (s * s);
            } else {
                unweighted[j] = 1;
            }
        }
    }
    CoaddResult out;
    out.scale = scale;
    out.x = gridX;
    out.y.resize(m);
    if (weighted)
        out.sigma.resize(m);
    const double n = static_cast<double>(inputs.size());
    for (size_t j = 0; j < m; ++j) {
        if (weighted && !unweighted[j]) {
            out.y[j] = static_cast<float>(sum[j] / weights[j]);
            out.sigma[j] = static_cast<float>(1.0 / std::sqrt(weights[j]));
        } else {
            out.y[j] = static_cast<float>(plainSum[j] / n);
            if (weighted)
                out.sigma[j] = static_cast<float>(std::sqrt(varianceSum[j]) / n);
        }
    }
    result = std::move(out);
    return {};
}

} // namespace raylen
