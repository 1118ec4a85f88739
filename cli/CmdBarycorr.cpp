// barycorr: the wavelength scale corrected to the barycentre or the Sun.
#include "Command.h"
#include "ObservationCards.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"

#include "reduce/BaryCorr.h"
#include "reduce/CalibSpectrumSteps.h"

#include <cstdio>
#include <iostream>

namespace cli {

namespace {

// Each value from its option, else from the first card present.
std::string readObservation(const Arguments& args, const raylen::HeaderCards& cards, raylen::Observation& o)
{
    auto ra = args.option("ra") ? args.option("ra") : cardTextOf(cards, {"RA", "OBJCTRA"});
    auto dec = args.option("dec") ? args.option("dec") : cardTextOf(cards, {"DEC", "OBJCTDEC"});
    if (!ra || !dec)
        return "--ra and --dec are required (the spectrum has no RA/DEC cards)";
    if (!raylen::parseRightAscension(*ra, o.raDeg))
        return "RA takes degrees or hours as H:M:S";
    if (!raylen::parseDeclination(*dec, o.decDeg))
        return "DEC takes degrees or D:M:S";
    if (auto site = args.option("site")) {
        const size_t comma = site->find(',');
        double height = 0;
        if (comma == std::string::npos || !parseRealPair(site->substr(comma + 1), o.latitudeDeg, height) ||
            !parseDouble(site->substr(0, comma), o.longitudeDeg))
            return "--site takes LON,LAT,HEIGHT";
        o.heightM = height;
    } else {
        auto lon = cardNumberOf(cards, {"SITELONG", "GEO_LONG"});
        auto lat = cardNumberOf(cards, {"SITELAT", "GEO_LAT"});
        auto height = cardNumberOf(cards, {"SITEELEV", "GEO_ELEV"});
        if (!lon || !lat)
            return "--site is required (the spectrum has no site cards)";
        o.longitudeDeg = *lon;
        o.latitudeDeg = *lat;
        o.heightM = height.value_or(0.0);
    }
    auto date = args.option("date-obs") ? args.option("date-obs") : cardTextOf(cards, {"DATE-OBS"});
    if (!date)
        return "--date-obs is required (the spectrum has no DATE-OBS card)";
    if (!raylen::parseIsoDate(*date, o.start))
        return "--date-obs takes YYYY-MM-DDThh:mm:ss";
    if (auto text = args.option("exptime")) {
        if (!parseDouble(*text, o.exptime) || o.exptime < 0)
            return "--exptime takes a number of seconds from 0";
    } else {
        o.exptime = cardNumberOf(cards, {"EXPTIME"}).value_or(0.0);
    }
    return {};
}

int runBarycorr(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("barycorr");
    auto output = args.option("o");
    if (!output)
        return usageError("-o is required", spec);
    const std::string kind = args.option("kind").value_or("barycentric");
    if (kind != "barycentric" && kind != "heliocentric")
        return usageError("--kind takes barycentric or heliocentric", spec);

    raylen::Spectrum in, out;
    std::string message = openAnySpectrum(args.positional[0], in);
    if (!message.empty())
        return fail(message);
    raylen::Observation observation;
    if (std::string problem = readObservation(args, in.meta.cards, observation); !problem.empty())
        return usageError(problem, spec);
    const raylen::VelocityFrame frame =
        kind == "barycentric" ? raylen::VelocityFrame::barycentric : raylen::VelocityFrame::heliocentric;
    double v = 0;
    message = raylen::sfRadialVelocityCorrection(observation, frame, v);
    if (message.empty())
        message = raylen::barycorrSpectrum(in, v, frame, out);
    if (message.empty())
        message = saveSpectrum(out, *output);
    if (!message.empty())
        return fail(message);
    char line[64];
    std::snprintf(line, sizeof line, "v=%.4f\n", v);
    std::cout << line;
    return exitOk;
}

Registration barycorr({"barycorr",
                       "barycorr SPEC [--kind barycentric|heliocentric] [--ra RA --dec DEC] [--site LON,LAT,HEIGHT] "
                       "[--date-obs ISO] [--exptime T] -o OUT",
                       "radial-velocity correction of the wavelength scale at mid-exposure (prints v= in km/s)",
                       {"o", "kind", "ra", "dec", "site", "date-obs", "exptime"}, {}, 1, runBarycorr});

} // namespace

} // namespace cli
