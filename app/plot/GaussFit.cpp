#include "plot/GaussFit.h"

#include "numeric/OutsideLibrary.h"
#include "plot/MeasureSupport.h"
#include "plot/SearchIndex.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"

#include <cmath>
#include <utility>

namespace raylen {

using namespace platform;

namespace {

// The view's hourglass for the life of the object, restored on every way out.
class FitBusy {
public:
    explicit FitBusy(SpectrumView& view) : view_(view) { view_.setBusy(true); }
    ~FitBusy() { view_.setBusy(false); }
    FitBusy(const FitBusy&) = delete;
    FitBusy& operator=(const FitBusy&) = delete;

private:
    SpectrumView& view_;
};

// The outside routine narrows its start guesses by these divisors.
constexpr double guessScaleDivisor = 10.0;

} // namespace

std::string sfValueIndex(const std::vector<float>& sngData, int32_t intStart, int32_t intEnd, float sngValue,
                         int32_t& intIndex)
{
    return trapErrors("sfValueIndex", [&] {
        for (int32_t i = intStart; i <= intEnd; ++i)
            if (elementAt(sngData, i) == sngValue) {
                intIndex = i;
                return;
            }
        intIndex = checkedAdd32(intEnd, 1);
    });
}

std::string sfGaussFitInit(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY, float sngMax,
                           float sngMin, float& sngCenter, float& sngIniHPFW)
{
    return trapErrors("sfGaussFitInit", [&] {
        const int32_t upper = upperBound(sngDataY);
        // Ties count as absorption.
        const bool absorption = std::fabs(sngMin) >= std::fabs(sngMax);
        const float extremum = absorption ? sngMin : sngMax;
        const float halfLevel = extremum / 2.0f;
        int32_t p = 0;
        // The search starts at the second point; its own message is not passed on.
        (void)sfValueIndex(sngDataY, 1, upper, extremum, p);
        sngCenter = elementAt(sngDataX, p);
        for (int32_t i = p; i <= upper; ++i) {
            const float y = elementAt(sngDataY, i);
            if (absorption ? y > halfLevel : y < halfLevel) {
                sngIniHPFW = (elementAt(sngDataX, i) - elementAt(sngDataX, p)) * 2.0f;
                return;
            }
        }
    });
}

std::string sfGaussFitPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                          MarkedPoints sngPointX, MarkedPoints sngPointY, ResultWriter& result,
                          SpectrumView& overlay)
{
    return trapErrors("sfGaussFitPro", [&]() -> std::string {
        orderMarks(sngPointX, sngPointY);
        if (sngPointX[0] == sngPointX[1])
            return "sfGaussFitPro 領域が指定されていません";
        LinearContinuum continuum;
        int32_t i1 = 0, i2 = 0;
        std::string message = continuumWindow(sngDataX, sngPointX, sngPointY, continuum, i1, i2);
        if (!message.empty())
            return message;

        std::vector<float> sngWinX, sngWinY;
        sngWinX.reserve(static_cast<size_t>(i2 - i1 + 1));
        sngWinY.reserve(static_cast<size_t>(i2 - i1 + 1));
        for (int32_t k = i1; k <= i2; ++k) {
            const float x = elementAt(sngDataX, k);
            sngWinX.push_back(x);
            sngWinY.push_back(toSingle(elementAt(sngDataY, k) - continuum(x)));
        }

        float sngMin = 0.0f, sngMax = 0.0f;
        message = sfMinMax(sngWinY, 0, static_cast<int32_t>(sngWinY.size()) - 1, sngMin, sngMax);
        if (!message.empty())
            return message;
        float sngCenter = 0.0f, sngIniHPFW = 0.0f;
        message = sfGaussFitInit(sngWinX, sngWinY, sngMax, sngMin, sngCenter, sngIniHPFW);
        if (!message.empty())
            return message;
        if (sngIniHPFW == 0.0f)
            return "sfGaussFitPro, sngIniHPFW is zero";

        double A = 0.0, B = 0.0, C = 0.0, D = 0.0;
        {
            FitBusy busy(overlay);
            const double initB = 1.0 / (static_cast<double>(sngIniHPFW) * sngIniHPFW);
            VB_iGaussfit(sngWinX.data(), sngWinY.data(), static_cast<int32_t>(sngWinX.size()), initB,
                         initB / guessScaleDivisor, sngCenter, sngCenter / guessScaleDivisor, A, B, C, D);
        }

        for (size_t j = 0; j < sngWinX.size(); ++j) {
            const double dx = sngWinX[j] - C;
            sngWinY[j] = toSingle(continuum(sngWinX[j]) + A * std::exp(-B * dx * dx) + D);
        }
        double fwhm = 0.0;
        if (B != 0.0)
            fwhm = 2.0 * basicSqr(std::log(2.0) / B);

        std::string written = result.sfMessage("半値幅 = " + Format(fwhm, "0.00"));
        written += result.sfMessage("中心値 = " + Format(C, "0.00"));
        written += result.sfMessage("-ｶﾞｳｽﾌｨｯﾄ-");
        if (!written.empty())
            return written;
        return overlay.sfPlotLinClone(sngWinX, sngWinY);
    });
}

} // namespace raylen
