#include "plot/EqWidth.h"

#include "plot/MeasureSupport.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"


#include <cmath>

namespace raylen {

std::string equivalentWidthErrorLine(double sigma)
{
    return "誤差: 等価幅 ±" + platform::Format(sigma, "0.00000");
}


using namespace platform;

std::string sfEqWidthPro(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                         MarkedPoints sngPointX, MarkedPoints sngPointY, ResultWriter& result,
                         SpectrumView& overlay, const std::vector<float>* sngSigma)
{
    return trapErrors("sfEqWidthPro", [&]() -> std::string {
        orderMarks(sngPointX, sngPointY);
        LinearContinuum continuum;
        int32_t i1 = 0, i2 = 0;
        std::string message = continuumWindow(sngDataX, sngPointX, sngPointY, continuum, i1, i2);
        if (!message.empty())
            return message;

        // Both marks in one index window point: a division by zero, as reported.
        const float sngStep =
            toSingle(checkedDivide(elementAt(sngDataX, i2) - elementAt(sngDataX, i1), static_cast<double>(i2 - i1)));
        double dblEqWidth = 0.0, variance = 0.0;
        const bool withSigma = sngSigma != nullptr && sngSigma->size() == sngDataY.size();
        std::vector<float> sngContX, sngContY;
        sngContX.reserve(static_cast<size_t>(i2 - i1 + 1));
        sngContY.reserve(static_cast<size_t>(i2 - i1 + 1));
        for (int32_t i = i1; i <= i2; ++i) {
            const float x = elementAt(sngDataX, i);
            const double level = continuum(x);
            dblEqWidth += checkedDivide(level - elementAt(sngDataY, i), level) * sngStep;
            if (withSigma)
                variance += std::pow(elementAt(*sngSigma, i) * sngStep / level, 2);
            sngContX.push_back(x);
            sngContY.push_back(toSingle(level));
        }

        const float halfStep = sngStep / 2.0f;
        const float from = elementAt(sngDataX, i1) - halfStep;
        const float to = elementAt(sngDataX, i2) + halfStep;
        // Written first, so that it shows below the design's lines.
        if (withSigma)
            message = result.sfMessage(equivalentWidthErrorLine(std::sqrt(variance)));
        if (message.empty())
            message = result.sfMessage("等価幅 = " + Format(dblEqWidth, "0.00000"));
        else
            (void)result.sfMessage("等価幅 = " + Format(dblEqWidth, "0.00000"));
        // The first line's status is the result; the two label lines after
        // it are written whatever it was.
        (void)result.sfMessage("波長幅 = " + Format(from, "0.00") + " : " + Format(to, "0.00"));
        (void)result.sfMessage("-等価幅-");
        if (!message.empty())
            return message;
        return overlay.sfPlotLinClone(sngContX, sngContY);
    });
}

} // namespace raylen
