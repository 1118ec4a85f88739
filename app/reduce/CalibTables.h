#pragma once
// The text tables of flux calibration beyond the sensitivity file: a
// standard star's tabulated flux and a site's atmospheric extinction.
// Both are "wavelength value" a line; lines starting with '#' are comments.
#include <string>
#include <vector>

namespace raylen {

struct StandardTable {
    std::vector<double> wave;  // Å, ascending
    std::vector<double> flux;  // in `unit`
    std::vector<double> band;  // Å; 0 where the line gives no band width
    std::string unit;          // from a "# unit NAME" line, else empty
};

struct ExtinctionTable {
    std::vector<double> wave; // Å, ascending
    std::vector<double> mag;  // magnitudes per airmass
};

// "wavelength flux [bandwidth]" a line. Fewer than two points, a line that
// is not two or three numbers, or wavelengths that do not ascend are the
// reader's message; the table changes only on success.
std::string sfReadStandardTable(const std::string& path, StandardTable& table);

// "wavelength mag" a line, read as the standard table is.
std::string sfReadExtinctionTable(const std::string& path, ExtinctionTable& table);

// Magnitudes per airmass at lambda: linear between the points, the end
// values beyond the table.
double extinctionAt(const ExtinctionTable& table, double lambda);

// The transmission of the atmosphere: 10^(−0.4·k(λ)·airmass).
double atmosphericTransmission(const ExtinctionTable& table, double lambda, double airmass);

// The NAME of a "# unit NAME" line among the comments that open a table or
// a .sns file; empty when there is none.
std::string unitLineName(const std::string& text);

} // namespace raylen
