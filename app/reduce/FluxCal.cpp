#include "reduce/FluxCal.h"

#include "numeric/Interpolate.h"
#include "platform/BasicError.h"
#include "reduce/TextFields.h"

#include <cmath>

namespace raylen {

std::string sfReadSensFncFile(const std::string& strFile, std::vector<float>& sngSensX, std::vector<float>& sngSensY,
                              std::string* unit)
{
    return platform::trapErrors("sfReadSensFncFile", [&] {
        const std::string text = readTextFile(strFile);
        const std::vector<std::string_view> lines = dataLines(text);
        // Sizing the arrays to no entries is a subscript fault.
        if (lines.empty())
            platform::raise(platform::errSubscript);
        std::vector<float> sx(lines.size()), sy(lines.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            NumberFields fields(lines[i]);
            sx[i] = toSingle(fields.next());
            sy[i] = toSingle(fields.next());
            // A third number would shift every later pair.
            if (!fields.atEnd())
                platform::raise(platform::errTypeMismatch);
        }
        sngSensX.swap(sx);
        sngSensY.swap(sy);
        if (unit != nullptr)
            *unit = unitNote(text);
    });
}

std::string sfCalibrate(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                        const std::vector<float>& sngSensX, const std::vector<float>& sngSensY,
                        std::vector<float>& sngNewY)
{
    return platform::trapErrors("sfCalibratePlot", [&]() -> std::string {
        if (sngSpecY.size() < sngSpecX.size())
            platform::raise(platform::errSubscript);
        std::vector<float> out(sngSpecX.size());
        for (size_t i = 0; i < sngSpecX.size(); ++i) {
            float s = 0.0f;
            std::string message = sfLinearInterpolate(sngSensX, sngSensY, sngSpecX[i], s);
            if (!message.empty())
                return message;
            out[i] = s != 0.0f ? toSingle(static_cast<double>(sngSpecY[i]) / s) : sngSpecY[i];
        }
        sngNewY.swap(out);
        return {};
    });
}

std::string sfCalibrateExtinction(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                                  const std::vector<float>& sngSensX, const std::vector<float>& sngSensY,
                                  double exptime, double airmass, const ExtinctionTable& extinction,
                                  std::vector<float>& sngNewY)
{
    if (!(exptime > 0) || !std::isfinite(exptime))
        return "露出時間は正の数で指定してください";
    if (!(airmass >= 0) || !std::isfinite(airmass))
        return "エアマスは0以上の数で指定してください";
    return platform::trapErrors("sfCalibratePlot", [&]() -> std::string {
        if (sngSpecY.size() < sngSpecX.size())
            platform::raise(platform::errSubscript);
        std::vector<float> out(sngSpecX.size());
        for (size_t i = 0; i < sngSpecX.size(); ++i) {
            float s = 0.0f;
            std::string message = sfLinearInterpolate(sngSensX, sngSensY, sngSpecX[i], s);
            if (!message.empty())
                return message;
            const double factor = s * exptime * atmosphericTransmission(extinction, sngSpecX[i], airmass);
            out[i] = factor != 0.0 ? toSingle(sngSpecY[i] / factor) : sngSpecY[i];
        }
        sngNewY.swap(out);
        return {};
    });
}

std::string sfCalibratePlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                            const std::vector<float>& sngSensX, const std::vector<float>& sngSensY,
                            std::vector<float>& sngNewY, SpectrumView& plotter)
{
    std::string message = sfCalibrate(sngSpecX, sngSpecY, sngSensX, sngSensY, sngNewY);
    if (!message.empty())
        return message;
    plotter.Show();
    plotter.dsErasePlotClone();
    plotter.sfPlotLin(sngSpecX, sngNewY);
    return {};
}

} // namespace raylen
