#pragma once
// The dispersion solution: wavelength = Σ a_k·x^k fitted to the identified
// (pixel, wavelength) pairs, its result text, and the dispersion file (.dip).
#include "view/SpectrumView.h"

#include <string>
#include <vector>

namespace raylen {

// The one text a failed dispersion fit shows, whatever the fit reported.
extern const char* const dispersionFitWarning;

// txtOrder: the leading number rounded halves to even (error 6 beyond 16 bits).
int16_t orderFromText(const std::string& text);

// sfLst2Fit of wavelength over pixel; any failure gives dispersionFitWarning
// and leaves dblA as it was.
std::string sfDispersionFit(const std::vector<float>& sngPix, const std::vector<float>& sngWave, int16_t intOrder,
                            std::vector<double>& dblA);

// "結果 a0+a1*x+…" and one "ak=" line per coefficient ("0.0#########").
std::string dispersionResultText(int16_t intOrder, const std::vector<double>& dblA);

// The polynomial at every x, rounded to Single (error 6 when a coefficient
// counter beyond 16 bits would be needed).
std::vector<float> applyDispersion(const std::vector<float>& sngX, const std::vector<double>& dblA);

// The fitted curve over the identified points as the second line.
std::string sfPlotDispersionCurve(const std::vector<float>& sngPix, const std::vector<double>& dblA,
                                  SpectrumView& plotter);

// The comparison spectrum on the wavelength scale as the spectrum.
std::string sfPlotCalibComp(const std::vector<float>& sngCompX, const std::vector<float>& sngCompY,
                            const std::vector<double>& dblA, SpectrumView& plotter);

// strFileName with its last three characters replaced by "dip"; a shorter
// name is the procedure's error report.
std::string dfEditDipFileName(const std::string& strFileName, std::string& dipFileName);

// a0 … a_order, one per line with CR LF in full Double precision; the file is replaced only when
// completely written.
// With `vacuum` a last line "# vacuum" says the wavelengths are in vacuum.
std::string sfWriteDispFactor(const std::string& strFile, int16_t intOrder, const std::vector<double>& dblA,
                              bool vacuum = false);

// Every number of the file in order (line ends or commas between them);
// something that is not a number, or no number at all, is the procedure's
// error report and leaves dblA as it was.
// Lines starting with '#' are skipped; vacuum (when given) tells whether a
// "# vacuum" note is present.
std::string sfOpenDispFile(const std::string& strFilaPathName, std::vector<double>& dblA, bool* vacuum = nullptr);

} // namespace raylen
