#include "gauss_solver.h"

#include <algorithm>
#include <cmath>

namespace gaussfit {

namespace {

constexpr int kParameters = 4;
// Nielsen's damping: the start relative to the largest scaled column
// norm, and the least factor an accepted step shrinks the damping by.
constexpr double kInitialDamping = 1.0e-3;
constexpr double kLeastShrink = 0.333333333333333;
// Rejected steps in a row before the iteration reports no progress.
constexpr int kRejectLimit = 15;

double get(const Parameters& p, int k)
{
    const double v[kParameters] = {p.a, p.b, p.c, p.d};
    return v[k];
}

Parameters plus(const Parameters& p, const double step[kParameters])
{
    return {p.a + step[0], p.b + step[1], p.c + step[2], p.d + step[3]};
}

// Solves (JᵀJ + μ·D²)·v = −g by Cholesky on the stack; false when the
// matrix is not numerically positive definite.
bool dampedStep(const NormalSums& s, const double diag[kParameters], double mu, double v[kParameters])
{
    double l[kParameters][kParameters] = {};
    for (int i = 0; i < kParameters; ++i)
        for (int j = 0; j <= i; ++j) {
            double sum = s.jtj[i][j] + (i == j ? mu * diag[i] * diag[i] : 0.0);
            for (int k = 0; k < j; ++k)
                sum -= l[i][k] * l[j][k];
            if (i == j) {
                if (!(sum > 0.0))
                    return false;
                l[i][i] = std::sqrt(sum);
            } else {
                l[i][j] = sum / l[j][j];
            }
        }
    double w[kParameters];
    for (int i = 0; i < kParameters; ++i) {
        double sum = -s.g[i];
        for (int k = 0; k < i; ++k)
            sum -= l[i][k] * w[k];
        w[i] = sum / l[i][i];
    }
    for (int i = kParameters - 1; i >= 0; --i) {
        double sum = w[i];
        for (int k = i + 1; k < kParameters; ++k)
            sum -= l[k][i] * v[k];
        v[i] = sum / l[i][i];
    }
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]) && std::isfinite(v[3]);
}

// vᵀ·JᵀJ·v from the lower triangle.
double quadratic(const NormalSums& s, const double v[kParameters])
{
    double sum = 0.0;
    for (int i = 0; i < kParameters; ++i) {
        sum += s.jtj[i][i] * v[i] * v[i];
        for (int j = 0; j < i; ++j)
            sum += 2.0 * s.jtj[i][j] * v[i] * v[j];
    }
    return sum;
}

} // namespace

double profile(double b, double dx)
{
    const double exponent = b * dx * dx;
    return exponent > kNegligibleExponent ? 0.0 : std::exp(-exponent);
}

double Profiles::residuals(const Samples& s, const Parameters& p)
{
    e.resize(s.n);
    r.resize(s.n);
    // Locals, so that the stores to e and r need not reload them.
    const float* x = s.x;
    const float* y = s.y;
    double* profiles = e.data();
    double* residual = r.data();
    const double a = p.a, b = p.b, c = p.c, d = p.d;
    double cost = 0;
    for (size_t i = 0; i < s.n; ++i) {
        const double ei = profile(b, static_cast<double>(x[i]) - c);
        const double ri = a * ei + d - static_cast<double>(y[i]);
        profiles[i] = ei;
        residual[i] = ri;
        cost += ri * ri;
    }
    return cost;
}

