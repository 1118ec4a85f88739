#pragma once
// The chart the plot window builds, made by late-bound calls by DISPID only.
#include "ChartHost.h"

namespace charttest {

namespace plotwindow {
namespace c = dsp::control;
namespace col = dsp::collection;
}

inline void setAxis(const Obj& axis, int orientation, double length, int labelLocation)
{
    Put(axis, dsp::xyAxis::Visible, Bool(true));
    Put(axis, dsp::xyAxis::OrgX, R8(13.0));
    Put(axis, dsp::xyAxis::OrgY, R8(10.0));
    Put(axis, dsp::xyAxis::Reverse, Bool(false));
    Put(axis, dsp::xyAxis::MaximumSelection, I2(41));
    Put(axis, dsp::xyAxis::MinimumSelection, I2(41));
    Put(axis, dsp::xyAxis::Type, I2(18));
    Put(axis, dsp::xyAxis::Style, I2(24));
    Put(GetObj(axis, dsp::xyAxis::Pen), dsp::pen::Enabled, Bool(true));
    Put(axis, dsp::xyAxis::Orientation, I2(orientation));
    Put(axis, dsp::xyAxis::Length, R8(length));
    Obj tick = GetObj(axis, dsp::xyAxis::Tick);
    Put(tick, dsp::xyTick::Visible, Bool(true));
    Put(tick, dsp::xyTick::MarkIntervalSelection, I2(41));
    Put(GetObj(tick, dsp::xyTick::LabelFont), dsp::font::Enabled, I2(-1));
    Put(tick, dsp::xyTick::LabelAngle, I2(0));
    Put(tick, dsp::xyTick::LabelFormat, Str("General Number"));
    Put(GetObj(tick, dsp::xyTick::LabelFont), dsp::font::TypeFace, Str("Century"));
    Put(GetObj(tick, dsp::xyTick::LabelFont), dsp::font::Size, R8(3.0));
    Put(GetObj(tick, dsp::xyTick::Pen), dsp::pen::Enabled, Bool(true));
    Put(tick, dsp::xyTick::MarkLength, R8(1.0));
    Put(tick, dsp::xyTick::MarkStyle, I2(45));
    Put(tick, dsp::xyTick::LabelLocation, I2(labelLocation));
    Obj grid = GetObj(tick, dsp::xyTick::GridLine);
    Put(grid, dsp::line::Visible, Bool(false));
    Put(GetObj(grid, dsp::line::Pen1), dsp::pen::Enabled, Bool(true));
    Put(grid, dsp::line::Length1, R8(1.3));
    Put(grid, dsp::line::Space1, R8(0.7));
    for (DispId pen : {dsp::line::Pen2, dsp::line::Pen3, dsp::line::Pen4})
        Put(GetObj(grid, pen), dsp::pen::Enabled, Bool(false));
}

inline void addLabel(const Obj& control, const char* name, double x, double y, const char* text, const char* face,
              double size, int angle, bool secondRun)
{
    Obj label = CallObj(GetObj(control, plotwindow::c::Labels), plotwindow::col::Add, {Str(name)});
    Put(label, dsp::label::Visible, Bool(true));
    Put(label, dsp::label::AlignX, I2(47));
    Put(label, dsp::label::AlignY1, I2(51));
    Put(label, dsp::label::OrgX, R8(x));
    Put(label, dsp::label::OrgY, R8(y));
    Put(label, dsp::label::String1, Str(text));
    if (face)
        Put(GetObj(label, dsp::label::Font1), dsp::font::TypeFace, Str(face));
    Put(GetObj(label, dsp::label::Font1), dsp::font::Size, R8(size));
    if (angle)
        Put(label, dsp::label::Angle, I4(angle));
    if (secondRun)
        Put(label, dsp::label::AlignY2, I2(51));
}

inline void styleLine(const Obj& line, int colour, double width, double length, double space)
{
    Put(line, dsp::line::Visible, Bool(true));
    Obj pen = GetObj(line, dsp::line::Pen1);
    Put(pen, dsp::pen::Enabled, Bool(true));
    Put(pen, dsp::pen::Color, I4(colour));
    Put(pen, dsp::pen::Width, R8(width));
    Put(pen, dsp::pen::Style, I2(53));
    Put(line, dsp::line::Length1, R8(length));
    Put(line, dsp::line::Space1, R8(space));
    for (DispId p : {dsp::line::Pen2, dsp::line::Pen3, dsp::line::Pen4})
        Put(GetObj(line, p), dsp::pen::Enabled, Bool(false));
}

inline void styleSymbol(const Obj& symbol, double height, double width, int style, int penColour)
{
    Put(symbol, dsp::symbol::Visible, Bool(true));
    Put(GetObj(symbol, dsp::symbol::Pen), dsp::pen::Enabled, Bool(true));
    if (penColour >= 0)
        Put(GetObj(symbol, dsp::symbol::Pen), dsp::pen::Color, I4(penColour));
    Put(symbol, dsp::symbol::Height, R8(height));
    Put(symbol, dsp::symbol::Width, R8(width));
    Put(symbol, dsp::symbol::Style, I2(style));
    Obj brush = GetObj(symbol, dsp::symbol::Brush);
    Put(brush, dsp::brush::Enabled, Bool(true));
    Put(brush, dsp::brush::Style, I2(52));
    Put(brush, dsp::brush::ForeColor, I4(0x000080));
}

inline Obj buildPlotWindowChart()
{
    Obj control = newControl();
    host(control)->setExtent(540, 426, 96, 96);
    // 1. The control.
    Put(control, plotwindow::c::MouseAction, I2(0));
    Put(control, plotwindow::c::AutoRedraw, Bool(true));
    Put(control, plotwindow::c::PropertySheetEnabled, Bool(false));
    Put(control, plotwindow::c::OrgX, R8(0.0));
    Put(control, plotwindow::c::OrgY, R8(0.0));
    Put(control, plotwindow::c::ScaleFactor, I2(1));
    Put(control, plotwindow::c::ExactScale, Bool(true));
    Put(control, plotwindow::c::BackMode, I2(1));
    Put(control, plotwindow::c::BackColor, I4(0xFFFFFF));
    // 2. The chart.
    Obj graph = CallObj(GetObj(control, plotwindow::c::XyCharts), plotwindow::col::Add, {Str("Graph1")});
    Put(graph, dsp::chart::Visible, Bool(true));
    Put(graph, dsp::chart::Type, I2(6));
    Put(graph, dsp::chart::Clip, Bool(true));
    Put(graph, dsp::chart::DrawSimpleChart, Bool(true));
    Put(graph, dsp::chart::LineFirst, Bool(true));
    Put(graph, dsp::chart::MarkerSymbolInterval, I4(1));
    // 3. Its plot area.
    Obj area = GetObj(graph, dsp::xyChart::PlotArea);
    Put(area, dsp::rectangle::Visible, Bool(true));
    Put(area, dsp::rectangle::OrgX, R8(13.0));
    Put(area, dsp::rectangle::OrgY, R8(10.0));
    Put(area, dsp::rectangle::Width, R8(120.0));
    Put(area, dsp::rectangle::Height, R8(80.0));
    Put(GetObj(area, dsp::rectangle::Pen), dsp::pen::Enabled, Bool(true));
    Put(area, dsp::rectangle::PaintTool, I2(31));
    Put(GetObj(area, dsp::rectangle::Brush), dsp::brush::Enabled, Bool(true));
    Put(GetObj(area, dsp::rectangle::Brush), dsp::brush::Style, I2(0));
    // 4, 5. Axes and ticks.
    Obj axisX = GetObj(graph, dsp::xyChart::XAxis);
    Obj axisY = GetObj(graph, dsp::xyChart::YAxis);
    setAxis(axisX, 20, 120.0, 1);
    setAxis(axisY, 21, 80.0, -1);
    // 6. Labels.
    addLabel(control, "mLG_lblAxisX", 65.0, 1.5, "", "Century", 3.5, 0, false);
    addLabel(control, "mLG_lblAxisY", 4.0, 45.0, "", "Century", 3.5, 90, false);
    addLabel(control, "mLG_lblObject", 15.0, 91.0, "File Name", nullptr, 4.0, 0, true);
    addLabel(control, "mLG_lblDate", 95.0, 96.0, "Date", nullptr, 3.5, 0, true);
    // 7. Marker lines.
    for (int i = 0; i < 4; ++i) {
        Obj line = CallObj(GetObj(control, plotwindow::c::Lines), plotwindow::col::Add, {Str("mlglineLine(" + std::to_string(i) + ")")});
        Put(line, dsp::line::Visible, Bool(false));
        Put(line, dsp::line::FromX, R8(0.0));
        Put(line, dsp::line::ToX, R8(0.0));
        Put(line, dsp::line::FromY, Get(axisY, dsp::xyAxis::OrgY));
        Put(line, dsp::line::ToY, R8(Get(axisY, dsp::xyAxis::OrgY).r8() + Get(axisY, dsp::xyAxis::Length).r8()));
        Put(line, dsp::line::Length1, R8(1E+40));
        Obj pen = GetObj(line, dsp::line::Pen1);
        Put(pen, dsp::pen::Enabled, Bool(true));
        Put(pen, dsp::pen::Color, I4(200 << 16));
        Put(pen, dsp::pen::Width, R8(0.2));
        Put(pen, dsp::pen::Style, I2(53));
    }
    // 8. The clone on the same Y axis.
    Obj cloneData = CallObj(GetObj(control, plotwindow::c::DataCollection), plotwindow::col::Add, {Str("clone2")});
    Obj clone = CallObj(graph, dsp::xyChart::Clone, {Str("ｸﾞﾗﾌ2"), O(cloneData)});
    Put(clone, dsp::chart::Visible, Bool(true));
    Put(clone, dsp::chart::Type, I2(6));
    Put(clone, dsp::chart::Clip, Bool(true));
    Put(clone, dsp::chart::DrawSimpleChart, Bool(true));
    Put(clone, dsp::chart::LineFirst, Bool(true));
    Put(clone, dsp::chart::DataLabelInterval, I4(1));
    Put(clone, dsp::xyChart::YAxis, O(axisY));
    // The four line and symbol styles, with a spectrum in the data.
    Variant x = Variant::makeArray(VT_R4, 0, 3), y = Variant::makeArray(VT_R4, 0, 3);
    for (int i = 0; i < 3; ++i) {
        x.at(i) = Variant::fromR4(4000.5f + i);
        y.at(i) = Variant::fromR4(0.1f * static_cast<float>(i * i));
    }
    Obj data = GetObj(graph, dsp::chart::Data);
    Call(data, dsp::data::SetData, {I2(1), x});
    Call(data, dsp::data::SetData, {I2(2), y});
    Obj graphLine = CallObj(graph, dsp::chart::GetLine, {I2(1)});
    styleLine(graphLine, 0x000000, 0.2, 1000.0, 0);
    styleLine(CallObj(clone, dsp::chart::GetLine, {I2(1)}), 0x0000FF, 0.3, 1.3, 0.7);
    styleSymbol(CallObj(graph, dsp::chart::GetSymbol, {I2(2)}), 2.0, 2.0, 71, -1);
    Put(graphLine, dsp::line::Visible, Bool(false));
    styleSymbol(CallObj(clone, dsp::chart::GetSymbol, {I2(2)}), 5.0, 2.0, 76, 0x0000FE);
    return control;
}

} // namespace charttest
