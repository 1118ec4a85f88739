#pragma once
// The component interfaces: reference-counted objects, late-bound dispatch by
// DISPID with an exception record, and class factories. Arguments are passed
// in call order (not reversed); the value of a property put is the last one.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/Guid.h"
#include "platform/com/Variant.h"

namespace platform::com {

using HRESULT = int32_t;
using DispId = int32_t;

constexpr HRESULT hr(uint32_t code) { return static_cast<HRESULT>(code); }
constexpr bool succeeded(HRESULT h) { return h >= 0; }
constexpr bool failed(HRESULT h) { return h < 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = hr(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = hr(0x80004002);
inline constexpr HRESULT E_POINTER = hr(0x80004003);
inline constexpr HRESULT E_FAIL = hr(0x80004005);
inline constexpr HRESULT E_OUTOFMEMORY = hr(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = hr(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = hr(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hr(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = hr(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = hr(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = hr(0x8004018C);
inline constexpr HRESULT CO_E_ERRORINDLL = hr(0x800401F9);
inline constexpr HRESULT SELFREG_E_TYPELIB = hr(0x80040200);
inline constexpr HRESULT SELFREG_E_CLASS = hr(0x80040201);
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hr(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = hr(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = hr(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = hr(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = hr(0x80020006);
inline constexpr HRESULT DISP_E_EXCEPTION = hr(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = hr(0x8002000A);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = hr(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = hr(0x8002000F);
// The framework's status for setting a property that cannot be set.
inline constexpr HRESULT CTL_E_SETNOTSUPPORTED = hr(0x800A017F);

inline constexpr DispId DISPID_UNKNOWN = -1;
inline constexpr DispId DISPID_VALUE = 0;

enum DispatchFlags : uint16_t {
    DISPATCH_METHOD = 1,
    DISPATCH_PROPERTYGET = 2,
    DISPATCH_PROPERTYPUT = 4,
    DISPATCH_PROPERTYPUTREF = 8,
};

inline constexpr Guid IID_IUnknown = makeGuid("{00000000-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IDispatch = makeGuid("{00020400-0000-0000-C000-000000000046}");
inline constexpr Guid IID_IClassFactory = makeGuid("{00000001-0000-0000-C000-000000000046}");

struct IUnknown {
    virtual HRESULT QueryInterface(const Guid& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// What a failed dispatch call reports.
struct ExcepInfo {
    uint16_t wCode = 0;
    std::string source;
    std::string description;
    HRESULT scode = 0;
};

struct IDispatch : IUnknown {
    // Names (member name first) to DISPIDs; unknown names give DISPID_UNKNOWN
    // and DISP_E_UNKNOWNNAME.
    virtual HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) = 0;
    virtual HRESULT Invoke(DispId member, uint16_t flags, std::vector<Variant>& args, Variant* result,
                           ExcepInfo* exception) = 0;

protected:
    ~IDispatch() = default;
};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// An owning interface pointer.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already owns.
    static ComPtr attach(T* p)
    {
        ComPtr c;
        c.p_ = p;
        return c;
    }
    // Adds a reference of its own.
    static ComPtr share(T* p)
    {
        if (p)
            p->AddRef();
        return attach(p);
    }
    ComPtr(const ComPtr& o) : p_(o.p_)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept
    {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset()
    {
        if (auto p = std::exchange(p_, nullptr))
            p->Release();
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* detach() { return std::exchange(p_, nullptr); }
    // For out parameters: releases the current object first.
    void** out()
    {
        reset();
        return reinterpret_cast<void**>(&p_);
    }

private:
    T* p_ = nullptr;
};

} // namespace platform::com
