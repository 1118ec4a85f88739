#pragma once
// Builds FITS files byte by byte for the reader tests.
#include "../support/TestSupport.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace fitstest {

using testsupport::card;

inline std::string valueCard(const std::string& key, const std::string& value)
{
    std::string k = key;
    k.resize(8, ' ');
    std::string v = value;
    if (v.size() < 20)
        v.insert(0, 20 - v.size(), ' ');
    return card(k + "= " + v);
}

// Standard cards for a two-dimensional image, then extra cards, then END.
inline std::vector<std::string> imageCards(int bitpix, int width, int height, std::vector<std::string> extra = {})
{
    std::vector<std::string> cards = {valueCard("SIMPLE", "T"), valueCard("BITPIX", std::to_string(bitpix)),
                                      valueCard("NAXIS", "2"), valueCard("NAXIS1", std::to_string(width)),
                                      valueCard("NAXIS2", std::to_string(height))};
    cards.insert(cards.end(), extra.begin(), extra.end());
    cards.push_back(card("END"));
    return cards;
}

inline std::string headerBytes(const std::vector<std::string>& cards, bool pad = true)
{
    std::string bytes;
    for (const std::string& c : cards)
        bytes += card(c);
    if (pad)
        bytes.resize((bytes.size() + 2879) / 2880 * 2880, ' ');
    return bytes;
}

template <class T>
std::string bigEndian(const std::vector<T>& values)
{
    std::string bytes(values.size() * sizeof(T), '\0');
    for (size_t i = 0; i < values.size(); ++i) {
        unsigned char raw[sizeof(T)];
        std::memcpy(raw, &values[i], sizeof(T));
        for (size_t b = 0; b < sizeof(T); ++b)
            bytes[i * sizeof(T) + b] = static_cast<char>(raw[sizeof(T) - 1 - b]);
    }
    return bytes;
}

inline std::string padded(std::string bytes)
{
    bytes.resize((bytes.size() + 2879) / 2880 * 2880, '\0');
    return bytes;
}

} // namespace fitstest
