#pragma once
// Instrument response from an observed standard star: at every tabulated
// point of the star the observed counts over (flux · exposure time ·
// atmospheric transmission), fitted smoothly in magnitudes outside the
// masked wavelength ranges, with sigma rejection.
#include "numeric/SigmaReject.h"
#include "reduce/CalibTables.h"

#include <string>
#include <vector>

namespace raylen {

struct WaveRange {
    double lo = 0, hi = 0; // Å
};

// Balmer lines, the telluric O2 bands and the H2O band.
const std::vector<WaveRange>& defaultSensMasks();

constexpr int defaultSensOrder = 7;
// Rejection is on by default: single bad points (a cosmic ray in the
// standard, an unmasked line) must not bend the response.
constexpr RejectOptions defaultSensReject{3.0, 3.0, defaultRejectIterations};

struct SensFuncSettings {
    double exptime = 1.0;
    double airmass = 0.0;
    int order = defaultSensOrder;
    RejectOptions reject = defaultSensReject;
    std::vector<WaveRange> masks = defaultSensMasks();
};

struct SensPoint {
    double wave = 0;
    double counts = 0;   // observed counts a pixel at the point
    double flux = 0;     // tabulated flux
    double response = 0; // counts / (flux · T · transmission)
    double fitted = 0;   // the fit at the point
    double sigma = 0;    // the response's σ from the standard's (0: none)
    bool masked = false;   // inside a mask or unusable (no flux, no counts)
    bool rejected = false; // left out by the rejection
};

struct SensFuncResult {
    std::vector<SensPoint> points; // the table points inside the spectrum
    std::vector<float> sensX, sensY; // the response at every X of the spectrum
    double rms = 0;                  // relative RMS of the points used
    std::string unit;                // the standard's flux unit
};

// stdX ascending wavelengths, stdY counts. extinction may be null (no
// atmosphere). Fewer usable points than order + 1:
// "感度曲線を求めるには標準星のデータ点が足りません". With the standard's
// uncertainty (stdSigma, one a point) every point of the fit is weighted by
// its inverse variance in magnitudes and rejected in units of its own σ;
// without it, or when a used point's σ is not positive, the fit is unweighted.
std::string sfSensFunc(const std::vector<float>& stdX, const std::vector<float>& stdY,
                       const StandardTable& standard, const ExtinctionTable* extinction,
                       const SensFuncSettings& settings, SensFuncResult& result,
                       const std::vector<float>* stdSigma = nullptr);

// The .sns: "# unit NAME" first when a unit is known, then "X,S" lines
// with CR LF; the file is replaced only when completely written.
std::string sfWriteSensFile(const std::string& path, const std::string& unit, const std::vector<float>& sensX,
                            const std::vector<float>& sensY);

// One line per point: "wavelength response fitted residual%" and a mark for
// masked ("マスク") or rejected ("棄却") points, then "RMS=…%".
std::string sensResidualText(const SensFuncResult& result);

} // namespace raylen
