#include "model/RecordExchange.h"

#include <cmath>
#include <cstring>

#include "model/ChartOwner.h"
#include "model/Collection.h"
#include "platform/BasicRuntime.h"

namespace lumigra {

using namespace platform::com;

void damagedText() { raiseError(lgErrUnknown); }

void RecordExchange::beginObject(const char* className)
{
    marker(std::string("Begin Object:") + className);
}

void RecordExchange::endObject(const char* className) { marker(std::string("End Object:") + className); }

void RecordExchange::marker(std::string_view key)
{
    if (writer_)
        writer_->record(key, nullptr, 0);
    else
        reader_->fixed(key, nullptr, 0);
}

void RecordExchange::name(LgObject& o)
{
    if (writer_) {
        writer_->text("Name=", o.name());
        return;
    }
    auto text = reader_->text("Name=");
    // An empty name keeps the default one; a taken one too.
    if (!text || text->empty() || keepName)
        return;
    LgCollection* parent = o.parentCollection();
    LgObject* holder = parent ? parent->findByName(*text) : nullptr;
    if (!holder || holder == &o)
        o.setNameRaw(*text);
}

void RecordExchange::boolean(std::string_view key, bool& v, bool def)
{
    if (writer_) {
        writer_->boolean(key, v);
        return;
    }
    int32_t x;
    v = reader_->fixed(key, &x, 4) ? x != 0 : def;
}

void RecordExchange::i16(std::string_view key, int16_t& v, int16_t def)
{
    if (writer_) {
        writer_->i16(key, v);
        return;
    }
    if (!reader_->fixed(key, &v, 2))
        v = def;
}

void RecordExchange::i32(std::string_view key, int32_t& v, int32_t def)
{
    if (writer_) {
        writer_->i32(key, v);
        return;
    }
    if (!reader_->fixed(key, &v, 4))
        v = def;
}

void RecordExchange::f64(std::string_view key, double& v, double def)
{
    if (writer_) {
        writer_->f64(key, v);
        return;
    }
    if (!reader_->fixed(key, &v, 8))
        v = def;
}

void RecordExchange::text(std::string_view key, std::string& v, std::string_view def)
{
    if (writer_) {
        writer_->text(key, v);
        return;
    }
    auto t = reader_->text(key);
    v = t ? *t : std::string(def);
}

void RecordExchange::raw(std::string_view key, void* v, size_t size, const void* def)
{
    if (writer_) {
        writer_->record(key, v, size);
        return;
    }
    if (!reader_->fixed(key, v, size))
        std::memcpy(v, def, size);
}

void RecordExchange::variant(std::string_view key, Variant& v)
{
    if (writer_) {
        auto bytes = v.toBytes16();
        writer_->record(key, bytes.data(), 16);
        return;
    }
    uint8_t bytes[16];
    v = reader_->fixed(key, bytes, 16) ? Variant::fromBytes16(bytes) : Variant();
}

void RecordExchange::variantAsDouble(std::string_view key, Variant& v, double def)
{
    if (writer_) {
        writer_->f64(key, v.toDouble().value_or(def));
        return;
    }
    double d;
    v = Variant::fromR8(reader_->fixed(key, &d, 8) ? d : def);
}

void RecordExchange::ref(std::string_view key, ObjRef& r, int collection)
{
    LgCollection* c = owner.collection(collection);
    if (writer_) {
        LgObject* target = r.get();
        int32_t position = target && c && target->parentCollection() == c ? target->position() : -1;
        writer_->i32(key, position);
        return;
    }
    int32_t position = -1;
    reader_->fixed(key, &position, 4);
    r.reset(c && position >= 0 && position < c->count() ? c->at(position) : nullptr);
}

namespace {

bool arrayElementType(int32_t vt)
{
    switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_VARIANT: return true;
    default: return false;
    }
}

} // namespace

void RecordExchange::writeArray(const Variant& array)
{
    int32_t vt = array.elementType();
    writer_->i32("VARIANT VT=", vt);
    writer_->i32("LBound=", array.lbound());
    writer_->i32("UBound=", array.ubound());
    if (array.packed()) { // singles are written as doubles, as below
        for (float single : array.singles()) {
            double x = single;
            writer_->record({}, &x, 8);
        }
        return;
    }
    for (size_t i = 0; i < array.elementCount(); ++i) {
        const Variant& e = array.at(i);
        switch (vt) {
        case VT_I2: {
            int16_t x = e.i2();
            writer_->record({}, &x, 2);
            break;
        }
        case VT_I4: {
            int32_t x = e.i4();
            writer_->record({}, &x, 4);
            break;
        }
        case VT_BSTR: writer_->text({}, e.str()); break;
        case VT_VARIANT: {
            auto bytes = e.toBytes16();
            writer_->record({}, bytes.data(), 16);
            break;
        }
        default: { // single, double, currency and date as a double
            double x = e.toDouble().value_or(0.0);
            writer_->record({}, &x, 8);
            break;
        }
        }
    }
}

