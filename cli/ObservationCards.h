#pragma once
// Values of the kept observation cards of a FITS spectrum (EXPTIME, AIRMASS,
// RA, DEC, the site, DATE-OBS) that commands take as their defaults.
#include "fits/HeaderCard.h"

#include <optional>
#include <string>

namespace cli {

// The first of the keywords present, as a number / as its value text.
std::optional<double> cardNumberOf(const raylen::HeaderCards& cards, std::initializer_list<const char*> keys);
std::optional<std::string> cardTextOf(const raylen::HeaderCards& cards, std::initializer_list<const char*> keys);

} // namespace cli
