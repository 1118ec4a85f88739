#pragma once
// Drawing coordinates are millimetres; devices count per inch.
namespace lumigra {

inline constexpr double kMillimetresPerInch = 25.4;

} // namespace lumigra
