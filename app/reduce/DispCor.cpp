#include "reduce/DispCor.h"

#include "platform/BasicError.h"
#include "reduce/Dispersion.h"

namespace raylen {

std::string sfDispCorPlot(const std::vector<float>& sngSpecX, const std::vector<float>& sngSpecY,
                          const std::vector<double>& dblA, std::vector<float>& sngNewX, SpectrumView& plotter)
{
    return platform::trapErrors("sfDispCorPlot", [&] {
        sngNewX = applyDispersion(sngSpecX, dblA);
        plotter.Show();
        plotter.dsErasePlotClone();
        plotter.sfPlotLin(sngNewX, sngSpecY);
    });
}

} // namespace raylen
