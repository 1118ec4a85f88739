// Gaussian line fit with GSL's trust-region Levenberg-Marquardt solver.
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

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

struct Samples {
    const float* x;
    const float* y;
    size_t n;
    // exp(−B·(x − C)²) at every sample for the last B and C evaluated: the
    // solver asks for the Jacobian at the point whose residuals it just had.
    std::vector<double> shape;
    double shapeB = NAN, shapeC = NAN;
};

struct Parameters {
    double a, b, c, d;
};

// Beyond this exponent the profile is below 1e-304 of the height: zero, and
// far cheaper than letting exp() take its underflow path in the wings of a
// narrow line in a long window.
constexpr double kNegligibleExponent = 700.0;

inline double profile(double b, double dx)
{
    const double exponent = b * dx * dx;
    return exponent > kNegligibleExponent ? 0.0 : std::exp(-exponent);
}

const std::vector<double>& shapeAt(Samples& s, double b, double c)
{
    if (b != s.shapeB || c != s.shapeC) {
        s.shape.resize(s.n);
        for (size_t i = 0; i < s.n; ++i)
            s.shape[i] = profile(b, s.x[i] - c);
        s.shapeB = b;
        s.shapeC = c;
    }
    return s.shape;
}

// Parameters p = (A, B, C, D); model A·exp(−B·(x − C)²) + D.
int residuals(const gsl_vector* p, void* data, gsl_vector* f)
{
    Samples& s = *static_cast<Samples*>(data);
    const double a = gsl_vector_get(p, 0), d = gsl_vector_get(p, 3);
    const std::vector<double>& e = shapeAt(s, gsl_vector_get(p, 1), gsl_vector_get(p, 2));
    double* out = f->data;
    for (size_t i = 0; i < s.n; ++i)
        out[i * f->stride] = a * e[i] + d - s.y[i];
    return GSL_SUCCESS;
}

int jacobian(const gsl_vector* p, void* data, gsl_matrix* J)
{
    Samples& s = *static_cast<Samples*>(data);
    const double a = gsl_vector_get(p, 0), b = gsl_vector_get(p, 1), c = gsl_vector_get(p, 2);
    const std::vector<double>& e = shapeAt(s, b, c);
    for (size_t i = 0; i < s.n; ++i) {
        const double dx = s.x[i] - c;
        double* row = J->data + i * J->tda;
        row[0] = e[i];
        row[1] = -a * dx * dx * e[i];
        row[2] = 2.0 * a * b * dx * e[i];
        row[3] = 1.0;
    }
    return GSL_SUCCESS;
}

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

Parameters positionOf(gsl_multifit_nlinear_workspace* work)
{
    const gsl_vector* v = gsl_multifit_nlinear_position(work);
    return {gsl_vector_get(v, 0), gsl_vector_get(v, 1), gsl_vector_get(v, 2), gsl_vector_get(v, 3)};
}

struct Budget {
    size_t iterations;
    bool giveUpStrays;
    // Cost of the best converged line so far. A backup still short of
    // convergence at its limit runs on to the full limit when it fits better;
    // one still fitting worse after a few iterations is given up.
    double bestSoFar;
};

double currentCost(gsl_multifit_nlinear_workspace* work)
{
    const double norm = gsl_blas_dnrm2(gsl_multifit_nlinear_residual(work));
    return norm * norm;
}

// The solver's own driver loop, with an early stop for backup starts that
// leave the plausible region (B not positive or the centre outside the data).
Outcome solve(const Samples& s, const Range& range, const Parameters& start, const Budget& budget,
              gsl_multifit_nlinear_workspace* work, gsl_multifit_nlinear_fdf& fdf)
{
    size_t maxIterations = budget.iterations;
    double values[4] = {start.a, start.b, start.c, start.d};
    gsl_vector_view p0 = gsl_vector_view_array(values, 4);
    Outcome out{start, INFINITY, -3};
    if (gsl_multifit_nlinear_init(&p0.vector, &fdf, work) != GSL_SUCCESS)
        return out;
    int rc = GSL_CONTINUE;
    int strays = 0;
    for (size_t iteration = 0; iteration < maxIterations && rc == GSL_CONTINUE; ++iteration) {
        const int step = gsl_multifit_nlinear_iterate(work);
        if (step == GSL_ENOPROG) {
            // No smaller cost within reach: at the minimum of noisy data
            // that is convergence too.
            rc = iteration == 0 ? GSL_EMAXITER : GSL_SUCCESS;
            break;
        }
        if (step != GSL_SUCCESS) {
            rc = step;
            break;
        }
        int info = 0;
        rc = gsl_multifit_nlinear_test(kXTolerance, kGTolerance, 0.0, &info, work);
        if (rc == GSL_CONTINUE && iteration + 1 == maxIterations && maxIterations < kCallerIterations &&
            currentCost(work) < budget.bestSoFar)
            maxIterations = kCallerIterations;
        if (budget.giveUpStrays && rc == GSL_CONTINUE) {
            strays = plausible(range, positionOf(work)) ? 0 : strays + 1;
            if (strays >= kStrayLimit || (iteration + 1 == kPatience && currentCost(work) >= budget.bestSoFar))
                return out;
        }
    }
    const Parameters p = positionOf(work);
    if (!std::isfinite(p.a) || !std::isfinite(p.b) || !std::isfinite(p.c) || !std::isfinite(p.d))
        return out;
    out.status = rc == GSL_SUCCESS ? 0 : (rc == GSL_CONTINUE ? GSL_EMAXITER : rc);
    out.p = p;
    out.cost = sumOfSquares(s, p);
    return out;
}

