#pragma once
// The outside library libraylen.so, bound by name at the first call of each
// routine (looked up beside the program first). A missing library raises
// Basic error 48, a missing entry point error 453, in the calling procedure.
#include <cstdint>

namespace raylen {

void VB_ffswap2(int16_t* first, int32_t count);
void VB_ffswap4(float* first, int32_t count);
void VB_ffswap4Lng(int32_t* first, int32_t count);
int32_t VB_iGaussfit(const float* x, const float* y, int32_t n, double initB, double scaleB, double initC,
                     double scaleC, double& A, double& B, double& C, double& D);

// Tests point the binding at another file and drop the cached entry points;
// "" binds to no library at all, nullptr restores the default search.
void setOutsideLibraryPath(const char* path);

} // namespace raylen
