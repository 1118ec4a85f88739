#include "image/DetectorNoise.h"

namespace raylen {

namespace {

constexpr double assumedGain = 1.0;
constexpr double assumedReadNoise = 0.0;

std::optional<double> cardValueOf(const HeaderCards& header, const char* key)
{
    const std::string* card = findValueCard(header, key);
    if (card == nullptr)
        return std::nullopt;
    return cardNumber(cardValue(*card));
}

} // namespace

DetectorNoise detectorNoise(const HeaderCards& header, std::optional<double> gain, std::optional<double> readNoise)
{
    DetectorNoise noise;
    if (!gain)
        gain = cardValueOf(header, "GAIN");
    if (gain && *gain > 0)
        noise.gain = *gain;
    else {
        noise.gain = assumedGain;
        noise.gainAssumed = true;
    }
    if (!readNoise)
        readNoise = cardValueOf(header, "RDNOISE");
    if (readNoise && *readNoise >= 0)
        noise.readNoise = *readNoise;
    else {
        noise.readNoise = assumedReadNoise;
        noise.readNoiseAssumed = true;
    }
    return noise;
}

std::string detectorNoiseNote(const DetectorNoise& noise)
{
    std::string note;
    if (noise.gainAssumed)
        note += "注意: GAIN がないため利得 1 を使います\n";
    if (noise.readNoiseAssumed)
        note += "注意: RDNOISE がないため読み出しノイズ 0 を使います\n";
    return note;
}

} // namespace raylen
