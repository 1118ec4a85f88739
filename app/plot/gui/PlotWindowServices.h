#pragma once
// What the plot window does for the windows around it: printing its chart
// and plotting an image cut into it. The window owner wires these.
#include <string>
#include <vector>

namespace raylen {

// Prints the loaded plot window's chart at its container's size.
void printPlotWindow();
// Shows the cut in the plot window, loading it when it is not loaded.
std::string plotImageCut(const std::vector<float>& sngX, const std::vector<float>& sngY);

} // namespace raylen
