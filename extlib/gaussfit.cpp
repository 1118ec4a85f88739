// Gaussian line fit by Levenberg-Marquardt (gauss_solver.h).
//
// The caller's start is fitted first. Its result is checked, and when it is
// doubtful two backup starts read off the data (an emission and an
// absorption line) are fitted too and the best converged line is kept: the
// caller's width guesses range from a fraction of a pixel (the
// identification passes its half-width value as B) to several times the
// true width, from a narrow start the solver can settle on a spike through
// a single noisy sample, and a centre guessed beside the line can end on
// the noise. Backups are capped and given up early, since the one of the
// wrong sign never converges.
#include "raylen_ext.h"

#include "gauss_solver.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

using gaussfit::Parameters;
using gaussfit::profile;
using gaussfit::Samples;

double sumOfSquares(const Samples& s, const Parameters& p)
{
    double sum = 0.0;
    for (size_t i = 0; i < s.n; ++i) {
        const double r = p.a * profile(p.b, s.x[i] - p.c) + p.d - s.y[i];
        sum += r * r;
    }
    return sum;
}

// Continuum from both ends of the window (an eighth of the points each).
double endLevel(const Samples& s)
{
    size_t k = std::max<size_t>(1, s.n / 8);
    double sum = 0.0;
    for (size_t i = 0; i < k; ++i)
        sum += static_cast<double>(s.y[i]) + s.y[s.n - 1 - i];
    return sum / static_cast<double>(2 * k);
}

// Start read off the data for an emission (sign 1) or absorption (−1) line:
// the extreme sample as centre and height, the width at half height.
Parameters dataStart(const Samples& s, double continuum, int sign)
{
    size_t peak = 0;
    for (size_t i = 1; i < s.n; ++i)
        if (sign * (s.y[i] - continuum) > sign * (s.y[peak] - continuum))
            peak = i;
    const double height = s.y[peak] - continuum;
    auto aboveHalf = [&](size_t i) { return sign * (s.y[i] - continuum) >= 0.5 * sign * height; };
    size_t left = peak, right = peak;
    while (left > 0 && aboveHalf(left - 1))
        --left;
    while (right + 1 < s.n && aboveHalf(right + 1))
        ++right;
    // Half-height crossings lie about half a step beyond the last samples
    // above it.
    double lowStep = left > 0 ? s.x[left] - s.x[left - 1] : (s.n > 1 ? s.x[1] - s.x[0] : 1.0);
    double highStep = right + 1 < s.n ? s.x[right + 1] - s.x[right] : (s.n > 1 ? s.x[s.n - 1] - s.x[s.n - 2] : 1.0);
    double fullWidth = std::fabs(s.x[right] - s.x[left]) + 0.5 * (std::fabs(lowStep) + std::fabs(highStep));
    if (!(fullWidth > 0.0))
        fullWidth = 1.0;
    return {height, 4.0 * std::log(2.0) / (fullWidth * fullWidth), s.x[peak], continuum};
}

// A start read off the data, with its cost before any iteration.
struct Backup {
    Parameters p;
    double cost;
};

struct Outcome {
    Parameters p;
    double cost;
    int status;
};

// Sampled X range and the mean step, for the plausibility checks.
struct Range {
    double low, high, step;
};

Range rangeOf(const Samples& s)
{
    auto [low, high] = std::minmax_element(s.x, s.x + s.n);
    return {*low, *high, (static_cast<double>(*high) - *low) / static_cast<double>(s.n - 1)};
}

// A usable line: positive B and a centre inside the sampled range.
bool plausible(const Range& r, const Parameters& p)
{
    return p.b > 0.0 && p.c >= r.low && p.c <= r.high;
}

// Iteration limits. The caller's start normally converges within ten
// iterations; the starts read off the data only back it up, and one with
// the wrong sign would otherwise run into the full limit.
constexpr size_t kCallerIterations = 500;
constexpr size_t kExtraIterations = 60;
// Iterates of an extra start may stray outside the range this often in a
// row before the start is given up, and it has this many iterations to fit
// better than the best converged line so far.
constexpr int kStrayLimit = 3;
constexpr size_t kPatience = 10;
constexpr double kXTolerance = 1e-12;
constexpr double kGTolerance = 1e-12;
// What a fit that ran out of iterations (or never found a first step) returns.
constexpr int kStatusNotConverged = 11;

struct Budget {
    size_t iterations;
    bool giveUpStrays;
    // Cost of the best converged line so far. A backup still short of
    // convergence at its limit runs on to the full limit when it fits better;
    // one still fitting worse after a few iterations is given up.
    double bestSoFar;
};

