#pragma once
// Style bits of the component's message boxes beyond the platform's own.
namespace lumigra {

// The box stays above every window until it is answered.
inline constexpr int vbSystemModal = 4096;

} // namespace lumigra
