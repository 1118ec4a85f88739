#include "numeric/Ordering.h"

#include "platform/BasicError.h"

#include <algorithm>

namespace raylen {

std::string sfSortXY(std::vector<float>& x, std::vector<float>& y)
{
    return platform::trapErrors("sfSortXY", [&] {
        // Parallel arrays: Y is walked with X's bounds.
        if (x.empty() || y.size() != x.size())
            platform::raise(platform::errSubscript);
        if (x.front() > x.back()) {
            std::reverse(x.begin(), x.end());
            std::reverse(y.begin(), y.end());
        }
    });
}

std::string sfSortX(std::vector<int32_t>& a)
{
    return platform::trapErrors("sfSortX", [&] {
        if (a.empty())
            platform::raise(platform::errSubscript);
        if (a.back() < a.front())
            std::reverse(a.begin(), a.end());
    });
}

} // namespace raylen
