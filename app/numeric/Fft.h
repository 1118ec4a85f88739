#pragma once
// Radix-2 discrete Fourier transform of a complex sequence in Single.
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// Transforms the first N points of re/im, N being the largest power of two
// not above the last index of `re` (its size − 1, not its size): points
// 0 … 1023 give N = 512. Nothing is zero-padded.
//
// Output indexing: outRe and outIm receive N + 1 elements and are used from
// index 1 to N, exactly as the callers' arrays 1 … N (index 1 is the zero
// frequency); element 0 is unused and set to 0.
//
// With sign ±1: out(k) = Σ_{j=0…N−1} in(j)·exp(sign·2πi·j·(k−1)/N) for
// k = 1 … N. A sign that is not ≥ 0 also divides the result by N, so +1 is
// N·ifft and −1 is fft / N in numpy's terms. n receives N.
//
// A NaN or infinite input point is first replaced by linear interpolation
// between its finite neighbours, so that it does not make every output NaN.
std::string sfSngFFT(const std::vector<float>& re, const std::vector<float>& im, double sign,
                     std::vector<float>& outRe, std::vector<float>& outIm, int32_t& n);

} // namespace raylen
