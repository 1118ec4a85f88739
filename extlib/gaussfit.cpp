// Gaussian line fit with GSL's trust-region Levenberg-Marquardt solver.
//
// Noisy lines are fitted from several starts and the best converged one is
// kept: the caller's width guesses range from a fraction of a pixel (the
// identification passes its half-width value as B) to several times the
// true width, and from a narrow start the solver can settle on a spike
// through a single noisy sample.
#include "raylen_ext.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Samples {
    const float* x;
    const float* y;
    size_t n;
};

struct Parameters {
    double a, b, c, d;
};

// Parameters p = (A, B, C, D); model A·exp(−B·(x − C)²) + D.
int residuals(const gsl_vector* p, void* data, gsl_vector* f)
{
    const Samples* s = static_cast<const Samples*>(data);
    double a = gsl_vector_get(p, 0), b = gsl_vector_get(p, 1), c = gsl_vector_get(p, 2), d = gsl_vector_get(p, 3);
    for (size_t i = 0; i < s->n; ++i) {
        double dx = s->x[i] - c;
        gsl_vector_set(f, i, a * std::exp(-b * dx * dx) + d - s->y[i]);
    }
    return GSL_SUCCESS;
}

int jacobian(const gsl_vector* p, void* data, gsl_matrix* J)
{
    const Samples* s = static_cast<const Samples*>(data);
    double a = gsl_vector_get(p, 0), b = gsl_vector_get(p, 1), c = gsl_vector_get(p, 2);
    for (size_t i = 0; i < s->n; ++i) {
        double dx = s->x[i] - c;
        double e = std::exp(-b * dx * dx);
        gsl_matrix_set(J, i, 0, e);
        gsl_matrix_set(J, i, 1, -a * dx * dx * e);
        gsl_matrix_set(J, i, 2, 2.0 * a * b * dx * e);
        gsl_matrix_set(J, i, 3, 1.0);
    }
    return GSL_SUCCESS;
}

double sumOfSquares(const Samples& s, const Parameters& p)
{
    double sum = 0.0;
    for (size_t i = 0; i < s.n; ++i) {
        double dx = s.x[i] - p.c;
        double r = p.a * std::exp(-p.b * dx * dx) + p.d - s.y[i];
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

Outcome solve(const Samples& s, const Parameters& start, gsl_multifit_nlinear_workspace* work,
              gsl_multifit_nlinear_fdf& fdf)
{
    double values[4] = {start.a, start.b, start.c, start.d};
    gsl_vector_view p0 = gsl_vector_view_array(values, 4);
    Outcome out{start, INFINITY, -3};
    if (gsl_multifit_nlinear_init(&p0.vector, &fdf, work) != GSL_SUCCESS)
        return out;
    int info = 0;
    int rc = gsl_multifit_nlinear_driver(1000, 1e-12, 1e-12, 0.0, nullptr, nullptr, &info, work);
    const gsl_vector* best = gsl_multifit_nlinear_position(work);
    Parameters p{gsl_vector_get(best, 0), gsl_vector_get(best, 1), gsl_vector_get(best, 2), gsl_vector_get(best, 3)};
    if (!std::isfinite(p.a) || !std::isfinite(p.b) || !std::isfinite(p.c) || !std::isfinite(p.d))
        return out;
    // Stalling at the minimum of noisy data is convergence too.
    out.status = (rc == GSL_SUCCESS || rc == GSL_ENOPROG) ? 0 : rc;
    out.p = p;
    out.cost = sumOfSquares(s, p);
    return out;
}

// A usable line: positive B and a centre inside the sampled range.
bool plausible(const Samples& s, const Parameters& p)
{
    auto [low, high] = std::minmax_element(s.x, s.x + s.n);
    return p.b > 0.0 && p.c >= *low && p.c <= *high;
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

    Samples samples{x, y, static_cast<size_t>(n)};
    const double continuum = endLevel(samples);
    // The caller's start, with the height of the sample nearest its centre.
    int32_t nearest = 0;
    for (int32_t i = 1; i < n; ++i)
        if (std::fabs(x[i] - initC) < std::fabs(x[nearest] - initC))
            nearest = i;
    std::vector<Parameters> starts{{y[nearest] - continuum, initB, initC, continuum}};
    starts.push_back(dataStart(samples, continuum, 1));
    starts.push_back(dataStart(samples, continuum, -1));
    *A = starts[0].a;
    *D = continuum;

    gsl_error_handler_t* previousHandler = gsl_set_error_handler_off();
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = residuals;
    fdf.df = jacobian;
    fdf.fvv = nullptr;
    fdf.n = samples.n;
    fdf.p = 4;
    fdf.params = &samples;
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    params.trs = gsl_multifit_nlinear_trs_lm;
    params.scale = gsl_multifit_nlinear_scale_more;
    gsl_multifit_nlinear_workspace* work =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, samples.n, 4);
    int32_t status = -3;
    if (work != nullptr) {
        // Prefer converged, plausible lines, then the smallest residual.
        bool found = false;
        Outcome chosen{};
        auto rank = [&](const Outcome& o) { return (o.status == 0 ? 0 : 2) + (plausible(samples, o.p) ? 0 : 1); };
        for (const Parameters& start : starts) {
            if (!std::isfinite(start.a) || !std::isfinite(start.b))
                continue;
            Outcome o = solve(samples, start, work, fdf);
            if (!std::isfinite(o.cost))
                continue;
            if (!found || rank(o) < rank(chosen) || (rank(o) == rank(chosen) && o.cost < chosen.cost)) {
                chosen = o;
                found = true;
            }
        }
        if (found) {
            *A = chosen.p.a;
            *B = chosen.p.b;
            *C = chosen.p.c;
            *D = chosen.p.d;
            status = chosen.status;
        }
        gsl_multifit_nlinear_free(work);
    }
    gsl_set_error_handler(previousHandler);
    return status;
}
