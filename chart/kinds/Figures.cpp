#include "kinds/Shapes.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

int32_t PointList::count() const
{
    return static_cast<int32_t>(std::min(x.elementCount(), y.elementCount()));
}

void PointList::exchange(RecordExchange& rx)
{
    for (Variant* v : {&x, &y}) {
        rx.marker(v == &x ? "PointX=" : "PointY=");
        if (!rx.loading())
            rx.writeArray(*v);
        else {
            Variant read;
            *v = rx.readArray(read) ? doubleArrayArgument(read) : Variant::makeArray(VT_R8, 0, 0);
        }
    }
}

Variant doubleArrayArgument(const Variant& value)
{
    const Variant& v = value.deref();
    if (v.vt() == VT_EMPTY)
        return Variant::makeArray(VT_R8, 0, 0);
    if (!v.isArray() || v.dimensions() != 1)
        raiseError(lgErrBadArgument);
    Variant out = Variant::makeArray(VT_R8, 0, static_cast<int32_t>(v.elementCount()));
    for (size_t i = 0; i < v.elementCount(); ++i) {
        auto d = v.at(i).toDouble();
        if (!d || v.at(i).vt() == VT_BSTR)
            raiseError(lgErrBadArgument);
        out.at(i) = Variant::fromR8(*d);
    }
    return out;
}

namespace {

template <class T, PointList T::*P, bool IsX>
Member pointsProp(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, static_cast<VarType>(VT_ARRAY | VT_R8), false,
                  [](Dispatchable& d, Args&) {
                      auto& p = static_cast<T&>(d).*P;
                      return IsX ? p.x : p.y;
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& self = static_cast<T&>(d);
                      Variant values = doubleArrayArgument(v);
                      Variant& target = IsX ? (self.*P).x : (self.*P).y;
                      if (!target.sameAs(values)) {
                          target = std::move(values);
                          self.changed();
                      }
                  }};
}

template <class T, PointList T::*P>
Member pointCount(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_I4, true,
                  [](Dispatchable& d, Args&) { return Variant::fromI4((static_cast<T&>(d).*P).count()); },
                  nullptr};
}

} // namespace

const MemberTable& LgPolygon::members() const
{
    using P = LgPolygon;
    namespace id = dispid::polygon;
    static const std::vector<Member> own{
        prop<&P::visible_>("Visible", id::Visible),
        refProp<&P::pen_, lgxPen, cidPens>("Pen", id::Pen),
        refProp<&P::brush_, lgxBrush, cidBrushes>("Brush", id::Brush),
        pointsProp<P, &P::points_, true>("PointX", id::PointX),
        pointsProp<P, &P::points_, false>("PointY", id::PointY),
        pointCount<P, &P::points_>("PointCount", id::PointCount),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgPolygon::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.ref("Pen=", pen_, cidPens);
    x.ref("Brush=", brush_, cidBrushes);
    points_.exchange(x);
}

const MemberTable& LgPolyline::members() const
{
    using P = LgPolyline;
    namespace id = dispid::polyline;
    static const std::vector<Member> own{
        prop<&P::visible_>("Visible", id::Visible),
        refProp<&P::line_, lgxLine, cidLines>("Line", id::Line),
        pointsProp<P, &P::points_, true>("PointX", id::PointX),
        pointsProp<P, &P::points_, false>("PointY", id::PointY),
        pointCount<P, &P::points_>("PointCount", id::PointCount),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgPolyline::exchange(RecordExchange& x)
{
    x.boolean("Visible=", visible_, true);
    x.ref("Line=", line_, cidLines);
    points_.exchange(x);
}

} // namespace lumigra
