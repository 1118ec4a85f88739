#pragma once
// Charts built through the plot window's chart for the facade's tests.
#include "../chart/HostChart.h"

namespace facadetest {

using namespace charttest;

// 0.5 wide steps from 4000 with a slow wave on a slope.
inline void spectrum(size_t n, std::vector<float>& x, std::vector<float>& y)
{
    x.resize(n);
    y.resize(n);
    for (size_t i = 0; i < n; ++i) {
        x[i] = 4000.0f + 0.5f * static_cast<float>(i);
        y[i] = 100.0f + 0.01f * static_cast<float>(i) + 5.0f * static_cast<float>(i % 17) / 17.0f;
    }
}

// Every change the window makes, on a chart of n points.
inline Obj everyChange(raylen::PlotChart& chart, size_t n)
{
    Obj control = newControl();
    host(control)->setExtent(540, 426, 96, 96);
    host(control)->setDisplayName("Plot1");
    chart.build(control.get());
    std::vector<float> x, y;
    spectrum(n, x, y);
    chart.plotLine(x, y);
    chart.plotLineClone(x, y);
    chart.plotSymbols(x, y);
    chart.plotSymbolsClone(x, y);
    chart.symCrossEnabled(false);
    chart.plotLineClone({x.front(), x.back()}, {y.front(), y.back()});
    chart.plotRejected({x[1]}, {y[1]});
    chart.setNameDate("object.txt", "2002/05/10 15:00:12");
    chart.setRangeX(false, x.back(), x.front());
    chart.setRangeY(false, 200.0f, 1.0f, raylen::axisStyleLog);
    chart.setManualY(2.0f, 150.0f);
    chart.showMarkLine(1, 50.0);
    return control;
}

} // namespace facadetest
