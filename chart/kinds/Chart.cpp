#include <cstdio>

#include "kinds/Charts.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

LgChart::LgChart(ChartOwner* owner, const char* className, const Guid& iid, int32_t objectId, int16_t chartType)
    : LgObject(owner, className, iid, objectId), chartType_(chartType)
{
    resizeTable(symbols_, 4);
    resizeTable(lines_, 3);
    resizeTable(brushes_, 1);
}

void LgChart::resizeTable(Table& table, int32_t size)
{
    if (size < 0 || size > 32767)
        raiseError(lgErrBadArgument);
    while (static_cast<int32_t>(table.size()) > size)
        table.pop_back();
    while (static_cast<int32_t>(table.size()) < size)
        table.push_back(std::make_unique<ObjRef>(this));
}

ObjRef& LgChart::entry(Table& table, int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(table.size()))
        raiseError(lgErrBadArgument);
    return *table[static_cast<size_t>(index)];
}

void LgChart::record(RecordExchange& x)
{
    x.beginObject("Chart");
    x.name(*this);
    exchangeShared(x);
    x.endObject("Chart");
    LgObject::record(x);
}

void LgChart::exchangeShared(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.i16("Type=", type_, lgChartSimple);
    x.boolean("Clip=", clip_, true);
    x.boolean("LineFirst=", lineFirst_, true);
    x.boolean("DrawSimpleChart=", drawSimpleChart_, true);
    x.f64("Divisor=", divisor_, 1.0);
    x.f64("Metricater=", metricater_, 1.0);
    x.i32("MarkerSymbolInterval=", markerSymbolInterval_, 0);
    x.variantAsDouble("SingularValue=", singularValue_, 0);
    x.i16("SingularCriterion=", singularCriterion_, lgSingularNone);
    x.i32("SingularIndex=", singularIndex_, lgSingularStored);
    x.i32("DataLabelInterval=", dataLabelInterval_, 0);
    x.i32("DataLabelAngle=", dataLabelAngle_, 0);
    x.f64("DataLabelOffsetX=", dataLabelOffsetX_, 0);
    x.f64("DataLabelOffsetY=", dataLabelOffsetY_, 0);
    x.i16("DataLabelAlignX=", dataLabelAlignX_, lgDataLabelAlignLeft);
    x.i16("DataLabelAlignY=", dataLabelAlignY_, lgDataLabelAlignBottom);
    x.i16("BubbleScale=", bubbleScale_, lgBubbleScaleLength);
    x.ref("Data=", data_, cidDataCollection);
    x.ref("DataLabelFont=", dataLabelFont_, cidFontHolders);
    x.ref("SymbolLine=", symbolLine_, cidSymbolLines);
    int32_t sizes[3] = {static_cast<int32_t>(symbols_.size()), static_cast<int32_t>(lines_.size()),
                        static_cast<int32_t>(brushes_.size())};
    x.i32("MaxSymbols=", sizes[0], 4);
    x.i32("MaxLines=", sizes[1], 3);
    x.i32("MaxBrushes=", sizes[2], 1);
    Table* tables[3] = {&symbols_, &lines_, &brushes_};
    const int collections[3] = {cidSymbols, cidLines, cidBrushes};
    for (int t = 0; t < 3; ++t) {
        if (x.loading()) {
            if (sizes[t] < 0 || sizes[t] > static_cast<int64_t>(x.reader()->remaining()))
                damagedText();
            resizeTable(*tables[t], sizes[t]);
        }
        for (size_t i = 0; i < tables[t]->size(); ++i) {
            char key[24];
            std::snprintf(key, sizeof key, "[%d]=", static_cast<int>(i));
            x.ref(key, *(*tables[t])[i], collections[t]);
        }
    }
    x.i16("DataLabelLocation", dataLabelLocation_, lgDataLabelWithinChart);
    x.i16("DataLabelOffsetIndex", dataLabelOffsetIndex_, 0);
    x.i16("BubbleStyleIndex", bubbleStyleIndex_, 0);
    x.i16("AuxLineIndex1", auxLineIndex1_, 0);
    x.i16("AuxLineIndex2", auxLineIndex2_, 0);
}

namespace {

using C = LgChart;

template <C::Table C::*T, int Collection, int32_t Kind>
Member tableSize(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_I4, false,
                  [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<int32_t>((static_cast<C&>(d).*T).size())); },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& c = static_cast<C&>(d);
                      int32_t size = argI4(v);
                      if (size != static_cast<int32_t>((c.*T).size())) {
                          c.resizeTable(c.*T, size);
                          c.changed();
                      }
                  }};
}

template <C::Table C::*T, int Collection, int32_t Kind>
Member tableGet(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Method, VT_DISPATCH, false,
                  [](Dispatchable& d, Args& a) {
                      auto& c = static_cast<C&>(d);
                      ObjRef& r = c.entry(c.*T, argI4(a[0]));
                      if (!r)
                          createOnDemand(c, r, Collection);
                      return objectResult(r.get());
                  },
                  nullptr, 1};
}

template <C::Table C::*T, int Collection, int32_t Kind>
Member tableSet(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Method, VT_EMPTY, false,
                  [](Dispatchable& d, Args& a) {
                      auto& c = static_cast<C&>(d);
                      setReference(c, c.entry(c.*T, argI4(a[0])), a[1], Kind);
                      return Variant();
                  },
                  nullptr, 2};
}

