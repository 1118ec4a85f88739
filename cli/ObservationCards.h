#pragma once
// Values of the observation cards of a FITS spectrum (EXPTIME, AIRMASS,
// RA, DEC, the site, DATE-OBS) that commands take as their defaults.
#include "fits/HeaderCard.h"

#include <optional>
#include <string>

namespace cli {

// The primary header cards up to END of a FITS input; none for a text
// spectrum. Empty on success.
std::string readObservationCards(const std::string& path, raylen::HeaderCards& cards);

// The first of the keywords present, as a number / as its value text.
std::optional<double> cardNumberOf(const raylen::HeaderCards& cards, std::initializer_list<const char*> keys);
std::optional<std::string> cardTextOf(const raylen::HeaderCards& cards, std::initializer_list<const char*> keys);

} // namespace cli
