#pragma once
// Turn a descending list into an ascending one by reversing it. No sort
// takes place: lists that are not monotonic keep their order.
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

// Reverses X and Y together when the first X is greater than the last.
std::string sfSortXY(std::vector<float>& x, std::vector<float>& y);
// Reverses A when its last element is smaller than its first.
std::string sfSortX(std::vector<int32_t>& a);

} // namespace raylen
