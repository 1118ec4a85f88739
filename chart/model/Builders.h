#pragma once
// Member-table entries generated from fields: a getter, and a setter that
// compares with the current value and notifies only on change.
#include <string>
#include <type_traits>

#include "model/Dispatchable.h"
#include "model/Object.h"

namespace lumigra {

using platform::com::VT_ARRAY;
using platform::com::VT_BOOL;
using platform::com::VT_EMPTY;
using platform::com::VT_BSTR;
using platform::com::VT_DISPATCH;
using platform::com::VT_I2;
using platform::com::VT_I4;
using platform::com::VT_R8;
using platform::com::VT_VARIANT;

template <class T>
struct FieldType;
template <>
struct FieldType<bool> {
    static constexpr VarType vt = VT_BOOL;
    static Variant to(bool v) { return Variant::fromBool(v); }
    static bool from(const Variant& v) { return argBool(v); }
};
template <>
struct FieldType<int16_t> {
    static constexpr VarType vt = VT_I2;
    static Variant to(int16_t v) { return Variant::fromI2(v); }
    static int16_t from(const Variant& v) { return argI2(v); }
};
template <>
struct FieldType<int32_t> {
    static constexpr VarType vt = VT_I4;
    static Variant to(int32_t v) { return Variant::fromI4(v); }
    static int32_t from(const Variant& v) { return argI4(v); }
};
template <>
struct FieldType<double> {
    static constexpr VarType vt = VT_R8;
    static Variant to(double v) { return Variant::fromR8(v); }
    static double from(const Variant& v) { return argDouble(v); }
};
template <>
struct FieldType<std::string> {
    static constexpr VarType vt = VT_BSTR;
    static Variant to(const std::string& v) { return Variant::fromString(v); }
    static std::string from(const Variant& v) { return argText(v); }
};

// The object a member runs on. The control's stored settings live in a
// base that is not itself dispatchable, reached by a cross cast.
template <class C>
C& selfOf(Dispatchable& d)
{
    if constexpr (std::is_base_of_v<Dispatchable, C>)
        return static_cast<C&>(d);
    else
        return dynamic_cast<C&>(d);
}

template <auto M>
struct MemberOf;
template <class C, class T, T C::*M>
struct MemberOf<M> {
    using Class = C;
    using Type = T;
};

// A plain field; Check (bool(T)) refuses a value silently.
template <auto M, auto Check = nullptr>
Member prop(const char* name, DispId id)
{
    using C = typename MemberOf<M>::Class;
    using T = typename MemberOf<M>::Type;
    return Member{name, id, MemberKind::Property, FieldType<T>::vt, false,
                  [](Dispatchable& d, Args&) -> Variant { return FieldType<T>::to(selfOf<C>(d).*M); },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& self = selfOf<C>(d);
                      T value = FieldType<T>::from(v);
                      if constexpr (!std::is_same_v<decltype(Check), std::nullptr_t>) {
                          if (!Check(value))
                              return;
                      }
                      self.assign(self.*M, value);
                  }};
}

template <auto M>
Member readOnlyProp(const char* name, DispId id)
{
    using C = typename MemberOf<M>::Class;
    using T = typename MemberOf<M>::Type;
    return Member{name, id, MemberKind::Property, FieldType<T>::vt, true,
                  [](Dispatchable& d, Args&) -> Variant { return FieldType<T>::to(selfOf<C>(d).*M); },
                  nullptr};
}

// Does a chart object of this kind fit a reference of Kind? Kind 0 accepts
// any chart kind.
inline bool kindFits(const LgObject* o, int32_t kind)
{
    if (kind == 0)
        return o->objectId() == lgxXyChart || o->objectId() == lgxPolarChart || o->objectId() == lgxTriangularChart;
    return o->objectId() == kind;
}

void setReference(LgObject& self, ObjRef& ref, const Variant& value, int32_t kind);
LgObject* createOnDemand(LgObject& self, ObjRef& ref, int collection);

// A reference to another object; OnDemand names the collection in which an
// empty reference is filled on its first reading.
template <auto M, int32_t Kind, int OnDemand = -1>
Member refProp(const char* name, DispId id)
{
    using C = typename MemberOf<M>::Class;
    return Member{name, id, MemberKind::Property, VT_DISPATCH, false,
                  [](Dispatchable& d, Args&) -> Variant {
                      auto& self = selfOf<C>(d);
                      ObjRef& r = self.*M;
                      if (!r && OnDemand >= 0)
                          createOnDemand(self, r, OnDemand);
                      return objectResult(r.get());
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& self = selfOf<C>(d);
                      setReference(self, self.*M, v, Kind);
                  },
                  0, 0, Kind, [](Dispatchable& d) { return (selfOf<C>(d).*M).get(); }};
}

// A plain number or date (1003 for anything else).
Variant numericValue(const Variant& v);

template <auto M>
Member numericVariantProp(const char* name, DispId id)
{
    using C = typename MemberOf<M>::Class;
    return Member{name, id, MemberKind::Property, VT_VARIANT, false,
                  [](Dispatchable& d, Args&) -> Variant { return selfOf<C>(d).*M; },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& self = selfOf<C>(d);
                      Variant value = numericValue(v);
                      if ((self.*M).sameAs(value))
                          return;
                      self.*M = value;
                      self.changed();
                  }};
}

} // namespace lumigra
