#pragma once
// The HISTORY card of an extraction, the same from the wizard and from
// raylen-cli: aperture, sky, optimal choice, noise model and image.
#include "reduce/Extract.h"
#include "reduce/ScanParam.h"

#include <string>

namespace raylen {

std::string extractionHistory(const ScanParam& p, const ExtractOptions& options, const std::string& imagePath);

} // namespace raylen
