#pragma once
// Entry points of libraylen.so. The core binds them by name at the first
// call; this header only documents the argument order.
#include <cstdint>

#define RAYLEN_EXPORT __attribute__((visibility("default")))

extern "C" {
// Reverse the byte order of `count` consecutive 2-byte or 4-byte elements in place.
RAYLEN_EXPORT void VB_ffswap2(int16_t* first, int32_t count);
RAYLEN_EXPORT void VB_ffswap4(float* first, int32_t count);
RAYLEN_EXPORT void VB_ffswap4Lng(int32_t* first, int32_t count);

// Least-squares fit of y = A·exp(−B·(x − C)²) + D to n points, started from
// initB and initC; the second and fourth values are the callers' expected
// scales of B and C. Returns 0 when the fit converged.
RAYLEN_EXPORT int32_t VB_iGaussfit(const float* x, const float* y, int32_t n, double initB, double scaleB,
                                   double initC, double scaleC, double* A, double* B, double* C, double* D);
}
