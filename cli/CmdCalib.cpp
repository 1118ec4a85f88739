// Calibration commands: dispcor, fluxcal, normalize, fft.
#include "Command.h"
#include "ObservationCards.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"

#include "platform/BasicRuntime.h"
#include "plot/ContRegion.h"
#include "reduce/DispCor.h"
#include "reduce/Dispersion.h"
#include "reduce/FftPlot.h"
#include "reduce/FluxCal.h"
#include "reduce/Normalize.h"
#include "reduce/CalibSpectrumSteps.h"
#include "reduce/SpectrumSteps.h"
#include "files/ShareData.h"
#include "files/TextSpectrum.h"

#include <cmath>
#include <optional>

namespace cli {

namespace {

// wavelength: X is a wavelength (FITS outputs mark it so).
int finish(const std::string& message, const std::vector<float>& x, const std::vector<float>& y,
           const std::string& output, bool wavelength = true)
{
    if (!message.empty())
        return fail(message);
    const std::string saved = saveSpectrum(x, y, output, wavelength);
    return saved.empty() ? exitOk : fail(saved);
}

int finish(const std::string& message, const raylen::Spectrum& spectrum, const std::string& output,
           const raylen::LinearScale* exact = nullptr)
{
    if (!message.empty())
        return fail(message);
    const std::string saved = saveSpectrum(spectrum, output, exact);
    return saved.empty() ? exitOk : fail(saved);
}

int runDispcor(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("dispcor");
    raylen::LinearGrid grid;
    grid.enabled = args.flag("linear");
    if (auto text = args.option("step")) {
        if (!grid.enabled)
            return usageError("--step needs --linear", spec);
        if (!parseDouble(*text, grid.step) || !(grid.step > 0))
            return usageError("--step takes a positive number", spec);
    }
    raylen::Spectrum in, out;
    raylen::DispersionSolution solution;
    solution.fileName = *args.option("dip");
    raylen::NullSpectrumView plotter;
    std::optional<raylen::LinearScale> exact;
    std::string message = openAnySpectrum(args.positional[0], in);
    if (message.empty())
        message = checkCalibFile(solution.fileName);
    if (message.empty())
        message = raylen::sfOpenDispFile(solution.fileName, solution.coefficients, &solution.vacuum);
    if (message.empty() && grid.enabled && in.x.size() < 2)
        message = "データ点が2点以上必要です";
    if (message.empty())
        message = raylen::dispcorSpectrum(in, solution, grid, out, exact, plotter);
    return finish(message, out, *args.option("o"), exact ? &*exact : nullptr);
}

// --exptime, --airmass, --extinction: any of them asks for the exposure
// and the atmosphere; what is not given comes from the FITS cards.
struct FluxcalAtmosphere {
    bool wanted = false;
    double exptime = 0, airmass = 0;
    std::optional<std::string> extinction;
};

int readAtmosphere(const Arguments& args, const raylen::HeaderCards& cards, FluxcalAtmosphere& a)
{
    const CommandSpec* spec = &commands().at("fluxcal");
    a.extinction = args.option("extinction");
    a.wanted = args.option("exptime") || args.option("airmass") || a.extinction;
    if (!a.wanted)
        return exitOk;
    if (auto text = args.option("exptime")) {
        if (!parseDouble(*text, a.exptime) || !(a.exptime > 0))
            return usageError("--exptime takes a positive number of seconds", spec);
    } else if (auto card = cardNumberOf(cards, {"EXPTIME"})) {
        a.exptime = *card;
    } else {
        return usageError("--exptime is required (the spectrum has no EXPTIME card)", spec);
    }
    if (auto text = args.option("airmass")) {
        if (!parseDouble(*text, a.airmass) || a.airmass < 0)
            return usageError("--airmass takes a number from 0", spec);
    } else if (auto card = cardNumberOf(cards, {"AIRMASS"})) {
        a.airmass = *card;
    } else if (a.extinction) {
        return usageError("--airmass is required (the spectrum has no AIRMASS card)", spec);
    }
    return exitOk;
}

int runFluxcal(const Arguments& args)
{
    raylen::Spectrum in, out;
    std::vector<float> sensX, sensY;
    std::string unit;
    const std::string sns = *args.option("sns");
    raylen::NullSpectrumView plotter;
    std::string message = openAnySpectrum(args.positional[0], in);
    if (!message.empty())
        return fail(message);
    FluxcalAtmosphere atmosphere;
    if (int status = readAtmosphere(args, in.meta.cards, atmosphere); status != exitOk)
        return status;
    message = checkCalibFile(sns);
    if (message.empty())
        message = raylen::sfReadSensFncFile(sns, sensX, sensY, &unit);
    raylen::ExtinctionTable extinction;
    raylen::Atmosphere applied{atmosphere.exptime, atmosphere.airmass, nullptr, {}};
    if (atmosphere.extinction && message.empty()) {
        applied.extinctionName = raylen::resolveShippedTable(raylen::extinctionFolder, *atmosphere.extinction);
        message = checkCalibFile(applied.extinctionName);
        if (message.empty())
            message = raylen::sfReadExtinctionTable(applied.extinctionName, extinction);
        applied.extinction = &extinction;
    }
    if (message.empty() && atmosphere.wanted)
        message = raylen::fluxcalAtmosphereSpectrum(in, sensX, sensY, unit, sns, applied, out);
    else if (message.empty())
        message = raylen::fluxcalSpectrum(in, sensX, sensY, unit, sns, out, plotter);
    return finish(message, out, *args.option("o"));
}

int runNormalize(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("normalize");
    std::vector<std::pair<double, double>> regions;
    for (const std::string& text : args.all("region")) {
        double a = 0, b = 0;
        if (!parseRealRange(text, a, b))
            return usageError("--region takes X1:X2", spec);
        regions.emplace_back(a, b);
    }
    if (regions.empty())
        return usageError("at least one --region is required", spec);
    raylen::RejectOptions reject;
    if (auto text = args.option("reject"); text && !raylen::parseRejectOptions(*text, reject))
        return usageError("--reject takes LOW:HIGH[:ITER]", spec);
    int16_t order = raylen::defaultContinuumOrder;
    if (auto text = args.option("order")) {
        double value = 0;
        if (!parseDouble(*text, value) || !(std::fabs(value) <= 32767))
            return usageError("--order takes a number", spec);
        order = platform::toInteger(value);
    }

    raylen::Spectrum in, out;
    std::string message = openAnySpectrum(args.positional[0], in);
    if (!message.empty())
        return fail(message);
    const std::vector<float>& x = in.x;
    const std::vector<float>& y = in.y;
    // The list starts as the task resets it: one entry.
    std::vector<int32_t> list(1, 0);
    raylen::NullSpectrumView marks; // the region marks are not drawn in a batch run
    for (const auto& [a, b] : regions) {
        message = raylen::sfSetContRegion(x, y, static_cast<float>(a), static_cast<float>(b), list, marks);
        if (!message.empty())
            return fail(message);
    }
    std::vector<double> continuum;
    raylen::NullSpectrumView plotter;
    message = raylen::sfContinuumFit(x, y, list, order, continuum, reject);
    if (message.empty())
        message = raylen::normalizeSpectrum(in, continuum, order, out, plotter);
    return finish(message, out, *args.option("o"));
}

int runFft(const Arguments& args)
{
    std::vector<float> x, y, freq, amp;
    raylen::NullSpectrumView plotter;
    std::string message = openSpectrum(args.positional[0], x, y);
    if (message.empty())
        message = raylen::sfFFTPlot(x, y, freq, amp, plotter);
    return finish(message, freq, amp, *args.option("o"), false);
}

// Wraps a command whose named options are all required.
std::function<int(const Arguments&)> requiring(std::string name, std::vector<std::string> required,
                                               int (*run)(const Arguments&))
{
    return [name, required, run](const Arguments& a) {
        for (const std::string& option : required)
            if (!a.option(option))
                return usageError((option == "o" ? "-o" : "--" + option) + " is required", &commands().at(name));
        return run(a);
    };
}

Registration dispcor({"dispcor", "dispcor SPEC.txt --dip FILE.dip [--linear [--step S]] -o OUT.txt",
                      "replace the pixel scale by the wavelengths of a dispersion file (--linear: resampled "
                      "onto an even grid, default step the mean dispersion)",
                      {"o", "dip", "step"}, {"linear"}, 1,
                      requiring("dispcor", {"dip", "o"}, runDispcor)});
Registration fluxcal({"fluxcal",
                      "fluxcal SPEC.txt --sns FILE.sns [--exptime T] [--airmass X] [--extinction EXT.dat|NAME] "
                      "-o OUT.txt",
                      "divide by the sensitivity interpolated in a sensitivity file (and by the exposure time and "
                      "the atmosphere's transmission)",
                      {"o", "sns", "exptime", "airmass", "extinction"}, {}, 1,
                      requiring("fluxcal", {"sns", "o"}, runFluxcal)});
Registration normalize({"normalize",
                        "normalize SPEC.txt --region X1:X2 [--region ...] [--order N] [--reject LOW:HIGH[:ITER]] "
                        "-o OUT.txt",
                        "divide by a continuum polynomial fitted to the marked regions (default order 5)",
                        {"o", "region", "order", "reject"}, {}, 1, requiring("normalize", {"o"}, runNormalize)});
Registration fft({"fft", "fft SPEC.txt -o OUT.txt", "Fourier amplitude spectrum", {"o"}, {}, 1,
                  requiring("fft", {"o"}, runFft)});

} // namespace

} // namespace cli
