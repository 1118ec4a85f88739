#include "spectrum/SpectrumCoadd.h"

#include <cstdio>

namespace raylen {

namespace {

std::string stepText(double step)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.6g", step);
    return text;
}

} // namespace

std::string coaddSpectra(const std::vector<Spectrum>& inputs, double step, Spectrum& out, EvenScale& scale)
{
    std::vector<CoaddInput> list;
    for (const Spectrum& s : inputs)
        list.push_back({s.x, s.y, s.hasUncertainty() ? s.sigma : std::vector<float>{}});
    CoaddResult result;
    std::string message = sfCoadd(list, step, result);
    if (!message.empty())
        return message;
    Spectrum combined;
    combined.meta = inputs.front().meta;
    combined.x = std::move(result.x);
    combined.y = std::move(result.y);
    combined.sigma = std::move(result.sigma);
    addHistory(combined.meta, "coadd " + std::to_string(inputs.size()) + " spectra step=" +
                                  stepText(result.scale.step) + (combined.sigma.empty() ? " equal" : " ivar"));
    scale = result.scale;
    out = std::move(combined);
    return {};
}

} // namespace raylen
