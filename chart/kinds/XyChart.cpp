#include "model/ChartOwner.h"
#include "kinds/Axes.h"
#include "kinds/Charts.h"
#include "model/Builders.h"
#include "model/Collection.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

namespace {

// Reading an axis of a chart sets its orientation to the role it plays.
template <ObjRef LgXyChart::*M, int16_t Orientation>
Member axisProp(const char* name, DispId id)
{
    Member m = refProp<M, lgxXyAxis, cidXyAxes>(name, id);
    m.get = [](Dispatchable& d, Args&) {
        auto& c = static_cast<LgXyChart&>(d);
        ObjRef& r = c.*M;
        if (!r)
            createOnDemand(c, r, cidXyAxes);
        auto* axis = r.as<LgXyAxis>();
        axis->assign(axis->orientation_, Orientation);
        return objectResult(axis);
    };
    return m;
}

} // namespace

LgXyChart* LgXyChart::clone(const std::string& name, const Args& args)
{
    LgCollection* charts = owner_->collection(cidXyCharts);
    LgObject* data = nullptr;
    bool dataGiven = !isOmitted(args, 1);
    if (dataGiven) {
        data = objectArgument(args[1]);
        if (data && data->owner() != owner_)
            raiseError(lgErrOtherControl);
        if (data && data->objectId() != lgxData)
            raiseError(lgErrUnknownObject);
    }
    auto* made = static_cast<LgXyChart*>(charts->addNamed(name));
    // The settings come with this chart's references, so the clone shares
    // its axes and plot area and no new ones are made.
    copySettings(*made);
    if (dataGiven)
        made->data_.reset(data);
    // Symbols, lines and brushes of the tables are the clone's own copies.
    Table LgChart::*tables[3] = {&LgChart::symbols_, &LgChart::lines_, &LgChart::brushes_};
    const int collections[3] = {cidSymbols, cidLines, cidBrushes};
    for (int t = 0; t < 3; ++t) {
        Table& mine = this->*tables[t];
        Table& theirs = made->*tables[t];
        for (size_t i = 0; i < mine.size() && i < theirs.size(); ++i) {
            LgObject* original = mine[i]->get();
            if (!original)
                continue;
            theirs[i]->reset(nullptr);
            LgObject* own = createOnDemand(*made, *theirs[i], collections[t]);
            original->copyTo(*own);
        }
    }
    made->changed();
    return made;
}

const MemberTable& LgXyChart::members() const
{
    using X = LgXyChart;
    namespace id = dispid::xyChart;
    static const std::vector<Member> own{
        axisProp<&X::xAxis_, lgXyAxisX>("XAxis", id::XAxis),
        axisProp<&X::yAxis_, lgXyAxisY>("YAxis", id::YAxis),
        refProp<&X::plotArea_, lgxRectangle, cidRectangles>("PlotArea", id::PlotArea),
        numericVariantProp<&X::barBasePoint_>("BarBasePoint", id::BarBasePoint),
        prop<&X::symbolLocation_>("SymbolLocation", id::SymbolLocation),
        {"Clone", id::Clone, MemberKind::Method, VT_DISPATCH, false,
         [](Dispatchable& d, Args& a) {
             std::string name = isOmitted(a, 0) ? std::string() : argText(a[0]);
             return objectResult(static_cast<X&>(d).clone(name, a));
         },
         nullptr, 0, 2},
        prop<&X::barBasePointSelection_>("BarBasePointSelection", id::BarBasePointSelection),
    };
    static const MemberTable table{&commonMembers(), &sharedMembers(), &own};
    return table;
}

void LgXyChart::exchange(RecordExchange& x)
{
    x.variantAsDouble("BarBasePoint=", barBasePoint_, 0);
    x.i16("SymbolLocation=", symbolLocation_, lgSymbolLocationMiddle);
    x.ref("PlotArea=", plotArea_, cidRectangles);
    x.ref("XAxis=", xAxis_, cidXyAxes);
    x.ref("YAxis=", yAxis_, cidXyAxes);
    x.i16("BarSelection=", barBasePointSelection_, lgBarBaseMinimum);
}

const MemberTable& LgPolarChart::members() const
{
    using P = LgPolarChart;
    namespace id = dispid::polarChart;
    static const std::vector<Member> own{
        refProp<&P::plotArea_, lgxRectangle, cidRectangles>("PlotArea", id::PlotArea),
        refProp<&P::ellipticAxis_, lgxPolarAxis, cidPolarAxes>("EllipticAxis", id::EllipticAxis),
        refProp<&P::straightAxis_, lgxPolarAxis, cidPolarAxes>("StraightAxis", id::StraightAxis),
    };
    static const MemberTable table{&commonMembers(), &sharedMembers(), &own};
    return table;
}

void LgPolarChart::exchange(RecordExchange& x)
{
    x.ref("PlotArea=", plotArea_, cidRectangles);
    x.ref("EllipticAxis=", ellipticAxis_, cidPolarAxes);
    x.ref("StraightAxis=", straightAxis_, cidPolarAxes);
}

const MemberTable& LgTriangularChart::members() const
{
    using T = LgTriangularChart;
    namespace id = dispid::triangularChart;
    static const std::vector<Member> own{
        refProp<&T::plotArea_, lgxRectangle, cidRectangles>("PlotArea", id::PlotArea),
        refProp<&T::triangularAxis_, lgxTriangularAxis, cidTriangularAxes>("TriangularAxis", id::TriangularAxis),
    };
    static const MemberTable table{&commonMembers(), &sharedMembers(), &own};
    return table;
}

void LgTriangularChart::exchange(RecordExchange& x)
{
    x.ref("PlotArea=", plotArea_, cidRectangles);
    x.ref("TriangularAxis=", triangularAxis_, cidTriangularAxes);
}

} // namespace lumigra
