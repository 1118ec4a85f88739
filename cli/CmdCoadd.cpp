// coadd: spectra averaged on one linear grid over their common range.
#include "Command.h"
#include "NonFinite.h"
#include "SpectrumOutput.h"

#include "fits/FitsSpectrum.h"
#include "reduce/CalibSpectrumSteps.h"

namespace cli {

namespace {

int runCoadd(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("coadd");
    auto output = args.option("o");
    if (!output)
        return usageError("-o is required", spec);
    double step = 0;
    if (auto text = args.option("step"); text && (!parseDouble(*text, step) || !(step > 0)))
        return usageError("--step takes a positive number", spec);
    std::vector<raylen::Spectrum> inputs(args.positional.size());
    for (size_t k = 0; k < inputs.size(); ++k) {
        std::string message = openAnySpectrum(args.positional[k], inputs[k]);
        if (!message.empty())
            return fail(message);
    }
    raylen::Spectrum out;
    raylen::EvenScale scale;
    std::string message = raylen::coaddSpectra(inputs, step, out, scale);
    // The exact grid, not the Single X values, goes into a FITS file.
    const raylen::LinearScale exact{scale.start, scale.step};
    if (message.empty())
        message = saveSpectrum(out, *output, &exact);
    return message.empty() ? exitOk : fail(message);
}

Registration coadd({"coadd", "coadd SPEC... [--step S] -o OUT",
                    "average spectra on one linear grid over their common range (inverse-variance weights when "
                    "every input has an uncertainty)",
                    {"o", "step"}, {}, -2, runCoadd});

} // namespace

} // namespace cli
