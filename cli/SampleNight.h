#pragma once
// A synthetic observing night: object, dark, flat and comparison-lamp frames
// of a long-slit spectrograph, written as BITPIX 16 files with BZERO 32768.
#include <string>

namespace cli {

struct SampleGeometry {
    int width = 1024;  // along the dispersion
    int height = 256;  // along the slit
};

// Writes object.fit, dark.fit, flat.fit and comp.fit into the folder;
// empty on success, else a message.
std::string writeSampleNight(const std::string& folder, const SampleGeometry& geometry = {});

// Wavelength (Angstrom) of column x of the sample frames.
double sampleWavelength(double x, int width);

} // namespace cli
