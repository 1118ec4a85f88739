#include "plot/PlotChart.h"

#include "lumigra/TypedChart.h"

#include <cmath>
#include <ctime>
#include <limits>
#include <optional>

namespace raylen {

using namespace lumigra;
using platform::com::IDispatch;

namespace {

using namespace lumigra::typed;

// The pens of a line beyond the first are off in every line the window styles.
void otherPensOff(const Line& line)
{
    for (int pen = 2; pen <= 4; ++pen)
        line.pen(pen).setEnabled(false);
}

void styleAxis(const XyAxis& axis, bool x)
{
    axis.setVisible(true);
    axis.setOrigin(plotAreaOrgX, plotAreaOrgY);
    axis.setReverse(false);
    axis.setAutomatic();
    axis.setType(lgXyAxisNumeric);
    axis.setStyle(lgXyAxisNumericLinear);
    axis.pen().setEnabled(true);
    axis.setOrientation(x ? lgXyAxisX : lgXyAxisY);
    axis.setLength(x ? plotAreaWidth : plotAreaHeight);

    const XyTick tick = axis.tick();
    tick.setVisible(true);
    tick.setMarkIntervalSelection(lgSelectionAutomatic);
    const Font font = tick.labelFont();
    font.setEnabled(true);
    tick.setLabelAngle(0);
    tick.setLabelFormat(tickFormatGeneral);
    font.setTypeFace("Century");
    font.setSize(3.0);
    tick.pen().setEnabled(true);
    tick.setMarkLength(1.0);
    tick.setMarkStyle(lgTickMarkBoth);
    tick.setLabelLocation(x ? lgTickLabelRightAbove : lgTickLabelLeftAbove);

    const Line grid = tick.gridLine();
    grid.setVisible(false);
    grid.pen(1).setEnabled(true);
    grid.setDash(1.3, 0.7);
    otherPensOff(grid);
}

Label addLabel(const Control& control, const std::string& name, double x, double y, const std::string& text,
               const char* face, double size)
{
    const Label label = control.addLabel(name);
    label.setVisible(true);
    label.setAlignment(lgFontAlignLeft, lgFontAlignBottom);
    label.setPosition(x, y);
    label.setText(text);
    const Font font = label.font();
    if (face != nullptr)
        font.setTypeFace(face);
    font.setSize(size);
    return label;
}

// The error band's dash and gap, in millimetres.
constexpr double bandDashMm = 0.6;

void styleLine(const Line& line, int32_t colour, double width, double length, double space)
{
    line.setVisible(true);
    const Pen pen = line.pen(1);
    pen.setEnabled(true);
    pen.setColour(colour);
    pen.setWidth(width);
    pen.setStyle(lgPenNormal);
    line.setDash(length, space);
    otherPensOff(line);
}

void styleSymbol(const Symbol& symbol, double height, double width, LgSymbolStyle style)
{
    symbol.setVisible(true);
    symbol.setSize(height, width);
    symbol.setStyle(style);
    const Brush brush = symbol.brush();
    brush.setEnabled(true);
    brush.setStyle(lgBrushSolid);
    brush.setForeColour(rgb(128, 0, 0));
}

// The clone's red "+" marks, 5 × 2 mm.
Symbol styleCloneSymbol(const XyChart& chart)
{
    const Symbol symbol = chart.symbol(lgMarkerSymbol);
    const Pen pen = symbol.pen();
    pen.setEnabled(true);
    pen.setColour(rgb(254, 0, 0));
    styleSymbol(symbol, 5.0, 2.0, lgSymbolPlus);
    return symbol;
}

void setData(const Data& data, const std::vector<float>& x, const std::vector<float>& y)
{
    data.setValues(lgIndexDataX, x);
    data.setValues(lgIndexDataY, y);
}

void clearData(const Data& data)
{
    data.clear(lgIndexDataX);
    data.clear(lgIndexDataY);
}

// Single precision, as the axis dialog keeps the ends (overflow beyond it).
float toSingle(double value)
{
    if (!(std::fabs(value) <= std::numeric_limits<float>::max()))
        platform::raise(platform::errOverflow);
    return static_cast<float>(value);
}

void getRange(const XyAxis& axis, bool& automatic, float& maximum, float& minimum)
{
    const XyAxis::Range range = axis.range();
    if (range.automatic)
        automatic = true;
    maximum = toSingle(range.maximum);
    minimum = toSingle(range.minimum);
}

// Where the axis draws a value now, in page millimetres; empty when it
// cannot place it.
std::optional<double> drawnPosition(const XyAxis& axis, double value)
{
    try {
        return axis.plotPosition(value);
    } catch (const platform::BasicError&) {
        return std::nullopt;
    }
}

// The values the axis draws at start and start + length. These differ from
// Minimum and Maximum when the tick rule frames a manual range by round
// numbers. Linear between the drawn ends, also on a log axis, as the
// read-out is. An axis that is not drawn gives the ends the chart reports.
void drawnEnds(const XyAxis& axis, double start, double length, double& lo, double& hi)
{
    const double asked = axis.range().minimum;
    std::optional<double> atLo = drawnPosition(axis, asked);
    // Placing a value prepares the axis, which may move automatic ends.
    const XyAxis::Range range = axis.range();
    lo = range.minimum;
    hi = range.maximum;
    if (asked != lo)
        atLo = drawnPosition(axis, lo);
    const std::optional<double> atHi = drawnPosition(axis, hi);
    if (!atLo || !atHi || *atLo == *atHi)
        return;
    const double perMm = (hi - lo) / (*atHi - *atLo);
    const double from = lo + (start - *atLo) * perMm;
    hi = lo + (start + length - *atLo) * perMm;
    lo = from;
}

double finiteOr(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

void setRange(const XyAxis& axis, bool automatic, float maximum, float minimum)
{
    if (automatic)
        axis.setAutomatic();
    else
        axis.setRange(minimum, maximum);
}

XyChart chartOf(const ChartObject& o) { return XyChart(o); }
XyAxis axisOf(const ChartObject& o) { return XyAxis(o); }

} // namespace

void PlotChart::build(IDispatch* control)
{
    Lumigra1 = ChartObject::share(control);
    const Control c(Lumigra1);
    c.setMouseAction(lgNoMouseAction);
    c.setAutoRedraw(true);
    c.setPropertySheetEnabled(false);
    c.setOrigin(0.0, 0.0);
    c.setScaleFactor(1);
    c.setExactScale(true);
    c.setBackMode(1);
    c.setBackColour(0xFFFFFF);

    const XyChart graph = c.addXyChart("Graph1");
    objGraph = graph.dispatch();
    graph.setVisible(true);
    graph.setType(lgChartSimple);
    graph.setClip(true);
    graph.setDrawSimpleChart(true);
    graph.setLineFirst(true);
    graph.setMarkerSymbolInterval(1);

    const Rectangle area = graph.plotArea();
    area.setVisible(true);
    area.setBox({plotAreaOrgX, plotAreaOrgY, plotAreaWidth, plotAreaHeight});
    area.pen().setEnabled(true);
    area.setPaintTool(lgPaintBrush);
    const Brush brush = area.brush();
    brush.setEnabled(true);
    brush.setStyle(lgBrushNull);

    const XyAxis axisX = graph.xAxis(), axisY = graph.yAxis();
    objAxisX = axisX.dispatch();
    objAxisY = axisY.dispatch();
    styleAxis(axisX, true);
    styleAxis(axisY, false);

    objLblAxisX = addLabel(c, "mLG_lblAxisX", 65.0, 1.5, "", "Century", 3.5).dispatch();
    const Label labelY = addLabel(c, "mLG_lblAxisY", 4.0, 45.0, "", "Century", 3.5);
    labelY.setAngle(90);
    objLblAxisY = labelY.dispatch();
    const Label labelObject = addLabel(c, "mLG_lblObject", 15.0, 91.0, "File Name", nullptr, 4.0);
    labelObject.setSecondAlignment(lgFontAlignBottom);
    objLblObject = labelObject.dispatch();
    const Label labelDate = addLabel(c, "mLG_lblDate", 95.0, 96.0, "Date", nullptr, 3.5);
    labelDate.setSecondAlignment(lgFontAlignBottom);
    objLblDate = labelDate.dispatch();

    const double yOrg = axisY.orgY();
    const double yLength = axisY.length();
    for (int i = 0; i < markLineCount; ++i) {
        const Line line = c.addLine("mlglineLine(" + std::to_string(i) + ")");
        line.setVisible(false);
        line.setX(0.0, 0.0);
        line.setY(yOrg, yOrg + yLength);
        // One dash longer than any line: solid.
        line.setDash(1E+40);
        const Pen pen = line.pen(1);
        pen.setEnabled(true);
        pen.setColour(rgb(0, 0, 200));
        pen.setWidth(0.2);
        pen.setStyle(lgPenNormal);
        objMarkLine[i] = line.dispatch();
    }

    const Data cloneData = c.addData("clone2");
    objCloneData = cloneData.dispatch();
    const XyChart clone = graph.clone("ｸﾞﾗﾌ2", cloneData);
    objClone = clone.dispatch();
    clone.setVisible(true);
    clone.setType(lgChartSimple);
    clone.setClip(true);
    clone.setDrawSimpleChart(true);
    clone.setLineFirst(true);
    clone.setDataLabelInterval(1);
    clone.setYAxis(axisY);
}

void PlotChart::plotLine(const std::vector<float>& x, const std::vector<float>& y)
{
    Control(Lumigra1).setMouseAction(lgFireMouseEvent);
    const XyChart graph = chartOf(objGraph);
    setData(graph.data(), x, y);
    const Line line = graph.line(lgMarkerLine);
    objGraphLine = line.dispatch();
    styleLine(line, rgb(0, 0, 0), 0.2, 1000.0, 0);
    axisOf(objAxisY).tick().setLabelFormat(yTickFormat());
}

std::string PlotChart::yTickFormat()
{
    const double largest = dataMaxY();
    return largest < tickFormatLow || largest > tickFormatHigh ? tickFormatExponent : tickFormatGeneral;
}

double PlotChart::dataMaxY() { return chartOf(objGraph).data().maximum(lgIndexDataY); }

void PlotChart::plotLineClone(const std::vector<float>& x, const std::vector<float>& y)
{
    if (blnCloneSymbol) {
        Symbol(objCloneSymbol).setVisible(false);
        blnCloneSymbol = false;
    }
    setData(Data(objCloneData), x, y);
    const Line line = chartOf(objClone).line(lgMarkerLine);
    objCloneLine = line.dispatch();
    styleLine(line, rgb(255, 0, 0), 0.3, 1.3, 0.7);
}

void PlotChart::plotSymbols(const std::vector<float>& x, const std::vector<float>& y)
{
    const XyChart graph = chartOf(objGraph);
    setData(graph.data(), x, y);
    const Symbol symbol = graph.symbol(lgMarkerSymbol);
    objGraphSymbol = symbol.dispatch();
    symbol.pen().setEnabled(true);
    styleSymbol(symbol, 2.0, 2.0, lgSymbolX);
    blnGraphSymbol = true;
    // Needs the line of an earlier plotLine: without it this fails as an unset object.
    if (!objGraphLine)
        platform::raise(platform::errObjectNotSet);
    Line(objGraphLine).setVisible(false);
}

void PlotChart::plotSymbolsClone(const std::vector<float>& x, const std::vector<float>& y)
{
    setData(Data(objCloneData), x, y);
    objCloneSymbol = styleCloneSymbol(chartOf(objClone)).dispatch();
    blnCloneSymbol = true;
}

void PlotChart::plotRejected(const std::vector<float>& x, const std::vector<float>& y)
{
    if (!objReject) {
        if (x.empty())
            return;
        const Data data = Control(Lumigra1).addData("clone3");
        objRejectData = data.dispatch();
        const XyChart reject = chartOf(objGraph).clone("ｸﾞﾗﾌ3", data);
        objReject = reject.dispatch();
        reject.setVisible(true);
        reject.setType(lgChartSimple);
        reject.setClip(true);
        reject.setDrawSimpleChart(true);
        reject.setYAxis(axisOf(objAxisY));
        // The clone copies the spectrum's line and symbol, and shares their
        // pens and brushes: the line is hidden and the marks get their own.
        reject.line(lgMarkerLine).setVisible(false);
        const Symbol symbol = reject.symbol(lgMarkerSymbol);
        symbol.setPen(Pen());
        symbol.setBrush(Brush());
        styleCloneSymbol(reject);
    }
    setData(Data(objRejectData), x, y);
}

void PlotChart::plotErrorBand(const std::vector<float>& x, const std::vector<float>& y,
                              const std::vector<float>& sigma)
{
    if (!objBand) {
        if (sigma.empty())
            return;
        const Data data = Control(Lumigra1).addData("clone4");
        objBandData = data.dispatch();
        const XyChart band = chartOf(objGraph).clone("ｸﾞﾗﾌ4", data);
        objBand = band.dispatch();
        band.setVisible(true);
        band.setType(lgChartSimple);
        band.setClip(true);
        band.setDrawSimpleChart(true);
        band.setYAxis(axisOf(objAxisY));
        // The clone shares the spectrum's pens, so the band keeps its colour
        // and differs by its dash, a property of the line itself.
        band.symbol(lgMarkerSymbol).setVisible(false);
        const Line line = band.line(lgMarkerLine);
        line.setVisible(true);
        line.setDash(bandDashMm, bandDashMm);
    }
    // Upper edge left to right, then the lower edge back.
    std::vector<float> bx, by;
    if (sigma.size() == y.size() && x.size() == y.size()) {
        for (size_t i = 0; i < x.size(); ++i) {
            bx.push_back(x[i]);
            by.push_back(y[i] + sigma[i]);
        }
        for (size_t i = x.size(); i-- > 0;) {
            bx.push_back(x[i]);
            by.push_back(y[i] - sigma[i]);
        }
        if (!x.empty()) {
            bx.push_back(bx.front());
            by.push_back(by.front());
        }
    }
    if (bx.empty())
        clearData(Data(objBandData));
    else
        setData(Data(objBandData), bx, by);
}

void PlotChart::erasePlot() { clearData(chartOf(objGraph).data()); }

void PlotChart::erasePlotClone()
{
    clearData(Data(objCloneData));
    if (objRejectData)
        clearData(Data(objRejectData));
}

void PlotChart::symCrossEnabled(bool enabled)
{
    if (!blnGraphSymbol)
        return;
    Symbol(objGraphSymbol).setVisible(enabled);
    blnGraphSymbol = false;
}

void PlotChart::setRangeX(bool automatic, float maximum, float minimum)
{
    setRange(axisOf(objAxisX), automatic, maximum, minimum);
}

void PlotChart::setRangeY(bool automatic, float maximum, float minimum, int16_t style)
{
    const XyAxis axis = axisOf(objAxisY);
    setRange(axis, automatic, maximum, minimum);
    axis.setStyle(style == axisStyleLog ? lgXyAxisNumericLog10 : lgXyAxisNumericLinear);
}

void PlotChart::getRangeX(bool& automatic, float& maximum, float& minimum)
{
    getRange(axisOf(objAxisX), automatic, maximum, minimum);
}

void PlotChart::getRangeY(bool& automatic, float& maximum, float& minimum, int16_t& style)
{
    const XyAxis axis = axisOf(objAxisY);
    getRange(axis, automatic, maximum, minimum);
    style = axis.style() == lgXyAxisNumericLog10 ? axisStyleLog : axisStyleLinear;
}

void PlotChart::autoScale()
{
    axisOf(objAxisX).setAutomatic();
    axisOf(objAxisY).setAutomatic();
}

void PlotChart::setManualX(float minimum, float maximum) { axisOf(objAxisX).setRange(minimum, maximum); }

void PlotChart::setManualY(float minimum, float maximum) { axisOf(objAxisY).setRange(minimum, maximum); }

void PlotChart::setNameDate(const std::string& fileName, const std::string& dateText)
{
    Label(objLblObject).setText(fileName);
    Label(objLblDate).setText(dateText);
}

PlotFrame PlotChart::frame()
{
    const Rectangle::Box area = chartOf(objGraph).plotArea().box();
    PlotFrame f{area.orgX, area.orgY, area.width, area.height, 0, 0, 0, 0};
    drawnEnds(axisOf(objAxisX), f.orgX, f.width, f.xMin, f.xMax);
    drawnEnds(axisOf(objAxisY), f.orgY, f.height, f.yMin, f.yMax);
    return f;
}

PageFrame PlotChart::page()
{
    const Control c(Lumigra1);
    PageFrame p;
    // The control's own rules: a magnification that is not positive draws
    // at 1; an exact page keeps its stored height whatever the window's.
    const double scale = finiteOr(c.scaleFactor(), 1);
    p.scale = scale > 0 ? scale : 1;
    p.height = c.scaleHeight();
    if (!c.exactScale())
        p.height /= p.scale;
    p.orgX = finiteOr(c.orgX(), 0);
    p.orgY = finiteOr(c.orgY(), 0);
    return p;
}

void PlotChart::showMarkLine(int index, double xMm)
{
    const Line line(objMarkLine.at(static_cast<size_t>(index)));
    line.setX(xMm, xMm);
    line.setVisible(true);
}

void PlotChart::hideMarkLines()
{
    for (const ChartObject& line : objMarkLine)
        Line(line).setVisible(false);
}

std::string generalDateNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return text;
}

} // namespace raylen
