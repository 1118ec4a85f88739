#pragma once
// Spectra in either file form the system reads and writes: a name ending in
// ".fits" (any case) is a one-dimensional FITS spectrum, any other name the
// two-column text file. Text carries no uncertainty and no cards.
#include "fits/FitsSpectrum.h"
#include "spectrum/Spectrum.h"

#include <string>

namespace raylen {

bool isFitsSpectrumName(const std::string& path);

// FITS when the file classifies as a FITS spectrum, else text. A text
// spectrum gets the defaults of SpectrumMeta, with X taken as pixel numbers
// when it runs 0, 1, 2 … or 1, 2, 3 …. The spectrum changes only on success.
std::string openSpectrumFile(const std::string& path, Spectrum& spectrum);

// By the name's ending; `exact` gives the FITS image form its exact scale.
std::string saveSpectrumFile(const std::string& path, const Spectrum& spectrum, const LinearScale* exact = nullptr);

} // namespace raylen
