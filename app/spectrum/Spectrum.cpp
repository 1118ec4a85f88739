#include "spectrum/Spectrum.h"

#include <cstdio>

namespace raylen {

namespace {

constexpr size_t cardBytes = 80;
const std::string historyKey = "HISTORY ";
// Digits tried from the most precise down until the card is full.
constexpr int mostDigits = 10, fewestDigits = 3;

std::string numberList(const std::vector<double>& numbers, int digits)
{
    std::string text;
    for (size_t i = 0; i < numbers.size(); ++i) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, numbers[i]);
        text += (i ? "," : "") + std::string(buffer);
    }
    return text;
}

} // namespace

void addHistory(SpectrumMeta& meta, const std::string& text)
{
    std::string card = historyKey + text.substr(0, historyTextLength);
    card.resize(cardBytes, ' ');
    meta.cards.push_back(card);
}

std::string historyWithNumbers(const std::string& prefix, const std::vector<double>& numbers)
{
    std::string text;
    for (int digits = mostDigits; digits >= fewestDigits; --digits) {
        text = prefix + " " + numberList(numbers, digits);
        if (text.size() <= historyTextLength)
            break;
    }
    return text;
}

std::string baseName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> historyTexts(const SpectrumMeta& meta)
{
    std::vector<std::string> texts;
    for (const std::string& card : meta.cards)
        if (card.compare(0, historyKey.size(), historyKey) == 0) {
            std::string text = card.substr(historyKey.size());
            text.erase(text.find_last_not_of(' ') + 1);
            texts.push_back(text);
        }
    return texts;
}

} // namespace raylen
