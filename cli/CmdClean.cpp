// clean: cosmic-ray cleaning of a frame, then the image save.
#include "Command.h"
#include "ImageInput.h"
#include "NonFinite.h"

#include "fits/FitsData.h"
#include "image/CosmicClean.h"
#include "image/DetectorNoise.h"

#include <cstdio>
#include <iostream>

namespace cli {

namespace {

const CommandSpec& cleanSpec() { return commands().at("clean"); }

// An option given as a number satisfying `ok`; false (after the usage text)
// when it is malformed.
bool numberOption(const Arguments& args, const char* name, bool (*ok)(double), std::optional<double>& value,
                  int& status)
{
    auto text = args.option(name);
    if (!text)
        return true;
    double v = 0;
    if (!parseDouble(*text, v) || !ok(v)) {
        status = usageError(std::string("--") + name + " takes a " + (ok(0) ? "number from 0" : "positive number"),
                            &cleanSpec());
        return false;
    }
    value = v;
    return true;
}

bool positive(double v) { return v > 0; }
bool notNegative(double v) { return v >= 0; }

int runClean(const Arguments& args)
{
    auto output = args.option("o");
    auto maskFile = args.option("mask");
    if (!output)
        return usageError("-o is required", &cleanSpec());
    if (maskFile && *maskFile == *output)
        return usageError("--mask must name another file than -o", &cleanSpec());
    std::optional<double> sigclip, objlim, gain, rdnoise;
    int status = exitOk;
    if (!numberOption(args, "sigclip", positive, sigclip, status) ||
        !numberOption(args, "objlim", positive, objlim, status) || !numberOption(args, "gain", positive, gain, status) ||
        !numberOption(args, "rdnoise", notNegative, rdnoise, status))
        return status;

    OpenedImage opened;
    std::string message = openImageValues(args.positional[0], opened);
    if (!message.empty())
        return fail(message);
    const raylen::DetectorNoise noise = raylen::detectorNoise(opened.header, gain, rdnoise);
    std::cerr << raylen::detectorNoiseNote(noise);
    raylen::CleanParameters parameters;
    parameters.sigmaClip = sigclip.value_or(parameters.sigmaClip);
    parameters.objectLimit = objlim.value_or(parameters.objectLimit);
    parameters.gain = noise.gain;
    parameters.readNoise = noise.readNoise;
    raylen::CleanResult result;
    raylen::HeaderCards maskHeader;
    message = raylen::sfCleanCosmicRays(opened.image, opened.header, parameters, result);
    if (message.empty())
        message = checkResult(opened.image);
    if (message.empty())
        message = raylen::sfSaveImgSng(*output, opened.header, opened.image);
    if (message.empty() && maskFile) {
        maskHeader = opened.header;
        message = raylen::sfSaveImgSng(*maskFile, maskHeader, raylen::replacedPixelFrame(result));
        // No half-written result set: the cleaned frame goes with its mask.
        if (!message.empty())
            std::remove(output->c_str());
    }
    if (!message.empty())
        return fail(message);
    std::cout << "cleaned=" << result.cleaned << '\n';
    return exitOk;
}

Registration clean({"clean",
                    "clean IMAGE [--sigclip S] [--objlim O] [--gain G] [--rdnoise R] [--mask MASK.fit] -o OUT.fit",
                    "remove cosmic rays by Laplacian edge detection and save; prints cleaned=N",
                    {"o", "sigclip", "objlim", "gain", "rdnoise", "mask"},
                    {},
                    1,
                    runClean,
                    [](const Arguments& a) {
                        auto m = a.option("mask");
                        return m ? std::vector<std::string>{*m} : std::vector<std::string>{};
                    }});

} // namespace

} // namespace cli
