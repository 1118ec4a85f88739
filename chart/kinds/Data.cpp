#include "kinds/Data.h"

#include <cstdio>

#include "model/ChartOwner.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

using namespace platform::com;

namespace {

int16_t dataTypeOf(const Variant& array)
{
    if (!array.isArray())
        return lgDataUndefined;
    switch (array.elementType()) {
    case VT_I2: return lgDataInteger;
    case VT_I4: return lgDataLong;
    case VT_R4: return lgDataSingle;
    case VT_R8: return lgDataDouble;
    case VT_CY: return lgDataCurrency;
    case VT_DATE: return lgDataDate;
    case VT_BSTR: return lgDataString;
    default: return lgDataUndefined;
    }
}

bool storableElement(VarType vt)
{
    return vt == VT_I2 || vt == VT_I4 || vt == VT_R4 || vt == VT_R8 || vt == VT_CY || vt == VT_DATE || vt == VT_BSTR
        || vt == VT_VARIANT;
}

bool equalValues(const Variant& a, const Variant& b)
{
    if (a.vt() == VT_BSTR || b.vt() == VT_BSTR)
        return a.vt() == b.vt() && a.str() == b.str();
    auto x = a.toDouble(), y = b.toDouble();
    return x && y && *x == *y;
}

// a < b, numbers by value and texts by their bytes.
bool lessThan(const Variant& a, const Variant& b)
{
    if (a.vt() == VT_BSTR && b.vt() == VT_BSTR)
        return a.str() < b.str();
    auto x = a.toDouble(), y = b.toDouble();
    return x && y && *x < *y;
}

int32_t argIndex(const Args& a) { return argI4(a[0]); }

// LgData::extreme over a packed single array, by the same rules: elements
// equal to a numeric missing value are left out, the first one found stays
// on ties, and a NaN found first stays.
Variant packedExtreme(const DataSlot& s, bool largest)
{
    std::optional<double> missing;
    if (!s.missing.isEmpty() && s.missing.vt() != VT_BSTR)
        missing = s.missing.toDouble();
    std::optional<double> best;
    for (float single : s.array.singles()) {
        const double x = single;
        if (missing && x == *missing)
            continue;
        if (!best || (largest ? *best < x : x < *best))
            best = x;
    }
    return best ? Variant::fromR4(static_cast<float>(*best)) : Variant();
}

} // namespace

void LgData::setDataSize(int32_t size)
{
    if (size < 0 || size > 32767)
        raiseError(lgErrBadArgument);
    slots_.resize(static_cast<size_t>(size) + 1);
}

DataSlot& LgData::slot(int32_t index)
{
    if (index < 0 || index > dataSize())
        raiseError(lgErrBadArgument);
    return slots_[static_cast<size_t>(index)];
}

DataSlot& LgData::valueSlot(int32_t index)
{
    if (index < 1)
        raiseError(lgErrBadArgument);
    DataSlot& s = slot(index);
    if (!s.array.isArray())
        raiseError(lgErrBadArgument);
    return s;
}

void LgData::dataChanged()
{
    if (!owner_)
        return;
    owner_->setModified(true);
    if (parents_ > 0)
        owner_->notifyChange();
}

void LgData::setData(int32_t index, const Variant& value)
{
    DataSlot& s = slot(index);
    const Variant& v = value.deref();
    if (v.vt() == VT_EMPTY) {
        s.array = Variant();
    } else {
        if (!v.isArray() || v.dimensions() != 1 || !storableElement(v.elementType()))
            raiseError(lgErrBadArgument);
        if (index == lgIndexDataLabel && v.elementType() != VT_BSTR)
            raiseError(lgErrBadArgument);
        s.array = v;
    }
    s.dataChanged();
    dataChanged();
}

Variant LgData::extreme(int32_t index, bool largest)
{
    DataSlot& s = valueSlot(index);
    std::optional<Variant>& cache = largest ? s.maxCache : s.minCache;
    if (cache)
        return *cache;
    if (s.array.packed()) {
        cache = packedExtreme(s, largest);
        return *cache;
    }
    Variant best;
    bool found = false;
    for (size_t i = 0; i < s.array.elementCount(); ++i) {
        const Variant& e = s.array.at(i);
        if (e.vt() == VT_EMPTY || e.vt() == VT_NULL || (!s.missing.isEmpty() && equalValues(e, s.missing)))
            continue;
        if (e.vt() != VT_BSTR && !e.toDouble())
            continue;
        if (!found || (largest ? lessThan(best, e) : lessThan(e, best))) {
            best = e;
            found = true;
        }
    }
    cache = found ? best : Variant();
    return *cache;
}

Variant LgData::extremeTime(int32_t index, bool largest, int16_t timeMask)
{
    Variant e = extreme(index, largest);
    auto d = e.toDouble();
    if (e.isEmpty() || e.vt() == VT_BSTR || !d)
        return Variant();
    return Variant::fromDate(roundDate(*d, timeMask, largest));
}

