// resample: flux-conserving resampling onto an even scale.
#include "Command.h"
#include "NonFinite.h"
#include "SpectrumOutput.h"

#include "fits/FitsSpectrum.h"
#include "files/TextSpectrum.h"
#include "numeric/Resample.h"

#include <cmath>

namespace cli {

namespace {

int runResample(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("resample");
    auto output = args.option("o");
    auto stepText = args.option("step");
    if (!output || !stepText)
        return usageError("--step and -o are required", spec);
    double step = 0, start = 0, count = 0;
    if (!parseDouble(*stepText, step) || !(step > 0))
        return usageError("--step takes a positive number", spec);
    if (auto text = args.option("start"); text && !parseDouble(*text, start))
        return usageError("--start takes a number", spec);
    if (auto text = args.option("count");
        text && (!parseDouble(*text, count) || count < 1 || count != std::floor(count) || count > 1e8))
        return usageError("--count takes a whole number from 1", spec);

    std::vector<float> x, y;
    bool wavelength = true;
    std::string message = openAnySpectrum(args.positional[0], x, y, wavelength);
    if (!message.empty())
        return fail(message);
    if (x.size() < 2)
        return fail("データ点が2点以上必要です");
    raylen::EvenScale scale;
    if (args.option("start")) {
        // From the given start, as many steps as fit up to the last X.
        std::vector<float> span = {static_cast<float>(start), x.back()};
        scale = raylen::defaultEvenScale(span, step);
        scale.start = start;
    } else {
        scale = raylen::defaultEvenScale(x, step);
    }
    if (args.option("count"))
        scale.count = static_cast<long>(count);
    std::vector<float> outX, outY;
    message = raylen::resampleFlux(x, y, scale, outX, outY);
    if (message.empty())
        message = checkResult(outX, outY);
    if (message.empty()) {
        raylen::FitsSpectrumOptions options;
        options.xIsWavelength = wavelength;
        // The exact scale, not the Single X values, goes into the file.
        message = isFitsSpectrumName(*output)
                      ? raylen::sfSaveFitsSpectrumLinear(*output, scale.start, scale.step, outY, options)
                      : raylen::sfSaveText(outX, outY, *output);
    }
    return message.empty() ? exitOk : fail(message);
}

Registration resample({"resample", "resample SPEC --step S [--start A] [--count N] -o OUT",
                       "flux-conserving resampling onto an even scale (OUT.fits: a FITS spectrum)",
                       {"o", "step", "start", "count"}, {}, 1, runResample});

} // namespace

} // namespace cli
