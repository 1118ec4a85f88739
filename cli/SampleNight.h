#pragma once
// A synthetic observing night of a long-slit spectrograph: object (BITPIX 16,
// BZERO 32768), dark (BITPIX 32), flat (BITPIX -32) and comparison-lamp
// frames, the lamp's wavelength table, the sensitivity table and a note
// stating the truth the reduction should recover.
#include <string>
#include <vector>

namespace cli {

struct SampleGeometry {
    int width = 1024;  // along the dispersion
    int height = 256;  // along the slit
};

// λ(X) = a0 + a1·X + a2·X², X the column as the extracted spectrum numbers it.
struct SampleDispersion {
    double a0 = 4400.0, a1 = 3.05, a2 = 1.0e-4;
    double at(double x) const { return a0 + x * (a1 + x * a2); }
    double pixelOf(double wave) const;
};

struct SampleLine {
    double wave;      // Å (air)
    double strength;  // lamp: peak counts; object: depth or height against the continuum
    double sigma;     // object lines: Å; lamp lines: unused
    const char* name;
};

// Lamp lines in the frame (He, Ne, Ar laboratory air wavelengths).
const std::vector<SampleLine>& sampleLampLines();
// The object's absorption (strength > 0: fractional depth) and emission
// (strength < 0: height, as a fraction of the continuum) lines.
const std::vector<SampleLine>& sampleObjectLines();

// Writes object.fit, dark.fit, flat.fit, comp.fit, lamp.dat, sensitivity.sns
// and README.txt into the folder; empty on success, else a message.
std::string writeSampleNight(const std::string& folder, const SampleGeometry& geometry = {});

// The files writeSampleNight writes, in the order it lists them.
const std::vector<const char*>& sampleFiles();

} // namespace cli
