#pragma once
// One column of the extraction: the aperture sum across the slit and the
// sky fitted beside the trace and integrated over the same aperture.
#include "numeric/Array2D.h"
#include "reduce/ScanParam.h"
#include "reduce/SkyFitter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// The aperture [c − w/2, c + w/2] and its inner whole rows n1 … n2.
struct Aperture {
    double a = 0, b = 0;
    int32_t n1 = 0, n2 = 0;
};
Aperture apertureAround(int16_t intScanWidth, float centre);

// The column's values joined by straight lines between whole rows and
// integrated over the aperture. The rows Int(a), n1, n2 and n2 + 1 are read
// even when the aperture ends on a whole row.
std::string sfIntegData(const ScanParam& typScanParam, const SingleImage& sngImage, int32_t x, float centre,
                        float& sum);

// The aperture sum as weights on whole rows: sfIntegData's sum is
// Σ weights[k]·value(firstRow + k) over the rows Int(a) … n2 + 1.
struct RowWeights {
    int32_t firstRow = 0;
    std::vector<double> weights;
};
RowWeights apertureRowWeights(const Aperture& ap);

// The same scheme applied to (row − origin)^j, j = 0 … order, with the
// ends at a and b themselves: sfIntegSky's result is Σ coef[j]·integrals[j].
std::vector<double> skyBasisIntegrals(const Aperture& ap, int32_t origin, int order);

// The sky polynomial integrated over the aperture by the same scheme as the
// pixel values, except that the ends use the polynomial itself.
std::string sfIntegSky(const ScanParam& typScanParam, float centre, const SkyPolynomial& sky, float& skyLevel);

} // namespace raylen
