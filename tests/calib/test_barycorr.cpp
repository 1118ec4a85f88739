// Barycentric and heliocentric corrections against astropy's
// SkyCoord.radial_velocity_correction, and the corrected wavelength scale.
#include "reduce/BaryCorr.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>

using namespace raylen;

namespace {

std::vector<Observation> observations()
{
    // Sites across latitudes and heights, targets over the whole sky, dates
    // over two decades and through the year.
    const double sites[][3] = {{-111.6, 31.96, 2120},  {-17.89, 28.76, 2396}, {139.54, 35.67, 58},
                               {-70.40, -24.63, 2635}, {21.41, -32.38, 1798}, {-155.47, 19.83, 4160},
                               {10.92, 78.23, 10}};
    std::mt19937 random(23);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<Observation> list;
    for (int k = 0; k < 24; ++k) {
        Observation o;
        const auto& s = sites[k % 7];
        o.longitudeDeg = s[0];
        o.latitudeDeg = s[1];
        o.heightM = s[2];
        o.raDeg = 360.0 * u(random);
        o.decDeg = std::asin(2.0 * u(random) - 1.0) * 180.0 / M_PI;
        o.start = {1998 + k % 24, 1 + (k * 5) % 12, 1 + (k * 7) % 28, (k * 5) % 24, (k * 13) % 60,
                   std::floor(600.0 * u(random)) / 10.0};
        o.exptime = 1800.0 * u(random);
        list.push_back(o);
    }
    return list;
}

TEST(BaryCorr, AgreesWithAstropyForBothKindsWithinTenMetresPerSecond)
{
    if (!testsupport::requirePython("astropy"))
        return;
    const std::vector<Observation> list = observations();
    std::ostringstream script;
    script.precision(17);
    script << "import warnings\nwarnings.simplefilter('ignore')\n"
              "from astropy.utils import iers\n"
              "iers.conf.auto_download = False\niers.conf.iers_degraded_accuracy = 'warn'\n"
              "import astropy.units as u\n"
              "from astropy.coordinates import SkyCoord, EarthLocation\nfrom astropy.time import Time\n"
              "rows = [\n";
    for (const Observation& o : list) {
        char when[64];
        std::snprintf(when, sizeof when, "%04d-%02d-%02dT%02d:%02d:%09.6f", o.start.year, o.start.month, o.start.day,
                      o.start.hour, o.start.minute, o.start.second);
        script << "  (" << o.raDeg << ", " << o.decDeg << ", " << o.longitudeDeg << ", " << o.latitudeDeg << ", "
               << o.heightM << ", '" << when << "', " << o.exptime << "),\n";
    }
    script << "]\nfor ra, dec, lon, lat, h, when, t in rows:\n"
              "    loc = EarthLocation.from_geodetic(lon * u.deg, lat * u.deg, h * u.m)\n"
              "    time = Time(when, scale='utc') + t / 2 * u.s\n"
              "    c = SkyCoord(ra * u.deg, dec * u.deg, frame='icrs')\n"
              "    b = c.radial_velocity_correction('barycentric', obstime=time, location=loc).to_value(u.km / u.s)\n"
              "    s = c.radial_velocity_correction('heliocentric', obstime=time, location=loc).to_value(u.km / u.s)\n"
              "    print(repr(b), repr(s))\n";
    testsupport::TempDir dir;
    std::istringstream reference(testsupport::python(script.str(), dir));
    double largest = 0;
    for (const Observation& o : list) {
        double bary = 0, helio = 0;
        ASSERT_TRUE(reference >> bary >> helio);
        double ours = 0;
        ASSERT_EQ(sfRadialVelocityCorrection(o, VelocityFrame::barycentric, ours), "");
        EXPECT_NEAR(ours, bary, 0.01);
        largest = std::max(largest, std::fabs(ours));
        ASSERT_EQ(sfRadialVelocityCorrection(o, VelocityFrame::heliocentric, ours), "");
        EXPECT_NEAR(ours, helio, 0.01);
    }
    EXPECT_GT(largest, 20.0); // the sample reaches the Earth's orbital speed
}

TEST(BaryCorr, WavelengthScaleShiftedWithinOneInTenMillion)
{
    const std::vector<float> wave = {3800.125f, 5000.5f, 6562.79f, 9000.0f};
    const double v = -29.8765;
    const std::vector<float> shifted = shiftWavelengths(wave, v);
    for (size_t i = 0; i < wave.size(); ++i)
        EXPECT_NEAR(shifted[i] / (wave[i] * (1.0 + v / 299792.458)) - 1.0, 0.0, 1e-7);
}

TEST(BaryCorr, CoordinatesAndDatesParsedAsCardsWriteThem)
{
    double deg = 0;
    EXPECT_TRUE(parseRightAscension("05:35:17.3", deg));
    EXPECT_NEAR(deg, 15.0 * (5 + 35 / 60.0 + 17.3 / 3600.0), 1e-12);
    EXPECT_TRUE(parseRightAscension("05 35 17.3", deg));
    EXPECT_TRUE(parseRightAscension("83.82", deg));
    EXPECT_EQ(deg, 83.82);
    EXPECT_FALSE(parseRightAscension("25:00:00", deg));
    EXPECT_FALSE(parseRightAscension("abc", deg));
    EXPECT_TRUE(parseDeclination("-05:23:28", deg));
    EXPECT_NEAR(deg, -(5 + 23 / 60.0 + 28 / 3600.0), 1e-12);
    EXPECT_TRUE(parseDeclination("-00 30 00", deg));
    EXPECT_EQ(deg, -0.5);
    EXPECT_FALSE(parseDeclination("91", deg));
    UtcTime t;
    EXPECT_TRUE(parseIsoDate("2026-11-20T21:14:05.5", t));
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.minute, 14);
    EXPECT_EQ(t.second, 5.5);
    EXPECT_TRUE(parseIsoDate("2026-11-20", t));
    EXPECT_EQ(t.hour, 0);
    EXPECT_FALSE(parseIsoDate("2026-13-20T00:00:00", t));
    EXPECT_FALSE(parseIsoDate("20/11/2026", t));
    Observation bad;
    bad.start = {2026, 2, 30, 0, 0, 0};
    double v = 0;
    EXPECT_EQ(sfRadialVelocityCorrection(bad, VelocityFrame::barycentric, v), "観測日時が正しくありません");
}

} // namespace
