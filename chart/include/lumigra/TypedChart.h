#pragma once
// A typed face of the chart for the host's own code: each class holds one
// chart object by its dispatch pointer and sets or reads its members through
// typed calls; data comes from blocks of floats and reaches the chart packed,
// without a variant per value. Every call goes through the same members an
// outside host uses, so the chart, its object text and its drawing do not
// depend on which way it was built. A failed call raises
// platform::BasicError, as any late-bound call does.
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "lumigra/Constants.h"
#include "lumigra/DispIds.h"
#include "platform/com/DispatchCall.h"

namespace lumigra::typed {

using Dispatch = platform::com::ComPtr<platform::com::IDispatch>;

// A colour as the chart keeps it: 0x00BBGGRR.
constexpr int32_t rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

class Object {
public:
    Object() = default;
    explicit Object(Dispatch object) : object_(std::move(object)) {}
    const Dispatch& dispatch() const { return object_; }
    explicit operator bool() const { return static_cast<bool>(object_); }

protected:
    using Variant = platform::com::Variant;
    using DispId = platform::com::DispId;
    void set(DispId id, Variant value) const { platform::com::put(object_.get(), id, std::move(value)); }
    Variant read(DispId id, std::vector<Variant> args = {}) const
    {
        return platform::com::get(object_.get(), id, std::move(args));
    }
    Variant run(DispId id, std::vector<Variant> args = {}) const
    {
        return platform::com::call(object_.get(), id, std::move(args));
    }
    Dispatch child(DispId id, std::vector<Variant> args = {}) const
    {
        return platform::com::objectOf(read(id, std::move(args)));
    }
    Dispatch made(DispId id, std::vector<Variant> args = {}) const
    {
        return platform::com::objectOf(run(id, std::move(args)));
    }
    // A numeric member (type mismatch when it holds no number).
    static double number(const Variant& value)
    {
        auto x = value.toDouble();
        if (!x)
            platform::raise(platform::errTypeMismatch);
        return *x;
    }
    static Variant flag(bool v) { return Variant::fromBool(v); }
    static Variant i2(int16_t v) { return Variant::fromI2(v); }
    static Variant r8(double v) { return Variant::fromR8(v); }
    static Variant text(const std::string& v) { return Variant::fromString(v); }
    static Variant object(const Object& o) { return Variant::fromDispatch(o.object_.get()); }

private:
    Dispatch object_;
};

class Pen : public Object {
public:
    using Object::Object;
    void setEnabled(bool enabled) const { set(dispid::pen::Enabled, flag(enabled)); }
    void setColour(int32_t colour) const { set(dispid::pen::Color, Variant::fromI4(colour)); }
    // Millimetres.
    void setWidth(double width) const { set(dispid::pen::Width, r8(width)); }
    void setStyle(LgPenStyle style) const { set(dispid::pen::Style, i2(style)); }
};

class Brush : public Object {
public:
    using Object::Object;
    void setEnabled(bool enabled) const { set(dispid::brush::Enabled, flag(enabled)); }
    void setStyle(LgBrushStyle style) const { set(dispid::brush::Style, i2(style)); }
    void setForeColour(int32_t colour) const { set(dispid::brush::ForeColor, Variant::fromI4(colour)); }
};

class Font : public Object {
public:
    using Object::Object;
    void setEnabled(bool enabled) const { set(dispid::font::Enabled, flag(enabled)); }
    void setTypeFace(const std::string& face) const { set(dispid::font::TypeFace, text(face)); }
    // Height in millimetres.
    void setSize(double size) const { set(dispid::font::Size, r8(size)); }
};

// A line object, or the line of a chart, a grid or a tick; pens 1 to 4 draw
// its dash pattern in turn.
class Line : public Object {
public:
    using Object::Object;
    void setVisible(bool visible) const { set(dispid::line::Visible, flag(visible)); }
    Pen pen(int index) const
    {
        static constexpr DispId pens[] = {dispid::line::Pen1, dispid::line::Pen2, dispid::line::Pen3,
                                          dispid::line::Pen4};
        if (index < 1 || index > 4)
            platform::raise(platform::errSubscript);
        return Pen(child(pens[index - 1]));
    }
    // The first pen's dash and the gap after it, in millimetres.
    void setDash(double length) const { set(dispid::line::Length1, r8(length)); }
    void setDash(double length, double space) const
    {
        setDash(length);
        set(dispid::line::Space1, r8(space));
    }
    // Ends in page millimetres.
    void setX(double from, double to) const
    {
        set(dispid::line::FromX, r8(from));
        set(dispid::line::ToX, r8(to));
    }
    void setY(double from, double to) const
    {
        set(dispid::line::FromY, r8(from));
        set(dispid::line::ToY, r8(to));
    }
};

class Symbol : public Object {
public:
    using Object::Object;
    void setVisible(bool visible) const { set(dispid::symbol::Visible, flag(visible)); }
    void setSize(double height, double width) const
    {
        set(dispid::symbol::Height, r8(height));
        set(dispid::symbol::Width, r8(width));
    }
    void setStyle(LgSymbolStyle style) const { set(dispid::symbol::Style, i2(style)); }
    Pen pen() const { return Pen(child(dispid::symbol::Pen)); }
    Brush brush() const { return Brush(child(dispid::symbol::Brush)); }
    // An empty pen or brush gives the symbol one of its own.
    void setPen(const Pen& pen) const { set(dispid::symbol::Pen, object(pen)); }
    void setBrush(const Brush& brush) const { set(dispid::symbol::Brush, object(brush)); }
};

class Rectangle : public Object {
public:
    using Object::Object;
    struct Box {
        double orgX = 0, orgY = 0, width = 0, height = 0;
    };
    void setVisible(bool visible) const { set(dispid::rectangle::Visible, flag(visible)); }
    void setBox(const Box& b) const
    {
        set(dispid::rectangle::OrgX, r8(b.orgX));
        set(dispid::rectangle::OrgY, r8(b.orgY));
        set(dispid::rectangle::Width, r8(b.width));
        set(dispid::rectangle::Height, r8(b.height));
    }
    Box box() const
    {
        return {number(read(dispid::rectangle::OrgX)), number(read(dispid::rectangle::OrgY)),
                number(read(dispid::rectangle::Width)), number(read(dispid::rectangle::Height))};
    }
    Pen pen() const { return Pen(child(dispid::rectangle::Pen)); }
    Brush brush() const { return Brush(child(dispid::rectangle::Brush)); }
    void setPaintTool(LgPaintTool tool) const { set(dispid::rectangle::PaintTool, i2(tool)); }
};

class Label : public Object {
public:
    using Object::Object;
    void setVisible(bool visible) const { set(dispid::label::Visible, flag(visible)); }
    void setAlignment(LgFontHorizontalAlign x, LgFontHeightAlign y) const
    {
        set(dispid::label::AlignX, i2(x));
        set(dispid::label::AlignY1, i2(y));
    }
    // The vertical alignment of the text's second run.
    void setSecondAlignment(LgFontHeightAlign y) const { set(dispid::label::AlignY2, i2(y)); }
    void setPosition(double x, double y) const
    {
        set(dispid::label::OrgX, r8(x));
        set(dispid::label::OrgY, r8(y));
    }
    void setText(const std::string& value) const { set(dispid::label::String1, text(value)); }
    // Degrees anticlockwise.
    void setAngle(double degrees) const { set(dispid::label::Angle, r8(degrees)); }
    Font font() const { return Font(child(dispid::label::Font1)); }
};

class XyTick : public Object {
public:
    using Object::Object;
    void setVisible(bool visible) const { set(dispid::xyTick::Visible, flag(visible)); }
    void setMarkIntervalSelection(LgSelection selection) const
    {
        set(dispid::xyTick::MarkIntervalSelection, i2(selection));
    }
    Font labelFont() const { return Font(child(dispid::xyTick::LabelFont)); }
    void setLabelAngle(double degrees) const { set(dispid::xyTick::LabelAngle, r8(degrees)); }
    void setLabelFormat(const std::string& format) const { set(dispid::xyTick::LabelFormat, text(format)); }
    void setLabelLocation(LgTickLabelLocation location) const { set(dispid::xyTick::LabelLocation, i2(location)); }
    Pen pen() const { return Pen(child(dispid::xyTick::Pen)); }
    void setMarkLength(double length) const { set(dispid::xyTick::MarkLength, r8(length)); }
    void setMarkStyle(LgTickMarkStyle style) const { set(dispid::xyTick::MarkStyle, i2(style)); }
    Line gridLine() const { return Line(child(dispid::xyTick::GridLine)); }
};

class XyAxis : public Object {
public:
    using Object::Object;
    // What the axis draws now; automatic ends are those the drawing found.
    struct Range {
        bool automatic = false; // the maximum is chosen automatically
        double minimum = 0, maximum = 0;
    };
    void setVisible(bool visible) const { set(dispid::xyAxis::Visible, flag(visible)); }
    void setOrigin(double x, double y) const
    {
        set(dispid::xyAxis::OrgX, r8(x));
        set(dispid::xyAxis::OrgY, r8(y));
    }
    void setReverse(bool reverse) const { set(dispid::xyAxis::Reverse, flag(reverse)); }
    void setType(LgXyAxisType type) const { set(dispid::xyAxis::Type, i2(type)); }
    void setStyle(LgXyAxisStyle style) const { set(dispid::xyAxis::Style, i2(style)); }
    LgXyAxisStyle style() const { return static_cast<LgXyAxisStyle>(read(dispid::xyAxis::Style).toI2().value_or(0)); }
    void setOrientation(LgXyAxisOrientation orientation) const { set(dispid::xyAxis::Orientation, i2(orientation)); }
    void setLength(double length) const { set(dispid::xyAxis::Length, r8(length)); }
    double orgY() const { return number(read(dispid::xyAxis::OrgY)); }
    double length() const { return number(read(dispid::xyAxis::Length)); }
    // Both ends chosen from the data.
    void setAutomatic() const
    {
        set(dispid::xyAxis::MaximumSelection, i2(lgSelectionAutomatic));
        set(dispid::xyAxis::MinimumSelection, i2(lgSelectionAutomatic));
    }
    // Both ends fixed; single precision, as the range is kept.
    void setRange(float minimum, float maximum) const
    {
        set(dispid::xyAxis::MinimumSelection, i2(lgSelectionManual));
        set(dispid::xyAxis::Minimum, Variant::fromR4(minimum));
        set(dispid::xyAxis::MaximumSelection, i2(lgSelectionManual));
        set(dispid::xyAxis::Maximum, Variant::fromR4(maximum));
    }
    Range range() const
    {
        return {read(dispid::xyAxis::MaximumSelection).toI2() == lgSelectionAutomatic,
                number(read(dispid::xyAxis::Minimum)), number(read(dispid::xyAxis::Maximum))};
    }
    // Where the axis draws `value` now, in page millimetres. Asking prepares
    // the axis as a drawing does: automatic ends are found again.
    double plotPosition(double value) const { return number(read(dispid::xyAxis::PlotPosition, {r8(value)})); }
    Pen pen() const { return Pen(child(dispid::xyAxis::Pen)); }
    XyTick tick() const { return XyTick(child(dispid::xyAxis::Tick)); }
};

// A data set: slots 1 (X) and 2 (Y) hold a chart's points.
class Data : public Object {
public:
    using Object::Object;
    // The block is copied into the chart as one packed single array from 0.
    void setValues(LgDataIndex slot, std::span<const float> values) const
    {
        run(dispid::data::SetData, {i2(slot), Variant::fromSingles(values)});
    }
    void clear(LgDataIndex slot) const { run(dispid::data::SetData, {i2(slot), Variant()}); }
    // The largest value of a slot (0 when none counts).
    double maximum(LgDataIndex slot) const { return number(run(dispid::data::Max, {i2(slot)})); }
};

class XyChart : public Object {
public:
    using Object::Object;
    void setVisible(bool visible) const { set(dispid::chart::Visible, flag(visible)); }
    void setType(LgChartType type) const { set(dispid::chart::Type, i2(type)); }
    void setClip(bool clip) const { set(dispid::chart::Clip, flag(clip)); }
    void setDrawSimpleChart(bool simple) const { set(dispid::chart::DrawSimpleChart, flag(simple)); }
    void setLineFirst(bool lineFirst) const { set(dispid::chart::LineFirst, flag(lineFirst)); }
    void setMarkerSymbolInterval(int16_t every) const { set(dispid::chart::MarkerSymbolInterval, i2(every)); }
    void setDataLabelInterval(int16_t every) const { set(dispid::chart::DataLabelInterval, i2(every)); }
    Data data() const { return Data(child(dispid::chart::Data)); }
    Line line(LgLineIndex index) const { return Line(made(dispid::chart::GetLine, {i2(index)})); }
    Symbol symbol(LgSymbolIndex index) const { return Symbol(made(dispid::chart::GetSymbol, {i2(index)})); }
    Rectangle plotArea() const { return Rectangle(child(dispid::xyChart::PlotArea)); }
    XyAxis xAxis() const { return XyAxis(child(dispid::xyChart::XAxis)); }
    XyAxis yAxis() const { return XyAxis(child(dispid::xyChart::YAxis)); }
    void setYAxis(const XyAxis& axis) const { set(dispid::xyChart::YAxis, object(axis)); }
    // A new chart like this one, drawing the given data set.
    XyChart clone(const std::string& name, const Data& data) const
    {
        return XyChart(made(dispid::xyChart::Clone, {text(name), object(data)}));
    }
};

// The control: page settings and the collections that own every object.
class Control : public Object {
public:
    using Object::Object;
    void setMouseAction(LgMouseAction action) const { set(dispid::control::MouseAction, i2(action)); }
    void setAutoRedraw(bool redraw) const { set(dispid::control::AutoRedraw, flag(redraw)); }
    void setPropertySheetEnabled(bool enabled) const { set(dispid::control::PropertySheetEnabled, flag(enabled)); }
    void setOrigin(double x, double y) const
    {
        set(dispid::control::OrgX, r8(x));
        set(dispid::control::OrgY, r8(y));
    }
    void setScaleFactor(double factor) const { set(dispid::control::ScaleFactor, r8(factor)); }
    void setExactScale(bool exact) const { set(dispid::control::ExactScale, flag(exact)); }
    // The page as the control lays it out.
    double scaleFactor() const { return number(read(dispid::control::ScaleFactor)); }
    double scaleHeight() const { return number(read(dispid::control::ScaleHeight)); }
    bool exactScale() const { return read(dispid::control::ExactScale).toBool().value_or(false); }
    double orgX() const { return number(read(dispid::control::OrgX)); }
    double orgY() const { return number(read(dispid::control::OrgY)); }
    // 1 opaque: the back colour fills the page.
    void setBackMode(int16_t mode) const { set(dispid::control::BackMode, i2(mode)); }
    void setBackColour(int32_t colour) const { set(dispid::control::BackColor, Variant::fromI4(colour)); }

    XyChart addXyChart(const std::string& name) const { return XyChart(add(dispid::control::XyCharts, name)); }
    Label addLabel(const std::string& name) const { return Label(add(dispid::control::Labels, name)); }
    Line addLine(const std::string& name) const { return Line(add(dispid::control::Lines, name)); }
    Data addData(const std::string& name) const { return Data(add(dispid::control::DataCollection, name)); }

private:
    Dispatch add(DispId collection, const std::string& name) const
    {
        return platform::com::objectOf(
            platform::com::call(child(collection).get(), dispid::collection::Add, {text(name)}));
    }
};

} // namespace lumigra::typed
