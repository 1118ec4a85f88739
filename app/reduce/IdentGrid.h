#pragma once
// The identification grid fg2 without its widget: one fixed header row,
// then one row per table wavelength with the columns row number,
// wavelength and measured pixel, all held as texts.
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

class IdentGrid {
public:
    static constexpr int Cols = 3;
    static constexpr int colNumber = 0, colWave = 1, colPixel = 2;

    IdentGrid();

    int Rows() const { return static_cast<int>(texts_.size() / Cols); }
    // Keeps the texts of the rows that remain.
    void setRows(int rows);
    // Text-array index of a cell.
    static int Fgi(int row, int col) { return row * Cols + col; }
    const std::string& TextArray(int index) const;
    void setTextArray(int index, const std::string& text);
    const std::string& text(int row, int col) const { return TextArray(Fgi(row, col)); }
    void setText(int row, int col, const std::string& text) { setTextArray(Fgi(row, col), text); }

    // Current row; measurements write into its pixel column.
    int Row() const { return row_; }
    void setRow(int row);

private:
    std::vector<std::string> texts_;
    int row_ = 1;
};

// Header texts, row numbers and wavelengths ("######0.0#"); pixel entries
// made earlier stay.
void dsFGridInit(IdentGrid& grid, const std::vector<float>& sngWave);

// The rows holding both a wavelength and a pixel (w·p ≠ 0 in Single), in
// grid order; "値が入力されていません。" when there is none, leaving both
// arrays as they were.
std::string sfInputGridData(const IdentGrid& grid, std::vector<float>& sngWave, std::vector<float>& sngPix);

// Empties the pixel column of every data row.
void clearPixelColumn(IdentGrid& grid);

// txtSearch and txtHPFW: the leading number rounded halves to even (error 6
// when the search width does not fit 16 bits).
int16_t searchWidthFromText(const std::string& text);
double halfWidthFromText(const std::string& text);

} // namespace raylen