NormalSums Profiles::sums(const Samples& s, const Parameters& p, double cost) const
{
    // Two interleaved lanes of every sum: the compiler keeps each pair in
    // one register, and the pass costs half the additions in a row.
    constexpr size_t lanes = 2;
    constexpr size_t kSums = 13; // JᵀJ below the diagonal and on it (but D's), Jᵀf
    double acc[kSums][lanes] = {};
    const double twoAB = 2.0 * p.a * p.b;
    size_t i = 0;
    auto add = [&](size_t k, size_t lane) {
        const double dx = static_cast<double>(s.x[k]) - p.c;
        const double ek = e[k], rk = r[k];
        const double j1 = -p.a * dx * dx * ek, j2 = twoAB * dx * ek;
        const double terms[kSums] = {ek * ek, j1 * ek, j1 * j1, j2 * ek, j2 * j1, j2 * j2, ek,
                                     j1,      j2,      ek * rk, j1 * rk, j2 * rk, rk};
        for (size_t t = 0; t < kSums; ++t)
            acc[t][lane] += terms[t];
    };
    for (; i + lanes <= s.n; i += lanes)
        for (size_t lane = 0; lane < lanes; ++lane)
            add(i + lane, lane);
    for (; i < s.n; ++i)
        add(i, 0);
    auto total = [&](size_t t) { return acc[t][0] + acc[t][1]; };
    NormalSums out{};
    out.jtj[0][0] = total(0);
    out.jtj[1][0] = total(1);
    out.jtj[1][1] = total(2);
    out.jtj[2][0] = total(3);
    out.jtj[2][1] = total(4);
    out.jtj[2][2] = total(5);
    out.jtj[3][0] = total(6);
    out.jtj[3][1] = total(7);
    out.jtj[3][2] = total(8);
    out.jtj[3][3] = static_cast<double>(s.n);
    for (size_t k = 0; k < 4; ++k)
        out.g[k] = total(9 + k);
    out.cost = cost;
    return out;
}

Solver::Solver(const Samples& s, const Parameters& start, Profiles& scratch)
    : s_(s), p_(start), scratch_(scratch), nu_(2)
{
    sums_ = scratch_.sums(s_, p_, scratch_.residuals(s_, p_));
    // Moré's scaling starts from the column norms (an all-zero column counts
    // as one); the damping from the largest column norm after that scaling.
    double largest = -1.0;
    for (int k = 0; k < kParameters; ++k) {
        const double norm = std::sqrt(sums_.jtj[k][k]);
        diag_[k] = norm == 0.0 ? 1.0 : norm;
        largest = std::max(largest, norm / diag_[k]);
    }
    mu_ = kInitialDamping * largest * largest;
}

Solver::Step Solver::iterate()
{
    for (int rejected = 0;;) {
        double v[kParameters];
        double rho = -1.0;
        bool accepted = false;
        Parameters trial = p_;
        double trialCost = 0;
        if (dampedStep(sums_, diag_, mu_, v)) {
            trial = plus(p_, v);
            trialCost = scratch_.residuals(s_, trial);
            // A trial no better than the current point is rejected outright;
            // otherwise the actual reduction is weighed against the one the
            // damped linear model predicts.
            if (!(trialCost >= sums_.cost)) {
                double dv = 0.0;
                for (int k = 0; k < kParameters; ++k)
                    dv += diag_[k] * v[k] * diag_[k] * v[k];
                const double actual = 1.0 - trialCost / sums_.cost;
                const double predicted = (quadratic(sums_, v) + 2.0 * mu_ * dv) / sums_.cost;
                rho = predicted > 0.0 ? actual / predicted : -1.0;
            }
            accepted = !(rho <= 0.0);
        }
        if (accepted) {
            // The Jacobian's sums only for the point taken.
            p_ = trial;
            sums_ = scratch_.sums(s_, p_, trialCost);
            for (int k = 0; k < kParameters; ++k) {
                lastStep_[k] = v[k];
                const double norm = std::sqrt(sums_.jtj[k][k]);
                diag_[k] = std::max(diag_[k], norm == 0.0 ? 1.0 : norm);
            }
            const double b = 2.0 * rho - 1.0;
            const double shrink = 1.0 - b * b * b;
            mu_ *= kLeastShrink > shrink ? kLeastShrink : shrink;
            nu_ = 2;
            return kAccepted;
        }
        mu_ *= static_cast<double>(nu_);
        nu_ *= 2;
        if (++rejected > kRejectLimit)
            return kNoProgress;
    }
}

bool Solver::converged(double xtol, double gtol) const
{
    bool smallStep = true;
    for (int k = 0; k < kParameters; ++k)
        smallStep = smallStep && std::fabs(lastStep_[k]) < xtol * xtol + xtol * std::fabs(get(p_, k));
    if (smallStep)
        return true;
    double gradient = 0.0;
    for (int k = 0; k < kParameters; ++k)
        gradient = std::max(gradient, std::fabs(std::max(get(p_, k), 1.0) * sums_.g[k]));
    return gradient <= gtol * std::max(0.5 * sums_.cost, 1.0);
}

} // namespace gaussfit
