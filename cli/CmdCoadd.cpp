// coadd: spectra averaged on one linear grid over their common range.
#include "Command.h"
#include "NonFinite.h"
#include "SpectrumOutput.h"

#include "fits/FitsSpectrum.h"
#include "files/TextSpectrum.h"
#include "reduce/Coadd.h"

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
    std::vector<raylen::CoaddInput> inputs(args.positional.size());
    bool wavelength = true;
    for (size_t k = 0; k < inputs.size(); ++k) {
        bool isWavelength = true;
        std::string message = openAnySpectrum(args.positional[k], inputs[k].x, inputs[k].y, isWavelength);
        if (!message.empty())
            return fail(message);
        wavelength = wavelength && isWavelength;
    }
    raylen::CoaddResult result;
    std::string message = raylen::sfCoadd(inputs, step, result);
    if (message.empty())
        message = checkResult(result.x, result.y);
    if (message.empty()) {
        raylen::FitsSpectrumOptions options;
        options.xIsWavelength = wavelength;
        // The exact grid, not the Single X values, goes into the file.
        message = isFitsSpectrumName(*output)
                      ? raylen::sfSaveFitsSpectrumLinear(*output, result.scale.start, result.scale.step, result.y,
                                                         options)
                      : raylen::sfSaveText(result.x, result.y, *output);
    }
    return message.empty() ? exitOk : fail(message);
}

Registration coadd({"coadd", "coadd SPEC... [--step S] -o OUT",
                    "average spectra on one linear grid over their common range (inverse-variance weights when "
                    "every input has an uncertainty)",
                    {"o", "step"}, {}, -2, runCoadd});

} // namespace

} // namespace cli
