#include "kinds/Axes.h"
#include "kinds/DrawingQueries.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

Variant tickListValue(const Variant& value)
{
    const Variant& v = value.deref();
    if (v.isEmpty())
        return Variant();
    if (!v.isArray() || v.dimensions() != 1)
        raiseError(lgErrBadArgument);
    return v;
}

LgXyTick* LgXyAxis::tick()
{
    if (!tick_) {
        tick_.reset(platform::com::ComPtr<LgObject>::attach(LgXyTick::create(owner_)));
        tick_.as<LgXyTick>()->setAxisType(type_);
    }
    return tick_.as<LgXyTick>();
}

namespace {

// A scale end or its selection: the scale must be found again.
template <auto M>
Member scaleProp(const char* name, DispId id)
{
    Member m = prop<M>(name, id);
    m.put = [](Dispatchable& d, Args&, const Variant& v) {
        auto& a = static_cast<LgXyAxis&>(d);
        a.scaleStale_ = true;
        a.assign(a.*M, argI2(v));
    };
    return m;
}

template <Variant LgXyAxis::*M>
Member endProp(const char* name, DispId id)
{
    Member m = numericVariantProp<M>(name, id);
    m.put = [](Dispatchable& d, Args&, const Variant& v) {
        auto& a = static_cast<LgXyAxis&>(d);
        Variant value = numericValue(v);
        a.scaleStale_ = true;
        if (!(a.*M).sameAs(value)) {
            a.*M = value;
            a.changed();
        }
    };
    return m;
}

template <Variant LgXyAxis::*M>
Member tickListProp(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_VARIANT, false,
                  [](Dispatchable& d, Args&) { return static_cast<LgXyAxis&>(d).*M; },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& a = static_cast<LgXyAxis&>(d);
                      Variant value = tickListValue(v);
                      if (!(a.*M).sameAs(value)) {
                          a.*M = value;
                          a.changed();
                      }
                  }};
}

void exchangeList(RecordExchange& x, const char* key, Variant& list)
{
    int16_t present = list.isArray() ? 1 : 0;
    x.i16(key, present, 0);
    if (!x.loading()) {
        if (present)
            x.writeArray(list);
    } else {
        Variant read;
        list = present && x.readArray(read) ? read : Variant();
    }
}

} // namespace

const MemberTable& LgXyAxis::members() const
{
    using A = LgXyAxis;
    namespace id = dispid::xyAxis;
    static const std::vector<Member> own{
        prop<&A::visible_>("Visible", id::Visible),
        {"Type", id::Type, MemberKind::Property, VT_I2, false,
         [](Dispatchable& d, Args&) { return Variant::fromI2(static_cast<A&>(d).type_); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& a = static_cast<A&>(d);
             a.assign(a.type_, argI2(v));
             if (a.tick_)
                 a.tick_.as<LgXyTick>()->setAxisType(a.type_);
         }},
        prop<&A::style_>("Style", id::Style),
        prop<&A::orgX_>("OrgX", id::OrgX),
        prop<&A::orgY_>("OrgY", id::OrgY),
        prop<&A::orientation_>("Orientation", id::Orientation),
        prop<&A::length_>("Length", id::Length),
        endProp<&A::minimum_>("Minimum", id::Minimum),
        scaleProp<&A::minimumSelection_>("MinimumSelection", id::MinimumSelection),
        endProp<&A::maximum_>("Maximum", id::Maximum),
        scaleProp<&A::maximumSelection_>("MaximumSelection", id::MaximumSelection),
        prop<&A::reverse_>("Reverse", id::Reverse),
        refProp<&A::pen_, lgxPen, cidPens>("Pen", id::Pen),
        {"Tick", id::Tick, MemberKind::Property, VT_DISPATCH, true,
         [](Dispatchable& d, Args&) { return objectResult(static_cast<A&>(d).tick()); }, nullptr, 0, 0, lgxXyTick,
         [](Dispatchable& d) { return static_cast<A&>(d).tick_.get(); }},
        prop<&A::tickTimeUnit_>("TickTimeUnit", id::TickTimeUnit),
        prop<&A::customTick_>("CustomTick", id::CustomTick),
        tickListProp<&A::tickPositions_>("TickPositions", id::TickPositions),
        tickListProp<&A::tickValues_>("TickValues", id::TickValues),
    };
    static const MemberTable table{&commonMembers(), &own, &xyAxisDrawingMembers()};
    return table;
}

void LgXyAxis::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.i16("Style=", style_, lgXyAxisNumericLinear);
    x.i16("Type=", type_, lgXyAxisNumeric);
    double origin[2] = {orgX_, orgY_};
    const double zero[2] = {0, 0};
    x.raw("Origin=", origin, sizeof origin, zero);
    orgX_ = origin[0];
    orgY_ = origin[1];
    x.f64("Length=", length_, 0);
    x.variant("Minimum=", minimum_);
    x.variant("Maximum=", maximum_);
    x.boolean("Reverse=", reverse_, false);
    x.i16("Orientation=", orientation_, lgXyAxisX);
    x.i16("TickTimeUnit=", tickTimeUnit_, lgYear);
    x.ref("Pen=", pen_, cidPens);
    x.i16("CustomTick", customTick_, lgTickNormal);
    x.added("Added=", [this](RecordExchange& a) {
        exchangeList(a, "TickPositions=", tickPositions_);
        exchangeList(a, "TickValues=", tickValues_);
        // The tick belongs to its axis and is saved inside the axis record,
        // and the selections of the scale ends after it, so that a manual
        // scale survives saving.
        a.part("Tick=", tick_, &LgXyTick::create);
        if (a.loading() && tick_)
            tick_.as<LgXyTick>()->setAxisType(type_, true);
        a.i16("MinimumSelection=", minimumSelection_, lgSelectionAutomatic);
        a.i16("MaximumSelection=", maximumSelection_, lgSelectionAutomatic);
    });
    if (x.loading())
        scaleStale_ = true;
}

} // namespace lumigra
