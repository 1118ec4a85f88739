#pragma once
// The plot window's chart: the object tree built inside the chart control
// through the chart's typed face (spectra go in as packed blocks, not a
// variant per value), and every change the window makes to it afterwards.
// The window, raylen-cli and the tests share it, so the chart looks the same
// everywhere. Dispatch failures raise Basic errors; callers trap them.
#include "platform/com/Dispatch.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace raylen {

using ChartObject = platform::com::ComPtr<platform::com::IDispatch>;

// Chart page geometry in millimetres, origin at the lower left.
inline constexpr double plotAreaOrgX = 13.0;
inline constexpr double plotAreaOrgY = 10.0;
inline constexpr double plotAreaWidth = 120.0;
inline constexpr double plotAreaHeight = 80.0;
inline constexpr int markLineCount = 4;

// Y tick labels switch to the exponent form outside these limits.
inline constexpr double tickFormatLow = 1E-6;
inline constexpr double tickFormatHigh = 999999;
inline constexpr const char* tickFormatGeneral = "General Number";
inline constexpr const char* tickFormatExponent = "0.0#####E+0";

// The axis dialog's style codes.
inline constexpr int16_t axisStyleLog = 10;
inline constexpr int16_t axisStyleLinear = 1;

// The plot area and the axis values the chart draws at its edges now.
struct PlotFrame {
    double orgX = 0, orgY = 0, width = 0, height = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

// How the control lays its page over its window: the page's height in
// millimetres (its lower edge is the page origin's row), the page origin
// and the magnification.
struct PageFrame {
    double height = 0, orgX = 0, orgY = 0, scale = 1;
};

class PlotChart {
public:
    // Builds the tree in a fresh control (sfInitLumigra, without the
    // container's position and size, which belong to the host).
    void build(platform::com::IDispatch* control);
    bool built() const { return static_cast<bool>(objGraph); }

    // sfPlotLin steps 2-4 and 6: the data of "Graph1" as a solid black line.
    void plotLine(const std::vector<float>& x, const std::vector<float>& y);
    // The red dashed overlay on the clone.
    void plotLineClone(const std::vector<float>& x, const std::vector<float>& y);
    // Dark red crosses on "Graph1" instead of its line.
    void plotSymbols(const std::vector<float>& x, const std::vector<float>& y);
    // The ±σ band around (x, y) drawn as its outline, one closed line
    // (empty σ: no band).
    void plotErrorBand(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& sigma);
    // Red "+" marks on the clone.
    void plotSymbolsClone(const std::vector<float>& x, const std::vector<float>& y);
    // The points a sigma rejection left out of a fit, as the clone's red
    // "+" marks on a chart of their own, so that the fitted line stays.
    // That chart is made on the first non-empty call: a chart that never
    // shows a rejection is built exactly as before.
    void plotRejected(const std::vector<float>& x, const std::vector<float>& y);
    void erasePlot();
    // Also erases the rejected points.
    void erasePlotClone();
    void symCrossEnabled(bool enabled);

    void setRangeX(bool automatic, float maximum, float minimum);
    void setRangeY(bool automatic, float maximum, float minimum, int16_t style);
    // blnAuto is only ever set to true, as the axis dialog expects.
    void getRangeX(bool& automatic, float& maximum, float& minimum);
    void getRangeY(bool& automatic, float& maximum, float& minimum, int16_t& style);
    void autoScale();
    // Both axes to manual ranges (sfTrimPlot's axis steps).
    void setManualX(float minimum, float maximum);
    void setManualY(float minimum, float maximum);

    // The document's name and the time of the last change in the labels.
    void setNameDate(const std::string& fileName, const std::string& dateText);

    // Largest Y of "Graph1" (Data.Max(2)).
    double dataMaxY();
    std::string yTickFormat();
    // Asks the axes where they draw, so a range changed by any path (a
    // zoom, the axis dialog, the tick rule framing a manual range by round
    // numbers) is read as drawn.
    PlotFrame frame();
    PageFrame page();

    void showMarkLine(int index, double xMm);
    void hideMarkLines();

    ChartObject Lumigra1;
    ChartObject objGraph, objAxisX, objAxisY, objGraphLine, objGraphSymbol;
    ChartObject objCloneData, objClone, objCloneLine, objCloneSymbol;
    ChartObject objRejectData, objReject; // null until a rejection is shown
    ChartObject objBandData, objBand;     // null until an error band is shown
    ChartObject objLblAxisX, objLblAxisY, objLblObject, objLblDate;
    std::array<ChartObject, markLineCount> objMarkLine;
    bool blnGraphSymbol = false;
    bool blnCloneSymbol = false;
};

// Today's date and time as the labels show it ("2002/05/10 15:00:12").
std::string generalDateNow();

} // namespace raylen
