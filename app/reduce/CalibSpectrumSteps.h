#pragma once
// The added calibration steps on whole spectra (see SpectrumSteps.h): flux
// calibration with the exposure time and the atmosphere, the
// radial-velocity correction (the coadd is in SpectrumCoadd.h). Each keeps the cards, carries
// the uncertainty and adds one HISTORY card.
#include "reduce/BaryCorr.h"
#include "reduce/CalibTables.h"
#include "spectrum/SpectrumCoadd.h"
#include "spectrum/Spectrum.h"

#include <string>
#include <vector>

namespace raylen {

struct Atmosphere {
    double exptime = 1, airmass = 0;
    const ExtinctionTable* extinction = nullptr; // null: no atmosphere
    std::string extinctionName;                   // for the HISTORY card
};

// Y / (s · T · 10^(−0.4·k·X)), σ divided by the same factor.
std::string fluxcalAtmosphereSpectrum(const Spectrum& in, const std::vector<float>& sensX,
                                      const std::vector<float>& sensY, const std::string& sensUnit,
                                      const std::string& sensFileName, const Atmosphere& atmosphere, Spectrum& out);

// The wavelength scale times (1 + v/c); Y and σ are unchanged. VHELIO and
// BSS_VHEL hold v (km/s).
std::string barycorrSpectrum(const Spectrum& in, double kms, VelocityFrame frame, Spectrum& out);

// Sets a numeric card (replacing one of the same keyword).
void setNumberCard(SpectrumMeta& meta, const std::string& key, double value, const std::string& comment);

} // namespace raylen
