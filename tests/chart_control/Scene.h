#pragma once
// The plot window's kind of chart built by dispatch calls only: white
// background, exact scale, a plot area at (13, 10) of 120 x 80 mm, black
// axes along its lower and left edges with marks across them and labels in
// "Century" 3 mm, and a solid black line through a straight spectrum from
// (0, 0) to (100, 8).
#include "ControlHost.h"

namespace controltest {

namespace c = dsp::control;
namespace col = dsp::collection;

inline Obj buildSpectrumChart(const Obj& control)
{
    Put(control, c::BackMode, I2(1));
    Put(control, c::BackColor, I4(0xFFFFFF));
    Put(control, c::MouseAction, I2(0));
    Put(control, c::ExactScale, Bool(true));
    Obj graph = CallObj(GetObj(control, c::XyCharts), col::Add, {Str("Graph1")});
    Obj area = GetObj(graph, dsp::xyChart::PlotArea);
    Put(area, dsp::rectangle::OrgX, R8(13.0));
    Put(area, dsp::rectangle::OrgY, R8(10.0));
    Put(area, dsp::rectangle::Width, R8(120.0));
    Put(area, dsp::rectangle::Height, R8(80.0));
    for (DispId which : {dsp::xyChart::XAxis, dsp::xyChart::YAxis}) {
        Obj axis = GetObj(graph, which);
        const bool x = which == dsp::xyChart::XAxis;
        Put(axis, dsp::xyAxis::OrgX, R8(13.0));
        Put(axis, dsp::xyAxis::OrgY, R8(10.0));
        Put(axis, dsp::xyAxis::Length, R8(x ? 120.0 : 80.0));
        Obj pen = GetObj(axis, dsp::xyAxis::Pen);
        Put(pen, dsp::pen::Enabled, Bool(true));
        Put(pen, dsp::pen::Color, I4(0));
        Put(pen, dsp::pen::Width, R8(0.3));
        Obj tick = GetObj(axis, dsp::xyAxis::Tick);
        Put(GetObj(tick, dsp::xyTick::Pen), dsp::pen::Enabled, Bool(true));
        Put(tick, dsp::xyTick::MarkLength, R8(1.0));
        Put(tick, dsp::xyTick::MarkStyle, I2(45));
        Put(tick, dsp::xyTick::LabelLocation, I2(x ? 1 : -1));
        Obj font = GetObj(tick, dsp::xyTick::LabelFont);
        Put(font, dsp::font::TypeFace, Str("Century"));
        Put(font, dsp::font::Size, R8(3.0));
    }
    Variant xs = Variant::makeArray(VT_R8, 0, 101), ys = Variant::makeArray(VT_R8, 0, 101);
    for (int i = 0; i <= 100; ++i) {
        xs.at(i) = Variant::fromR8(i);
        ys.at(i) = Variant::fromR8(0.08 * i);
    }
    Obj data = GetObj(graph, dsp::chart::Data);
    Call(data, dsp::data::SetData, {I2(1), xs});
    Call(data, dsp::data::SetData, {I2(2), ys});
    Obj line = CallObj(graph, dsp::chart::GetLine, {I2(2)});
    Put(line, dsp::line::Visible, Bool(true));
    Obj pen = GetObj(line, dsp::line::Pen1);
    Put(pen, dsp::pen::Enabled, Bool(true));
    Put(pen, dsp::pen::Color, I4(0));
    Put(pen, dsp::pen::Width, R8(0.3));
    Put(line, dsp::line::Length1, R8(1E+40));
    return graph;
}

} // namespace controltest
