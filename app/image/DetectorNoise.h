#pragma once
// The detector's noise model: gain in electrons per count and read noise in
// electrons, from given values, else the frame's GAIN and RDNOISE cards,
// else 1 and 0 (the caller notes the fallback).
#include "fits/HeaderCard.h"

#include <optional>
#include <string>

namespace raylen {

struct DetectorNoise {
    double gain = 1.0;
    double readNoise = 0.0;
    bool gainAssumed = false;      // neither given nor on a card
    bool readNoiseAssumed = false;
};

// A card that is not a number, or a gain that is not positive or a read
// noise below zero, counts as missing.
DetectorNoise detectorNoise(const HeaderCards& header, std::optional<double> gain, std::optional<double> readNoise);

// The note for the assumed values, one line each; empty when none was assumed.
std::string detectorNoiseNote(const DetectorNoise& noise);

} // namespace raylen
