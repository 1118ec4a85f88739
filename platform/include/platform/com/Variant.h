#pragma once
// The automation variant with the Windows type codes. Arrays hold their
// elements as variants of the element type; an array variant copies by value
// as Basic arrays do. A single array made from a block of floats keeps the
// block packed (four bytes an element, no variant per element) until an
// element is first reached by reference.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::com {

struct IDispatch;

enum VarType : uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

struct ArrayBound {
    int32_t lower = 0;
    int32_t count = 0;
};

struct SafeArray;

// A currency value is held as a 64-bit integer of ten-thousandths.
constexpr double currencyScale = 10000.0;

// Test hook: while it points at a counter, every variant made counts itself.
extern std::atomic<uint64_t>* variantsMade;

class Variant {
public:
    Variant()
    {
        if (auto* counter = variantsMade)
            counter->fetch_add(1, std::memory_order_relaxed);
    }
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    static Variant fromI2(int16_t v);
    static Variant fromI4(int32_t v);
    static Variant fromR4(float v);
    static Variant fromR8(double v);
    static Variant fromCurrency(int64_t scaled); // value x currencyScale
    static Variant fromDate(double days);
    static Variant fromString(std::string v);
    static Variant fromBool(bool v);
    static Variant fromDispatch(IDispatch* object); // takes a new reference
    static Variant null();
    static Variant missing(); // an omitted optional argument (VT_ERROR)
    // A one-dimensional array of the element type with every element empty
    // of that type (0, "").
    static Variant makeArray(VarType elementType, int32_t lower, int32_t count);
    static Variant makeArray(VarType elementType, std::vector<ArrayBound> bounds);
    // A one-dimensional single array holding a copy of the block, packed.
    static Variant fromSingles(std::span<const float> values, int32_t lower = 0);
    static Variant byRef(Variant* target); // VT_BYREF | VT_VARIANT

    VarType vt() const { return vt_; }
    bool isEmpty() const { return vt_ == VT_EMPTY; }
    bool isArray() const { return (vt_ & VT_ARRAY) != 0; }
    bool isMissing() const { return vt_ == VT_ERROR; }
    bool isNumeric() const; // I2, I4, R4, R8, CY, DATE, BOOL, UI1
    VarType elementType() const { return static_cast<VarType>(vt_ & ~VT_ARRAY); }

    // Raw access; the caller checks vt() first.
    int16_t i2() const { return static_cast<int16_t>(num_.i); }
    int32_t i4() const { return static_cast<int32_t>(num_.i); }
    int64_t currency() const { return num_.i; }
    double r8() const { return num_.d; }
    float r4() const { return static_cast<float>(num_.d); }
    bool boolean() const { return num_.i != 0; }
    const std::string& str() const { return str_; }
    IDispatch* dispatch() const { return disp_; }
    Variant* refTarget() const { return ref_; }

    // Conversions as the automation runtime does them; nullopt when the
    // value cannot be converted (type mismatch or overflow).
    std::optional<double> toDouble() const;
    std::optional<int32_t> toI4() const;
    std::optional<int16_t> toI2() const;
    std::optional<bool> toBool() const;
    std::optional<std::string> toText() const;
    std::optional<Variant> changeType(VarType target) const;
    // A by-reference variant gives its target; others themselves.
    const Variant& deref() const { return (vt_ == (VT_BYREF | VT_VARIANT) && ref_) ? *ref_ : *this; }

    // Arrays.
    int dimensions() const;
    ArrayBound bound(int dimension = 0) const;
    int32_t lbound() const { return bound(0).lower; }
    int32_t ubound() const { return bound(0).lower + bound(0).count - 1; }
    size_t elementCount() const;
    // Element access by reference unpacks a packed array for good.
    const Variant& at(size_t flatIndex) const;
    Variant& at(size_t flatIndex);
    // Element by Basic index of a one-dimensional array; nullptr when outside.
    const Variant* element(int64_t index) const;
    Variant* element(int64_t index);
    // The elements of a packed single array, read without unpacking; an
    // empty span for every other variant (check packed() first).
    bool packed() const;
    std::span<const float> singles() const;

    // The 16-byte memory form: type code, three reserved words, 8 value bytes.
    // Only plain values survive; strings, objects, arrays and references are
    // stored as an empty variant, since their pointers mean nothing later.
    std::array<uint8_t, 16> toBytes16() const;
    static Variant fromBytes16(const uint8_t* bytes);

    // Same type and equal value (arrays element by element).
    bool sameAs(const Variant& other) const;

private:
    void clear();
    VarType vt_ = VT_EMPTY;
    union {
        int64_t i;
        double d;
    } num_{0};
    std::string str_;
    IDispatch* disp_ = nullptr;
    std::unique_ptr<SafeArray> array_;
    Variant* ref_ = nullptr;
};

struct SafeArray {
    std::vector<ArrayBound> bounds;
    std::vector<Variant> items; // first dimension fastest
    // A packed single array keeps its elements here, and items empty.
    bool packed = false;
    std::vector<float> singles;
    void unpack();
};

} // namespace platform::com
