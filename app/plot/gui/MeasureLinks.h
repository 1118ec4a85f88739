#pragma once
// Connects the plot window to the windows of its measurements: the result
// window, printing, and the image cut dialog that plots into it.
namespace raylen {

void registerPlotMeasureWindows();

} // namespace raylen
