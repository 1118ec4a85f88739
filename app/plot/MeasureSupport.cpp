#include "plot/MeasureSupport.h"

#include "numeric/Lst2Fit.h"
#include "plot/SearchIndex.h"

#include <utility>

namespace raylen {

void orderMarks(MarkedPoints& sngPointX, MarkedPoints& sngPointY)
{
    if (sngPointX[0] > sngPointX[1]) {
        std::swap(sngPointX[0], sngPointX[1]);
        std::swap(sngPointY[0], sngPointY[1]);
    }
}

std::string continuumWindow(const std::vector<float>& sngDataX, const MarkedPoints& sngPointX,
                            const MarkedPoints& sngPointY, LinearContinuum& continuum, int32_t& i1, int32_t& i2)
{
    std::vector<double> dblCont;
    std::string message = sfLst2Fit({sngPointX[0], sngPointX[1]}, {sngPointY[0], sngPointY[1]}, 1, dblCont);
    if (!message.empty())
        return message;
    continuum = {dblCont[0], dblCont[1]};
    return sfSearchIndexX(sngDataX, sngPointX[0], sngPointX[1], i1, i2);
}

} // namespace raylen