bool RecordExchange::readArray(Variant& array)
{
    int32_t vt = 0;
    if (!reader_->fixed("VARIANT VT=", &vt, 4))
        return false;
    int32_t lower = 0, upper = -1;
    reader_->fixed("LBound=", &lower, 4);
    reader_->fixed("UBound=", &upper, 4);
    int64_t count = static_cast<int64_t>(upper) - lower + 1;
    if (count < 0)
        count = 0;
    // Every element takes at least its line feed.
    if (!arrayElementType(vt) || count > static_cast<int64_t>(reader_->remaining()))
        damagedText();
    array = Variant::makeArray(static_cast<VarType>(vt), lower, static_cast<int32_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        Variant& e = array.at(static_cast<size_t>(i));
        bool ok = true;
        switch (vt) {
        case VT_I2: {
            int16_t x = 0;
            ok = reader_->keyless(&x, 2);
            e = Variant::fromI2(x);
            break;
        }
        case VT_I4: {
            int32_t x = 0;
            ok = reader_->keyless(&x, 4);
            e = Variant::fromI4(x);
            break;
        }
        case VT_BSTR: {
            auto t = reader_->keylessText();
            ok = t.has_value();
            e = Variant::fromString(t.value_or(std::string()));
            break;
        }
        case VT_VARIANT: {
            uint8_t bytes[16];
            ok = reader_->keyless(bytes, 16);
            e = ok ? Variant::fromBytes16(bytes) : Variant();
            break;
        }
        default: {
            double x = 0;
            ok = reader_->keyless(&x, 8);
            if (vt == VT_R4)
                e = Variant::fromR4(static_cast<float>(x));
            else if (vt == VT_R8)
                e = Variant::fromR8(x);
            else if (vt == VT_DATE)
                e = Variant::fromDate(x);
            else
                e = Variant::fromCurrency(std::isfinite(x) && std::fabs(x) < 9.2e14
                                              ? static_cast<int64_t>(platform::roundHalfEven(x * 10000.0))
                                              : 0);
            break;
        }
        }
        if (!ok)
            damagedText();
    }
    return true;
}

void RecordExchange::collection(LgCollection& c)
{
    if (writer_) {
        writer_->text("Begin Collection", "{");
        writer_->text("Name=", c.name());
        writer_->i32("Elements=", c.count());
        writer_->boolean("Visible=", c.visible());
        writer_->i32("PaintOrder=", c.paintOrder());
        writer_->i32("Max=", c.capacity());
        for (int32_t i = 0; i < c.count(); ++i) {
            LgObject* o = c.at(i);
            o->record(*this);
            writer_->i32("RefCount=", o->users());
            writer_->i32("Tag=", o->tag());
        }
        writer_->i32("Tag=", c.tag());
        writer_->text("End Collection", "}");
        return;
    }
    c.clearAll();
    reader_->text("Begin Collection");
    reader_->text("Name=");
    int32_t count = 0, paintOrder = 0, capacity = kDefaultMaxElements;
    bool visible = true;
    i32("Elements=", count, 0);
    boolean("Visible=", visible, true);
    i32("PaintOrder=", paintOrder, c.spec().defaultPaintOrder);
    i32("Max=", capacity, kDefaultMaxElements);
    c.setVisibleRaw(visible);
    c.setPaintOrderRaw(paintOrder);
    c.setCapacityRaw(capacity);
    if (count < 0)
        count = 0;
    if (count > static_cast<int64_t>(reader_->remaining()))
        damagedText();
    for (int32_t i = 0; i < count; ++i) {
        LgObject* o = nullptr;
        try {
            o = c.addElements(1);
        } catch (const RaisedError&) {
            raiseError(lgErrUnknown);
        }
        o->record(*this);
        int32_t users = 1, tag = 0;
        i32("RefCount=", users, 1);
        i32("Tag=", tag, 0);
        o->setTagRaw(tag);
    }
    int32_t tag = 0;
    i32("Tag=", tag, 0);
    c.setTagRaw(tag);
    reader_->text("End Collection");
}

void RecordExchange::part(std::string_view key, ObjRef& r, LgObject* (*create)(ChartOwner*))
{
    int16_t present = r ? 1 : 0;
    i16(key, present, 0);
    if (!present) {
        if (loading())
            r.reset(nullptr);
        return;
    }
    if (++depth_ > 32)
        damagedText();
    if (loading() && !r)
        r.reset(platform::com::ComPtr<LgObject>::attach(create(&owner)));
    r.get()->record(*this);
    --depth_;
}

} // namespace lumigra
