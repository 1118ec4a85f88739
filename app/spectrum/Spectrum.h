#pragma once
// A one-dimensional spectrum as the reduction steps pass it on: the points,
// an optional uncertainty per point, and what a FITS spectrum records
// beside them (kept header cards, the wavelength medium, the flux unit).
//
// Text spectra carry only x and y; their reader fills the rest with the
// defaults below. Every step that changes y scales sigma with it (see
// SpectrumPropagation.h) and adds one HISTORY card.
#include <string>
#include <vector>

namespace raylen {

// CTYPE1 'AWAV' (air, the default: lamp tables list air wavelengths) or 'WAVE'.
enum class WavelengthMedium { air, vacuum };

// The flux unit before flux calibration.
inline constexpr const char* countsUnit = "adu";

struct SpectrumMeta {
    // 80-byte Latin-1 header cards kept from the frame and the earlier
    // steps: observation cards, COMMENT and HISTORY, never the cards that
    // describe the data layout (those are written anew).
    std::vector<std::string> cards;
    bool xIsWavelength = true;  // false: X holds pixel numbers
    WavelengthMedium medium = WavelengthMedium::air;
    std::string fluxUnit = countsUnit; // BUNIT / TUNIT2; empty: dimensionless
};

struct Spectrum {
    std::vector<float> x, y;
    // One standard deviation of y in flux units, one per point; empty when
    // the spectrum has no uncertainty.
    std::vector<float> sigma;
    SpectrumMeta meta;

    bool hasUncertainty() const { return !sigma.empty() && sigma.size() == y.size(); }
};

// The text of a HISTORY card holds this many characters.
constexpr size_t historyTextLength = 72;

// Appends one HISTORY card; a longer text is cut to one card.
void addHistory(SpectrumMeta& meta, const std::string& text);

// "prefix c0,c1,…" with the most significant digits (at most 10) that still
// fit one HISTORY card, so that a step's coefficients stay in its one card.
std::string historyWithNumbers(const std::string& prefix, const std::vector<double>& numbers);

// The last path component: HISTORY names files without their folders.
std::string baseName(const std::string& path);

// The HISTORY card texts of the kept cards, in order.
std::vector<std::string> historyTexts(const SpectrumMeta& meta);

} // namespace raylen
