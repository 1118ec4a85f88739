#pragma once
// Radial-velocity correction of an observation to the solar-system
// barycentre or the Sun, from ERFA's Earth ephemeris and the site's motion
// at mid-exposure, and its application to a wavelength scale.
#include <string>
#include <vector>

namespace raylen {

enum class VelocityFrame { barycentric, heliocentric };

struct UtcTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0;
};

struct Observation {
    double raDeg = 0, decDeg = 0;                  // ICRS (J2000)
    double longitudeDeg = 0, latitudeDeg = 0;      // geodetic, east-positive
    double heightM = 0;                            // above the WGS84 ellipsoid
    UtcTime start;                                 // DATE-OBS
    double exptime = 0;                            // seconds
};

// "YYYY-MM-DD[Thh:mm[:ss[.sss]]]"; false when malformed.
bool parseIsoDate(const std::string& text, UtcTime& time);
// Degrees as a plain number, or sexagesimal "h:m:s" / "h m s" in hours.
bool parseRightAscension(const std::string& text, double& degrees);
// Degrees as a plain number, or sexagesimal "±d:m:s" / "±d m s".
bool parseDeclination(const std::string& text, double& degrees);

// The velocity in km/s to add to a measured radial velocity: the
// barycentric one relativistically (the observer's time dilation and the
// Sun's and Earth's gravitational redshift included), the heliocentric one
// as the projection of the observer's velocity about the Sun.
std::string sfRadialVelocityCorrection(const Observation& observation, VelocityFrame frame, double& kms);

// λ' = λ·(1 + v/c), computed in double.
std::vector<float> shiftWavelengths(const std::vector<float>& wave, double kms);
double dopplerFactor(double kms);

} // namespace raylen
