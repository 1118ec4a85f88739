#include "reduce/SpectrumSteps.h"

#include "numeric/Interpolate.h"
#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "reduce/DispCor.h"
#include "reduce/Dispersion.h"
#include "reduce/FluxCal.h"
#include "reduce/Normalize.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

// σ divided by |d| point by point; a zero divisor leaves σ as the value
// itself is left.
std::vector<float> dividedUncertainty(const std::vector<float>& sigma, const std::vector<double>& divisor)
{
    std::vector<float> out(sigma.size());
    for (size_t i = 0; i < sigma.size(); ++i)
        out[i] = divisor[i] != 0.0 ? static_cast<float>(sigma[i] / std::fabs(divisor[i])) : sigma[i];
    return out;
}

std::string number(double value)
{
    return platform::doubleToText(value);
}

void reverseAll(Spectrum& s)
{
    std::reverse(s.x.begin(), s.x.end());
    std::reverse(s.y.begin(), s.y.end());
    std::reverse(s.sigma.begin(), s.sigma.end());
}

} // namespace

std::string dispcorSpectrum(const Spectrum& in, const DispersionSolution& solution, const LinearGrid& grid,
                            Spectrum& out, std::optional<LinearScale>& exact, SpectrumView& plotter)
{
    Spectrum result = in;
    result.sigma = in.hasUncertainty() ? in.sigma : std::vector<float>();
    NullSpectrumView unplotted;
    // With a grid only the resampled spectrum is shown.
    std::string message = sfDispCorPlot(in.x, in.y, solution.coefficients, result.x,
                                        grid.enabled ? static_cast<SpectrumView&>(unplotted) : plotter);
    if (!message.empty())
        return message;
    result.meta.xIsWavelength = true;
    result.meta.medium = solution.vacuum ? WavelengthMedium::vacuum : WavelengthMedium::air;
    std::string history = "dispcor " + baseName(solution.fileName);
    std::optional<LinearScale> scale;
    if (grid.enabled) {
        if (result.x.size() > 1 && result.x.front() > result.x.back())
            reverseAll(result);
        const EvenScale even = defaultEvenScale(result.x, grid.step);
        Spectrum linear;
        message = resampleSpectrum(result, even, linear);
        if (!message.empty())
            return message;
        linear.meta.cards.pop_back(); // the step's one card is written below
        result = std::move(linear);
        scale = LinearScale{even.start, even.step};
        history += " linear step=" + number(even.step);
        plotter.Show();
        plotter.dsErasePlotClone();
        plotter.sfPlotLin(result.x, result.y);
    }
    addHistory(result.meta, historyWithNumbers(history, solution.coefficients));
    out = std::move(result);
    exact = scale;
    return {};
}

std::string fluxcalSpectrum(const Spectrum& in, const std::vector<float>& sensX, const std::vector<float>& sensY,
                            const std::string& sensUnit, const std::string& sensFileName, Spectrum& out,
                            SpectrumView& plotter)
{
    Spectrum result = in;
    std::string message = sfCalibratePlot(in.x, in.y, sensX, sensY, result.y, plotter);
    if (!message.empty())
        return message;
    if (in.hasUncertainty()) {
        // The same interpolation as the values were divided by.
        std::vector<double> s(in.x.size());
        for (size_t i = 0; i < in.x.size(); ++i) {
            float value = 0.0f;
            message = sfLinearInterpolate(sensX, sensY, in.x[i], value);
            if (!message.empty())
                return message;
            s[i] = value;
        }
        result.sigma = dividedUncertainty(in.sigma, s);
    } else {
        result.sigma.clear();
    }
    result.meta.fluxUnit = sensUnit.empty() ? std::string(countsUnit) : sensUnit;
    addHistory(result.meta, "fluxcal " + baseName(sensFileName) + " unit=" + result.meta.fluxUnit);
    out = std::move(result);
    return {};
}

std::string normalizeSpectrum(const Spectrum& in, const std::vector<double>& continuum, int16_t order,
                              Spectrum& out, SpectrumView& plotter)
{
    Spectrum result = in;
    std::string message = sfNormalizePlot(in.x, in.y, continuum, result.y, plotter);
    if (!message.empty())
        return message;
    if (in.hasUncertainty()) {
        std::vector<double> c(in.x.size());
        for (size_t i = 0; i < in.x.size(); ++i)
            c[i] = evalPolynomial(continuum, in.x[i]);
        result.sigma = dividedUncertainty(in.sigma, c);
    } else {
        result.sigma.clear();
    }
    result.meta.fluxUnit.clear();
    addHistory(result.meta, historyWithNumbers("normalize order=" + std::to_string(order), continuum));
    out = std::move(result);
    return {};
}

std::string resampleSpectrum(const Spectrum& in, const EvenScale& scale, Spectrum& out)
{
    Spectrum result;
    result.meta = in.meta;
    std::string message = resampleFlux(in.x, in.y, scale, result.x, result.y);
    if (message.empty() && in.hasUncertainty())
        message = resampleUncertainty(in.x, in.sigma, scale, result.sigma);
    if (!message.empty())
        return message;
    addHistory(result.meta, "resample start=" + number(scale.start) + " step=" + number(scale.step) +
                                " count=" + std::to_string(scale.count));
    out = std::move(result);
    return {};
}

} // namespace raylen
