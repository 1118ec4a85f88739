#include "platform/BasicRuntime.h"

#include "platform/BasicError.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace platform {

double leadingNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        number += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            number += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        size_t expDigits = 0;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            exponent += text[j++];
            ++expDigits;
        }
        if (expDigits > 0)
            number += exponent;
    }
    double value = std::strtod(number.c_str(), nullptr);
    if (std::isinf(value))
        raise(errOverflow);
    return value;
}

double roundHalfEven(double value)
{
    return std::nearbyint(value); // default rounding mode is to nearest, ties to even
}

int16_t toInteger(double value)
{
    double r = roundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        raise(errOverflow);
    return static_cast<int16_t>(r);
}

int32_t toLong(double value)
{
    double r = roundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        raise(errOverflow);
    return static_cast<int32_t>(r);
}

double checkedDivide(double a, double b)
{
    if (b == 0.0)
        raise(errDivisionByZero);
    return a / b;
}

int16_t checkedAdd16(int32_t a, int32_t b)
{
    int32_t r = a + b;
    if (r < -32768 || r > 32767)
        raise(errOverflow);
    return static_cast<int16_t>(r);
}

int16_t checkedMul16(int32_t a, int32_t b)
{
    int64_t r = static_cast<int64_t>(a) * b;
    if (r < -32768 || r > 32767)
        raise(errOverflow);
    return static_cast<int16_t>(r);
}

int32_t checkedMul32(int64_t a, int64_t b)
{
    int64_t r = a * b;
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        raise(errOverflow);
    return static_cast<int32_t>(r);
}

int32_t checkedAdd32(int64_t a, int64_t b)
{
    int64_t r = a + b;
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        raise(errOverflow);
    return static_cast<int32_t>(r);
}

namespace {

// Shortest round-trip text of a float or double; fixed notation for
// exponents from -5 below fixedLimit.
template <class T>
std::string shortestText(T value, int fixedLimit)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Inf" : "-Inf";
    if (value == T(0))
        return std::signbit(value) ? "-0" : "0";
    // Shortest round-trip digits in scientific form, then laid out by magnitude.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string sci(buffer, result.ptr);
    size_t e = sci.find('e');
    std::string mantissa = sci.substr(0, e);
    int exponent = std::atoi(sci.c_str() + e + 1);
    bool negative = mantissa[0] == '-';
    if (negative)
        mantissa.erase(0, 1);
    std::string digits;
    for (char c : mantissa)
        if (c != '.')
            digits += c;
    std::string text = negative ? "-" : "";
    if (exponent >= -5 && exponent < fixedLimit) {
        if (exponent >= 0) {
            if (static_cast<int>(digits.size()) <= exponent + 1) {
                text += digits + std::string(exponent + 1 - digits.size(), '0');
            } else {
                text += digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
            }
        } else {
            text += "0." + std::string(-exponent - 1, '0') + digits;
        }
        return text;
    }
    text += digits.substr(0, 1);
    if (digits.size() > 1)
        text += "." + digits.substr(1);
    text += exponent < 0 ? "E-" : "E+";
    int magnitude = std::abs(exponent);
    if (magnitude < 10)
        text += "0";
    text += std::to_string(magnitude);
    return text;
}

} // namespace

std::string singleToText(float value)
{
    return shortestText(value, 7);
}

std::string doubleToText(double value)
{
    return shortestText(value, 15);
}

} // namespace platform
