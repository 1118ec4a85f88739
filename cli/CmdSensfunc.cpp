// sensfunc: the instrument response from an observed standard star.
#include "Command.h"
#include "ObservationCards.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"

#include "files/ShareData.h"
#include "reduce/CalibTables.h"
#include "reduce/SensFunc.h"

#include <iostream>

namespace cli {

namespace {

int runSensfunc(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("sensfunc");
    auto output = args.option("o");
    auto standardName = args.option("standard");
    if (!output || !standardName)
        return usageError("--standard and -o are required", spec);
    raylen::SensFuncSettings settings;
    if (auto text = args.option("exptime"); text && (!parseDouble(*text, settings.exptime) || !(settings.exptime > 0)))
        return usageError("--exptime takes a positive number of seconds", spec);
    if (auto text = args.option("airmass"); text && (!parseDouble(*text, settings.airmass) || settings.airmass < 0))
        return usageError("--airmass takes a number from 0", spec);
    if (auto text = args.option("order")) {
        double order = 0;
        if (!parseDouble(*text, order) || order < 0 || order > 100 || order != static_cast<int>(order))
            return usageError("--order takes a whole number from 0 to 100", spec);
        settings.order = static_cast<int>(order);
    }
    if (auto text = args.option("reject"); text && !raylen::parseRejectOptions(*text, settings.reject))
        return usageError("--reject takes LOW:HIGH[:ITER]", spec);
    if (!args.all("mask").empty()) {
        settings.masks.clear();
        for (const std::string& text : args.all("mask")) {
            raylen::WaveRange range;
            if (!parseRealRange(text, range.lo, range.hi))
                return usageError("--mask takes A1:A2", spec);
            settings.masks.push_back(range);
        }
    }

    raylen::Spectrum star;
    std::string message = openAnySpectrum(args.positional[0], star);
    if (!message.empty())
        return fail(message);
    const raylen::HeaderCards& cards = star.meta.cards;
    // Without the options: the cards of a FITS standard, else 1 s and no atmosphere.
    const auto exptime = cardNumberOf(cards, {"EXPTIME"});
    const auto airmass = cardNumberOf(cards, {"AIRMASS"});
    if (!args.option("exptime") && exptime)
        settings.exptime = *exptime;
    if (!args.option("airmass") && airmass)
        settings.airmass = *airmass;
    raylen::StandardTable standard;
    const std::string standardPath = raylen::resolveShippedTable(raylen::standardsFolder, *standardName);
    message = checkCalibFile(standardPath);
    if (message.empty())
        message = raylen::sfReadStandardTable(standardPath, standard);
    raylen::ExtinctionTable extinction;
    const raylen::ExtinctionTable* atmosphere = nullptr;
    if (auto name = args.option("extinction"); name && message.empty()) {
        const std::string path = raylen::resolveShippedTable(raylen::extinctionFolder, *name);
        message = checkCalibFile(path);
        if (message.empty())
            message = raylen::sfReadExtinctionTable(path, extinction);
        atmosphere = &extinction;
    }
    raylen::SensFuncResult result;
    if (message.empty())
        message = raylen::sfSensFunc(star.x, star.y, standard, atmosphere, settings, result,
                                     star.hasUncertainty() ? &star.sigma : nullptr);
    if (message.empty())
        message = raylen::sfWriteSensFile(*output, result.unit, result.sensX, result.sensY);
    if (!message.empty())
        return fail(message);
    std::cout << "exptime=" << settings.exptime << "\nairmass=" << settings.airmass << '\n'
              << raylen::sensResidualText(result);
    return exitOk;
}

Registration sensfunc({"sensfunc",
                       "sensfunc STD --standard REF.dat|NAME [--exptime T] [--airmass X] "
                       "[--extinction EXT.dat|NAME] [--mask A1:A2 ...] [--order N] [--reject LOW:HIGH[:ITER]] "
                       "-o OUT.sns",
                       "instrument response from an observed standard star (shipped standards and extinction "
                       "tables by name)",
                       {"o", "standard", "exptime", "airmass", "extinction", "mask", "order", "reject"}, {}, 1,
                       runSensfunc});

} // namespace

} // namespace cli
