#include "platform/com/Variant.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/BasicRuntime.h"
#include "platform/com/Dispatch.h"

namespace platform::com {

namespace {

bool storesInteger(VarType vt)
{
    return vt == VT_I2 || vt == VT_I4 || vt == VT_CY || vt == VT_BOOL || vt == VT_UI1 || vt == VT_ERROR;
}

// Strict number text: optional blanks, a number, optional blanks.
std::optional<double> parseNumber(const std::string& text)
{
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t')
        ++begin;
    if (!*begin)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v))
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end)
        return std::nullopt;
    return v;
}

bool equalsNoCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<int64_t> roundedInRange(double v, double lo, double hi)
{
    if (!std::isfinite(v))
        return std::nullopt;
    double r = roundHalfEven(v);
    if (r < lo || r > hi)
        return std::nullopt;
    return static_cast<int64_t>(r);
}

void countMade()
{
    if (auto* counter = variantsMade)
        counter->fetch_add(1, std::memory_order_relaxed);
}

} // namespace

std::atomic<uint64_t>* variantsMade = nullptr;

void SafeArray::unpack()
{
    if (!packed)
        return;
    items.reserve(singles.size());
    for (float x : singles)
        items.push_back(Variant::fromR4(x));
    singles = {};
    packed = false;
}

Variant::Variant(const Variant& o) : vt_(o.vt_), num_(o.num_), str_(o.str_), disp_(o.disp_), ref_(o.ref_)
{
    countMade();
    if (disp_)
        disp_->AddRef();
    if (o.array_)
        array_ = std::make_unique<SafeArray>(*o.array_);
}

Variant::Variant(Variant&& o) noexcept
    : vt_(o.vt_), num_(o.num_), str_(std::move(o.str_)), disp_(o.disp_), array_(std::move(o.array_)), ref_(o.ref_)
{
    countMade();
    o.vt_ = VT_EMPTY;
    o.disp_ = nullptr;
    o.ref_ = nullptr;
}

