#include "ObservationCards.h"

#include "fits/FitsHeader.h"
#include "fits/FitsSpectrum.h"
#include "files/FileAccess.h"

namespace cli {

std::string readObservationCards(const std::string& path, raylen::HeaderCards& cards)
{
    cards.clear();
    if (!raylen::dfIsFileExist(path) || !raylen::isFitsSpectrumFile(path))
        return {};
    raylen::FitsInfo info;
    std::string message = raylen::sfGetHeaderEndInFile(path, info);
    if (message.empty())
        message = raylen::sfReadHeaderString(path, info.HeaderN, cards);
    return message;
}

std::optional<std::string> cardTextOf(const raylen::HeaderCards& cards, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        if (const std::string* card = raylen::findValueCard(cards, key))
            return raylen::cardValue(*card);
    return std::nullopt;
}

std::optional<double> cardNumberOf(const raylen::HeaderCards& cards, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        if (const std::string* card = raylen::findValueCard(cards, key))
            if (auto number = raylen::cardNumber(raylen::cardValue(*card)))
                return number;
    return std::nullopt;
}

} // namespace cli
