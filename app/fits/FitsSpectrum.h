#pragma once
// One-dimensional FITS spectra, the form other spectroscopy tools exchange:
// a primary image with a linear wavelength scale when X is evenly spaced,
// otherwise an empty primary header and a binary table with WAVE and FLUX.
#include "fits/FitsHeader.h"

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

struct FitsSpectrumOptions {
    bool xIsWavelength = true;                 // CTYPE1/CUNIT1 and TUNIT1 only then
    const HeaderCards* source = nullptr;       // observation cards are copied from it
};

// Writes the spectrum in the image form when X is evenly spaced, else in the
// table form. The file is replaced only when completely written.
std::string sfSaveFitsSpectrum(const std::string& strFile, const std::vector<float>& x, const std::vector<float>& y,
                               const FitsSpectrumOptions& options = {});
// The image form with an exact scale (resampled spectra).
std::string sfSaveFitsSpectrumLinear(const std::string& strFile, double start, double step,
                                     const std::vector<float>& y, const FitsSpectrumOptions& options = {});

// True when the file is a FITS file whose primary image has NAXIS 1, or
// whose first extension is a binary table with columns WAVE and FLUX, or
// any binary table after a primary without data (the reader then says what
// is wrong with it).
bool isFitsSpectrumFile(const std::string& strFile);

// Reads either form; the outputs change only on success. xIsWavelength
// tells whether the scale was marked as a wavelength.
std::string sfOpenFitsSpectrum(const std::string& strFile, std::vector<float>& x, std::vector<float>& y,
                               bool* xIsWavelength = nullptr);

// Observation cards copied from a source image into a spectrum.
const std::vector<std::string>& observationKeywords();

} // namespace raylen