// The caller's result can stand alone when it is a converged line at least
// as wide as a sampling step (narrower is a spike through one noisy sample),
// bends the way the data do at its centre, and fits better than any backup
// start does before it is even iterated.
bool trustworthy(const Samples& s, const Range& range, const Outcome& o, const std::vector<Parameters>& backups)
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
    for (const Parameters& b : backups)
        if (sumOfSquares(s, b) < o.cost)
            return false;
    return true;
}

// One solver workspace per thread, kept while the number of points stays
// the same: a key press fits window after window of one size.
struct CachedWorkspace {
    gsl_multifit_nlinear_workspace* work = nullptr;
    size_t n = 0;
    ~CachedWorkspace()
    {
        if (work != nullptr)
            gsl_multifit_nlinear_free(work);
    }
};

gsl_multifit_nlinear_workspace* workspaceFor(size_t n)
{
    thread_local CachedWorkspace cache;
    if (cache.work == nullptr || cache.n != n) {
        if (cache.work != nullptr)
            gsl_multifit_nlinear_free(cache.work);
        gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
        params.trs = gsl_multifit_nlinear_trs_lm;
        params.scale = gsl_multifit_nlinear_scale_more;
        // Four parameters: the normal equations are a 4 × 4 system, so
        // Cholesky costs one pass over the Jacobian where QR costs several.
        params.solver = gsl_multifit_nlinear_solver_cholesky;
        cache.work = gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, n, 4);
        cache.n = cache.work != nullptr ? n : 0;
    }
    return cache.work;
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

    Samples samples{x, y, static_cast<size_t>(n), {}, NAN, NAN};
    const double continuum = endLevel(samples);
    // The caller's start, with the height of the sample nearest its centre.
    int32_t nearest = 0;
    for (int32_t i = 1; i < n; ++i)
        if (std::fabs(x[i] - initC) < std::fabs(x[nearest] - initC))
            nearest = i;
    const Parameters callerStart{y[nearest] - continuum, initB, initC, continuum};
    std::vector<Parameters> backups;
    for (int sign : {1, -1}) {
        const Parameters p = dataStart(samples, continuum, sign);
        if (std::isfinite(p.a) && std::isfinite(p.b))
            backups.push_back(p);
    }
    // The better-fitting backup first, so that the other one, usually of
    // the wrong sign, is not run on for fitting better than a poor first result.
    if (backups.size() == 2 && sumOfSquares(samples, backups[1]) < sumOfSquares(samples, backups[0]))
        std::swap(backups[0], backups[1]);
    *A = callerStart.a;
    *D = continuum;
    const Range range = rangeOf(samples);

    gsl_error_handler_t* previousHandler = gsl_set_error_handler_off();
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residuals;
    fdf.df = jacobian;
    fdf.fvv = nullptr;
    fdf.n = samples.n;
    fdf.p = 4;
    fdf.params = &samples;
    gsl_multifit_nlinear_workspace* work = workspaceFor(samples.n);
    int32_t status = -3;
    if (work != nullptr) {
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
            consider(solve(samples, range, callerStart, {kCallerIterations, false, INFINITY}, work, fdf));
        if (!found || !trustworthy(samples, range, chosen, backups))
            for (const Parameters& start : backups)
                consider(solve(samples, range, start, {kExtraIterations, true, found && rank(chosen) == 0 ? chosen.cost : INFINITY}, work, fdf));
        if (found) {
            *A = chosen.p.a;
            *B = chosen.p.b;
            *C = chosen.p.c;
            *D = chosen.p.d;
            status = chosen.status;
        }
    }
    gsl_set_error_handler(previousHandler);
    return status;
}
