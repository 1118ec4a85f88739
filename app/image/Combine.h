#pragma once
// Combining frames of one size pixel by pixel: median, mean or sum, after
// optional sigma-clip or min/max rejection and scaling to the first frame's
// median or exposure time. The frames are read a band of rows at a time.
#include "fits/HeaderCard.h"
#include "numeric/Array2D.h"

#include <cstddef>
#include <string>
#include <vector>

namespace raylen {

enum class CombineMethod { median, mean, sum };
enum class CombineReject { none, sigmaClip, minMax };
enum class CombineScale { none, median, exposureTime };

struct CombineOptions {
    CombineMethod method = CombineMethod::median;
    CombineReject reject = CombineReject::none;
    double low = 3.0, high = 3.0;   // sigma clip, in σ = 1.4826 × MAD
    int dropLow = 1, dropHigh = 1;  // min/max rejection, in values
    CombineScale scale = CombineScale::none;
};

// σ from the median absolute deviation of a normal distribution.
constexpr double madToSigma = 1.4826;

// One pixel: combines values[0 … count) (reordered; NaN and infinities are
// left out). `frames` is the number of frames, which a sum is scaled to
// when values were rejected or left out. NaN when no value remains.
float combinePixel(double* values, size_t count, size_t frames, const CombineOptions& options);

// The same pixel with its uncertainty (one standard deviation) in `error`.
// `sigmas` holds the inputs' own uncertainties beside the values (reordered
// with them), or is nullptr when the inputs carry none; the rules are in
// Combine.cpp. NaN where it cannot be told.
float combinePixel(double* values, double* sigmas, size_t count, size_t frames, const CombineOptions& options,
                   float& error);

// The whole combination. The header is the first frame's with EXPTIME the
// sum (sum) or the mean (otherwise) when every frame has one, and COMMENT
// cards naming the method and the inputs. With `uncertainty`, it also gets
// the combined frame's uncertainty, propagated from the inputs' ERR
// extensions when every input has one, else from the spread of the values.
std::string sfCombineFrames(const std::vector<std::string>& files, const CombineOptions& options,
                            SingleImage& result, HeaderCards& header, SingleImage* uncertainty = nullptr);

// The method and rejection as the COMMENT card and the command line write them.
std::string combineDescription(const CombineOptions& options);

} // namespace raylen
