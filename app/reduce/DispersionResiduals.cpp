#include "reduce/DispersionResiduals.h"

#include "numeric/Polynomial.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/Dispersion.h"
#include "reduce/TextFields.h"

#include <cmath>

namespace raylen {

std::vector<ResidualRow> identifiedRows(const IdentGrid& grid, const std::set<int>& excluded)
{
    std::vector<ResidualRow> rows;
    for (int row = 1; row < grid.Rows(); ++row) {
        const float w = toSingle(platform::leadingNumber(grid.text(row, IdentGrid::colWave)));
        const float p = toSingle(platform::leadingNumber(grid.text(row, IdentGrid::colPixel)));
        if (w * p != 0.0f) {
            ResidualRow r;
            r.row = row;
            r.pixel = p;
            r.wave = w;
            r.excluded = excluded.count(row) != 0;
            rows.push_back(r);
        }
    }
    return rows;
}

std::string sfDispersionFitRows(std::vector<ResidualRow>& rows, int16_t intOrder, const RejectOptions& reject,
                                std::vector<double>& dblA)
{
    std::vector<float> pix, wave;
    std::vector<size_t> used;
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].rejected = false;
        if (!rows[i].excluded) {
            pix.push_back(rows[i].pixel);
            wave.push_back(rows[i].wave);
            used.push_back(i);
        }
    }
    if (pix.empty())
        return "値が入力されていません。";
    std::vector<double> a;
    std::vector<char> rejected;
    if (!sfLst2FitReject(pix, wave, intOrder, reject, a, &rejected).empty())
        return dispersionFitWarning;
    for (size_t k = 0; k < used.size(); ++k)
        rows[used[k]].rejected = rejected[k] != 0;
    dblA.swap(a);
    return {};
}

ResidualTable dispersionResiduals(std::vector<ResidualRow> rows, const std::vector<double>& dblA)
{
    ResidualTable table;
    double sumSquares = 0;
    size_t used = 0;
    for (ResidualRow& r : rows) {
        r.fitted = polynomialValue(dblA, r.pixel);
        r.residual = static_cast<double>(r.wave) - r.fitted;
        if (!r.excluded && !r.rejected) {
            sumSquares += r.residual * r.residual;
            ++used;
        }
    }
    table.rms = used > 0 ? std::sqrt(sumSquares / static_cast<double>(used)) : 0.0;
    table.rows = std::move(rows);
    return table;
}

std::string residualTableText(const ResidualTable& table)
{
    std::string text;
    for (const ResidualRow& r : table.rows) {
        text += std::to_string(r.row) + ' ' + platform::Format(r.wave, "0.0##") + ' ' +
                platform::Format(r.pixel, "0.0") + ' ' + platform::Format(r.fitted, "0.000") + ' ' +
                platform::Format(r.residual, "0.000");
        if (r.excluded)
            text += " 除外";
        else if (r.rejected)
            text += " 棄却";
        text += '\n';
    }
    text += "RMS=" + platform::Format(table.rms, "0.0000") + '\n';
    return text;
}

} // namespace raylen
