#pragma once
// Reidentification: a lamp taken with an unchanged setup is identified from
// an earlier dispersion solution without hand marks. The shift and small
// stretch of the lamp against the earlier one are found by
// cross-correlation, every table line is then measured where the shifted
// solution predicts it (as key g measures), and the dispersion is fitted.
#include "numeric/SigmaReject.h"
#include "reduce/AutoIdentify.h"
#include "reduce/IdentGrid.h"

#include <string>
#include <vector>

namespace raylen {

// new pixel = p + shift + stretch·(p − centre), p the earlier lamp's pixel.
struct LampShift {
    double shift = 0;   // pixels, at the centre
    double stretch = 0; // relative
    double centre = 0;  // middle of the lamp's X range
    double newPixel(double oldPixel) const { return oldPixel + shift + stretch * (oldPixel - centre); }
    double oldPixel(double newPixel) const { return centre + (newPixel - shift - centre) / (1.0 + stretch); }
};

constexpr double defaultMaxStretch = 0.01;

struct ReidentifySettings {
    int16_t search = 8;
    double halfWidth = 1.0;
    int16_t order = -1;                      // below 0: the earlier solution's order
    double tolerance = defaultAutoTolerance; // pixels between prediction and measurement
    double maxShift = -1;                    // pixels; below 0: a quarter of the lamp
    double maxStretch = defaultMaxStretch;
    bool automatic = false;                  // continue as the automatic identification
    RejectOptions reject;
};

// The earlier lamp, when it is at hand; otherwise the table lines placed
// by the earlier solution stand for it.
struct PreviousLamp {
    const std::vector<float>* x = nullptr;
    const std::vector<float>* y = nullptr;
};

// Shift and stretch of the lamp (compX, compY) against the earlier one.
std::string findLampShift(const std::vector<float>& compX, const std::vector<float>& compY,
                          const std::vector<double>& oldA, const std::vector<float>& tableWave,
                          const PreviousLamp& previous, const ReidentifySettings& settings, LampShift& found);

// Fills the grid's pixel column afresh (the grid holds the table), fits
// the dispersion into dblA and reports the shift found. `added` counts
// the lines the automatic search added. Fewer lines than the order needs:
// "再同定できた輝線が足りません".
std::string sfReidentify(IdentGrid& grid, const std::vector<float>& compX, const std::vector<float>& compY,
                         const std::vector<double>& oldA, const PreviousLamp& previous,
                         const ReidentifySettings& settings, LampShift& found, std::vector<double>& dblA,
                         int& added);

// "shift=…" and "stretch=…" lines as the result shows them.
std::string lampShiftText(const LampShift& found);

} // namespace raylen