const MemberTable& LgData::members() const
{
    using D = LgData;
    namespace id = dispid::data;
    static const std::vector<Member> own{
        {"DataSize", id::DataSize, MemberKind::Property, VT_I4, false,
         [](Dispatchable& d, Args&) { return Variant::fromI4(static_cast<D&>(d).dataSize()); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& data = static_cast<D&>(d);
             int32_t size = argI4(v);
             if (size == data.dataSize())
                 return;
             data.setDataSize(size);
             data.dataChanged();
         }},
        {"SetData", id::SetData, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             static_cast<D&>(d).setData(argIndex(a), a[1]);
             return Variant::fromBool(true);
         },
         nullptr, 2},
        {"GetData", id::GetData, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) { return static_cast<D&>(d).slot(argIndex(a)).array; }, nullptr, 1},
        {"Type", id::Type, MemberKind::Property, VT_I2, true,
         [](Dispatchable& d, Args& a) { return Variant::fromI2(dataTypeOf(static_cast<D&>(d).slot(argIndex(a)).array)); },
         nullptr, 1},
        {"GetElement", id::GetElement, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) {
             DataSlot& s = static_cast<D&>(d).slot(argIndex(a));
             const Variant* e = s.array.element(argI4(a[1]));
             if (!e)
                 raiseError(lgErrBadArgument);
             return *e;
         },
         nullptr, 2},
        {"SetElement", id::SetElement, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& data = static_cast<D&>(d);
             DataSlot& s = data.slot(argIndex(a));
             Variant* e = s.array.element(argI4(a[1]));
             if (!e)
                 raiseError(lgErrBadArgument);
             const Variant& value = a[2].deref();
             if (value.isArray() || value.vt() == VT_DISPATCH)
                 raiseError(lgErrBadArgument);
             auto converted = value.changeType(s.array.elementType());
             if (!converted)
                 raiseError(lgErrBadArgument);
             *e = *converted;
             s.dataChanged();
             data.dataChanged();
             return Variant::fromBool(true);
         },
         nullptr, 3},
        {"UBound", id::UBound, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) {
             DataSlot& s = static_cast<D&>(d).slot(argIndex(a));
             if (!s.array.isArray())
                 raiseError(lgErrBadArgument);
             return Variant::fromI4(s.array.ubound());
         },
         nullptr, 1},
        {"LBound", id::LBound, MemberKind::Method, VT_I4, false,
         [](Dispatchable& d, Args& a) {
             DataSlot& s = static_cast<D&>(d).slot(argIndex(a));
             if (!s.array.isArray())
                 raiseError(lgErrBadArgument);
             return Variant::fromI4(s.array.lbound());
         },
         nullptr, 1},
        {"SetDataRef", id::SetDataRef, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable& d, Args& a) {
             auto& data = static_cast<D&>(d);
             DataSlot& s = data.slot(argIndex(a));
             std::string text = argText(a[1]);
             if (text != s.reference) {
                 s.reference = text;
                 data.changed();
             }
             return Variant();
         },
         nullptr, 2},
        {"GetDataRef", id::GetDataRef, MemberKind::Method, VT_BSTR, false,
         [](Dispatchable& d, Args& a) {
             return Variant::fromString(static_cast<D&>(d).slot(argIndex(a)).reference);
         },
         nullptr, 1},
        {"GetMissingValue", id::GetMissingValue, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) { return static_cast<D&>(d).slot(argIndex(a)).missing; }, nullptr, 1},
        {"SetMissingValue", id::SetMissingValue, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable& d, Args& a) {
             auto& data = static_cast<D&>(d);
             DataSlot& s = data.slot(argIndex(a));
             const Variant& value = a[1].deref();
             if (value.isArray() || value.vt() == VT_DISPATCH)
                 raiseError(lgErrBadArgument);
             if (!s.missing.sameAs(value)) {
                 s.missing = value;
                 s.dataChanged();
                 data.dataChanged();
             }
             return Variant();
         },
         nullptr, 2},
        {"Max", id::Max, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) { return static_cast<D&>(d).extreme(argIndex(a), true); }, nullptr, 1},
        {"Min", id::Min, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) { return static_cast<D&>(d).extreme(argIndex(a), false); }, nullptr, 1},
        {"MaxTime", id::MaxTime, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) { return static_cast<D&>(d).extremeTime(argIndex(a), true, argI2(a[1])); },
         nullptr, 2},
        {"MinTime", id::MinTime, MemberKind::Method, VT_VARIANT, false,
         [](Dispatchable& d, Args& a) { return static_cast<D&>(d).extremeTime(argIndex(a), false, argI2(a[1])); },
         nullptr, 2},
        {"GetDataFromFile", id::GetDataFromFile, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             int32_t index = isOmitted(a, 1) ? 1 : argI4(a[1]);
             return Variant::fromBool(static_cast<D&>(d).loadFromFile(argI2(a[0]), index));
         },
         nullptr, 1, 1},
        prop<&D::dataFile_>("DataFile", id::DataFile),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgData::exchange(RecordExchange& x)
{
    x.text("DataFile=", dataFile_, "");
    int32_t size = dataSize();
    x.i32("DataSize=", size, 4);
    if (x.loading()) {
        if (size < 0 || size > 32767 || size > static_cast<int64_t>(x.reader()->remaining()) + 4)
            damagedText();
        slots_.assign(static_cast<size_t>(size) + 1, DataSlot());
    }
    for (int32_t i = 0; i <= size; ++i) {
        DataSlot& s = slots_[static_cast<size_t>(i)];
        if (!x.loading()) {
            if (s.array.isArray())
                x.writeArray(s.array);
        } else {
            Variant array;
            if (x.readArray(array))
                s.array = std::move(array);
        }
        char key[32];
        std::snprintf(key, sizeof key, "Ref[%d]=", i);
        x.variant(key, s.missing);
        x.text(key, s.reference, "");
    }
}

} // namespace lumigra
