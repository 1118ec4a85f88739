#pragma once
// Writes or reads the fields of one record with the same code, so that the
// order of keys is written down once per kind. Reading gives every missing
// key its stated default.
#include <string>
#include <string_view>

#include "model/CollectionSpec.h"
#include "model/Object.h"
#include "textformat/ObjectText.h"

namespace lumigra {

class LgCollection;

class RecordExchange {
public:
    RecordExchange(ChartOwner& owner, ObjectTextWriter& writer) : owner(owner), writer_(&writer) {}
    RecordExchange(ChartOwner& owner, ObjectTextReader& reader) : owner(owner), reader_(&reader) {}

    bool loading() const { return reader_ != nullptr; }
    ObjectTextWriter* writer() const { return writer_; }
    ObjectTextReader* reader() const { return reader_; }

    ChartOwner& owner;
    // Copy keeps the target's name.
    bool keepName = false;

    void beginObject(const char* className);
    void endObject(const char* className);
    // A key with an empty value ("Begin Object:Pen", "LegendItems=").
    void marker(std::string_view key);
    void name(LgObject& o);

    void boolean(std::string_view key, bool& v, bool def);
    void i16(std::string_view key, int16_t& v, int16_t def);
    void i32(std::string_view key, int32_t& v, int32_t def);
    void f64(std::string_view key, double& v, double def);
    void text(std::string_view key, std::string& v, std::string_view def);
    void raw(std::string_view key, void* v, size_t size, const void* def);
    // A variant in its 16-byte form (default empty).
    void variant(std::string_view key, Variant& v);
    // A numeric variant stored as a double.
    void variantAsDouble(std::string_view key, Variant& v, double def);
    // A reference stored as the position in its collection, -1 for none.
    void ref(std::string_view key, ObjRef& r, int collection);
    // An array record ("VARIANT VT=", "LBound=", "UBound=", elements);
    // reading returns false when there is none at the read position.
    void writeArray(const Variant& array);
    bool readArray(Variant& array);
    // The collection record with its elements.
    void collection(LgCollection& c);
    // A flag followed by the record of an owned part (a tick).
    void part(std::string_view key, ObjRef& r, LgObject* (*create)(ChartOwner*));
    // Fields a kind keeps beyond its published record. Every key added to a
    // record goes in here: their records are written as one text record
    // in hexadecimal, so that a reader that does not know them meets no
    // zero byte on its way to the object's end marker. A text without that
    // record holds the fields bare (as written before the wrapping).
    template <class Fields>
    void added(std::string_view key, Fields fields);

private:
    ObjectTextWriter* writer_ = nullptr;
    ObjectTextReader* reader_ = nullptr;
    int depth_ = 0;
};

// Reading found a text too damaged to go on.
[[noreturn]] void damagedText();

template <class Fields>
void RecordExchange::added(std::string_view key, Fields fields)
{
    if (writer_) {
        ObjectTextWriter inner;
        RecordExchange x(owner, inner);
        fields(x);
        writer_->text(key, hexText(inner.content()));
        return;
    }
    std::optional<std::string> text = reader_->text(key);
    if (!text) {
        fields(*this);
        return;
    }
    std::optional<std::string> records = bytesOfHex(*text);
    if (!records)
        damagedText();
    ObjectTextReader inner(*records);
    RecordExchange x(owner, inner);
    x.keepName = keepName;
    fields(x);
}

} // namespace lumigra
