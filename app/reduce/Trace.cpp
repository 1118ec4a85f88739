#include "reduce/Trace.h"

#include "image/ImageCut.h"
#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/ErrorLabels.h"

namespace raylen {

std::string sfInputPeakData(int16_t intFlag, const SingleImage& sngImage, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                            int32_t lngY2, std::vector<float>& sngScanX, std::vector<float>& sngScanY)
{
    return platform::trapErrors("sfInputPeakData", [&] {
        if (intFlag != 0)
            return;
        if (lngX2 < lngX1 || !sngImage.contains(lngX1, lngY1) || !sngImage.contains(lngX2, lngY2))
            platform::raise(platform::errSubscript);
        const size_t columns = static_cast<size_t>(lngX2 - lngX1) + 1;
        std::vector<double> weight(columns, 0.0), moment(columns, 0.0);
        // Row by row: the image is stored with x fastest.
        for (int32_t y = lngY1; y <= lngY2; ++y) {
            const float* row = &sngImage(lngX1, y);
            for (size_t i = 0; i < columns; ++i) {
                const double w = row[i] - kPeakThreshold;
                if (w > 0) {
                    weight[i] += w;
                    moment[i] += w * y;
                }
            }
        }
        const double middle = lngY1 + (static_cast<double>(lngY2) - lngY1) / 2;
        std::vector<float> xs(columns), ys(columns);
        for (size_t i = 0; i < columns; ++i) {
            xs[i] = static_cast<float>(lngX1 + static_cast<int64_t>(i));
            ys[i] = static_cast<float>(weight[i] != 0 ? moment[i] / weight[i] : middle);
        }
        sngScanX.swap(xs);
        sngScanY.swap(ys);
    });
}

std::string sfPlotPeak(int16_t intFlag, const SingleImage& sngImage, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                       int32_t lngY2, std::vector<float>& sngScanX, std::vector<float>& sngScanY,
                       SpectrumView& plotter)
{
    std::string status = sfInputPeakData(intFlag, sngImage, lngX1, lngX2, lngY1, lngY2, sngScanX, sngScanY);
    if (status.empty())
        status = plotter.sfPlotLin(sngScanX, sngScanY);
    return status;
}

std::string sfPlotRegion(int16_t intDirct, const SingleImage& sngImage, int32_t lngX1, int32_t lngX2, int32_t lngY1,
                         int32_t lngY2, SpectrumView& plotter)
{
    std::vector<float> xs, ys;
    std::string status = sfImplotData(sngImage, intDirct, lngX1, lngX2, lngY1, lngY2, xs, ys);
    if (status.empty())
        status = plotter.sfPlotLin(xs, ys);
    return status;
}

TraceFit fitTrace(const std::string& orderText, const std::vector<float>& sngScanX,
                  const std::vector<float>& sngScanY, ScanParam& typScanParam, const RejectOptions& reject)
{
    int64_t order = 0;
    TraceFit result;
    result.status = platform::trapErrors(kFitButtonLabel,
                                         [&] { order = toWholeSaturated(platform::leadingNumber(orderText)); });
    if (!result.status.empty())
        return result;
    return fitTrace(order, sngScanX, sngScanY, typScanParam, reject);
}

TraceFit fitTrace(int64_t orderValue, const std::vector<float>& sngScanX, const std::vector<float>& sngScanY,
                  ScanParam& typScanParam, const RejectOptions& reject)
{
    TraceFit result;
    int16_t order = 0;
    result.status = platform::trapErrors(kFitButtonLabel, [&] {
        if (orderValue < INT16_MIN || orderValue > INT16_MAX)
            platform::raise(platform::errOverflow);
        order = static_cast<int16_t>(orderValue);
        // The coefficients have room for order 50; refuse before fitting so
        // that nothing is half stored.
        if (order > kMaxTraceOrder)
            platform::raise(platform::errSubscript);
    });
    if (!result.status.empty())
        return result;
    std::vector<double> coef;
    result.status = sfLst2FitReject(sngScanX, sngScanY, order, reject, coef, &result.rejected);
    if (!result.status.empty()) {
        result.leastSquaresFailed = true;
        return result;
    }
    typScanParam.intTraceOrder = order;
    result.resultLines.push_back("結果 a0+a1*x+a2*x^2+a3*x^3+....");
    for (int k = 0; k <= order; ++k) {
        typScanParam.dblTraceCoef[static_cast<size_t>(k)] = coef[static_cast<size_t>(k)];
        result.resultLines.push_back("a" + std::to_string(k) + "=" +
                                     platform::Format(coef[static_cast<size_t>(k)], "0.000000000000"));
    }
    result.fitY.resize(sngScanX.size());
    for (size_t i = 0; i < sngScanX.size(); ++i)
        result.fitY[i] = evalPolynomial(coef, sngScanX[i]);
    return result;
}

float traceCentre(const ScanParam& typScanParam, int32_t x)
{
    return evalPolynomial(typScanParam.dblTraceCoef, typScanParam.intTraceOrder, x);
}

} // namespace raylen
