#pragma once
// The coadd of whole spectra: sfCoadd over them with the cards, medium and
// unit of the first, the uncertainty when every input has one, and one
// HISTORY card.
#include "numeric/Coadd.h"
#include "spectrum/Spectrum.h"

#include <string>
#include <vector>

namespace raylen {

std::string coaddSpectra(const std::vector<Spectrum>& inputs, double step, Spectrum& out, EvenScale& scale);

} // namespace raylen
