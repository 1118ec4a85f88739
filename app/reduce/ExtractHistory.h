#pragma once
// The HISTORY card of an extraction, the same from the wizard and from
// raylen-cli: image, region, aperture, sky, optimal choice and noise model.
#include "reduce/Extract.h"
#include "reduce/ScanParam.h"

#include <string>

namespace raylen {

std::string extractionHistory(const ScanParam& p, const ExtractOptions& options, const std::string& imagePath);

} // namespace raylen
