#include "model/CollectionSpec.h"

#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "kinds/Data.h"
#include "kinds/Resources.h"
#include "kinds/Shapes.h"
#include "kinds/Strokes.h"
#include "kinds/Text.h"
#include "lumigra/DispIds.h"

namespace lumigra {

namespace c = dispid::control;

const CollectionSpec& collectionSpec(int id)
{
    static const CollectionSpec specs[cidCount] = {
        {"PictureHolders", c::PictureHolders, IID_LgPictureHolders, lgxPictureHolders, 0, lgxPictureHolder,
         &LgPictureHolder::create, "Pictures"},
        {"Pens", c::Pens, IID_LgPens, lgxPens, 0, lgxPen, &LgPen::create, "Pens"},
        {"Brushes", c::Brushes, IID_LgBrushes, lgxBrushes, 0, lgxBrush, &LgBrush::create, "Brushes"},
        {"Symbols", c::Symbols, IID_LgSymbols, lgxSymbols, 10, lgxSymbol, &LgSymbol::create, "Symbols"},
        {"Rectangles", c::Rectangles, IID_LgRectangles, lgxRectangles, 7, lgxRectangle, &LgRectangle::create,
         "Rectangless"},
        {"Lines", c::Lines, IID_LgLines, lgxLines, 11, lgxLine, &LgLine::create, "Lines"},
        {"FontHolders", c::FontHolders, IID_LgFontHolders, lgxFontHolders, 0, lgxFontHolder,
         &LgFontHolder::create, "Fonts"},
        {"Labels", c::Labels, IID_LgLabels, lgxLabels, 14, lgxLabel, &LgLabel::create, "Labels"},
        {"SymbolLines", c::SymbolLines, IID_LgSymbolLines, lgxSymbolLines, 12, lgxSymbolLine,
         &LgSymbolLine::create, "SymbolLines"},
        {"Polygons", c::Polygons, IID_LgPolygons, lgxPolygons, 8, lgxPolygon, &LgPolygon::create, "Polygons"},
        {"Polylines", c::Polylines, IID_LgPolylines, lgxPolylines, 9, lgxPolyline, &LgPolyline::create,
         "Polylines"},
        {"DataCollection", c::DataCollection, IID_LgDataCollection, lgxDataCollection, 0, lgxData, &LgData::create,
         "DataCollection"},
        {"XyAxes", c::XyAxes, IID_LgXyAxes, lgxXyAxes, 4, lgxXyAxis, &LgXyAxis::create, "XyAxes"},
        {"TriangularAxes", c::TriangularAxes, IID_LgTriangularAxes, lgxTriangularAxes, 5, lgxTriangularAxis,
         &LgTriangularAxis::create, "TriAxes"},
        {"PolarAxes", c::PolarAxes, IID_LgPolarAxes, lgxPolarAxes, 6, lgxPolarAxis, &LgPolarAxis::create,
         "PolarAxes"},
        {"XyCharts", c::XyCharts, IID_LgXyCharts, lgxXyCharts, 1, lgxXyChart, &LgXyChart::create,
         "XyChart コレクション"},
        {"TriangularCharts", c::TriangularCharts, IID_LgTriangularCharts, lgxTriangularCharts, 2,
         lgxTriangularChart, &LgTriangularChart::create, "TriChart コレクション"},
        {"PolarCharts", c::PolarCharts, IID_LgPolarCharts, lgxPolarCharts, 3, lgxPolarChart,
         &LgPolarChart::create, "PolarChart コレクション"},
        {"Legends", c::Legends, IID_LgLegends, lgxLegends, 13, lgxLegend, &LgLegend::create, "Legends"},
    };
    return specs[id];
}

const CollectionSpec& legendItemsSpec()
{
    static const CollectionSpec spec{"LegendItems", 0, IID_LgLegendItems, lgxLegendItems, 0, lgxLegendItem,
                                     &LgLegendItem::create, "LegendItems"};
    return spec;
}

const CollectionId saveOrder[cidCount] = {
    cidPictureHolders, cidPens,        cidBrushes,     cidRectangles,       cidLines,
    cidFontHolders,    cidLabels,      cidSymbols,     cidSymbolLines,      cidDataCollection,
    cidXyAxes,         cidTriangularAxes, cidPolarAxes, cidXyCharts,        cidTriangularCharts,
    cidPolarCharts,    cidLegends,     cidPolygons,    cidPolylines,
};

} // namespace lumigra
