// Gaussian line fit with GSL's trust-region Levenberg-Marquardt solver.
#include "raylen_ext.h"

#include <gsl/gsl_blas.h>
#include <gsl/gsl_errno.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <cmath>
#include <vector>

namespace {

struct Samples {
    const float* x;
    const float* y;
    size_t n;
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

} // namespace

extern "C" int32_t VB_iGaussfit(const float* x, const float* y, int32_t n, double initB, double scaleB, double initC,
                                double scaleC, double* A, double* B, double* C, double* D)
{
    (void)scaleB;
    (void)scaleC;
    if (x == nullptr || y == nullptr || A == nullptr || B == nullptr || C == nullptr || D == nullptr)
        return -1;
    // Start: continuum from the two ends, amplitude from the point nearest the
    // starting centre, so emission and absorption lines both start well.
    double d0 = 0.0, a0 = 0.0;
    if (n > 0) {
        d0 = 0.5 * (static_cast<double>(y[0]) + y[n - 1]);
        int32_t nearest = 0;
        for (int32_t i = 1; i < n; ++i)
            if (std::fabs(x[i] - initC) < std::fabs(x[nearest] - initC))
                nearest = i;
        a0 = y[nearest] - d0;
    }
    *A = a0;
    *B = initB;
    *C = initC;
    *D = d0;
    if (n < 4 || !std::isfinite(initB) || !std::isfinite(initC))
        return -2;

    gsl_error_handler_t* previousHandler = gsl_set_error_handler_off();
    Samples samples{x, y, static_cast<size_t>(n)};
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
        double start[4] = {a0, initB, initC, d0};
        gsl_vector_view p0 = gsl_vector_view_array(start, 4);
        gsl_multifit_nlinear_init(&p0.vector, &fdf, work);
        int info = 0;
        int rc = gsl_multifit_nlinear_driver(500, 1e-10, 1e-10, 1e-12, nullptr, nullptr, &info, work);
        const gsl_vector* best = gsl_multifit_nlinear_position(work);
        double a = gsl_vector_get(best, 0), b = gsl_vector_get(best, 1), c = gsl_vector_get(best, 2),
               d = gsl_vector_get(best, 3);
        if (std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d)) {
            *A = a;
            *B = b;
            *C = c;
            *D = d;
            status = rc == GSL_SUCCESS ? 0 : rc;
        }
        gsl_multifit_nlinear_free(work);
    }
    gsl_set_error_handler(previousHandler);
    return status;
}
