#include "fits/HeaderCard.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace raylen {

namespace {

// A quoted string from its opening quote: doubled quotes are one quote.
std::string unquote(const std::string& text)
{
    if (text.empty() || text[0] != '\'')
        return text;
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                out += '\'';
                ++i;
                continue;
            }
            break;
        }
        out += text[i];
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

} // namespace

std::string trimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string cardKeyword(const std::string& card)
{
    return trimBlanks(card.substr(0, std::min(card.size(), keywordField)));
}

bool isEndCard(const std::string& card)
{
    std::string keyword = card.substr(0, std::min(card.size(), keywordField));
    keyword.resize(keywordField, ' ');
    return keyword == "END     ";
}

std::string cardValueField(const std::string& card)
{
    std::string field = card.size() > valueStart ? card.substr(valueStart, valueField) : std::string();
    field.resize(valueField, ' ');
    return field;
}

bool cardHasValue(const std::string& card)
{
    return card.size() >= valueStart && card.compare(keywordField, 2, "= ") == 0;
}

const std::string* findValueCard(const HeaderCards& cards, const std::string& key)
{
    for (const std::string& card : cards) {
        if (isEndCard(card))
            break;
        if (cardKeyword(card) == key && card.size() > keywordField && card[keywordField] == '=')
            return &card;
    }
    return nullptr;
}

std::string cardValue(const std::string& card)
{
    if (card.size() <= valueStart)
        return {};
    std::string rest = card.substr(valueStart);
    size_t first = rest.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    if (rest[first] == '\'') {
        size_t i = first + 1;
        while (i < rest.size()) {
            if (rest[i] == '\'') {
                if (i + 1 < rest.size() && rest[i + 1] == '\'') {
                    i += 2;
                    continue;
                }
                break;
            }
            ++i;
        }
        return unquote(rest.substr(first, i - first + 1));
    }
    size_t slash = rest.find('/', first);
    return trimBlanks(rest.substr(first, slash == std::string::npos ? std::string::npos : slash - first));
}

std::optional<double> cardNumber(const std::string& valueText)
{
    std::string text = valueText;
    std::replace(text.begin(), text.end(), 'D', 'E');
    std::replace(text.begin(), text.end(), 'd', 'e');
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace raylen
