#include "model/ChartOwner.h"
#include "kinds/Shapes.h"
#include "kinds/Text.h"
#include "model/Builders.h"
#include "model/Collection.h"
#include "model/RecordExchange.h"

namespace lumigra {

LgLegend::LgLegend(ChartOwner* owner) : LgObject(owner, "Legend", IID_LgLegend, lgxLegend)
{
    items_.reset(platform::com::ComPtr<LgObject>::attach(
        new LgCollection(owner, legendItemsSpec(), owner ? owner->lowerBound() : 1,
                         owner ? owner->maxElements() : kDefaultMaxElements)));
}

LgCollection* LgLegend::items() const { return items_.as<LgCollection>(); }

namespace {

// The legend's box is its area rectangle; its size and place are the area's.
template <double LgRectangle::*F>
Member areaProp(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_R8, false,
                  [](Dispatchable& d, Args&) {
                      auto& l = static_cast<LgLegend&>(d);
                      if (!l.area_)
                          return Variant::fromR8(0);
                      return Variant::fromR8(l.area_.as<LgRectangle>()->*F);
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& l = static_cast<LgLegend&>(d);
                      double value = argDouble(v);
                      if (!l.area_)
                          createOnDemand(l, l.area_, cidRectangles);
                      l.area_.as<LgRectangle>()->assign(l.area_.as<LgRectangle>()->*F, value);
                  }};
}

int16_t chartCollectionOf(const LgObject* chart)
{
    if (!chart)
        return 0;
    switch (chart->objectId()) {
    case lgxXyChart: return lgChartXy;
    case lgxPolarChart: return lgChartPolar;
    case lgxTriangularChart: return lgChartTriangular;
    default: return 0;
    }
}

int collectionOfChartType(int16_t type)
{
    switch (type) {
    case lgChartXy: return cidXyCharts;
    case lgChartPolar: return cidPolarCharts;
    case lgChartTriangular: return cidTriangularCharts;
    default: return cidNone;
    }
}

} // namespace

const MemberTable& LgLegend::members() const
{
    using L = LgLegend;
    namespace id = dispid::legend;
    static const std::vector<Member> own{
        prop<&L::visible_>("Visible", id::Visible),
        refProp<&L::area_, lgxRectangle, cidRectangles>("Area", id::Area),
        {"Items", id::Items, MemberKind::Property, VT_DISPATCH, true,
         [](Dispatchable& d, Args&) { return objectResult(static_cast<L&>(d).items_.get()); }, nullptr},
        prop<&L::align_>("Align", id::Align),
        prop<&L::labelPosition_>("LabelPosition", id::LabelPosition),
        areaProp<&LgRectangle::width_>("Width", id::Width),
        areaProp<&LgRectangle::height_>("Height", id::Height),
        areaProp<&LgRectangle::orgX_>("OrgX", id::OrgX),
        areaProp<&LgRectangle::orgY_>("OrgY", id::OrgY),
        prop<&L::evenHeight_>("EvenHeight", id::EvenHeight),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgLegend::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.boolean("EvenHeight=", evenHeight_, false);
    x.i16("Align=", align_, lgLegendAlignVertical);
    x.i16("LabelPosition=", labelPosition_, lgLegendLabelRight);
    x.ref("Area=", area_, cidRectangles);
    x.marker("LegendItems=");
    x.collection(*items());
}

const MemberTable& LgLegendItem::members() const
{
    using I = LgLegendItem;
    namespace id = dispid::legendItem;
    static const std::vector<Member> own{
        prop<&I::visible_>("Visible", id::Visible),
        refProp<&I::chart_, 0>("Chart", id::Chart),
        refProp<&I::label_, lgxLabel, cidLabels>("Label", id::Label),
        prop<&I::symbolIndex_>("SymbolIndex", id::SymbolIndex),
        prop<&I::lineIndex_>("LineIndex", id::LineIndex),
        prop<&I::symbolWidth_>("SymbolWidth", id::SymbolWidth),
        prop<&I::symbolHeight_>("SymbolHeight", id::SymbolHeight),
        prop<&I::lineLength_>("LineLength", id::LineLength),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgLegendItem::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.ref("Label=", label_, cidLabels);
    int16_t chartType = chartCollectionOf(chart_.get());
    x.i16("ChartType=", chartType, 0);
    int collection = collectionOfChartType(chartType);
    if (collection != cidNone)
        x.ref("Chart=", chart_, collection);
    else {
        int32_t none = -1;
        x.i32("Chart=", none, -1);
        chart_.reset(nullptr);
    }
    x.i32("SymbolIndex=", symbolIndex_, lgGraphSymbol);
    x.i32("LineIndex=", lineIndex_, lgGraphLine);
    x.f64("SymbolWidth=", symbolWidth_, 2.0);
    x.f64("SymbolHeight=", symbolHeight_, 2.0);
    x.f64("LineLength=", lineLength_, 10.0);
}

} // namespace lumigra
