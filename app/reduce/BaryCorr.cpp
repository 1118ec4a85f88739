#include "reduce/BaryCorr.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace raylen {

namespace {

constexpr double speedOfLight = ERFA_CMPS;                  // m/s
constexpr double auPerDayInMps = ERFA_DAU / ERFA_DAYSEC;    // AU/day → m/s
constexpr double gmSun = 1.32712440018e20;                  // m³/s², IAU 2015 nominal
constexpr double gmEarth = 3.986004e14;                     // m³/s², IAU 2015 nominal
constexpr double metresPerKm = 1000.0;
constexpr double secondsPerMinute = 60.0, minutesPerHour = 60.0;
constexpr double degreesPerHour = 15.0;

// Splits "a:b:c" or "a b c" (one to three fields) into numbers; the sign
// of the first field applies to the whole value.
bool parseSexagesimal(const std::string& text, double& value)
{
    std::string s = text;
    for (char& c : s)
        if (c == ':')
            c = ' ';
    const char* p = s.c_str();
    while (*p == ' ')
        ++p;
    const bool negative = *p == '-';
    double parts[3] = {0, 0, 0};
    int n = 0;
    char* end = nullptr;
    while (*p != '\0' && n < 3) {
        parts[n] = std::strtod(p, &end);
        if (end == p || !std::isfinite(parts[n]))
            return false;
        ++n;
        p = end;
        while (*p == ' ')
            ++p;
    }
    if (*p != '\0' || n == 0)
        return false;
    if ((n > 1 && (parts[1] < 0 || parts[1] >= minutesPerHour)) ||
        (n > 2 && (parts[2] < 0 || parts[2] >= secondsPerMinute)))
        return false;
    const double magnitude = std::fabs(parts[0]) + parts[1] / minutesPerHour +
                             parts[2] / (minutesPerHour * secondsPerMinute);
    value = negative ? -magnitude : magnitude;
    return true;
}

// A separator inside the text: "12:30:00" or "12 30 00".
bool isSexagesimal(const std::string& text)
{
    const size_t first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first != std::string::npos && text.find_first_of(": ", first) < last;
}

bool parsePlain(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    while (end && *end == ' ')
        ++end;
    return end != text.c_str() && end && *end == '\0' && std::isfinite(value);
}

// Julian dates of the time in UTC, TT and TDB (ERFA's two-part form).
struct Dates {
    double utc1 = 0, utc2 = 0, tt1 = 0, tt2 = 0, tdb1 = 0, tdb2 = 0;
};

bool datesAt(const UtcTime& start, double offsetSeconds, Dates& d)
{
    if (eraDtf2d("UTC", start.year, start.month, start.day, start.hour, start.minute, start.second, &d.utc1,
                 &d.utc2) < 0)
        return false;
    d.utc2 += offsetSeconds / ERFA_DAYSEC;
    double tai1 = 0, tai2 = 0;
    if (eraUtctai(d.utc1, d.utc2, &tai1, &tai2) < 0 || eraTaitt(tai1, tai2, &d.tt1, &d.tt2) != 0)
        return false;
    // TDB − TT is under 2 ms: the site's part of it does not matter here.
    d.tdb1 = d.tt1;
    d.tdb2 = d.tt2 + eraDtdb(d.tt1, d.tt2, 0.0, 0.0, 0.0, 0.0) / ERFA_DAYSEC;
    return true;
}

} // namespace

bool parseIsoDate(const std::string& text, UtcTime& t)
{
    UtcTime r;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &r.year, &r.month, &r.day, &consumed) != 3)
        return false;
    const char* rest = text.c_str() + consumed;
    if (*rest == 'T') {
        int n = 0;
        if (std::sscanf(rest, "T%2d:%2d%n", &r.hour, &r.minute, &n) != 2)
            return false;
        rest += n;
        if (*rest == ':') {
            char* end = nullptr;
            r.second = std::strtod(rest + 1, &end);
            if (end == rest + 1)
                return false;
            rest = end;
        }
    }
    while (*rest == ' ')
        ++rest;
    if (*rest != '\0' || r.month < 1 || r.month > 12 || r.day < 1 || r.day > 31 || r.hour < 0 || r.hour > 23 ||
        r.minute < 0 || r.minute > 59 || !(r.second >= 0) || !(r.second < secondsPerMinute + 1))
        return false;
    t = r;
    return true;
}

