#pragma once
// Spectrum outputs of the commands: a name ending in ".fits" gets a
// one-dimensional FITS spectrum, any other name the two-column text file.
#include "fits/FitsHeader.h"
#include "fits/SpectrumFile.h"

#include <string>
#include <vector>

namespace cli {

using raylen::isFitsSpectrumName;

// xIsWavelength marks the scale as a wavelength in FITS; `source` gives the
// observation cards of the frame the spectrum came from. An empty spectrum
// or one that overflowed (NonFinite.h) is refused before anything is written.
std::string saveSpectrum(const std::vector<float>& x, const std::vector<float>& y, const std::string& path,
                         bool xIsWavelength, const raylen::HeaderCards* source = nullptr);

// A text or FITS input spectrum: FITS when the file classifies as one.
// wavelength tells whether X is a wavelength (for text: unless X runs
// 0, 1, 2 … or 1, 2, 3 … as pixel numbers do).
std::string openAnySpectrum(const std::string& path, std::vector<float>& x, std::vector<float>& y,
                            bool& wavelength);

// The whole spectrum: FITS outputs get its uncertainty, cards, medium and
// unit; text outputs the pairs only. Refused as above before anything is written.
std::string saveSpectrum(const raylen::Spectrum& spectrum, const std::string& path,
                         const raylen::LinearScale* exact = nullptr);

// openAnySpectrum with everything the file carries.
std::string openAnySpectrum(const std::string& path, raylen::Spectrum& spectrum);

} // namespace cli