// A fixed entry of a table as a property (no creation on reading).
template <C::Table C::*T, int Index, int32_t Kind>
Member tableEntry(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_DISPATCH, false,
                  [](Dispatchable& d, Args&) {
                      auto& c = static_cast<C&>(d);
                      return objectResult(Index < static_cast<int>((c.*T).size()) ? (c.*T)[Index]->get() : nullptr);
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& c = static_cast<C&>(d);
                      setReference(c, c.entry(c.*T, Index), v, Kind);
                  },
                  0, 0, Kind, [](Dispatchable& d) -> LgObject* {
                      auto& c = static_cast<C&>(d);
                      return Index < static_cast<int>((c.*T).size()) ? (c.*T)[Index]->get() : nullptr;
                  }};
}

} // namespace

const std::vector<Member>& LgChart::sharedMembers()
{
    namespace id = dispid::chart;
    static const std::vector<Member> members{
        prop<&C::visible_>("Visible", id::Visible),
        prop<&C::type_>("Type", id::Type),
        prop<&C::clip_>("Clip", id::Clip),
        prop<&C::divisor_>("Divisor", id::Divisor),
        prop<&C::metricater_>("Metricater", id::Metricater),
        refProp<&C::data_, lgxData, cidDataCollection>("Data", id::Data),
        prop<&C::dataLabelInterval_>("DataLabelInterval", id::DataLabelInterval),
        refProp<&C::dataLabelFont_, lgxFontHolder, cidFontHolders>("DataLabelFont", id::DataLabelFont),
        prop<&C::dataLabelAngle_>("DataLabelAngle", id::DataLabelAngle),
        prop<&C::dataLabelOffsetX_>("DataLabelOffsetX", id::DataLabelOffsetX),
        prop<&C::dataLabelOffsetY_>("DataLabelOffsetY", id::DataLabelOffsetY),
        prop<&C::dataLabelAlignX_>("DataLabelAlignX", id::DataLabelAlignX),
        prop<&C::dataLabelAlignY_>("DataLabelAlignY", id::DataLabelAlignY),
        tableSize<&C::symbols_, cidSymbols, lgxSymbol>("MaxSymbols", id::MaxSymbols),
        tableSet<&C::symbols_, cidSymbols, lgxSymbol>("SetSymbol", id::SetSymbol),
        tableGet<&C::symbols_, cidSymbols, lgxSymbol>("GetSymbol", id::GetSymbol),
        tableEntry<&C::symbols_, lgMarkerSymbol, lgxSymbol>("MarkerSymbol", id::MarkerSymbol),
        prop<&C::markerSymbolInterval_>("MarkerSymbolInterval", id::MarkerSymbolInterval),
        tableEntry<&C::symbols_, lgIsolatedPoint, lgxSymbol>("IsolatedPoint", id::IsolatedPoint),
        tableEntry<&C::symbols_, lgSingularPoint, lgxSymbol>("SingularPoint", id::SingularPoint),
        numericVariantProp<&C::singularValue_>("SingularValue", id::SingularValue),
        prop<&C::singularCriterion_>("SingularCriterion", id::SingularCriterion),
        prop<&C::singularIndex_>("SingularIndex", id::SingularIndex),
        tableSize<&C::lines_, cidLines, lgxLine>("MaxLines", id::MaxLines),
        tableSet<&C::lines_, cidLines, lgxLine>("SetLine", id::SetLine),
        tableGet<&C::lines_, cidLines, lgxLine>("GetLine", id::GetLine),
        tableEntry<&C::lines_, lgGraphLine, lgxLine>("GraphLine", id::GraphLine),
        tableEntry<&C::lines_, lgMarkerLine, lgxLine>("MarkerLine", id::MarkerLine),
        tableEntry<&C::lines_, lgMissingPeriod, lgxLine>("MissingPeriod", id::MissingPeriod),
        tableSize<&C::brushes_, cidBrushes, lgxBrush>("MaxBrushes", id::MaxBrushes),
        tableSet<&C::brushes_, cidBrushes, lgxBrush>("SetBrush", id::SetBrush),
        tableGet<&C::brushes_, cidBrushes, lgxBrush>("GetBrush", id::GetBrush),
        refProp<&C::symbolLine_, lgxSymbolLine, cidSymbolLines>("SymbolLine", id::SymbolLine),
        tableEntry<&C::symbols_, lgGraphSymbol, lgxSymbol>("GraphSymbol", id::GraphSymbol),
        prop<&C::bubbleScale_>("BubbleScale", id::BubbleScale),
        readOnlyProp<&C::chartType_>("ChartType", id::ChartType),
        prop<&C::lineFirst_>("LineFirst", id::LineFirst),
        prop<&C::drawSimpleChart_>("DrawSimpleChart", id::DrawSimpleChart),
        prop<&C::dataLabelLocation_>("DataLabelLocation", id::DataLabelLocation),
        prop<&C::dataLabelOffsetIndex_>("DataLabelOffsetIndex", id::DataLabelOffsetIndex),
        prop<&C::bubbleStyleIndex_>("BubbleStyleIndex", id::BubbleStyleIndex),
        prop<&C::auxLineIndex1_>("AuxLineIndex1", id::AuxLineIndex1),
        prop<&C::auxLineIndex2_>("AuxLineIndex2", id::AuxLineIndex2),
    };
    return members;
}

} // namespace lumigra
