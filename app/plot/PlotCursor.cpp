#include "plot/PlotCursor.h"

#include "platform/Format.h"

#include <cmath>
#include <limits>

namespace raylen {

namespace {

constexpr double twipsToMm = 0.017638888888888888; // 25.4 / 1440
// Read-out Y switches to the exponent form outside these (the tick labels use 1E-6).
constexpr double readOutLow = 1E-5;
constexpr double readOutHigh = 999999;

bool fitsSingle(double value)
{
    return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
}

} // namespace

void cursorToPage(double xTwips, double yTwips, const PageFrame& page, CursorState& cursor)
{
    cursor.sngCursorXmm = static_cast<float>(page.orgX + xTwips * twipsToMm / page.scale);
    cursor.sngCursorYmm = static_cast<float>(page.height + page.orgY - yTwips * twipsToMm / page.scale);
}

bool cursorToData(const PlotFrame& f, CursorState& cursor)
{
    if (f.width == 0 || f.height == 0)
        return false;
    const double x = f.xMin + (cursor.sngCursorXmm - f.orgX) * (f.xMax - f.xMin) / f.width;
    const double y = f.yMin + (cursor.sngCursorYmm - f.orgY) * (f.yMax - f.yMin) / f.height;
    if (!fitsSingle(x) || !fitsSingle(y))
        return false;
    cursor.sngCursorX = static_cast<float>(x);
    cursor.sngCursorY = static_cast<float>(y);
    return true;
}

std::string readOutX(float sngCursorX) { return "x " + platform::Format(sngCursorX, "0.0"); }

std::string readOutY(float sngCursorY, double dataMaxY)
{
    const bool exponent = dataMaxY < readOutLow || dataMaxY > readOutHigh;
    return "y " + platform::Format(sngCursorY, exponent ? "#.####E+0" : "0.0####");
}

} // namespace raylen
