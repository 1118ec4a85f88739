#include "numeric/WeightedFit.h"

#include "numeric/BandedSolve.h"
#include "numeric/Polynomial.h"

#include <cmath>

namespace raylen {

namespace {

const char* const tooFewPoints = "weightedPolynomialFit, too few points for the order";

// The fit over the points not in `out`; false when the system is singular.
bool solveKept(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& w,
               const std::vector<char>& out, size_t terms, std::vector<double>& a)
{
    // Dense: a half-bandwidth of terms − 1 holds the whole lower triangle.
    BandedSystem normal(terms, terms - 1);
    std::vector<double> rhs(terms, 0.0), powers(terms);
    for (size_t i = 0; i < x.size(); ++i) {
        if (out[i])
            continue;
        double p = 1.0;
        for (size_t k = 0; k < terms; ++k, p *= x[i])
            powers[k] = p;
        for (size_t j = 0; j < terms; ++j) {
            rhs[j] += w[i] * powers[j] * y[i];
            for (size_t k = 0; k <= j; ++k)
                normal.add(j, k, w[i] * powers[j] * powers[k]);
        }
    }
    if (!normal.solve(rhs))
        return false;
    a.swap(rhs);
    return true;
}

} // namespace

std::string weightedPolynomialFit(const std::vector<double>& x, const std::vector<double>& y,
                                  const std::vector<double>& w, int order, const RejectOptions& options,
                                  std::vector<double>& a, std::vector<char>* rejected)
{
    if (order < 0 || y.size() != x.size() || w.size() != x.size())
        return tooFewPoints;
    for (double weight : w)
        if (!(weight > 0) || !std::isfinite(weight))
            return "weightedPolynomialFit, weights must be positive";
    const size_t terms = static_cast<size_t>(order) + 1;
    if (x.size() < terms)
        return tooFewPoints;
    std::vector<char> out(x.size(), 0);
    std::vector<double> coef;
    if (!solveKept(x, y, w, out, terms, coef))
        return tooFewPoints;
    for (int pass = 0; options.enabled() && pass < options.iterations; ++pass) {
        // Residuals in units of their own σ, against their RMS.
        double sumSquares = 0;
        size_t kept = 0;
        for (size_t i = 0; i < x.size(); ++i)
            if (!out[i]) {
                const double r = (y[i] - polynomialValue(coef, x[i])) * std::sqrt(w[i]);
                sumSquares += r * r;
                ++kept;
            }
        const double sigma = std::sqrt(sumSquares / static_cast<double>(kept));
        std::vector<char> next = out;
        size_t removed = 0;
        for (size_t i = 0; i < x.size(); ++i) {
            if (out[i])
                continue;
            const double r = (y[i] - polynomialValue(coef, x[i])) * std::sqrt(w[i]);
            if ((options.low > 0 && r < -options.low * sigma) || (options.high > 0 && r > options.high * sigma)) {
                next[i] = 1;
                ++removed;
            }
        }
        std::vector<double> refit;
        // Too few points left: keep the last good fit.
        if (removed == 0 || kept - removed < terms || !solveKept(x, y, w, next, terms, refit))
            break;
        out.swap(next);
        coef.swap(refit);
    }
    a.swap(coef);
    if (rejected != nullptr)
        rejected->swap(out);
    return {};
}

} // namespace raylen
