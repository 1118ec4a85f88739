#pragma once
// Levenberg-Marquardt for the four parameters of A·exp(−B·(x − C)²) + D.
//
// The Jacobian is analytic and only its 4 × 4 normal matrix is kept: one
// pass over the samples per trial point gives the cost, JᵀJ and Jᵀf
// together, so a step costs one exp() per sample and no n × 4 matrix.
// The damping follows Nielsen's rule with Moré's column scaling, and the
// convergence test is the usual pair: a relative step below xtol or a
// gradient below gtol · max(½‖f‖², 1).
#include <cstddef>
#include <vector>

namespace gaussfit {

struct Parameters {
    double a, b, c, d;
};

struct Samples {
    const float* x;
    const float* y;
    size_t n;
};

// exp(−B·dx²), with exponents beyond this taken as zero: the profile is
// below 1e-304 of its height there, and exp() is slow on its underflow
// path in the wings of a narrow line in a long window.
constexpr double kNegligibleExponent = 700.0;

double profile(double b, double dx);

// Sums over the samples at one parameter point.
struct NormalSums {
    double jtj[4][4]; // JᵀJ, lower triangle filled
    double g[4];      // Jᵀf
    double cost;      // ‖f‖²
};

// The profile and residual at every sample for one parameter point: the
// pass with the exp() calls, which is all a rejected trial needs; the
// Jacobian's sums are then formed from it for accepted points only.
struct Profiles {
    std::vector<double> e, r;
    double residuals(const Samples& s, const Parameters& p); // returns ‖f‖²
    NormalSums sums(const Samples& s, const Parameters& p, double cost) const;
};

class Solver {
public:
    enum Step { kAccepted, kNoProgress };

    // scratch is the solver's workspace while it lives (kept by the caller,
    // so that fit after fit reuses its memory).
    Solver(const Samples& s, const Parameters& start, Profiles& scratch);

    // One accepted step, or kNoProgress after too many rejected ones in a row.
    Step iterate();
    bool converged(double xtol, double gtol) const;

    const Parameters& position() const { return p_; }
    double cost() const { return sums_.cost; }

private:
    Samples s_;
    Parameters p_;
    Profiles& scratch_;
    NormalSums sums_{};
    double diag_[4];
    double lastStep_[4] = {};
    double mu_;
    long nu_;
};

} // namespace gaussfit
