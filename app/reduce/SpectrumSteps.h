#pragma once
// The calibration steps on whole spectra, for the windows and raylen-cli
// alike: each computes Y with the step's own routine (so the values are the
// same as without an uncertainty), propagates the uncertainty when there is
// one, updates the medium and unit, and adds one HISTORY card.
#include "fits/FitsSpectrum.h"
#include "numeric/Resample.h"
#include "spectrum/Spectrum.h"
#include "view/SpectrumView.h"

#include <optional>
#include <string>
#include <vector>

namespace raylen {

// The dispersion file as the step uses it.
struct DispersionSolution {
    std::vector<double> coefficients;
    bool vacuum = false;    // a "# vacuum" note in the file
    std::string fileName;   // for the HISTORY card
};

// Resampling onto a linear grid after the correction: the resample rule,
// from the first wavelength, step > 0 or else the mean dispersion.
struct LinearGrid {
    bool enabled = false;
    double step = 0;
};

// The corrected spectrum is plotted; with a linear grid `exact` receives
// the grid's exact scale (for the FITS image form).
std::string dispcorSpectrum(const Spectrum& in, const DispersionSolution& solution, const LinearGrid& grid,
                            Spectrum& out, std::optional<LinearScale>& exact, SpectrumView& plotter);

// Divided by the sensitivity; σ / |s| likewise (unchanged where s is 0).
// The unit becomes sensUnit, or "adu" when the file names none.
std::string fluxcalSpectrum(const Spectrum& in, const std::vector<float>& sensX, const std::vector<float>& sensY,
                            const std::string& sensUnit, const std::string& sensFileName, Spectrum& out,
                            SpectrumView& plotter);

// Divided by the continuum polynomial; σ / |C(x)|. No unit afterwards.
std::string normalizeSpectrum(const Spectrum& in, const std::vector<double>& continuum, int16_t order,
                              Spectrum& out, SpectrumView& plotter);

// Flux-conserving resampling with the uncertainty on the same weights.
std::string resampleSpectrum(const Spectrum& in, const EvenScale& scale, Spectrum& out);

} // namespace raylen
