#include "ObservationCards.h"


namespace cli {

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
