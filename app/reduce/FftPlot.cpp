#include "reduce/FftPlot.h"

#include "numeric/Fft.h"
#include "numeric/Statistics.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "reduce/TextFields.h"

#include <cmath>

namespace raylen {

namespace {
// Exponent sign of the forward transform as the task calls it.
constexpr double transformSign = 1.0;
} // namespace

std::string sfFFTPlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                      std::vector<float>& sngFreq, std::vector<float>& sngAmp, SpectrumView& plotter)
{
    return platform::trapErrors("sfFFTPlot", [&]() -> std::string {
        const std::vector<float> imaginary(sngSpecY.size(), 0.0f);
        std::vector<float> re, im;
        int32_t n = 0;
        std::string message = sfSngFFT(sngSpecY, imaginary, transformSign, re, im, n);
        if (!message.empty())
            return message;
        const size_t half = static_cast<size_t>(n) / 2;

        // Deliberately from step 1 on: the first step is left out of the mean.
        if (half >= sngSpecX.size())
            platform::raise(platform::errSubscript);
        std::vector<float> steps;
        for (size_t i = 1; i + 1 <= half; ++i)
            steps.push_back(sngSpecX[i + 1] - sngSpecX[i]);
        float delta = 0.0f;
        message = sfMean1D(steps, delta);
        if (!message.empty())
            return message;
        const double df = platform::checkedDivide(1.0, static_cast<double>(delta) * n);

        std::vector<float> freq(half), amp(half);
        for (size_t j = 0; j < half; ++j) {
            freq[j] = toSingle(static_cast<double>(j) * df);
            const double r = re[j + 1], m = im[j + 1];
            amp[j] = static_cast<float>(std::sqrt(r * r + m * m));
        }
        sngFreq.swap(freq);
        sngAmp.swap(amp);
        plotter.Show();
        plotter.dsErasePlotClone();
        plotter.sfPlotLin(sngFreq, sngAmp);
        return {};
    });
}

} // namespace raylen
