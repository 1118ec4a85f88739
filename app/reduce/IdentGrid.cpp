#include "reduce/IdentGrid.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "reduce/TextFields.h"

#include <algorithm>

namespace raylen {

namespace {
// A new grid has its header row and one empty data row.
constexpr int initialRows = 2;
const char* const waveHeader = "   波長";
const char* const pixelHeader = "ピクセル";
} // namespace

IdentGrid::IdentGrid() : texts_(static_cast<size_t>(initialRows * Cols)) {}

void IdentGrid::setRows(int rows)
{
    if (rows < 1)
        platform::raise(platform::errInvalidProperty);
    texts_.resize(static_cast<size_t>(rows) * Cols);
    row_ = std::clamp(row_, std::min(1, rows - 1), rows - 1);
}

const std::string& IdentGrid::TextArray(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= texts_.size())
        platform::raise(platform::errSubscript);
    return texts_[static_cast<size_t>(index)];
}

void IdentGrid::setTextArray(int index, const std::string& text)
{
    if (index < 0 || static_cast<size_t>(index) >= texts_.size())
        platform::raise(platform::errSubscript);
    texts_[static_cast<size_t>(index)] = text;
}

void IdentGrid::setRow(int row)
{
    if (row < 0 || row >= Rows())
        platform::raise(platform::errInvalidProperty);
    row_ = row;
}

void dsFGridInit(IdentGrid& grid, const std::vector<float>& sngWave)
{
    grid.setRows(static_cast<int>(sngWave.size()) + 1);
    grid.setText(0, IdentGrid::colWave, waveHeader);
    grid.setText(0, IdentGrid::colPixel, pixelHeader);
    for (size_t j = 0; j < sngWave.size(); ++j) {
        const int row = static_cast<int>(j) + 1;
        grid.setText(row, IdentGrid::colNumber, std::to_string(row));
        grid.setText(row, IdentGrid::colWave, platform::Format(sngWave[j], "######0.0#"));
    }
}

std::string sfInputGridData(const IdentGrid& grid, std::vector<float>& sngWave, std::vector<float>& sngPix)
{
    return platform::trapErrors("sfInputGridData", [&]() -> std::string {
        std::vector<float> wave, pix;
        for (int row = 1; row < grid.Rows(); ++row) {
            const float w = toSingle(platform::leadingNumber(grid.text(row, IdentGrid::colWave)));
            const float p = toSingle(platform::leadingNumber(grid.text(row, IdentGrid::colPixel)));
            if (w * p != 0.0f) {
                wave.push_back(w);
                pix.push_back(p);
            }
        }
        if (wave.empty())
            return "値が入力されていません。";
        sngWave.swap(wave);
        sngPix.swap(pix);
        return {};
    });
}

void clearPixelColumn(IdentGrid& grid)
{
    for (int row = 1; row < grid.Rows(); ++row)
        grid.setText(row, IdentGrid::colPixel, "");
}

int16_t searchWidthFromText(const std::string& text)
{
    return platform::toInteger(platform::leadingNumber(text));
}

double halfWidthFromText(const std::string& text)
{
    return platform::roundHalfEven(platform::leadingNumber(text));
}

} // namespace raylen
