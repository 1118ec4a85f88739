#include "reduce/Dispersion.h"

#include "files/FileAccess.h"
#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/ErrorLabels.h"
#include "reduce/TextFields.h"

namespace raylen {

const char* const dispersionFitWarning = "３点以上のデータを入力して下さい";

namespace {
// The coefficient counter of the evaluation is 16-bit.
constexpr size_t maxCoefficients = 32768;
const char* const resultHeading = "結果 a0+a1*x+a2*x^2+a3*x^3+....";
} // namespace

int16_t orderFromText(const std::string& text)
{
    return platform::toInteger(platform::leadingNumber(text));
}

std::string sfDispersionFit(const std::vector<float>& sngPix, const std::vector<float>& sngWave, int16_t intOrder,
                            std::vector<double>& dblA)
{
    std::vector<double> a;
    // The least-squares text is never shown: every failure reads the same.
    if (!sfLst2Fit(sngPix, sngWave, intOrder, a).empty())
        return dispersionFitWarning;
    dblA.swap(a);
    return {};
}

std::string dispersionResultText(int16_t intOrder, const std::vector<double>& dblA)
{
    std::string text = resultHeading;
    for (int k = 0; k <= intOrder && static_cast<size_t>(k) < dblA.size(); ++k)
        text += "\na" + std::to_string(k) + "=" + platform::Format(dblA[static_cast<size_t>(k)], "0.0#########");
    return text;
}

std::vector<float> applyDispersion(const std::vector<float>& sngX, const std::vector<double>& dblA)
{
    if (dblA.size() >= maxCoefficients)
        platform::raise(platform::errOverflow);
    std::vector<float> out(sngX.size());
    for (size_t i = 0; i < sngX.size(); ++i)
        out[i] = evalPolynomial(dblA, sngX[i]);
    return out;
}

std::string sfPlotDispersionCurve(const std::vector<float>& sngPix, const std::vector<double>& dblA,
                                  SpectrumView& plotter)
{
    return platform::trapErrors(kFitButtonLabel, [&] {
        std::vector<float> curve = applyDispersion(sngPix, dblA);
        plotter.Show();
        return plotter.sfPlotLinClone(sngPix, curve);
    });
}

std::string sfPlotCalibComp(const std::vector<float>& sngCompX, const std::vector<float>& sngCompY,
                            const std::vector<double>& dblA, SpectrumView& plotter)
{
    return platform::trapErrors("sfPlotCalibComp", [&] {
        std::vector<float> wave = applyDispersion(sngCompX, dblA);
        plotter.Show();
        plotter.dsErasePlotClone();
        return plotter.sfPlotLin(wave, sngCompY);
    });
}

std::string dfEditDipFileName(const std::string& strFileName, std::string& dipFileName)
{
    return platform::trapErrors("dfEditDipFileName", [&] {
        if (strFileName.size() < 3)
            platform::raise(platform::errInvalidCall);
        dipFileName = strFileName.substr(0, strFileName.size() - 3) + "dip";
    });
}

std::string sfWriteDispFactor(const std::string& strFile, int16_t intOrder, const std::vector<double>& dblA,
                              bool vacuum)
{
    return platform::trapErrors("sfWriteDispFactor", [&] {
        if (intOrder < 0 || static_cast<size_t>(intOrder) >= dblA.size())
            platform::raise(platform::errSubscript);
        std::string text;
        for (int k = 0; k <= intOrder; ++k)
            text += platform::doubleToText(dblA[static_cast<size_t>(k)]) + "\r\n";
        if (vacuum)
            text += "# vacuum\r\n";
        writeFileBytes(strFile, text.data(), text.size());
    });
}

std::string sfOpenDispFile(const std::string& strFilaPathName, std::vector<double>& dblA, bool* vacuum)
{
    return platform::trapErrors("sfOpenDispFile", [&] {
        const std::string text = readTextFile(strFilaPathName);
        const std::string numbers = withoutNoteLines(text);
        NumberFields fields(numbers);
        std::vector<double> a;
        while (!fields.atEnd())
            a.push_back(fields.next());
        // Sizing the array to no entries is a subscript fault.
        if (a.empty())
            platform::raise(platform::errSubscript);
        dblA.swap(a);
        if (vacuum != nullptr)
            *vacuum = hasVacuumNote(text);
    });
}

} // namespace raylen
