#pragma once
// The Fourier amplitude spectrum of a spectrum.
#include "view/SpectrumView.h"

#include <string>
#include <vector>

namespace raylen {

// N is the largest power of two not above the last index of sngSpecY; the
// amplitudes |F(j)| for j = 0 … N/2 − 1 at frequencies j·df, df = 1 / (Δ·N),
// Δ the mean step of X over i = 1 … N/2 − 1. (f, A) becomes the plotted
// spectrum (a plotting failure is not reported).
std::string sfFFTPlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                      std::vector<float>& sngFreq, std::vector<float>& sngAmp, SpectrumView& plotter);

} // namespace raylen
