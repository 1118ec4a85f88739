#include "reduce/CalibSpectrumSteps.h"

#include "fits/HeaderCard.h"
#include "numeric/Interpolate.h"
#include "reduce/FluxCal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace raylen {

namespace {

std::string number(const char* format, double value)
{
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

void setNumberCard(SpectrumMeta& meta, const std::string& key, double value, const std::string& comment)
{
    char card[96];
    std::snprintf(card, sizeof card, "%-8s= %20.6f / %s", key.c_str(), value, comment.c_str());
    std::string text(card);
    text.resize(cardLength, ' ');
    for (std::string& existing : meta.cards)
        if (cardKeyword(existing) == key && cardHasValue(existing)) {
            existing = text;
            return;
        }
    // Observation cards go before the COMMENT and HISTORY cards.
    auto at = std::find_if(meta.cards.begin(), meta.cards.end(), [](const std::string& c) {
        const std::string k = cardKeyword(c);
        return k == "COMMENT" || k == "HISTORY";
    });
    meta.cards.insert(at, text);
}

std::string fluxcalAtmosphereSpectrum(const Spectrum& in, const std::vector<float>& sensX,
                                      const std::vector<float>& sensY, const std::string& sensUnit,
                                      const std::string& sensFileName, const Atmosphere& atmosphere, Spectrum& out)
{
    static const ExtinctionTable none;
    const ExtinctionTable& table = atmosphere.extinction ? *atmosphere.extinction : none;
    const double airmass = atmosphere.extinction ? atmosphere.airmass : 0.0;
    Spectrum result = in;
    std::string message =
        sfCalibrateExtinction(in.x, in.y, sensX, sensY, atmosphere.exptime, airmass, table, result.y);
    if (!message.empty())
        return message;
    result.sigma.clear();
    if (in.hasUncertainty()) {
        result.sigma.resize(in.sigma.size());
        for (size_t i = 0; i < in.x.size(); ++i) {
            float s = 0.0f;
            message = sfLinearInterpolate(sensX, sensY, in.x[i], s);
            if (!message.empty())
                return message;
            const double factor = s * atmosphere.exptime * atmosphericTransmission(table, in.x[i], airmass);
            // Unchanged where the values pass unchanged.
            result.sigma[i] = factor != 0.0 ? static_cast<float>(in.sigma[i] / std::fabs(factor)) : in.sigma[i];
        }
    }
    result.meta.fluxUnit = sensUnit.empty() ? std::string(countsUnit) : sensUnit;
    std::string history = "fluxcal " + baseName(sensFileName) + " T=" + number("%g", atmosphere.exptime);
    if (atmosphere.extinction)
        history += " X=" + number("%g", airmass) + " ext=" + baseName(atmosphere.extinctionName);
    addHistory(result.meta, history + " unit=" + result.meta.fluxUnit);
    out = std::move(result);
    return {};
}

std::string barycorrSpectrum(const Spectrum& in, double kms, VelocityFrame frame, Spectrum& out)
{
    if (!in.meta.xIsWavelength)
        return "波長に校正されていないスペクトルです";
    Spectrum result = in;
    result.x = shiftWavelengths(in.x, kms);
    const char* kind = frame == VelocityFrame::barycentric ? "barycentric" : "heliocentric";
    setNumberCard(result.meta, "VHELIO", kms, std::string(kind) + " correction applied (km/s)");
    setNumberCard(result.meta, "BSS_VHEL", kms, std::string(kind) + " correction applied (km/s)");
    addHistory(result.meta, std::string("barycorr ") + kind + " v=" + number("%.4f", kms) + " km/s");
    out = std::move(result);
    return {};
}

} // namespace raylen