bool parseRightAscension(const std::string& text, double& degrees)
{
    double value = 0;
    if (isSexagesimal(text)) {
        if (!parseSexagesimal(text, value) || value < 0 || value >= 24)
            return false;
        degrees = value * degreesPerHour;
        return true;
    }
    if (!parsePlain(text, value) || value < 0 || value >= 360)
        return false;
    degrees = value;
    return true;
}

bool parseDeclination(const std::string& text, double& degrees)
{
    double value = 0;
    const bool ok = isSexagesimal(text) ? parseSexagesimal(text, value) : parsePlain(text, value);
    if (!ok || value < -90 || value > 90)
        return false;
    degrees = value;
    return true;
}

std::string sfRadialVelocityCorrection(const Observation& o, VelocityFrame frame, double& kms)
{
    if (!(o.exptime >= 0) || !std::isfinite(o.exptime))
        return "露出時間は0以上の数で指定してください";
    if (!(std::fabs(o.latitudeDeg) <= 90) || !std::isfinite(o.longitudeDeg) || !std::isfinite(o.heightM))
        return "観測地の経度・緯度・標高が正しくありません";
    Dates d;
    if (!datesAt(o.start, 0.5 * o.exptime, d))
        return "観測日時が正しくありません";

    // The Earth about the Sun and the barycentre (AU, AU/day, ICRS axes).
    double pvh[2][3], pvb[2][3];
    eraEpv00(d.tdb1, d.tdb2, pvh, pvb);

    // The site in the celestial frame: its position and rotation velocity
    // in CIRS (UT1 taken as UTC: under a second, a few cm/s), then GCRS.
    const double era = eraEra00(d.utc1, d.utc2);
    double pvCirs[2][3], c2i[3][3], pvGcrs[2][3];
    eraPvtob(o.longitudeDeg * ERFA_DD2R, o.latitudeDeg * ERFA_DD2R, o.heightM, 0.0, 0.0, 0.0, era, pvCirs);
    eraC2i06a(d.tt1, d.tt2, c2i);
    double i2c[3][3];
    eraTr(c2i, i2c);
    eraRxpv(i2c, pvCirs, pvGcrs);

    const double ra = o.raDeg * ERFA_DD2R, dec = o.decDeg * ERFA_DD2R;
    double target[3] = {std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
    const double(&earthVelocity)[3] = frame == VelocityFrame::barycentric ? pvb[1] : pvh[1];
    double beta[3];
    for (int k = 0; k < 3; ++k)
        beta[k] = (earthVelocity[k] * auPerDayInMps + pvGcrs[1][k]) / speedOfLight;

    double v = 0;
    if (frame == VelocityFrame::heliocentric) {
        v = eraPdp(beta, target) * speedOfLight;
    } else {
        const double gamma = 1.0 / std::sqrt(1.0 - eraPdp(beta, beta));
        const double sunDistance = std::sqrt(eraPdp(pvh[0], pvh[0])) * ERFA_DAU;
        const double siteRadius = std::sqrt(eraPdp(pvGcrs[0], pvGcrs[0]));
        const double redshift = -(gmSun / sunDistance + gmEarth / siteRadius) / speedOfLight;
        const double z = gamma * (1.0 + eraPdp(beta, target)) / (1.0 + redshift / speedOfLight);
        v = (z - 1.0) * speedOfLight;
    }
    kms = v / metresPerKm;
    return {};
}

double dopplerFactor(double kms) { return 1.0 + kms * metresPerKm / speedOfLight; }

std::vector<float> shiftWavelengths(const std::vector<float>& wave, double kms)
{
    const double factor = dopplerFactor(kms);
    std::vector<float> out(wave.size());
    for (size_t i = 0; i < wave.size(); ++i)
        out[i] = static_cast<float>(static_cast<double>(wave[i]) * factor);
    return out;
}

} // namespace raylen
