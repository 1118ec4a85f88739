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

int runDispcor(const Arguments& args)
{
    std::vector<float> x, y, newX;
    std::vector<double> a;
    raylen::NullSpectrumView plotter;
    std::string message = openSpectrum(args.positional[0], x, y);
    if (message.empty())
        message = checkCalibFile(*args.option("dip"));
    if (message.empty())
        message = raylen::sfOpenDispFile(*args.option("dip"), a);
    if (message.empty())
        message = raylen::sfDispCorPlot(x, y, a, newX, plotter);
    return finish(message, newX, y, *args.option("o"));
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
    std::vector<float> x, y, sensX, sensY, newY;
    raylen::NullSpectrumView plotter;
    raylen::HeaderCards cards;
    std::string message = openSpectrum(args.positional[0], x, y);
    if (message.empty())
        message = readObservationCards(args.positional[0], cards);
    if (!message.empty())
        return fail(message);
    FluxcalAtmosphere atmosphere;
    if (int status = readAtmosphere(args, cards, atmosphere); status != exitOk)
        return status;
    message = checkCalibFile(*args.option("sns"));
    if (message.empty())
        message = raylen::sfReadSensFncFile(*args.option("sns"), sensX, sensY);
    raylen::ExtinctionTable extinction;
    if (atmosphere.extinction && message.empty()) {
        const std::string path = raylen::resolveShippedTable(raylen::extinctionFolder, *atmosphere.extinction);
        message = checkCalibFile(path);
        if (message.empty())
            message = raylen::sfReadExtinctionTable(path, extinction);
    }
    if (message.empty() && atmosphere.wanted)
        message = raylen::sfCalibrateExtinction(x, y, sensX, sensY, atmosphere.exptime, atmosphere.airmass,
                                                extinction, newY);
    else if (message.empty())
        message = raylen::sfCalibratePlot(x, y, sensX, sensY, newY, plotter);
    return finish(message, x, newY, *args.option("o"));
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

    std::vector<float> x, y, newY;
    std::string message = openSpectrum(args.positional[0], x, y);
    if (!message.empty())
        return fail(message);
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
        message = raylen::sfNormalizePlot(x, y, continuum, newY, plotter);
    return finish(message, x, newY, *args.option("o"));
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

Registration dispcor({"dispcor", "dispcor SPEC.txt --dip FILE.dip -o OUT.txt",
                      "replace the pixel scale by the wavelengths of a dispersion file", {"o", "dip"}, {}, 1,
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
