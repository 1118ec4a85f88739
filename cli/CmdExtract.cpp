// extract: the extraction wizard in one run, with or without a reference.
#include "Command.h"
#include "ImageInput.h"
#include "SpectrumOutput.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "reduce/ErrorLabels.h"
#include "reduce/Extract.h"
#include "reduce/ExtractHistory.h"
#include "reduce/ParamFile.h"
#include "reduce/ScanParam.h"
#include "reduce/Trace.h"
#include "files/FileAccess.h"
#include "files/OutputSet.h"
#include "display/Region.h"
#include "files/TextSpectrum.h"
#include "fits/FitsSpectrum.h"
#include "reduce/NoiseModel.h"
#include "spectrum/Spectrum.h"

#include <algorithm>
#include <optional>
#include <iostream>

namespace cli {

namespace {

const CommandSpec* extractSpec()
{
    return &commands().at("extract");
}

// "S1:E1,S2:E2" into the four sky offsets, in box order.
bool splitSky(const std::string& text, std::array<int64_t, 4>& offsets)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    const std::string halves[2] = {text.substr(0, comma), text.substr(comma + 1)};
    for (int h = 0; h < 2; ++h) {
        long a = 0, b = 0;
        if (!parseIntRange(halves[h], a, b))
            return false;
        offsets[static_cast<size_t>(2 * h)] = a;
        offsets[static_cast<size_t>(2 * h + 1)] = b;
    }
    return true;
}

// A number option is read as the dialog reads its boxes: the leading
// number, halves to even. A fault carries the label of the step it feeds.
std::string wholeOption(const char* label, const std::string& text, int64_t& value)
{
    return platform::trapErrors(label, [&] { value = raylen::toWholeSaturated(platform::leadingNumber(text)); });
}

// The options of the uncertainty, the optimal extraction and the sky output.
struct ScienceOptions {
    raylen::ExtractOptions extract;
    std::optional<std::string> skyOut;
    // Whether the noise model is used at all: without it nothing is noted.
    bool noiseUsed = false;
};

std::string readScienceOptions(const Arguments& args, const raylen::HeaderCards& frame, ScienceOptions& science)
{
    std::optional<double> gain, readNoise;
    double value = 0;
    if (auto text = args.option("gain")) {
        if (!parseDouble(*text, value) || !(value > 0))
            return "--gain takes a positive number of electrons per count";
        gain = value;
    }
    if (auto text = args.option("rdnoise")) {
        if (!parseDouble(*text, value) || !(value >= 0))
            return "--rdnoise takes a number of electrons from 0";
        readNoise = value;
    }
    science.extract.optimal = args.flag("optimal");
    if (auto text = args.option("cr-sigma")) {
        if (!science.extract.optimal)
            return "--cr-sigma needs --optimal";
        if (!parseDouble(*text, science.extract.crSigma) || !(science.extract.crSigma > 0))
            return "--cr-sigma takes a positive number";
    }
    science.skyOut = args.option("sky-out");
    science.noiseUsed = science.extract.optimal || isFitsSpectrumName(*args.option("o"));
    bool defaulted = false;
    science.extract.noise = raylen::noiseModelOf(frame, gain, readNoise, defaulted);
    if (defaulted && science.noiseUsed)
        std::cerr << "注意: GAIN, RDNOISE がないため gain " << science.extract.noise.gain << ", read noise "
                  << science.extract.noise.readNoise << " を使います\n";
    return {};
}

// Writes the spectrum and the parameter file beside it (and the sky when
// asked) as one unit: all or none, and never one run's spectrum with
// another's parameters.
std::string saveSpectrumAndParam(const raylen::ExtractResult& result, const std::string& output,
                                 const raylen::ScanParam& param, const raylen::HeaderCards& source,
                                 const ScienceOptions& science, const std::string& image)
{
    raylen::Spectrum spectrum;
    spectrum.x = result.x;
    spectrum.y = result.y;
    spectrum.sigma = result.sigma;
    spectrum.meta.xIsWavelength = false;
    spectrum.meta.cards = raylen::observationCards(source);
    raylen::addHistory(spectrum.meta, raylen::extractionHistory(param, science.extract, image));
    raylen::OutputSet outputs;
    std::string message = saveSpectrum(spectrum, output);
    if (message.empty())
        message = raylen::sfWritePrmFile(output, param);
    if (message.empty() && science.skyOut) {
        raylen::Spectrum sky = spectrum;
        sky.y = result.sky;
        sky.sigma.clear();
        message = saveSpectrum(sky, *science.skyOut);
    }
    if (message.empty())
        message = outputs.commit();
    return message;
}

int runReference(const Arguments& args, const OpenedImage& opened, const std::string& output,
                 const ScienceOptions& science)
{
    const std::string reference = *args.option("ref");
    if (!raylen::dfIsFileExist(reference))
        return fail(raylen::kMsgRefMissing);
    raylen::ScanParam param;
    raylen::dsInitScanParam(param);
    raylen::ExtractResult result;
    raylen::NullSpectrumView plotter;
    std::string message = raylen::sfRefScanDataPro(reference, opened.image, opened.info, param, science.extract,
                                                    result, plotter);
    if (message.empty())
        message = saveSpectrumAndParam(result, output, param, opened.header, science, args.positional[0]);
    return message.empty() ? exitOk : fail(message);
}

int runRegion(const Arguments& args, const OpenedImage& opened, const std::string& output,
              ScienceOptions& science)
{
    long x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    if (!args.option("x") || !args.option("y") || !parseIntRange(*args.option("x"), x1, x2) ||
        !parseIntRange(*args.option("y"), y1, y2))
        return usageError("--x and --y take pixel ranges A:B", extractSpec());
    raylen::ScanParam param;
    raylen::dsInitScanParam(param);
    raylen::ScanParamValues values = raylen::scanParamValues(param);
    if (auto sky = args.option("sky"); sky && !splitSky(*sky, values.skyOffsets))
        return usageError("--sky takes S1:E1,S2:E2", extractSpec());
    raylen::RejectOptions reject;
    if (auto text = args.option("reject"); text && !raylen::parseRejectOptions(*text, reject))
        return usageError("--reject takes LOW:HIGH[:ITER]", extractSpec());
    values.skySub = !args.flag("no-sky");

    // The range is corrected as the dialog corrects typed numbers.
    auto clampLong = [](long v) { return static_cast<int32_t>(std::clamp(v, -2147483647L, 2147483647L)); };
    raylen::PixelRegion region =
        raylen::correctRegion({clampLong(x1), clampLong(x2), clampLong(y1), clampLong(y2)}, opened.info);
    values.startX = region.startX;
    values.endX = region.endX;
    values.startY = region.startY;
    values.endY = region.endY;

    std::vector<float> xs, ys;
    raylen::NullSpectrumView plotter;
    std::string message;
    if (auto width = args.option("width"))
        message = wholeOption(raylen::kGetScanParamLabel, *width, values.scanWidth);
    if (auto order = args.option("sky-order"); order && message.empty())
        message = wholeOption(raylen::kGetScanParamLabel, *order, values.skyFitOrder);
    if (message.empty())
        message = raylen::sfStoreScanParam(values, param);
    if (message.empty())
        message = raylen::sfInputPeakData(0, opened.image, param.lngStartX, param.lngEndX, param.lngStartY,
                                          param.lngEndY, xs, ys);
    int64_t traceOrder = param.intTraceOrder;
    if (auto order = args.option("trace-order"); order && message.empty())
        message = wholeOption(raylen::kFitButtonLabel, *order, traceOrder);
    if (!message.empty())
        return fail(message);
    raylen::TraceFit fit = raylen::fitTrace(traceOrder, xs, ys, param, reject);
    if (!fit.status.empty())
        return fail(fit.status);
    science.extract.skyReject = reject;
    raylen::ExtractResult result;
    message = raylen::sfScanDataPro(param, opened.image, science.extract, result, plotter);
    if (message.empty())
        message = saveSpectrumAndParam(result, output, param, opened.header, science, args.positional[0]);
    if (!message.empty())
        return fail(message);
    for (const std::string& line : fit.resultLines)
        std::cout << line << '\n';
    return exitOk;
}

int runExtract(const Arguments& args)
{
    auto output = args.option("o");
    if (!output)
        return usageError("-o is required", extractSpec());
    const std::string& name = *output;
    // The parameter file takes the spectrum's name with "prm" in place of
    // its last three characters: a name already ending so would be
    // overwritten by it, and a shorter one cannot take it.
    if (name.size() < 3 || name.compare(name.size() - 3, 3, "prm") == 0)
        return usageError("-o must be longer than three characters and not end in prm", extractSpec());
    const bool reference = args.option("ref").has_value();
    if (reference) {
        for (const char* aperture : {"x", "y", "width", "trace-order", "sky", "sky-order", "reject"})
            if (args.option(aperture))
                return usageError(std::string("--") + aperture + " cannot be combined with --ref", extractSpec());
        if (args.flag("no-sky"))
            return usageError("--no-sky cannot be combined with --ref", extractSpec());
    }
    if (auto sky = args.option("sky-out")) {
        if (reference || args.flag("no-sky"))
            return usageError("--sky-out needs the sky subtracted", extractSpec());
        if (*sky == name || raylen::prmFileName(name) == *sky)
            return usageError("--sky-out must name another file", extractSpec());
    }
    OpenedImage opened;
    std::string message = openImageValues(args.positional[0], opened);
    if (!message.empty())
        return fail(message);
    ScienceOptions science;
    if (std::string problem = readScienceOptions(args, opened.header, science); !problem.empty())
        return usageError(problem, extractSpec());
    return reference ? runReference(args, opened, name, science) : runRegion(args, opened, name, science);
}

Registration extract({"extract",
                      "extract IMAGE --x X1:X2 --y Y1:Y2 [--width W] [--trace-order N] [--sky S1:E1,S2:E2] "
                      "[--no-sky] [--sky-order N] [--reject LOW:HIGH[:ITER]] [--gain G] [--rdnoise R] "
                      "[--optimal [--cr-sigma S]] [--sky-out SKY] -o OUT.txt|OUT.fits | "
                      "extract IMAGE --ref REF.prm [--gain G] [--rdnoise R] [--optimal [--cr-sigma S]] "
                      "-o OUT.txt|OUT.fits",
                      "extract a spectrum along the fitted trace with sky subtraction, or with the aperture of a "
                      "parameter file; writes the spectrum and its parameter file (name ending in prm)",
                      {"o", "x", "y", "width", "trace-order", "sky", "sky-order", "ref", "reject", "gain",
                       "rdnoise", "cr-sigma", "sky-out"},
                      {"no-sky", "optimal"},
                      1,
                      runExtract,
                      [](const Arguments& a) {
                          const std::string o = a.option("o").value_or("");
                          std::vector<std::string> derived;
                          if (o.size() >= 3)
                              derived.push_back(raylen::prmFileName(o));
                          if (auto sky = a.option("sky-out"))
                              derived.push_back(*sky);
                          return derived;
                      }});

} // namespace

} // namespace cli
