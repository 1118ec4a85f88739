#include "platform/Format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

// A non-negative number as decimal digits: value = 0.d1d2d3... × 10^point.
struct Decimal {
    std::string digits; // no leading zeros unless the value is zero ("")
    int point = 0;      // position of the decimal point after `point` digits
};

// Basic formats from the value's 15 significant digits, so 2.675 with "0.00"
// gives 2.68 as a user would expect.
Decimal toDecimal(double magnitude)
{
    Decimal d;
    if (magnitude == 0.0)
        return d;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);
    std::string text(buffer);
    size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.digits += text[i];
    d.point = std::atoi(text.c_str() + e + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Keeps `count` digits (count may be <= 0), rounding half away from zero.
void roundDigits(Decimal& d, int count)
{
    if (static_cast<int>(d.digits.size()) <= count)
        return;
    if (count < 0) {
        d.digits.clear();
        return;
    }
    bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.point += 1;
            d.digits.pop_back();
            if (d.digits.empty())
                d.digits = "1";
        } else {
            d.digits[i] += 1;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

// Digit at position `index` counted from the decimal point (0 = first digit
// left of the point is index -1 ... we use: place p, 10^p).
char digitAt(const Decimal& d, int place)
{
    // digit k (0-based) has place point - 1 - k
    int k = d.point - 1 - place;
    if (k < 0 || k >= static_cast<int>(d.digits.size()))
        return '0';
    return d.digits[k];
}

struct Pattern {
    std::string prefix, suffix;
    int intZeros = 0, intPlaces = 0; // '0' count and all placeholders left of the point
    bool grouping = false;
    bool hasPoint = false;
    int decZeros = 0, decPlaces = 0;
    bool exponent = false;
    char expChar = 'E';
    bool expPlus = false;
    int expZeros = 0;
    bool percent = false;
};

Pattern parse(std::string_view f)
{
    Pattern p;
    size_t i = 0;
    auto isPlaceholder = [](char c) { return c == '0' || c == '#'; };
    while (i < f.size() && !isPlaceholder(f[i]) && f[i] != '.') {
        if (f[i] == '\\' && i + 1 < f.size()) {
            p.prefix += f[i + 1];
            i += 2;
            continue;
        }
        if (f[i] == '%')
            p.percent = true;
        if (f[i] != '"')
            p.prefix += f[i];
        ++i;
    }
    while (i < f.size() && (isPlaceholder(f[i]) || f[i] == ',')) {
        if (f[i] == ',') {
            p.grouping = true;
        } else {
            ++p.intPlaces;
            if (f[i] == '0' || p.intZeros > 0)
                ++p.intZeros; // zeros force every place to their right
        }
        ++i;
    }
    if (i < f.size() && f[i] == '.') {
        p.hasPoint = true;
        ++i;
        while (i < f.size() && isPlaceholder(f[i])) {
            ++p.decPlaces;
            if (f[i] == '0')
                p.decZeros = p.decPlaces;
            ++i;
        }
    }
    if (i + 1 < f.size() && (f[i] == 'E' || f[i] == 'e') && (f[i + 1] == '+' || f[i + 1] == '-')) {
        p.exponent = true;
        p.expChar = f[i];
        p.expPlus = f[i + 1] == '+';
        i += 2;
        while (i < f.size() && isPlaceholder(f[i])) {
            if (f[i] == '0')
                ++p.expZeros;
            ++i;
        }
    }
    while (i < f.size()) {
        if (f[i] == '\\' && i + 1 < f.size()) {
            p.suffix += f[i + 1];
            i += 2;
            continue;
        }
        if (f[i] == '%')
            p.percent = true;
        if (f[i] != '"')
            p.suffix += f[i];
        ++i;
    }
    return p;
}

std::string groupThousands(const std::string& digits)
{
    std::string out;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        out += digits[i];
        int remaining = n - 1 - i;
        if (remaining > 0 && remaining % 3 == 0)
            out += ',';
    }
    return out;
}

std::string formatPattern(double value, const Pattern& p)
{
    bool negative = std::signbit(value) && value != 0.0;
    double magnitude = std::fabs(value);
    if (p.percent)
        magnitude *= 100.0;
    Decimal d = toDecimal(magnitude);
    std::string body;
    if (p.exponent) {
        int intDigits = p.intPlaces > 0 ? p.intPlaces : 1;
        int exponentValue = 0;
        if (!d.digits.empty()) {
            exponentValue = d.point - intDigits;
            roundDigits(d, intDigits + p.decPlaces);
            exponentValue = d.point - intDigits; // rounding may carry into a new digit
        }
        // Mantissa digits relative to a point after intDigits digits.
        Decimal m = d;
        m.point = d.digits.empty() ? 0 : intDigits;
        std::string intPart;
        for (int place = intDigits - 1; place >= 0; --place)
            intPart += digitAt(m, place);
        if (p.intZeros == 0) {
            size_t first = intPart.find_first_not_of('0');
            intPart = first == std::string::npos ? "" : intPart.substr(first);
        }
        std::string decPart;
        for (int k = 1; k <= p.decPlaces; ++k)
            decPart += digitAt(m, -k);
        while (static_cast<int>(decPart.size()) > p.decZeros && !decPart.empty() && decPart.back() == '0')
            decPart.pop_back();
        body = intPart;
        if (p.hasPoint)
            body += "." + decPart;
        std::string expDigits = std::to_string(std::abs(exponentValue));
        while (static_cast<int>(expDigits.size()) < p.expZeros)
            expDigits.insert(expDigits.begin(), '0');
        body += p.expChar;
        if (exponentValue < 0)
            body += '-';
        else if (p.expPlus)
            body += '+';
        body += expDigits;
    } else {
        roundDigits(d, d.point + p.decPlaces);
        std::string intPart;
        for (int place = std::max(d.point, 1) - 1; place >= 0; --place)
            intPart += digitAt(d, place);
        size_t first = intPart.find_first_not_of('0');
        intPart = first == std::string::npos ? "" : intPart.substr(first);
        while (static_cast<int>(intPart.size()) < p.intZeros)
            intPart.insert(intPart.begin(), '0');
        if (p.grouping)
            intPart = groupThousands(intPart);
        std::string decPart;
        for (int k = 1; k <= p.decPlaces; ++k)
            decPart += digitAt(d, -k);
        while (static_cast<int>(decPart.size()) > p.decZeros && !decPart.empty() && decPart.back() == '0')
            decPart.pop_back();
        body = intPart;
        if (p.hasPoint)
            body += "." + decPart;
    }
    return (negative ? "-" : "") + p.prefix + body + p.suffix;
}

std::string generalNumber(double value)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Inf" : "-Inf";
    if (value == 0.0)
        return "0";
    bool negative = value < 0;
    Decimal d = toDecimal(std::fabs(value));
    std::string out = negative ? "-" : "";
    int exponent = d.point - 1;
    // Plain notation while it needs no more than 15 significant places.
    if (exponent < 15 && (exponent >= 0 || static_cast<int>(d.digits.size()) - d.point <= 15)) {
        if (d.point <= 0) {
            out += "0." + std::string(-d.point, '0') + d.digits;
        } else if (static_cast<int>(d.digits.size()) <= d.point) {
            out += d.digits + std::string(d.point - d.digits.size(), '0');
        } else {
            out += d.digits.substr(0, d.point) + "." + d.digits.substr(d.point);
        }
        return out;
    }
    out += d.digits.substr(0, 1);
    if (d.digits.size() > 1)
        out += "." + d.digits.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    std::string e = std::to_string(std::abs(exponent));
    if (e.size() < 2)
        e.insert(e.begin(), '0');
    return out + e;
}

} // namespace

