#include "control/ControlInsert.h"

#include "control/LumigraCtrl.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Resources.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "model/Builders.h"
#include "model/Collection.h"

namespace lumigra {

namespace {

// Sizes of new objects in millimetres: large enough to see and to grab.
constexpr double kChartWidth = 60, kChartHeight = 40;
constexpr double kAxisLength = 50;
constexpr double kRadius = 20;
constexpr double kLineLength = 30;
constexpr double kBoxWidth = 30, kBoxHeight = 20;
constexpr double kSymbolSize = 3;
constexpr double kLegendWidth = 40, kLegendHeight = 20;
constexpr double kMarkLength = 1;
// One dash longer than any stroke: a solid line.
constexpr double kSolidDash = 1E+40;
constexpr char kLabelText[] = "Label";

template <class T>
T* addTo(LumigraCtrl& control, int collection)
{
    return static_cast<T*>(control.collection(collection)->addElements(1));
}

template <class T>
T* fill(LgObject& self, ObjRef& ref, int collection)
{
    return static_cast<T*>(createOnDemand(self, ref, collection));
}

// A solid line from one point to another, drawn with a new default
// (black, thinnest) pen.
void placeLine(LgLine& line, QPointF from, QPointF to)
{
    fill<LgPen>(line, line.pen1_, cidPens);
    line.length1_ = kSolidDash;
    line.fromX_ = from.x();
    line.fromY_ = from.y();
    line.toX_ = to.x();
    line.toY_ = to.y();
}

void placeBox(LgRectangle& box, QPointF at, double w, double h)
{
    fill<LgPen>(box, box.pen_, cidPens);
    box.orgX_ = at.x();
    box.orgY_ = at.y();
    box.width_ = w;
    box.height_ = h;
}

void placeSymbol(LgSymbol& symbol, QPointF centre, int16_t style)
{
    fill<LgPen>(symbol, symbol.pen_, cidPens);
    symbol.style_ = style;
    symbol.centerX_ = centre.x();
    symbol.centerY_ = centre.y();
    symbol.width_ = symbol.height_ = kSymbolSize;
}

void placeXyAxis(LgXyAxis& axis, QPointF at, bool horizontal, double length)
{
    fill<LgPen>(axis, axis.pen_, cidPens);
    axis.orgX_ = at.x();
    axis.orgY_ = at.y();
    axis.orientation_ = horizontal ? lgXyAxisX : lgXyAxisY;
    axis.length_ = length;
    LgXyTick* tick = axis.tick();
    fill<LgPen>(*tick, tick->pen_, cidPens);
    tick->markLength_ = kMarkLength;
}

void placePolarAxis(LgPolarAxis& axis, QPointF centre, int16_t type)
{
    fill<LgPen>(axis, axis.pen_, cidPens);
    axis.type_ = type;
    axis.orgX_ = centre.x();
    axis.orgY_ = centre.y();
    axis.radius_ = kRadius;
}

void placeTriangularAxis(LgTriangularAxis& axis, QPointF at)
{
    fill<LgPen>(axis, axis.pen_, cidPens);
    axis.orgX_ = at.x();
    axis.orgY_ = at.y();
    axis.length_ = kAxisLength;
}

void setPoints(PointList& list, std::initializer_list<QPointF> points)
{
    const auto n = static_cast<int32_t>(points.size());
    list.x = Variant::makeArray(platform::com::VT_R8, 0, n);
    list.y = Variant::makeArray(platform::com::VT_R8, 0, n);
    size_t i = 0;
    for (QPointF p : points) {
        list.x.at(i) = Variant::fromR8(p.x());
        list.y.at(i) = Variant::fromR8(p.y());
        ++i;
    }
}

} // namespace

LgObject* insertObject(LumigraCtrl& c, InsertKind kind, QPointF at)
{
    const QPointF along(kLineLength, 0);
    LgObject* made = nullptr;
    switch (kind) {
    case InsertKind::XyChart: {
        auto* chart = addTo<LgXyChart>(c, cidXyCharts);
        placeBox(*fill<LgRectangle>(*chart, chart->plotArea_, cidRectangles), at, kChartWidth, kChartHeight);
        placeXyAxis(*fill<LgXyAxis>(*chart, chart->xAxis_, cidXyAxes), at, true, kChartWidth);
        placeXyAxis(*fill<LgXyAxis>(*chart, chart->yAxis_, cidXyAxes), at, false, kChartHeight);
        made = chart;
        break;
    }
    case InsertKind::TriangularChart: {
        auto* chart = addTo<LgTriangularChart>(c, cidTriangularCharts);
        placeTriangularAxis(*fill<LgTriangularAxis>(*chart, chart->triangularAxis_, cidTriangularAxes), at);
        made = chart;
        break;
    }
    case InsertKind::PolarChart: {
        auto* chart = addTo<LgPolarChart>(c, cidPolarCharts);
        placePolarAxis(*fill<LgPolarAxis>(*chart, chart->ellipticAxis_, cidPolarAxes), at, lgPolarAxisElliptic);
        placePolarAxis(*fill<LgPolarAxis>(*chart, chart->straightAxis_, cidPolarAxes), at, lgPolarAxisStraight);
        made = chart;
        break;
    }
    case InsertKind::XyAxis: {
        auto* axis = addTo<LgXyAxis>(c, cidXyAxes);
        placeXyAxis(*axis, at, true, kAxisLength);
        made = axis;
        break;
    }
    case InsertKind::TriangularAxis: {
        auto* axis = addTo<LgTriangularAxis>(c, cidTriangularAxes);
        placeTriangularAxis(*axis, at);
        made = axis;
        break;
    }
    case InsertKind::PolarAxis: {
        auto* axis = addTo<LgPolarAxis>(c, cidPolarAxes);
        placePolarAxis(*axis, at, lgPolarAxisElliptic);
        made = axis;
        break;
    }
    case InsertKind::Label: {
        auto* label = addTo<LgLabel>(c, cidLabels);
        fill<LgFontHolder>(*label, label->fonts_[0], cidFontHolders);
        label->strings_[0] = kLabelText;
        label->orgX_ = at.x();
        label->orgY_ = at.y();
        made = label;
        break;
    }
    case InsertKind::Line: {
        auto* line = addTo<LgLine>(c, cidLines);
        placeLine(*line, at, at + along);
        made = line;
        break;
    }
    case InsertKind::SymbolLine: {
        auto* arrow = addTo<LgSymbolLine>(c, cidSymbolLines);
        placeLine(*fill<LgLine>(*arrow, arrow->line_, cidLines), at, at + along);
        auto* head = fill<LgSymbol>(*arrow, arrow->endSymbol_, cidSymbols);
        placeSymbol(*head, at + along, lgSymbolArrowHead1);
        made = arrow;
        break;
    }
    case InsertKind::Rectangle: {
        auto* box = addTo<LgRectangle>(c, cidRectangles);
        placeBox(*box, at, kBoxWidth, kBoxHeight);
        made = box;
        break;
    }
    case InsertKind::Symbol: {
        auto* symbol = addTo<LgSymbol>(c, cidSymbols);
        placeSymbol(*symbol, at, lgSymbolBox1);
        made = symbol;
        break;
    }
    case InsertKind::Legend: {
        auto* legend = addTo<LgLegend>(c, cidLegends);
        placeBox(*fill<LgRectangle>(*legend, legend->area_, cidRectangles), at, kLegendWidth, kLegendHeight);
        made = legend;
        break;
    }
    case InsertKind::Polygon: {
        auto* polygon = addTo<LgPolygon>(c, cidPolygons);
        fill<LgPen>(*polygon, polygon->pen_, cidPens);
        setPoints(polygon->points_, {at, at + QPointF(kBoxWidth, 0), at + QPointF(kBoxWidth / 2, kBoxHeight)});
        made = polygon;
        break;
    }
    case InsertKind::Polyline: {
        auto* polyline = addTo<LgPolyline>(c, cidPolylines);
        placeLine(*fill<LgLine>(*polyline, polyline->line_, cidLines), at, at + along);
        setPoints(polyline->points_, {at, at + QPointF(kLineLength / 2, kBoxHeight / 2), at + along});
        made = polyline;
        break;
    }
    }
    c.notifyChange();
    return made;
}

} // namespace lumigra
