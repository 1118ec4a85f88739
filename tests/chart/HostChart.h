#pragma once
// The plot window's chart as the program builds it, in a fresh control.
#include "ChartHost.h"
#include "plot/PlotChart.h"

namespace charttest {

// Three spectrum points drawn as a line and as marks, the overlay as a line
// and as marks: every object kind the window uses, styled.
inline Obj buildPlotWindowChart()
{
    Obj control = newControl();
    host(control)->setExtent(540, 426, 96, 96);
    raylen::PlotChart chart;
    chart.build(control.get());
    const std::vector<float> x{4000.5f, 4001.5f, 4002.5f}, y{0.0f, 0.1f, 0.4f};
    chart.plotLine(x, y);
    chart.plotLineClone(x, y);
    chart.plotSymbols(x, y);
    chart.plotSymbolsClone(x, y);
    return control;
}

} // namespace charttest
