#include "reduce/Normalize.h"

#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "reduce/ErrorLabels.h"
#include "reduce/RejectedPoints.h"
#include "reduce/TextFields.h"

namespace raylen {

std::string sfContinuumFit(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                           const std::vector<int32_t>& lngContRegion, int16_t intContOrder,
                           std::vector<double>& dblCont, const RejectOptions& reject,
                           std::vector<char>* rejected)
{
    return platform::trapErrors(kFitButtonLabel, [&] {
        std::vector<float> cx, cy;
        if (lngContRegion.size() > 1) {
            cx.reserve(lngContRegion.size());
            cy.reserve(lngContRegion.size());
            for (int32_t index : lngContRegion) {
                if (index < 0 || static_cast<size_t>(index) >= sngSpecX.size() ||
                    static_cast<size_t>(index) >= sngSpecY.size())
                    platform::raise(platform::errSubscript);
                cx.push_back(sngSpecX[static_cast<size_t>(index)]);
                cy.push_back(sngSpecY[static_cast<size_t>(index)]);
            }
        }
        return sfLst2FitReject(cx, cy, intContOrder, reject, dblCont, rejected);
    });
}

std::string sfPlotContinuum(const std::vector<float>& sngSpecX, const std::vector<double>& dblCont,
                            SpectrumView& plotter)
{
    std::vector<float> curve(sngSpecX.size());
    for (size_t i = 0; i < sngSpecX.size(); ++i)
        curve[i] = evalPolynomial(dblCont, sngSpecX[i]);
    plotter.Show();
    return plotter.sfPlotLinClone(sngSpecX, curve);
}

std::string sfPlotContinuumRejected(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                                    const std::vector<int32_t>& lngContRegion, const std::vector<char>& rejected,
                                    SpectrumView& plotter)
{
    PointSet marks;
    for (size_t i = 0; i < rejected.size() && i < lngContRegion.size(); ++i) {
        const auto index = static_cast<size_t>(lngContRegion[i]);
        // The fit has checked every listed index against the spectrum.
        if (rejected[i] != 0 && index < sngSpecX.size() && index < sngSpecY.size()) {
            marks.x.push_back(sngSpecX[index]);
            marks.y.push_back(sngSpecY[index]);
        }
    }
    return plotter.sfPlotRejected(marks.x, marks.y);
}

std::string sfNormalizePlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                            const std::vector<double>& dblCont, std::vector<float>& sngNewY, SpectrumView& plotter)
{
    return platform::trapErrors("sfNormalizePlot", [&] {
        if (sngSpecY.size() < sngSpecX.size())
            platform::raise(platform::errSubscript);
        std::vector<float> out(sngSpecX.size());
        for (size_t i = 0; i < sngSpecX.size(); ++i) {
            const float c = evalPolynomial(dblCont, sngSpecX[i]);
            out[i] = toSingle(platform::checkedDivide(sngSpecY[i], c));
        }
        sngNewY.swap(out);
        plotter.Show();
        plotter.dsErasePlotClone();
        plotter.sfPlotLin(sngSpecX, sngNewY);
    });
}

} // namespace raylen
