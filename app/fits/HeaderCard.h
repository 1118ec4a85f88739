#pragma once
// One FITS header card: 80 bytes as they are in the file (one byte per
// character, Latin-1). Images and spectra read their cards through these.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace raylen {

constexpr int cardLength = 80;
constexpr int cardsPerBlock = 36;
constexpr int blockLength = cardLength * cardsPerBlock;
// Fixed-format fields: keyword in columns 1-8, value in 11-30.
constexpr size_t keywordField = 8;
constexpr size_t valueStart = 10;
constexpr size_t valueField = 20;

using HeaderCards = std::vector<std::string>;

// Basic's Trim: leading and trailing blanks (spaces only) removed.
std::string trimBlanks(const std::string& text);

// Columns 1-8 with the blanks around them removed.
std::string cardKeyword(const std::string& card);

// The END card: columns 1-8 are "END" and blanks. A keyword that only
// begins with END (ENDTIME, ENDSCAN) is an ordinary card.
bool isEndCard(const std::string& card);

// Columns 11-30 (the fixed-format value field), blank-filled for a short card.
std::string cardValueField(const std::string& card);

// "= " in columns 9-10: the card carries a value.
bool cardHasValue(const std::string& card);

// The first card before END with this keyword and '=' in column 9;
// nullptr when there is none.
const std::string* findValueCard(const HeaderCards& cards, const std::string& key);

// The free-format value: a quoted string without its quotes (a doubled
// quote read as one, trailing blanks dropped), otherwise the text before
// "/" with the blanks around it removed.
std::string cardValue(const std::string& card);

// A value text as one finite number, with D or E exponents; nothing when
// the whole text is not such a number.
std::optional<double> cardNumber(const std::string& valueText);

} // namespace raylen
