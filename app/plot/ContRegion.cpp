#include "plot/ContRegion.h"

#include "numeric/Ordering.h"
#include "platform/BasicError.h"
#include "plot/SearchIndex.h"

#include <algorithm>

namespace raylen {

using platform::trapErrors;

namespace {

bool listEmpty(const std::vector<int32_t>& list) { return list.size() <= 1; }

bool inList(const std::vector<int32_t>& list, int32_t index)
{
    return std::find(list.begin(), list.end(), index) != list.end();
}

// Sorts (the list helper only turns a descending list round, as everywhere
// else in the program) and marks the listed points.
std::string showRegions(const std::vector<float>& x, const std::vector<float>& y, std::vector<int32_t>& list,
                        SpectrumView& plotter)
{
    std::string message = sfSortX(list);
    if (!message.empty())
        return message;
    std::vector<float> markX(list.size()), markY(list.size());
    for (size_t n = 0; n < list.size(); ++n) {
        const auto index = static_cast<size_t>(list[n]);
        if (index >= x.size() || index >= y.size())
            platform::raise(platform::errSubscript);
        markX[n] = x[index];
        markY[n] = y[index];
    }
    return plotter.sfPlotSymClone(markX, markY);
}

} // namespace

std::string sfSetContRegion(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY, float sngX1,
                            float sngX2, std::vector<int32_t>& lngContRegion, SpectrumView& plotter)
{
    return trapErrors("sfSetContRegion", [&]() -> std::string {
        int32_t i1 = 0, i2 = 0;
        std::string message = sfSearchIndexX(sngDataX, std::min(sngX1, sngX2), std::max(sngX1, sngX2), i1, i2);
        if (!message.empty())
            return message;
        std::vector<int32_t> list;
        if (listEmpty(lngContRegion)) {
            for (int32_t i = i1; i <= i2; ++i)
                list.push_back(i);
        } else {
            list = lngContRegion;
            for (int32_t i = i1; i <= i2; ++i)
                if (!inList(lngContRegion, i))
                    list.push_back(i);
        }
        message = showRegions(sngDataX, sngDataY, list, plotter);
        lngContRegion = std::move(list);
        return message;
    });
}

std::string sfDeleteContRegion(const std::vector<float>& sngDataX, const std::vector<float>& sngDataY,
                               float sngX1, float sngX2, std::vector<int32_t>& lngContRegion,
                               SpectrumView& plotter)
{
    return trapErrors("sfDeleteContRegion", [&]() -> std::string {
        int32_t i1 = 0, i2 = 0;
        std::string message = sfSearchIndexX(sngDataX, std::min(sngX1, sngX2), std::max(sngX1, sngX2), i1, i2);
        if (!message.empty())
            return message;
        if (listEmpty(lngContRegion))
            return {};
        std::vector<int32_t> list;
        for (int32_t index : lngContRegion)
            if (index < i1 || index > i2)
                list.push_back(index);
        if (list.empty())
            platform::raise(platform::errSubscript);
        message = showRegions(sngDataX, sngDataY, list, plotter);
        lngContRegion = std::move(list);
        return message;
    });
}

} // namespace raylen