Variant& Variant::operator=(const Variant& o)
{
    if (this != &o) {
        Variant copy(o);
        *this = std::move(copy);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& o) noexcept
{
    if (this != &o) {
        clear();
        vt_ = o.vt_;
        num_ = o.num_;
        str_ = std::move(o.str_);
        disp_ = o.disp_;
        array_ = std::move(o.array_);
        ref_ = o.ref_;
        o.vt_ = VT_EMPTY;
        o.disp_ = nullptr;
        o.ref_ = nullptr;
    }
    return *this;
}

Variant::~Variant() { clear(); }

void Variant::clear()
{
    if (disp_)
        disp_->Release();
    disp_ = nullptr;
    array_.reset();
    str_.clear();
    ref_ = nullptr;
    vt_ = VT_EMPTY;
    num_.i = 0;
}

Variant Variant::fromI2(int16_t v)
{
    Variant r;
    r.vt_ = VT_I2;
    r.num_.i = v;
    return r;
}
Variant Variant::fromI4(int32_t v)
{
    Variant r;
    r.vt_ = VT_I4;
    r.num_.i = v;
    return r;
}
Variant Variant::fromR4(float v)
{
    Variant r;
    r.vt_ = VT_R4;
    r.num_.d = v;
    return r;
}
Variant Variant::fromR8(double v)
{
    Variant r;
    r.vt_ = VT_R8;
    r.num_.d = v;
    return r;
}
Variant Variant::fromCurrency(int64_t scaled)
{
    Variant r;
    r.vt_ = VT_CY;
    r.num_.i = scaled;
    return r;
}
Variant Variant::fromDate(double days)
{
    Variant r;
    r.vt_ = VT_DATE;
    r.num_.d = days;
    return r;
}
Variant Variant::fromString(std::string v)
{
    Variant r;
    r.vt_ = VT_BSTR;
    r.str_ = std::move(v);
    return r;
}
Variant Variant::fromBool(bool v)
{
    Variant r;
    r.vt_ = VT_BOOL;
    r.num_.i = v ? -1 : 0;
    return r;
}
Variant Variant::fromDispatch(IDispatch* object)
{
    Variant r;
    r.vt_ = VT_DISPATCH;
    r.disp_ = object;
    if (object)
        object->AddRef();
    return r;
}
Variant Variant::null()
{
    Variant r;
    r.vt_ = VT_NULL;
    return r;
}
Variant Variant::missing()
{
    Variant r;
    r.vt_ = VT_ERROR;
    r.num_.i = static_cast<int32_t>(DISP_E_PARAMNOTFOUND);
    return r;
}

Variant Variant::makeArray(VarType elementType, int32_t lower, int32_t count)
{
    return makeArray(elementType, std::vector<ArrayBound>{{lower, count < 0 ? 0 : count}});
}

Variant Variant::makeArray(VarType elementType, std::vector<ArrayBound> bounds)
{
    Variant r;
    r.vt_ = static_cast<VarType>(VT_ARRAY | elementType);
    r.array_ = std::make_unique<SafeArray>();
    size_t total = bounds.empty() ? 0 : 1;
    for (auto& b : bounds)
        total *= static_cast<size_t>(b.count < 0 ? 0 : b.count);
    r.array_->bounds = std::move(bounds);
    Variant blank;
    switch (elementType) {
    case VT_I2: blank = fromI2(0); break;
    case VT_I4: blank = fromI4(0); break;
    case VT_R4: blank = fromR4(0); break;
    case VT_R8: blank = fromR8(0); break;
    case VT_CY: blank = fromCurrency(0); break;
    case VT_DATE: blank = fromDate(0); break;
    case VT_BSTR: blank = fromString({}); break;
    case VT_BOOL: blank = fromBool(false); break;
    default: break;
    }
    r.array_->items.assign(total, blank);
    return r;
}

Variant Variant::fromSingles(std::span<const float> values, int32_t lower)
{
    Variant r;
    r.vt_ = static_cast<VarType>(VT_ARRAY | VT_R4);
    r.array_ = std::make_unique<SafeArray>();
    r.array_->bounds = {{lower, static_cast<int32_t>(values.size())}};
    r.array_->packed = true;
    r.array_->singles.assign(values.begin(), values.end());
    return r;
}

Variant Variant::byRef(Variant* target)
{
    Variant r;
    r.vt_ = static_cast<VarType>(VT_BYREF | VT_VARIANT);
    r.ref_ = target;
    return r;
}

bool Variant::isNumeric() const
{
    switch (vt_) {
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BOOL:
    case VT_UI1: return true;
    default: return false;
    }
}

std::optional<double> Variant::toDouble() const
{
    const Variant& v = deref();
    switch (v.vt_) {
    case VT_EMPTY: return 0.0;
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_UI1: return static_cast<double>(v.num_.i);
    case VT_CY: return static_cast<double>(v.num_.i) / currencyScale;
    case VT_R4:
    case VT_R8:
    case VT_DATE: return v.num_.d;
    case VT_BSTR: {
        if (equalsNoCase(v.str_, "True"))
            return -1.0;
        if (equalsNoCase(v.str_, "False"))
            return 0.0;
        return parseNumber(v.str_);
    }
    default: return std::nullopt;
    }
}

std::optional<int32_t> Variant::toI4() const
{
    auto d = toDouble();
    if (!d)
        return std::nullopt;
    auto r = roundedInRange(*d, -2147483648.0, 2147483647.0);
    if (!r)
        return std::nullopt;
    return static_cast<int32_t>(*r);
}

std::optional<int16_t> Variant::toI2() const
{
    auto d = toDouble();
    if (!d)
        return std::nullopt;
    auto r = roundedInRange(*d, -32768.0, 32767.0);
    if (!r)
        return std::nullopt;
    return static_cast<int16_t>(*r);
}

std::optional<bool> Variant::toBool() const
{
    auto d = toDouble();
    if (!d)
        return std::nullopt;
    return *d != 0.0;
}

std::optional<std::string> Variant::toText() const
{
    const Variant& v = deref();
    char buffer[64];
    switch (v.vt_) {
    case VT_EMPTY: return std::string();
    case VT_BSTR: return v.str_;
    case VT_BOOL: return std::string(v.num_.i ? "True" : "False");
    case VT_I2:
    case VT_I4:
    case VT_UI1: return std::to_string(v.num_.i);
    case VT_R4: return singleToText(static_cast<float>(v.num_.d));
    case VT_CY:
    case VT_R8:
    case VT_DATE: {
        double d = v.vt_ == VT_CY ? static_cast<double>(v.num_.i) / currencyScale : v.num_.d;
        std::snprintf(buffer, sizeof buffer, "%.15G", d);
        return std::string(buffer);
    }
    default: return std::nullopt;
    }
}

std::optional<Variant> Variant::changeType(VarType target) const
{
    const Variant& v = deref();
    if (v.vt_ == target && !(target & VT_ARRAY))
        return v;
    switch (target) {
    case VT_VARIANT: return v;
    case VT_EMPTY: return Variant();
    case VT_I2:
        if (auto x = v.toI2())
            return fromI2(*x);
        return std::nullopt;
    case VT_I4:
        if (auto x = v.toI4())
            return fromI4(*x);
        return std::nullopt;
    case VT_R4:
        if (auto x = v.toDouble(); x && std::fabs(*x) <= std::numeric_limits<float>::max())
            return fromR4(static_cast<float>(*x));
        return std::nullopt;
    case VT_R8:
        if (auto x = v.toDouble())
            return fromR8(*x);
        return std::nullopt;
    case VT_DATE:
        if (auto x = v.toDouble())
            return fromDate(*x);
        return std::nullopt;
    case VT_CY:
        if (auto x = v.toDouble(); x && std::fabs(*x) < 9.2e14)
            return fromCurrency(static_cast<int64_t>(roundHalfEven(*x * currencyScale)));
        return std::nullopt;
    case VT_BOOL:
        if (auto x = v.toBool())
            return fromBool(*x);
        return std::nullopt;
    case VT_BSTR:
        if (auto x = v.toText())
            return fromString(*x);
        return std::nullopt;
    case VT_DISPATCH:
        if (v.vt_ == VT_DISPATCH)
            return v;
        if (v.vt_ == VT_EMPTY || v.vt_ == VT_NULL)
            return fromDispatch(nullptr);
        return std::nullopt;
    default: return std::nullopt;
    }
}

int Variant::dimensions() const
{
    const Variant& v = deref();
    return v.array_ ? static_cast<int>(v.array_->bounds.size()) : 0;
}

ArrayBound Variant::bound(int dimension) const
{
    const Variant& v = deref();
    if (!v.array_ || dimension < 0 || dimension >= static_cast<int>(v.array_->bounds.size()))
        return {};
    return v.array_->bounds[static_cast<size_t>(dimension)];
}

size_t Variant::elementCount() const
{
    const Variant& v = deref();
    if (!v.array_)
        return 0;
    return v.array_->packed ? v.array_->singles.size() : v.array_->items.size();
}

const Variant& Variant::at(size_t i) const
{
    // The array is logically unchanged: only its element storage changes form.
    SafeArray& a = *deref().array_;
    a.unpack();
    return a.items.at(i);
}
Variant& Variant::at(size_t i)
{
    Variant& v = (vt_ == (VT_BYREF | VT_VARIANT) && ref_) ? *ref_ : *this;
    v.array_->unpack();
    return v.array_->items.at(i);
}

const Variant* Variant::element(int64_t index) const
{
    const Variant& v = deref();
    if (!v.array_ || v.array_->bounds.size() != 1)
        return nullptr;
    v.array_->unpack();
    int64_t offset = index - v.array_->bounds[0].lower;
    if (offset < 0 || offset >= static_cast<int64_t>(v.array_->items.size()))
        return nullptr;
    return &v.array_->items[static_cast<size_t>(offset)];
}

Variant* Variant::element(int64_t index)
{
    return const_cast<Variant*>(static_cast<const Variant*>(this)->element(index));
}

bool Variant::packed() const
{
    const Variant& v = deref();
    return v.array_ && v.array_->packed;
}

std::span<const float> Variant::singles() const
{
    const Variant& v = deref();
    if (!v.array_ || !v.array_->packed)
        return {};
    return v.array_->singles;
}

std::array<uint8_t, 16> Variant::toBytes16() const
{
    std::array<uint8_t, 16> bytes{};
    const Variant& v = deref();
    uint16_t type = v.vt_;
    auto put = [&](const void* p, size_t n) { std::memcpy(bytes.data() + 8, p, n); };
    switch (v.vt_) {
    case VT_I2:
    case VT_BOOL: {
        int16_t x = static_cast<int16_t>(v.num_.i);
        put(&x, 2);
        break;
    }
    case VT_UI1: {
        uint8_t x = static_cast<uint8_t>(v.num_.i);
        put(&x, 1);
        break;
    }
    case VT_I4:
    case VT_ERROR: {
        int32_t x = static_cast<int32_t>(v.num_.i);
        put(&x, 4);
        break;
    }
    case VT_R4: {
        float x = static_cast<float>(v.num_.d);
        put(&x, 4);
        break;
    }
    case VT_R8:
    case VT_DATE: put(&v.num_.d, 8); break;
    case VT_CY: put(&v.num_.i, 8); break;
    case VT_NULL: break;
    default: type = VT_EMPTY; break;
    }
    std::memcpy(bytes.data(), &type, 2);
    return bytes;
}

Variant Variant::fromBytes16(const uint8_t* bytes)
{
    uint16_t type;
    std::memcpy(&type, bytes, 2);
    const uint8_t* value = bytes + 8;
    switch (type) {
    case VT_I2: {
        int16_t x;
        std::memcpy(&x, value, 2);
        return fromI2(x);
    }
    case VT_BOOL: {
        int16_t x;
        std::memcpy(&x, value, 2);
        return fromBool(x != 0);
    }
    case VT_UI1: {
        Variant r;
        r.vt_ = VT_UI1;
        r.num_.i = value[0];
        return r;
    }
    case VT_I4: {
        int32_t x;
        std::memcpy(&x, value, 4);
        return fromI4(x);
    }
    case VT_R4: {
        float x;
        std::memcpy(&x, value, 4);
        return fromR4(x);
    }
    case VT_R8:
    case VT_DATE: {
        double x;
        std::memcpy(&x, value, 8);
        return type == VT_R8 ? fromR8(x) : fromDate(x);
    }
    case VT_CY: {
        int64_t x;
        std::memcpy(&x, value, 8);
        return fromCurrency(x);
    }
    case VT_ERROR: {
        int32_t x;
        std::memcpy(&x, value, 4);
        Variant r;
        r.vt_ = VT_ERROR;
        r.num_.i = x;
        return r;
    }
    case VT_NULL: return null();
    default: return Variant();
    }
}

bool Variant::sameAs(const Variant& other) const
{
    const Variant& a = deref();
    const Variant& b = other.deref();
    if (a.vt_ != b.vt_)
        return false;
    if (a.array_ || b.array_) {
        if (!a.array_ || !b.array_ || a.elementCount() != b.elementCount()
            || a.array_->bounds.size() != b.array_->bounds.size())
            return false;
        for (size_t i = 0; i < a.array_->bounds.size(); ++i)
            if (a.array_->bounds[i].lower != b.array_->bounds[i].lower
                || a.array_->bounds[i].count != b.array_->bounds[i].count)
                return false;
        if (a.array_->packed && b.array_->packed) {
            for (size_t i = 0; i < a.array_->singles.size(); ++i) {
                const float x = a.array_->singles[i], y = b.array_->singles[i];
                if (x != y && !(std::isnan(x) && std::isnan(y)))
                    return false;
            }
            return true;
        }
        // Read without unpacking: a comparison leaves both as they were.
        auto item = [](const SafeArray& s, size_t i) { return s.packed ? fromR4(s.singles[i]) : s.items[i]; };
        for (size_t i = 0; i < a.elementCount(); ++i)
            if (!item(*a.array_, i).sameAs(item(*b.array_, i)))
                return false;
        return true;
    }
    if (a.vt_ == VT_BSTR)
        return a.str_ == b.str_;
    if (a.vt_ == VT_DISPATCH)
        return a.disp_ == b.disp_;
    if (storesInteger(a.vt_))
        return a.num_.i == b.num_.i;
    if (a.vt_ == VT_R4 || a.vt_ == VT_R8 || a.vt_ == VT_DATE)
        return a.num_.d == b.num_.d || (std::isnan(a.num_.d) && std::isnan(b.num_.d));
    return true;
}

} // namespace platform::com
