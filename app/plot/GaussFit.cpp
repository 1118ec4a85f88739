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

bool gaussUncertainty(const std::vector<float>& x, const std::vector<double>& sigma, double A, double B, double C,
                      GaussUncertainty& out)
{
    constexpr int n = 4;
    double jtj[n][n] = {}, jsj[n][n] = {};
    for (size_t i = 0; i < x.size(); ++i) {
        const double dx = x[i] - C, e = std::exp(-B * dx * dx);
        const double j[n] = {e, -A * dx * dx * e, 2 * A * B * dx * e, 1.0};
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b) {
                jtj[a][b] += j[a] * j[b];
                jsj[a][b] += j[a] * j[b] * sigma[i] * sigma[i];
            }
    }
    // (JᵀJ)⁻¹ by Gauss-Jordan with partial pivoting.
    double m[n][2 * n] = {};
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b)
            m[a][b] = jtj[a][b];
        m[a][n + a] = 1.0;
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col]))
                pivot = r;
        if (!(std::fabs(m[pivot][col]) > 0))
            return false;
        std::swap(m[pivot], m[col]);
        const double d = m[col][col];
        for (double& v : m[col])
            v /= d;
        for (int r = 0; r < n; ++r)
            if (r != col) {
                const double f = m[r][col];
                for (int k = 0; k < 2 * n; ++k)
                    m[r][k] -= f * m[col][k];
            }
    }
    auto inv = [&](int a, int b) { return m[a][n + b]; };
    auto covariance = [&](int a, int b) {
        double s = 0;
        for (int p = 0; p < n; ++p)
            for (int q = 0; q < n; ++q)
                s += inv(a, p) * jsj[p][q] * inv(q, b);
        return s;
    };
    const double varB = covariance(1, 1), varC = covariance(2, 2);
    if (!(varB >= 0) || !(varC >= 0) || !(B > 0))
        return false;
    out.centre = std::sqrt(varC);
    // FWHM = 2·√(ln 2 / B): dFWHM/dB = −FWHM / (2B).
    const double fwhm = 2.0 * std::sqrt(std::log(2.0) / B);
    out.fwhm = fwhm / (2 * B) * std::sqrt(varB);
    return std::isfinite(out.centre) && std::isfinite(out.fwhm);
}

std::string gaussErrorLine(const GaussUncertainty& u)
{
    return "誤差: 中心値 ±" + Format(u.centre, "0.000") + ", 半値幅 ±" + Format(u.fwhm, "0.000");
}

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
                          SpectrumView& overlay, const std::vector<float>* sngSigma)
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

        std::string errorLine;
        if (sngSigma != nullptr && sngSigma->size() == sngDataY.size()) {
            std::vector<double> sigma;
            for (int32_t k = i1; k <= i2; ++k)
                sigma.push_back(elementAt(*sngSigma, k));
            GaussUncertainty u;
            if (gaussUncertainty(sngWinX, sigma, A, B, C, u))
                errorLine = gaussErrorLine(u);
        }
        for (size_t j = 0; j < sngWinX.size(); ++j) {
            const double dx = sngWinX[j] - C;
            sngWinY[j] = toSingle(continuum(sngWinX[j]) + A * std::exp(-B * dx * dx) + D);
        }
        double fwhm = 0.0;
        if (B != 0.0)
            fwhm = 2.0 * basicSqr(std::log(2.0) / B);

        // Written first, so that it shows below the design's lines.
        std::string written = errorLine.empty() ? std::string() : result.sfMessage(errorLine);
        written += result.sfMessage("半値幅 = " + Format(fwhm, "0.00"));
        written += result.sfMessage("中心値 = " + Format(C, "0.00"));
        written += result.sfMessage("-ｶﾞｳｽﾌｨｯﾄ-");
        if (!written.empty())
            return written;
        return overlay.sfPlotLinClone(sngWinX, sngWinY);
    });
}

} // namespace raylen
