// PlotChart::plotLine of N points (default 32767) on a fresh chart control,
// best of RUNS after one warm-up: prints "plotLine <ms>".
#include "lumigra/Host.h"
#include "plot/PlotChart.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    const size_t n = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) : 32767;
    std::vector<float> x(n), y(n);
    for (size_t i = 0; i < n; ++i) {
        x[i] = 4000.0f + 0.5f * static_cast<float>(i);
        y[i] = 100.0f + static_cast<float>(i % 97);
    }
    using platform::com::IDispatch;
    platform::com::ComPtr<IDispatch> control;
    if (platform::com::failed(
            lumigra::createControl(lumigra::ProgID_Lumigra, reinterpret_cast<IDispatch**>(control.out()))))
        return 1;
    raylen::PlotChart chart;
    chart.build(control.get());
    double best = 1e300;
    for (int r = 0; r <= runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        chart.plotLine(x, y);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        if (r > 0)
            best = std::min(best, ms);
    }
    std::printf("plotLine %.3f\n", best);
    return 0;
}
