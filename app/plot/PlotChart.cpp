#include "plot/PlotChart.h"

#include "lumigra/Constants.h"
#include "lumigra/DispIds.h"
#include "platform/com/DispatchCall.h"

#include <cmath>
#include <ctime>
#include <optional>

namespace raylen {

using namespace platform::com;
using namespace lumigra;
namespace dsp = lumigra::dispid;

namespace {

// Basic's True as the chart stores it.
Variant vbTrue() { return Variant::fromBool(true); }
Variant vbFalse() { return Variant::fromBool(false); }
Variant I2(int v) { return Variant::fromI2(static_cast<int16_t>(v)); }
Variant I4(int32_t v) { return Variant::fromI4(v); }
Variant R8(double v) { return Variant::fromR8(v); }
Variant R4(float v) { return Variant::fromR4(v); }
Variant Str(const std::string& v) { return Variant::fromString(v); }

constexpr int32_t rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

void Put(const ChartObject& o, DispId id, Variant v) { put(o.get(), id, std::move(v)); }
Variant Get(const ChartObject& o, DispId id, std::vector<Variant> args = {}) { return get(o.get(), id, std::move(args)); }
ChartObject GetObj(const ChartObject& o, DispId id, std::vector<Variant> args = {})
{
    return objectOf(get(o.get(), id, std::move(args)));
}
ChartObject CallObj(const ChartObject& o, DispId id, std::vector<Variant> args = {})
{
    return objectOf(call(o.get(), id, std::move(args)));
}
ChartObject Add(const ChartObject& control, DispId collection, const std::string& name)
{
    return CallObj(GetObj(control, collection), dsp::collection::Add, {Str(name)});
}

void enable(const ChartObject& o, DispId resource, bool enabled)
{
    Put(GetObj(o, resource), dsp::pen::Enabled, Variant::fromBool(enabled));
}

Variant singleArray(const std::vector<float>& values)
{
    Variant array = Variant::makeArray(VT_R4, 0, static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i)
        array.at(i) = Variant::fromR4(values[i]);
    return array;
}

void setData(const ChartObject& data, const std::vector<float>& x, const std::vector<float>& y)
{
    call(data.get(), dsp::data::SetData, {I2(lgIndexDataX), singleArray(x)});
    call(data.get(), dsp::data::SetData, {I2(lgIndexDataY), singleArray(y)});
}

void clearData(const ChartObject& data)
{
    call(data.get(), dsp::data::SetData, {I2(lgIndexDataX), Variant()});
    call(data.get(), dsp::data::SetData, {I2(lgIndexDataY), Variant()});
}

void styleAxis(const ChartObject& axis, bool x)
{
    namespace a = dsp::xyAxis;
    Put(axis, a::Visible, vbTrue());
    Put(axis, a::OrgX, R8(plotAreaOrgX));
    Put(axis, a::OrgY, R8(plotAreaOrgY));
    Put(axis, a::Reverse, vbFalse());
    Put(axis, a::MaximumSelection, I2(lgSelectionAutomatic));
    Put(axis, a::MinimumSelection, I2(lgSelectionAutomatic));
    Put(axis, a::Type, I2(lgXyAxisNumeric));
    Put(axis, a::Style, I2(lgXyAxisNumericLinear));
    enable(axis, a::Pen, true);
    Put(axis, a::Orientation, I2(x ? lgXyAxisX : lgXyAxisY));
    Put(axis, a::Length, R8(x ? plotAreaWidth : plotAreaHeight));

    namespace t = dsp::xyTick;
    ChartObject tick = GetObj(axis, a::Tick);
    Put(tick, t::Visible, vbTrue());
    Put(tick, t::MarkIntervalSelection, I2(lgSelectionAutomatic));
    ChartObject font = GetObj(tick, t::LabelFont);
    Put(font, dsp::font::Enabled, I2(-1));
    Put(tick, t::LabelAngle, R8(0));
    Put(tick, t::LabelFormat, Str(tickFormatGeneral));
    Put(font, dsp::font::TypeFace, Str("Century"));
    Put(font, dsp::font::Size, R8(3.0));
    enable(tick, t::Pen, true);
    Put(tick, t::MarkLength, R8(1.0));
    Put(tick, t::MarkStyle, I2(lgTickMarkBoth));
    Put(tick, t::LabelLocation, I2(x ? lgTickLabelRightAbove : lgTickLabelLeftAbove));

    namespace l = dsp::line;
    ChartObject grid = GetObj(tick, t::GridLine);
    Put(grid, l::Visible, vbFalse());
    enable(grid, l::Pen1, true);
    Put(grid, l::Length1, R8(1.3));
    Put(grid, l::Space1, R8(0.7));
    for (DispId pen : {l::Pen2, l::Pen3, l::Pen4})
        enable(grid, pen, false);
}

ChartObject addLabel(const ChartObject& control, const std::string& name, double x, double y,
                     const std::string& text, const char* face, double size)
{
    namespace l = dsp::label;
    ChartObject label = Add(control, dsp::control::Labels, name);
    Put(label, l::Visible, vbTrue());
    Put(label, l::AlignX, I2(lgFontAlignLeft));
    Put(label, l::AlignY1, I2(lgFontAlignBottom));
    Put(label, l::OrgX, R8(x));
    Put(label, l::OrgY, R8(y));
    Put(label, l::String1, Str(text));
    ChartObject font = GetObj(label, l::Font1);
    if (face != nullptr)
        Put(font, dsp::font::TypeFace, Str(face));
    Put(font, dsp::font::Size, R8(size));
    return label;
}

// The pens of a line beyond the first are off in every line the window styles.
void styleLine(const ChartObject& line, int32_t colour, double width, double length, double space)
{
    namespace l = dsp::line;
    Put(line, l::Visible, vbTrue());
    ChartObject pen = GetObj(line, l::Pen1);
    Put(pen, dsp::pen::Enabled, vbTrue());
    Put(pen, dsp::pen::Color, I4(colour));
    Put(pen, dsp::pen::Width, R8(width));
    Put(pen, dsp::pen::Style, I2(lgPenNormal));
    Put(line, l::Length1, R8(length));
    Put(line, l::Space1, R8(space));
    for (DispId other : {l::Pen2, l::Pen3, l::Pen4})
        enable(line, other, false);
}

void styleSymbol(const ChartObject& symbol, double height, double width, int style)
{
    namespace s = dsp::symbol;
    Put(symbol, s::Visible, vbTrue());
    Put(symbol, s::Height, R8(height));
    Put(symbol, s::Width, R8(width));
    Put(symbol, s::Style, I2(style));
    ChartObject brush = GetObj(symbol, s::Brush);
    Put(brush, dsp::brush::Enabled, vbTrue());
    Put(brush, dsp::brush::Style, I2(lgBrushSolid));
    Put(brush, dsp::brush::ForeColor, I4(rgb(128, 0, 0)));
}

// The clone's red "+" marks, 5 × 2 mm.
ChartObject styleCloneSymbol(const ChartObject& chart)
{
    ChartObject symbol = CallObj(chart, dsp::chart::GetSymbol, {I2(lgMarkerSymbol)});
    ChartObject pen = GetObj(symbol, dsp::symbol::Pen);
    Put(pen, dsp::pen::Enabled, vbTrue());
    Put(pen, dsp::pen::Color, I4(rgb(254, 0, 0)));
    styleSymbol(symbol, 5.0, 2.0, lgSymbolPlus);
    return symbol;
}

void setRange(const ChartObject& axis, bool automatic, float maximum, float minimum)
{
    namespace a = dsp::xyAxis;
    if (automatic) {
        Put(axis, a::MaximumSelection, I2(lgSelectionAutomatic));
        Put(axis, a::MinimumSelection, I2(lgSelectionAutomatic));
        return;
    }
    Put(axis, a::MaximumSelection, I2(lgSelectionManual));
    Put(axis, a::MinimumSelection, I2(lgSelectionManual));
    Put(axis, a::Maximum, R4(maximum));
    Put(axis, a::Minimum, R4(minimum));
}

// sfTrimPlot's order: minimum first.
void setManual(const ChartObject& axis, float minimum, float maximum)
{
    namespace a = dsp::xyAxis;
    Put(axis, a::MinimumSelection, I2(lgSelectionManual));
    Put(axis, a::Minimum, R4(minimum));
    Put(axis, a::MaximumSelection, I2(lgSelectionManual));
    Put(axis, a::Maximum, R4(maximum));
}

float toSingle(const Variant& value)
{
    auto converted = value.changeType(VT_R4);
    if (!converted)
        platform::raise(platform::errOverflow);
    return converted->r4();
}

double toDouble(const Variant& value)
{
    auto converted = value.toDouble();
    if (!converted)
        platform::raise(platform::errTypeMismatch);
    return *converted;
}

void getRange(const ChartObject& axis, bool& automatic, float& maximum, float& minimum)
{
    namespace a = dsp::xyAxis;
    if (Get(axis, a::MaximumSelection).toI2() == lgSelectionAutomatic)
        automatic = true;
    maximum = toSingle(Get(axis, a::Maximum));
    minimum = toSingle(Get(axis, a::Minimum));
}

// Where the axis draws a value now, in page millimetres; empty when it
// cannot place it. Asking prepares the axis as a drawing does: automatic
// ends are found again and stored in Minimum and Maximum.
std::optional<double> drawnPosition(const ChartObject& axis, double value)
{
    try {
        return toDouble(Get(axis, dsp::xyAxis::PlotPosition, {R8(value)}));
    } catch (const platform::BasicError&) {
        return std::nullopt;
    }
}

// The values the axis draws at start and start + length. These differ from
// Minimum and Maximum when the tick rule frames a manual range by round
// numbers. Linear between the drawn ends, also on a log axis, as the
// read-out has always been. An axis that is not drawn gives the ends the
// chart reports.
void drawnEnds(const ChartObject& axis, double start, double length, double& lo, double& hi)
{
    namespace a = dsp::xyAxis;
    const std::optional<double> asked = Get(axis, a::Minimum).toDouble();
    std::optional<double> atLo = drawnPosition(axis, asked.value_or(0));
    lo = toDouble(Get(axis, a::Minimum));
    hi = toDouble(Get(axis, a::Maximum));
    if (!asked || *asked != lo)
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

} // namespace

void PlotChart::build(IDispatch* control)
{
    namespace c = dsp::control;
    Lumigra1 = ChartObject::share(control);
    Put(Lumigra1, c::MouseAction, I2(lgNoMouseAction));
    Put(Lumigra1, c::AutoRedraw, vbTrue());
    Put(Lumigra1, c::PropertySheetEnabled, vbFalse());
    Put(Lumigra1, c::OrgX, R8(0.0));
    Put(Lumigra1, c::OrgY, R8(0.0));
    Put(Lumigra1, c::ScaleFactor, R8(1));
    Put(Lumigra1, c::ExactScale, vbTrue());
    Put(Lumigra1, c::BackMode, I2(1));
    Put(Lumigra1, c::BackColor, I4(0xFFFFFF));

    namespace ch = dsp::chart;
    objGraph = Add(Lumigra1, c::XyCharts, "Graph1");
    Put(objGraph, ch::Visible, vbTrue());
    Put(objGraph, ch::Type, I2(lgChartSimple));
    Put(objGraph, ch::Clip, vbTrue());
    Put(objGraph, ch::DrawSimpleChart, vbTrue());
    Put(objGraph, ch::LineFirst, vbTrue());
    Put(objGraph, ch::MarkerSymbolInterval, I2(1));

    namespace r = dsp::rectangle;
    ChartObject area = GetObj(objGraph, dsp::xyChart::PlotArea);
    Put(area, r::Visible, vbTrue());
    Put(area, r::OrgX, R8(plotAreaOrgX));
    Put(area, r::OrgY, R8(plotAreaOrgY));
    Put(area, r::Width, R8(plotAreaWidth));
    Put(area, r::Height, R8(plotAreaHeight));
    enable(area, r::Pen, true);
    Put(area, r::PaintTool, I2(lgPaintBrush));
    ChartObject brush = GetObj(area, r::Brush);
    Put(brush, dsp::brush::Enabled, vbTrue());
    Put(brush, dsp::brush::Style, I2(lgBrushNull));

    objAxisX = GetObj(objGraph, dsp::xyChart::XAxis);
    objAxisY = GetObj(objGraph, dsp::xyChart::YAxis);
    styleAxis(objAxisX, true);
    styleAxis(objAxisY, false);

    objLblAxisX = addLabel(Lumigra1, "mLG_lblAxisX", 65.0, 1.5, "", "Century", 3.5);
    objLblAxisY = addLabel(Lumigra1, "mLG_lblAxisY", 4.0, 45.0, "", "Century", 3.5);
    Put(objLblAxisY, dsp::label::Angle, R8(90));
    objLblObject = addLabel(Lumigra1, "mLG_lblObject", 15.0, 91.0, "File Name", nullptr, 4.0);
    Put(objLblObject, dsp::label::AlignY2, I2(lgFontAlignBottom));
    objLblDate = addLabel(Lumigra1, "mLG_lblDate", 95.0, 96.0, "Date", nullptr, 3.5);
    Put(objLblDate, dsp::label::AlignY2, I2(lgFontAlignBottom));

    namespace l = dsp::line;
    const double yOrg = toDouble(Get(objAxisY, dsp::xyAxis::OrgY));
    const double yLength = toDouble(Get(objAxisY, dsp::xyAxis::Length));
    for (int i = 0; i < markLineCount; ++i) {
        ChartObject line = Add(Lumigra1, c::Lines, "mlglineLine(" + std::to_string(i) + ")");
        Put(line, l::Visible, vbFalse());
        Put(line, l::FromX, R8(0.0));
        Put(line, l::ToX, R8(0.0));
        Put(line, l::FromY, R8(yOrg));
        Put(line, l::ToY, R8(yOrg + yLength));
        // One dash longer than any line: solid.
        Put(line, l::Length1, R8(1E+40));
        ChartObject pen = GetObj(line, l::Pen1);
        Put(pen, dsp::pen::Enabled, vbTrue());
        Put(pen, dsp::pen::Color, I4(rgb(0, 0, 200)));
        Put(pen, dsp::pen::Width, R8(0.2));
        Put(pen, dsp::pen::Style, I2(lgPenNormal));
        objMarkLine[i] = line;
    }

    objCloneData = Add(Lumigra1, c::DataCollection, "clone2");
    objClone = CallObj(objGraph, dsp::xyChart::Clone,
                       {Str("ｸﾞﾗﾌ2"), Variant::fromDispatch(objCloneData.get())});
    Put(objClone, ch::Visible, vbTrue());
    Put(objClone, ch::Type, I2(lgChartSimple));
    Put(objClone, ch::Clip, vbTrue());
    Put(objClone, ch::DrawSimpleChart, vbTrue());
    Put(objClone, ch::LineFirst, vbTrue());
    Put(objClone, ch::DataLabelInterval, I2(1));
    Put(objClone, dsp::xyChart::YAxis, Variant::fromDispatch(objAxisY.get()));
}

void PlotChart::plotLine(const std::vector<float>& x, const std::vector<float>& y)
{
    Put(Lumigra1, dsp::control::MouseAction, I2(lgFireMouseEvent));
    setData(GetObj(objGraph, dsp::chart::Data), x, y);
    objGraphLine = CallObj(objGraph, dsp::chart::GetLine, {I2(lgMarkerLine)});
    styleLine(objGraphLine, rgb(0, 0, 0), 0.2, 1000.0, 0);
    Put(GetObj(objAxisY, dsp::xyAxis::Tick), dsp::xyTick::LabelFormat, Str(yTickFormat()));
}

std::string PlotChart::yTickFormat()
{
    const double largest = dataMaxY();
    return largest < tickFormatLow || largest > tickFormatHigh ? tickFormatExponent : tickFormatGeneral;
}

double PlotChart::dataMaxY()
{
    return toDouble(call(GetObj(objGraph, dsp::chart::Data).get(), dsp::data::Max, {I2(lgIndexDataY)}));
}

void PlotChart::plotLineClone(const std::vector<float>& x, const std::vector<float>& y)
{
    if (blnCloneSymbol) {
        Put(objCloneSymbol, dsp::symbol::Visible, vbFalse());
        blnCloneSymbol = false;
    }
    setData(objCloneData, x, y);
    objCloneLine = CallObj(objClone, dsp::chart::GetLine, {I2(lgMarkerLine)});
    styleLine(objCloneLine, rgb(255, 0, 0), 0.3, 1.3, 0.7);
}

void PlotChart::plotSymbols(const std::vector<float>& x, const std::vector<float>& y)
{
    setData(GetObj(objGraph, dsp::chart::Data), x, y);
    objGraphSymbol = CallObj(objGraph, dsp::chart::GetSymbol, {I2(lgMarkerSymbol)});
    enable(objGraphSymbol, dsp::symbol::Pen, true);
    styleSymbol(objGraphSymbol, 2.0, 2.0, lgSymbolX);
    blnGraphSymbol = true;
    // Needs the line of an earlier plotLine: without it this fails as an unset object.
    if (!objGraphLine)
        platform::raise(platform::errObjectNotSet);
    Put(objGraphLine, dsp::line::Visible, vbFalse());
}

void PlotChart::plotSymbolsClone(const std::vector<float>& x, const std::vector<float>& y)
{
    setData(objCloneData, x, y);
    objCloneSymbol = styleCloneSymbol(objClone);
    blnCloneSymbol = true;
}

void PlotChart::plotRejected(const std::vector<float>& x, const std::vector<float>& y)
{
    if (!objReject) {
        if (x.empty())
            return;
        namespace ch = dsp::chart;
        objRejectData = Add(Lumigra1, dsp::control::DataCollection, "clone3");
        objReject = CallObj(objGraph, dsp::xyChart::Clone,
                            {Str("ｸﾞﾗﾌ3"), Variant::fromDispatch(objRejectData.get())});
        Put(objReject, ch::Visible, vbTrue());
        Put(objReject, ch::Type, I2(lgChartSimple));
        Put(objReject, ch::Clip, vbTrue());
        Put(objReject, ch::DrawSimpleChart, vbTrue());
        Put(objReject, dsp::xyChart::YAxis, Variant::fromDispatch(objAxisY.get()));
        // The clone copies the spectrum's line and symbol, and shares their
        // pens and brushes: the line is hidden and the marks get their own.
        Put(CallObj(objReject, ch::GetLine, {I2(lgMarkerLine)}), dsp::line::Visible, vbFalse());
        ChartObject symbol = CallObj(objReject, ch::GetSymbol, {I2(lgMarkerSymbol)});
        Put(symbol, dsp::symbol::Pen, Variant::fromDispatch(nullptr));
        Put(symbol, dsp::symbol::Brush, Variant::fromDispatch(nullptr));
        styleCloneSymbol(objReject);
    }
    setData(objRejectData, x, y);
}

void PlotChart::erasePlot() { clearData(GetObj(objGraph, dsp::chart::Data)); }

void PlotChart::erasePlotClone()
{
    clearData(objCloneData);
    if (objRejectData)
        clearData(objRejectData);
}

void PlotChart::symCrossEnabled(bool enabled)
{
    if (!blnGraphSymbol)
        return;
    Put(objGraphSymbol, dsp::symbol::Visible, Variant::fromBool(enabled));
    blnGraphSymbol = false;
}

void PlotChart::setRangeX(bool automatic, float maximum, float minimum)
{
    setRange(objAxisX, automatic, maximum, minimum);
}

void PlotChart::setRangeY(bool automatic, float maximum, float minimum, int16_t style)
{
    setRange(objAxisY, automatic, maximum, minimum);
    Put(objAxisY, dsp::xyAxis::Style, I2(style == axisStyleLog ? lgXyAxisNumericLog10 : lgXyAxisNumericLinear));
}

void PlotChart::getRangeX(bool& automatic, float& maximum, float& minimum)
{
    getRange(objAxisX, automatic, maximum, minimum);
}

void PlotChart::getRangeY(bool& automatic, float& maximum, float& minimum, int16_t& style)
{
    getRange(objAxisY, automatic, maximum, minimum);
    style = Get(objAxisY, dsp::xyAxis::Style).toI2() == lgXyAxisNumericLog10 ? axisStyleLog : axisStyleLinear;
}

void PlotChart::autoScale()
{
    for (const ChartObject& axis : {objAxisX, objAxisY}) {
        Put(axis, dsp::xyAxis::MaximumSelection, I2(lgSelectionAutomatic));
        Put(axis, dsp::xyAxis::MinimumSelection, I2(lgSelectionAutomatic));
    }
}

void PlotChart::setManualX(float minimum, float maximum) { setManual(objAxisX, minimum, maximum); }

void PlotChart::setManualY(float minimum, float maximum) { setManual(objAxisY, minimum, maximum); }

void PlotChart::setNameDate(const std::string& fileName, const std::string& dateText)
{
    Put(objLblObject, dsp::label::String1, Str(fileName));
    Put(objLblDate, dsp::label::String1, Str(dateText));
}

PlotFrame PlotChart::frame()
{
    namespace r = dsp::rectangle;
    namespace a = dsp::xyAxis;
    PlotFrame f;
    ChartObject area = GetObj(objGraph, dsp::xyChart::PlotArea);
    f.orgX = toDouble(Get(area, r::OrgX));
    f.orgY = toDouble(Get(area, r::OrgY));
    f.width = toDouble(Get(area, r::Width));
    f.height = toDouble(Get(area, r::Height));
    drawnEnds(objAxisX, f.orgX, f.width, f.xMin, f.xMax);
    drawnEnds(objAxisY, f.orgY, f.height, f.yMin, f.yMax);
    return f;
}

PageFrame PlotChart::page()
{
    namespace c = dsp::control;
    PageFrame p;
    // The control's own rules: a magnification that is not positive draws
    // at 1; an exact page keeps its stored height whatever the window's.
    const double scale = finiteOr(toDouble(Get(Lumigra1, c::ScaleFactor)), 1);
    p.scale = scale > 0 ? scale : 1;
    p.height = toDouble(Get(Lumigra1, c::ScaleHeight));
    if (!Get(Lumigra1, c::ExactScale).toBool().value_or(false))
        p.height /= p.scale;
    p.orgX = finiteOr(toDouble(Get(Lumigra1, c::OrgX)), 0);
    p.orgY = finiteOr(toDouble(Get(Lumigra1, c::OrgY)), 0);
    return p;
}

void PlotChart::showMarkLine(int index, double xMm)
{
    const ChartObject& line = objMarkLine.at(static_cast<size_t>(index));
    Put(line, dsp::line::FromX, R8(xMm));
    Put(line, dsp::line::ToX, R8(xMm));
    Put(line, dsp::line::Visible, vbTrue());
}

void PlotChart::hideMarkLines()
{
    for (const ChartObject& line : objMarkLine)
        Put(line, dsp::line::Visible, vbFalse());
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