std::string formatGeneralDate(double oleDate)
{
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3e6)
        return generalNumber(oleDate);
    double dayPart = std::floor(oleDate);
    double fraction = oleDate - dayPart;
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayPart += 1;
    }
    // Civil date from days since 1970-01-01 (OLE day 25569).
    long long z = static_cast<long long>(dayPart) - 25569 + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    long long dd = doy - (153 * mp + 2) / 5 + 1;
    long long mm = mp < 10 ? mp + 3 : mp - 9;
    if (mm <= 2)
        ++y;
    char buffer[64];
    std::string out;
    if (dayPart != 0.0) {
        std::snprintf(buffer, sizeof buffer, "%04lld/%02lld/%02lld", y, mm, dd);
        out = buffer;
    }
    if (seconds != 0 || dayPart == 0.0) {
        std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", seconds / 3600, (seconds / 60) % 60, seconds % 60);
        if (!out.empty())
            out += ' ';
        out += buffer;
    }
    return out;
}

std::string Format(double value, std::string_view format)
{
    if (format.empty() || format == "General Number")
        return generalNumber(value);
    if (format == "General Date")
        return formatGeneralDate(value);
    if (format == "Fixed")
        return Format(value, "0.00");
    if (format == "Standard")
        return Format(value, "#,##0.00");
    if (format == "Percent")
        return Format(value, "0.00%");
    if (format == "Scientific")
        return Format(value, "0.00E+00");
    if (!std::isfinite(value))
        return generalNumber(value);
    // Only the first section (positive numbers) is used for every value.
    size_t semicolon = format.find(';');
    return formatPattern(value, parse(format.substr(0, semicolon)));
}

} // namespace platform
