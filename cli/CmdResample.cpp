// resample: flux-conserving resampling onto an even scale.
#include "Command.h"
#include "NonFinite.h"
#include "SpectrumOutput.h"

#include "fits/FitsSpectrum.h"
#include "files/TextSpectrum.h"
#include "numeric/Resample.h"
#include "reduce/SpectrumSteps.h"

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

    raylen::Spectrum in, out;
    std::string message = openAnySpectrum(args.positional[0], in);
    const std::vector<float>& x = in.x;
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
    message = raylen::resampleSpectrum(in, scale, out);
    // The exact scale, not the Single X values, goes into a FITS file.
    const raylen::LinearScale exact{scale.start, scale.step};
    if (message.empty())
        message = saveSpectrum(out, *output, &exact);
    return message.empty() ? exitOk : fail(message);
}

Registration resample({"resample", "resample SPEC --step S [--start A] [--count N] -o OUT",
                       "flux-conserving resampling onto an even scale (OUT.fits: a FITS spectrum)",
                       {"o", "step", "start", "count"}, {}, 1, runResample});

} // namespace

} // namespace cli
