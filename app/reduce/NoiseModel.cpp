#include "reduce/NoiseModel.h"

namespace raylen {

namespace {

std::optional<double> cardNumberOf(const HeaderCards& frame, const char* key)
{
    const std::string* card = findValueCard(frame, key);
    return card == nullptr ? std::nullopt : cardNumber(cardValue(*card));
}

} // namespace

NoiseModel noiseModelOf(const HeaderCards& frame, std::optional<double> gain, std::optional<double> readNoise,
                        bool& defaulted)
{
    NoiseModel model;
    defaulted = false;
    if (!gain) {
        gain = cardNumberOf(frame, "GAIN");
        if (gain && !(*gain > 0))
            gain.reset();
    }
    if (!readNoise) {
        readNoise = cardNumberOf(frame, "RDNOISE");
        if (readNoise && !(*readNoise >= 0))
            readNoise.reset();
    }
    defaulted = !gain || !readNoise;
    model.gain = gain.value_or(model.gain);
    model.readNoise = readNoise.value_or(model.readNoise);
    return model;
}

} // namespace raylen
