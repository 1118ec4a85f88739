#pragma once
// One-dimensional FITS spectra, the form other spectroscopy tools exchange:
// a primary image with a linear wavelength scale when X is evenly spaced,
// otherwise an empty primary header and a binary table with WAVE and FLUX.
//
// What the file carries beside the points (see spectrum/Spectrum.h):
// - the kept cards (observation cards, COMMENT, HISTORY) in the primary
//   header; a reader keeps every primary card that does not describe the
//   data layout, so cards added by any step travel on;
// - the medium: CTYPE1 (image) or TCTYP1 (table) 'AWAV' for air, 'WAVE'
//   for vacuum, both with CUNIT1/TUNIT1 'Angstrom' (only when X is a
//   wavelength);
// - the flux unit: BUNIT (image) or TUNIT2 (table), left out when empty;
// - the uncertainty: an image extension EXTNAME 'ERR' with the same scale
//   (image form), or a third column ERR (table form).
#include "fits/FitsHeader.h"
#include "spectrum/Spectrum.h"

#include <string>
#include <vector>

namespace raylen {

// Relative tolerance of every step against the mean step.
constexpr double evenStepTolerance = 1e-6;

// True when X ascends or descends with every step within evenStepTolerance
// of the mean step (plus the rounding of the Single values themselves);
// start and step then describe the scale.
bool isEvenlySpaced(const std::vector<float>& x, double& start, double& step);

// True when X runs 0, 1, 2 … or 1, 2, 3 …: pixel numbers, not a wavelength.
bool looksLikePixelNumbers(const std::vector<float>& x);

// An exact linear scale for the image form (resampled spectra), so that
// the Single X values need not be trusted.
struct LinearScale {
    double start = 0, step = 0;
};

// Writes the image form when `exact` is given or X is evenly spaced, else
// the table form. The file is replaced only when completely written.
std::string sfSaveFitsSpectrum(const std::string& strFile, const Spectrum& spectrum,
                               const LinearScale* exact = nullptr);

// Reads either form with its uncertainty, kept cards, medium and unit;
// the spectrum changes only on success. Descending X is made ascending.
std::string sfOpenFitsSpectrum(const std::string& strFile, Spectrum& spectrum);

// The cards of a frame that its spectra keep: the observation keywords in
// the order of observationKeywords(), then the COMMENT and HISTORY cards.
std::vector<std::string> observationCards(const HeaderCards& frame);

// Observation keywords copied from a source image into a spectrum.
const std::vector<std::string>& observationKeywords();

// True when the file is a FITS file whose primary image has NAXIS 1, or
// whose first extension is a binary table with columns WAVE and FLUX, or
// any binary table after a primary without data (the reader then says what
// is wrong with it).
bool isFitsSpectrumFile(const std::string& strFile);

// The older two-vector forms, kept for callers that carry no uncertainty.
struct FitsSpectrumOptions {
    bool xIsWavelength = true;                 // CTYPE1/CUNIT1 and TUNIT1 only then
    const HeaderCards* source = nullptr;       // observation cards are copied from it
};
std::string sfSaveFitsSpectrum(const std::string& strFile, const std::vector<float>& x, const std::vector<float>& y,
                               const FitsSpectrumOptions& options = {});
std::string sfSaveFitsSpectrumLinear(const std::string& strFile, double start, double step,
                                     const std::vector<float>& y, const FitsSpectrumOptions& options = {});
std::string sfOpenFitsSpectrum(const std::string& strFile, std::vector<float>& x, std::vector<float>& y,
                               bool* xIsWavelength = nullptr);

} // namespace raylen
