#include "numeric/Resample.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

// Fewer steps than one Single's rounding are taken as whole.
constexpr double countSlack = 1e-6;
constexpr long maximumCount = 100000000;

// Bin edges: midpoints, the outer ones half a step beyond the ends.
std::vector<double> binEdges(const std::vector<float>& x)
{
    const size_t n = x.size();
    std::vector<double> edges(n + 1);
    for (size_t i = 1; i < n; ++i)
        edges[i] = 0.5 * (static_cast<double>(x[i - 1]) + x[i]);
    edges[0] = x[0] - (edges[1] - x[0]);
    edges[n] = x[n - 1] + (x[n - 1] - edges[n - 1]);
    return edges;
}

// The piecewise-constant spectrum with the cumulative integral at every
// edge. A NaN or infinite value would carry into every later sum, so the
// sums skip it (finite input sums exactly as before) and an interval that
// overlaps such a value is integrated bin by bin instead: the bad value
// reaches only the intervals that overlap its bin.
struct Binned {
    const std::vector<float>& y;
    std::vector<double> edges;
    std::vector<double> sum;
    std::vector<size_t> bad; // non-finite values before each edge

    Binned(const std::vector<float>& x, const std::vector<float>& values)
        : y(values), edges(binEdges(x)), sum(edges.size(), 0.0), bad(edges.size(), 0)
    {
        for (size_t i = 0; i < y.size(); ++i) {
            const bool finite = std::isfinite(y[i]);
            sum[i + 1] = sum[i] + (finite ? static_cast<double>(y[i]) * (edges[i + 1] - edges[i]) : 0.0);
            bad[i + 1] = bad[i] + (finite ? 0 : 1);
        }
    }

    double finiteY(size_t k) const { return std::isfinite(y[k]) ? static_cast<double>(y[k]) : 0.0; }

    // Integral from the first edge up to t (clamped to the data).
    double integralTo(double t) const
    {
        if (t <= edges.front())
            return 0.0;
        if (t >= edges.back())
            return sum.back();
        size_t k = static_cast<size_t>(std::upper_bound(edges.begin(), edges.end(), t) - edges.begin()) - 1;
        return sum[k] + finiteY(k) * (t - edges[k]);
    }

    // Integral from a to b, both inside the data, a < b.
    double integral(double a, double b) const
    {
        const size_t first = static_cast<size_t>(std::upper_bound(edges.begin(), edges.end(), a) - edges.begin()) - 1;
        const size_t end = static_cast<size_t>(std::lower_bound(edges.begin(), edges.end(), b) - edges.begin());
        if (bad[end] == bad[first])
            return integralTo(b) - integralTo(a);
        double total = 0.0;
        for (size_t k = first; k < end; ++k)
            total += static_cast<double>(y[k]) * (std::min(b, edges[k + 1]) - std::max(a, edges[k]));
        return total;
    }
};

} // namespace

EvenScale defaultEvenScale(const std::vector<float>& x, double step)
{
    EvenScale scale;
    if (x.size() < 2)
        return scale;
    const double span = static_cast<double>(x.back()) - x.front();
    scale.start = x.front();
    scale.step = step > 0 ? step : span / static_cast<double>(x.size() - 1);
    if (scale.step > 0)
        scale.count = static_cast<long>(std::floor(span / scale.step + countSlack)) + 1;
    return scale;
}

double integrateFlux(const std::vector<float>& x, const std::vector<float>& y, double a, double b)
{
    if (x.size() < 2 || x.size() != y.size())
        return 0.0;
    const Binned binned(x, y);
    if (a > b)
        return -integrateFlux(x, y, b, a);
    const double lo = std::max(a, binned.edges.front()), hi = std::min(b, binned.edges.back());
    return hi > lo ? binned.integral(lo, hi) : 0.0;
}

std::string resampleFlux(const std::vector<float>& x, const std::vector<float>& y, const EvenScale& scale,
                         std::vector<float>& outX, std::vector<float>& outY)
{
    if (x.size() < 2 || x.size() != y.size())
        return "データ点が2点以上必要です";
    if (!(scale.step > 0) || !std::isfinite(scale.step) || !std::isfinite(scale.start))
        return "刻みは正の数で指定してください";
    if (scale.count < 1 || scale.count > maximumCount)
        return "点数が範囲外です";
    for (size_t i = 1; i < x.size(); ++i)
        if (!(x[i] > x[i - 1]))
            return "Xが昇順ではありません";
    const Binned binned(x, y);
    const std::vector<double>& edges = binned.edges;
    std::vector<float> rx(static_cast<size_t>(scale.count)), ry(static_cast<size_t>(scale.count));
    for (long j = 0; j < scale.count; ++j) {
        const double centre = scale.start + static_cast<double>(j) * scale.step;
        const double lo = std::max(centre - 0.5 * scale.step, edges.front());
        const double hi = std::min(centre + 0.5 * scale.step, edges.back());
        rx[static_cast<size_t>(j)] = static_cast<float>(centre);
        ry[static_cast<size_t>(j)] =
            hi > lo ? static_cast<float>(binned.integral(lo, hi) / (hi - lo)) : 0.0f;
    }
    outX.swap(rx);
    outY.swap(ry);
    return {};
}

std::string resampleUncertainty(const std::vector<float>& x, const std::vector<float>& sigma,
                                const EvenScale& scale, std::vector<float>& outSigma)
{
    // The same checks as the flux, so both fail or succeed together.
    std::vector<float> unusedX, unusedY;
    if (std::string message = resampleFlux(x, sigma, scale, unusedX, unusedY); !message.empty())
        return message;
    const std::vector<double> edges = binEdges(x);
    std::vector<float> out(static_cast<size_t>(scale.count));
    for (long j = 0; j < scale.count; ++j) {
        const double centre = scale.start + static_cast<double>(j) * scale.step;
        const double lo = std::max(centre - 0.5 * scale.step, edges.front());
        const double hi = std::min(centre + 0.5 * scale.step, edges.back());
        if (!(hi > lo))
            continue;
        size_t k = static_cast<size_t>(std::upper_bound(edges.begin(), edges.end(), lo) - edges.begin()) - 1;
        double variance = 0.0, weight = 0.0;
        for (; k < sigma.size() && edges[k] < hi; ++k) {
            const double w = std::min(hi, edges[k + 1]) - std::max(lo, edges[k]);
            if (w <= 0)
                continue;
            variance += w * w * static_cast<double>(sigma[k]) * sigma[k];
            weight += w;
        }
        out[static_cast<size_t>(j)] = weight > 0 ? static_cast<float>(std::sqrt(variance) / weight) : 0.0f;
    }
    outSigma.swap(out);
    return {};
}

} // namespace raylen
