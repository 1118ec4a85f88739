#include "reduce/LineMeasure.h"

#include "numeric/OutsideLibrary.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

// Expected scales of the width and the centre handed to the Gaussian fit.
constexpr double gaussWidthScale = 0.2;
constexpr double gaussCentreScale = 0.1;

int32_t halfWindow(int16_t intSearch)
{
    return static_cast<int32_t>(platform::roundHalfEven(intSearch / 2.0));
}

int32_t lastIndex(const std::vector<float>& a)
{
    return static_cast<int32_t>(a.size()) - 1;
}

struct BusyGuard {
    explicit BusyGuard(SpectrumView& plotter) : plotter(plotter) { plotter.setBusy(true); }
    ~BusyGuard() { plotter.setBusy(false); }
    SpectrumView& plotter;
};

} // namespace

std::string sfSearchNearIndex(const std::vector<float>& sngDataX, float sngX, int32_t& index)
{
    return platform::trapErrors("sfSearchNearIndex", [&] {
        index = 0;
        for (size_t i = 0; i < sngDataX.size(); ++i)
            if (sngDataX[i] >= sngX) {
                index = static_cast<int32_t>(i);
                return;
            }
    });
}

std::string sfSearchPeakIndex(int32_t index, int16_t intSearch, const std::vector<float>& sngDataY, int32_t& peak)
{
    return platform::trapErrors("sfSearchPeakIndex", [&] {
        const int32_t h = halfWindow(intSearch);
        int32_t start = index - h;
        const int32_t end = std::min(index + h, lastIndex(sngDataY));
        // Deliberately 1, not 0: the first point never counts as a peak.
        if (start < 0)
            start = 1;
        int32_t found = -1;
        float highest = 0.0f;
        for (int32_t i = start; i <= end; ++i)
            if (sngDataY[static_cast<size_t>(i)] > highest) {
                highest = sngDataY[static_cast<size_t>(i)];
                found = i;
            }
        // No point above 0: there is nothing to take the position of.
        if (found < 0)
            platform::raise(platform::errSubscript);
        peak = found;
    });
}

std::string sfSearchGaussPosFit(int32_t index, int16_t intSearch, double dblHPFW, const std::vector<float>& sngDataX,
                                 const std::vector<float>& sngDataY, SpectrumView& plotter, float& centre,
                                 float& height)
{
    return platform::trapErrors("sfSearchGaussPosFit", [&]() -> std::string {
        const int32_t h = halfWindow(intSearch);
        const int32_t start = std::max(index - h, 0);
        const int32_t end = std::min({index + h, lastIndex(sngDataY), lastIndex(sngDataX)});
        if (end < start || index < 0 || index > lastIndex(sngDataX))
            platform::raise(platform::errSubscript);
        std::vector<float> wx(sngDataX.begin() + start, sngDataX.begin() + end + 1);
        std::vector<float> wy(sngDataY.begin() + start, sngDataY.begin() + end + 1);

        double A = 0, B = 0, C = 0, D = 0;
        {
            BusyGuard busy(plotter);
            // The routine's own return value is not used: the model speaks.
            VB_iGaussfit(wx.data(), wy.data(), static_cast<int32_t>(wx.size()), dblHPFW, gaussWidthScale,
                         sngDataX[static_cast<size_t>(index)], gaussCentreScale, A, B, C, D);
        }
        std::vector<float> model(wx.size());
        for (size_t k = 0; k < wx.size(); ++k) {
            const double d = wx[k] - C;
            model[k] = static_cast<float>(A * std::exp(-B * d * d) + D);
        }
        std::string message = plotter.sfPlotLinClone(wx, model);
        if (!message.empty())
            return message;
        centre = static_cast<float>(C);
        height = static_cast<float>(A + D);
        return {};
    });
}

std::string sfSearchPeakPos(float sngX, const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                            int16_t intSearch, SpectrumView& plotter, std::string& pixelText)
{
    return platform::trapErrors("sfSearchPeakPos", [&]() -> std::string {
        int32_t index = 0, peak = 0;
        std::string message = sfSearchNearIndex(sngDataX, sngX, index);
        if (!message.empty() || index == 0)
            return message;
        message = sfSearchPeakIndex(index, intSearch, sngDataY, peak);
        if (!message.empty())
            return message;
        if (peak > lastIndex(sngDataX))
            platform::raise(platform::errSubscript);
        const float x = sngDataX[static_cast<size_t>(peak)], y = sngDataY[static_cast<size_t>(peak)];
        pixelText = platform::Format(x, "0");
        return plotter.sfPlotSymClone({x}, {y});
    });
}

std::string sfSearchGaussPeakPos(float sngX, const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                                 int16_t intSearch, double dblHPFW, SpectrumView& plotter, std::string& pixelText)
{
    return platform::trapErrors("sfSearchGaussPeakPos", [&]() -> std::string {
        int32_t index = 0;
        std::string message = sfSearchNearIndex(sngDataX, sngX, index);
        if (!message.empty() || index == 0)
            return message;
        float centre = 0, height = 0;
        message = sfSearchGaussPosFit(index, intSearch, dblHPFW, sngDataX, sngDataY, plotter, centre, height);
        if (!message.empty())
            return message;
        pixelText = platform::Format(centre, "0.0");
        return {};
    });
}

std::string cursorPixelText(float sngX)
{
    return platform::Format(sngX, "0.0");
}

} // namespace raylen
