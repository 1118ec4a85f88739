#pragma once
// Recording sinks and synthetic spectra shared by the measurement tests.
#include "plot/PlotSinks.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace measuretest {

struct RecordingWriter : raylen::ResultWriter {
    std::vector<std::string> lines; // in the order written
    std::string answer;             // what every call returns
    std::string sfMessage(const std::string& strMessage) override
    {
        lines.push_back(strMessage);
        return answer;
    }
};

struct RecordingOverlay : raylen::NullSpectrumView {
    std::vector<float> x, y;
    int calls = 0;
    std::string answer;
    std::vector<bool> busy; // setBusy calls, in order
    void setBusy(bool on) override { busy.push_back(on); }
    std::string sfPlotLinClone(const std::vector<float>& sngX, const std::vector<float>& sngY) override
    {
        ++calls;
        x = sngX;
        y = sngY;
        return answer;
    }
};

// A Gaussian line (depth > 0 for absorption) on a sloping continuum.
struct SyntheticLine {
    double continuum0, slope, x0;   // continuum0 + slope·(x − x0)
    double depth, centre, fwhm;
    double continuum(double x) const { return continuum0 + slope * (x - x0); }
    double at(double x) const
    {
        const double b = 4.0 * std::log(2.0) / (fwhm * fwhm);
        return continuum(x) - depth * std::exp(-b * (x - centre) * (x - centre));
    }
};

struct Spectrum {
    std::vector<float> x, y;
};

inline Spectrum sample(const SyntheticLine& line, double from, double step, int count, double sigma, uint64_t seed)
{
    Spectrum s;
    std::mt19937_64 engine(seed);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (int i = 0; i < count; ++i) {
        const double x = from + step * i;
        s.x.push_back(static_cast<float>(x));
        s.y.push_back(static_cast<float>(line.at(x) + sigma * noise(engine)));
    }
    return s;
}

} // namespace measuretest
