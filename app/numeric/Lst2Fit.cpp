#include "numeric/Lst2Fit.h"

#include "platform/BasicError.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>

namespace raylen {

namespace {

// Number of different X values, two values counting as one when they differ
// by less than the rounding of a Single at the largest magnitude present.
size_t distinctValues(const std::vector<float>& x, size_t count)
{
    std::vector<double> sorted(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(count));
    std::sort(sorted.begin(), sorted.end());
    if (sorted.empty())
        return 0;
    const double tolerance = 2.0 * FLT_EPSILON * std::max(std::fabs(sorted.front()), std::fabs(sorted.back()));
    size_t distinct = 1;
    double last = sorted.front();
    for (double v : sorted)
        if (v - last > tolerance) {
            ++distinct;
            last = v;
        }
    return distinct;
}

// Upper-triangular R (m × m, row-major) and Qᵀy of the scaled Vandermonde
// matrix, built one point at a time by Givens rotations: one pass over the
// points and O(m²) memory whatever their number.
struct TriangularSystem {
    explicit TriangularSystem(size_t m) : m(m), r(m * m, 0.0), z(m, 0.0), row(m) {}

    void addPoint(double t, double y)
    {
        double power = 1.0;
        for (size_t j = 0; j < m; ++j, power *= t)
            row[j] = power;
        for (size_t k = 0; k < m; ++k) {
            if (row[k] == 0.0)
                continue;
            double& diagonal = r[k * m + k];
            const double h = std::hypot(diagonal, row[k]);
            const double c = diagonal / h, s = row[k] / h;
            diagonal = h;
            for (size_t j = k + 1; j < m; ++j) {
                const double rj = r[k * m + j];
                r[k * m + j] = c * rj + s * row[j];
                row[j] = -s * rj + c * row[j];
            }
            const double zk = z[k];
            z[k] = c * zk + s * y;
            y = -s * zk + c * y;
        }
    }

    size_t m;
    std::vector<double> r, z, row;
};

// Least-squares solution of R·u = z by Householder QR with column pivoting
// (R is small and square). Directions whose pivot falls below `tolerance`
// relative to the first are dropped, which keeps very high orders finite
// where the monomial basis is numerically singular.
std::vector<double> solvePivoted(std::vector<double> r, std::vector<double> z, size_t m, double tolerance)
{
    std::vector<size_t> column(m);
    std::iota(column.begin(), column.end(), size_t{0});
    auto at = [&](size_t i, size_t j) -> double& { return r[i * m + j]; };
    size_t rank = 0;
    for (size_t k = 0; k < m; ++k) {
        size_t best = k;
        double bestNorm = -1.0;
        for (size_t j = k; j < m; ++j) {
            double norm = 0.0;
            for (size_t i = k; i < m; ++i)
                norm += at(i, j) * at(i, j);
            if (norm > bestNorm) {
                bestNorm = norm;
                best = j;
            }
        }
        if (best != k) {
            for (size_t i = 0; i < m; ++i)
                std::swap(at(i, k), at(i, best));
            std::swap(column[k], column[best]);
        }
        double alpha = std::sqrt(bestNorm);
        if (alpha == 0.0)
            break;
        if (at(k, k) > 0.0)
            alpha = -alpha;
        std::vector<double> v(m - k);
        for (size_t i = k; i < m; ++i)
            v[i - k] = at(i, k);
        v[0] -= alpha;
        double vv = 0.0;
        for (double e : v)
            vv += e * e;
        if (vv > 0.0) {
            for (size_t j = k + 1; j < m; ++j) {
                double dot = 0.0;
                for (size_t i = k; i < m; ++i)
                    dot += v[i - k] * at(i, j);
                const double f = 2.0 * dot / vv;
                for (size_t i = k; i < m; ++i)
                    at(i, j) -= f * v[i - k];
            }
            double dot = 0.0;
            for (size_t i = k; i < m; ++i)
                dot += v[i - k] * z[i];
            const double f = 2.0 * dot / vv;
            for (size_t i = k; i < m; ++i)
                z[i] -= f * v[i - k];
        }
        at(k, k) = alpha;
        for (size_t i = k + 1; i < m; ++i)
            at(i, k) = 0.0;
        if (std::fabs(alpha) <= tolerance * std::fabs(at(0, 0)))
            break;
        rank = k + 1;
    }
    std::vector<double> reduced(rank), u(m, 0.0);
    for (size_t k = rank; k-- > 0;) {
        double sum = z[k];
        for (size_t j = k + 1; j < rank; ++j)
            sum -= at(k, j) * reduced[j];
        reduced[k] = sum / at(k, k);
    }
    for (size_t k = 0; k < rank; ++k)
        u[column[k]] = reduced[k];
    return u;
}

// Coefficients b of t = (x − centre) / scale turned into those of x: divide
// by scale^j, then shift the origin by repeated synthetic division. Extended
// precision keeps the cancellation of the shift out of the last digits.
std::vector<double> toMonomials(const std::vector<double>& b, double centre, double scale)
{
    const size_t m = b.size();
    std::vector<long double> e(m);
    long double factor = 1.0L;
    for (size_t j = 0; j < m; ++j, factor /= scale)
        e[j] = static_cast<long double>(b[j]) * factor;
    const long double shift = -static_cast<long double>(centre);
    for (size_t i = 0; i + 1 < m; ++i)
        for (size_t j = m - 1; j-- > i;)
            e[j] += shift * e[j + 1];
    std::vector<double> a(m);
    for (size_t j = 0; j < m; ++j) {
        a[j] = static_cast<double>(e[j]);
        if (!std::isfinite(a[j]))
            platform::raise(platform::errOverflow);
    }
    return a;
}

} // namespace

std::string sfLst2Fit(const std::vector<float>& x, const std::vector<float>& y, int order, std::vector<double>& a)
{
    return platform::trapErrors("sfLst2Fit", [&] {
        if (order > 101)
            order = 100; // 101 itself is accepted
        if (order < 0)
            platform::raise(platform::errSubscript);
        const size_t points = x.size();
        if (y.size() < points)
            platform::raise(platform::errSubscript);
        for (size_t i = 0; i < points; ++i)
            if (!std::isfinite(x[i]) || !std::isfinite(y[i]))
                platform::raise(platform::errOverflow);
        const size_t m = static_cast<size_t>(order) + 1;
        if (distinctValues(x, points) < m)
            platform::raise(platform::errDivisionByZero);

        const auto [lowest, highest] = std::minmax_element(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(points));
        const double centre = 0.5 * (static_cast<double>(*lowest) + *highest);
        double scale = 0.5 * (static_cast<double>(*highest) - *lowest);
        if (scale == 0.0)
            scale = 1.0; // a single distinct X only allows order 0
        TriangularSystem system(m);
        for (size_t i = 0; i < points; ++i)
            system.addPoint((x[i] - centre) / scale, y[i]);
        const double tolerance = static_cast<double>(std::max(points, m)) * DBL_EPSILON;
        a = toMonomials(solvePivoted(std::move(system.r), std::move(system.z), m, tolerance), centre, scale);
    });
}

} // namespace raylen