// Iterates to convergence, with an early stop for backup starts that leave
// the plausible region (B not positive or the centre outside the data).
Outcome solve(const Samples& s, const Range& range, const Parameters& start, const Budget& budget)
{
    enum class End { kConverged, kLimit, kNoFirstStep };
    size_t maxIterations = budget.iterations;
    Outcome out{start, INFINITY, -3};
    // Kept per thread: a key press fits window after window of one size,
    // and a fresh buffer of that size would be paged in each time.
    thread_local gaussfit::Profiles scratch;
    gaussfit::Solver solver(s, start, scratch);
    End end = End::kLimit;
    int strays = 0;
    for (size_t iteration = 0; iteration < maxIterations; ++iteration) {
        if (solver.iterate() == gaussfit::Solver::kNoProgress) {
            // No smaller cost within reach: at the minimum of noisy data
            // that is convergence too.
            end = iteration == 0 ? End::kNoFirstStep : End::kConverged;
            break;
        }
        if (solver.converged(kXTolerance, kGTolerance)) {
            end = End::kConverged;
            break;
        }
        if (iteration + 1 == maxIterations && maxIterations < kCallerIterations && solver.cost() < budget.bestSoFar)
            maxIterations = kCallerIterations;
        if (budget.giveUpStrays) {
            strays = plausible(range, solver.position()) ? 0 : strays + 1;
            if (strays >= kStrayLimit || (iteration + 1 == kPatience && solver.cost() >= budget.bestSoFar))
                return out;
        }
    }
    const Parameters p = solver.position();
    if (!std::isfinite(p.a) || !std::isfinite(p.b) || !std::isfinite(p.c) || !std::isfinite(p.d))
        return out;
    out.status = end == End::kConverged ? 0 : kStatusNotConverged;
    out.p = p;
    out.cost = solver.cost();
    return out;
}

// The caller's result can stand alone when it is a converged line at least
// as wide as a sampling step (narrower is a spike through one noisy sample),
// bends the way the data do at its centre, and fits better than any backup
// start does before it is even iterated.
bool trustworthy(const Samples& s, const Range& range, const Outcome& o, const std::vector<Backup>& backups)
{
    if (o.status != 0 || !plausible(range, o.p))
        return false;
    const double fullWidth = 2.0 * std::sqrt(std::log(2.0) / o.p.b);
    if (!(fullWidth >= range.step))
        return false;
    size_t nearest = 0;
    for (size_t i = 1; i < s.n; ++i)
        if (std::fabs(s.x[i] - o.p.c) < std::fabs(s.x[nearest] - o.p.c))
            nearest = i;
    if (!(o.p.a * (s.y[nearest] - o.p.d) > 0.0))
        return false;
    for (const Backup& b : backups)
        if (b.cost < o.cost)
            return false;
    return true;
}

} // namespace

extern "C" int32_t VB_iGaussfit(const float* x, const float* y, int32_t n, double initB, double scaleB, double initC,
                                double scaleC, double* A, double* B, double* C, double* D)
{
    // The callers' expected scales of B and C are not needed: the solver
    // scales its steps by the Jacobian itself.
    (void)scaleB;
    (void)scaleC;
    if (x == nullptr || y == nullptr || A == nullptr || B == nullptr || C == nullptr || D == nullptr)
        return -1;
    *A = 0.0;
    *B = initB;
    *C = initC;
    *D = 0.0;
    if (n < 4 || !std::isfinite(initB) || !std::isfinite(initC))
        return -2;
    for (int32_t i = 0; i < n; ++i)
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]))
            return -2;

    const Samples samples{x, y, static_cast<size_t>(n)};
    const double continuum = endLevel(samples);
    // The caller's start, with the height of the sample nearest its centre.
    int32_t nearest = 0;
    for (int32_t i = 1; i < n; ++i)
        if (std::fabs(x[i] - initC) < std::fabs(x[nearest] - initC))
            nearest = i;
    const Parameters callerStart{y[nearest] - continuum, initB, initC, continuum};
    std::vector<Backup> backups;
    for (int sign : {1, -1}) {
        const Parameters p = dataStart(samples, continuum, sign);
        if (std::isfinite(p.a) && std::isfinite(p.b))
            backups.push_back({p, sumOfSquares(samples, p)});
    }
    // The better-fitting backup first, so that the other one, usually of
    // the wrong sign, is not run on for fitting better than a poor first result.
    if (backups.size() == 2 && backups[1].cost < backups[0].cost)
        std::swap(backups[0], backups[1]);
    *A = callerStart.a;
    *D = continuum;
    const Range range = rangeOf(samples);

    // Prefer converged, plausible lines, then the smallest residual.
    bool found = false;
    Outcome chosen{};
    auto rank = [&](const Outcome& o) { return (o.status == 0 ? 0 : 2) + (plausible(range, o.p) ? 0 : 1); };
    auto consider = [&](const Outcome& o) {
        if (!std::isfinite(o.cost))
            return;
        if (!found || rank(o) < rank(chosen) || (rank(o) == rank(chosen) && o.cost < chosen.cost)) {
            chosen = o;
            found = true;
        }
    };
    if (std::isfinite(callerStart.a) && std::isfinite(callerStart.b))
        consider(solve(samples, range, callerStart, {kCallerIterations, false, INFINITY}));
    if (!found || !trustworthy(samples, range, chosen, backups))
        for (const Backup& start : backups)
            consider(solve(samples, range, start.p,
                           {kExtraIterations, true, found && rank(chosen) == 0 ? chosen.cost : INFINITY}));
    int32_t status = -3;
    if (found) {
        *A = chosen.p.a;
        *B = chosen.p.b;
        *C = chosen.p.c;
        *D = chosen.p.d;
        status = chosen.status;
    }
    return status;
}
