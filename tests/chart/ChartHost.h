#pragma once
// A test host for the chart component: its own component registry, a
// scripted message-box service, and short late-bound calls by DISPID.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "lumigra/Constants.h"
#include "lumigra/Control.h"
#include "lumigra/DispIds.h"
#include "lumigra/Host.h"
#include "platform/UiService.h"
#include "platform/com/DispatchCall.h"
#include "../support/TestSupport.h"

namespace charttest {

using namespace platform::com;
using Obj = ComPtr<IDispatch>;
namespace dsp = lumigra::dispid;

// Each test program keeps its registry in a folder of its own.
inline std::string testDataHome()
{
    // Removed when the program ends.
    static testsupport::TempDir home;
    static bool once = [] { return ::setenv("XDG_DATA_HOME", home.path().c_str(), 1) == 0; }();
    (void)once;
    return home.path();
}

inline Obj newControl()
{
    testDataHome();
    Obj control;
    HRESULT status = lumigra::createControl(lumigra::ProgID_Lumigra, reinterpret_cast<IDispatch**>(control.out()));
    EXPECT_EQ(status, S_OK);
    return control;
}

inline lumigra::ILumigraControl* host(const Obj& control)
{
    void* p = nullptr;
    EXPECT_EQ(control->QueryInterface(lumigra::IID_ILumigraControl, &p), S_OK);
    auto* c = static_cast<lumigra::ILumigraControl*>(p);
    c->Release(); // the Obj keeps it alive
    return c;
}

inline Variant I2(int v) { return Variant::fromI2(static_cast<int16_t>(v)); }
inline Variant I4(int32_t v) { return Variant::fromI4(v); }
inline Variant R8(double v) { return Variant::fromR8(v); }
inline Variant Str(const std::string& s) { return Variant::fromString(s); }
inline Variant Bool(bool b) { return Variant::fromBool(b); }
inline Variant O(const Obj& o) { return Variant::fromDispatch(o.get()); }

inline Variant Get(const Obj& o, DispId id, std::vector<Variant> args = {}) { return get(o.get(), id, std::move(args)); }
inline void Put(const Obj& o, DispId id, Variant v) { put(o.get(), id, std::move(v)); }
inline Variant Call(const Obj& o, DispId id, std::vector<Variant> args = {}) { return call(o.get(), id, std::move(args)); }
inline Obj GetObj(const Obj& o, DispId id, std::vector<Variant> args = {}) { return objectOf(Get(o, id, std::move(args))); }
inline Obj CallObj(const Obj& o, DispId id, std::vector<Variant> args = {}) { return objectOf(Call(o, id, std::move(args))); }

// The raised error of a failing call: (status, exception record).
struct Raised {
    HRESULT status;
    ExcepInfo info;
};
inline Raised invokeRaw(const Obj& o, DispId id, uint16_t flags, std::vector<Variant> args)
{
    Raised r{};
    Variant result;
    r.status = o->Invoke(id, flags, args, &result, &r.info);
    return r;
}

// Bytes of an object text written by hand from the record rules.
struct Bytes {
    std::string s;
    Bytes& marker(const std::string& key)
    {
        s += key + "\n";
        return *this;
    }
    Bytes& text(const std::string& key, const std::string& value)
    {
        s += key + value + "\n";
        return *this;
    }
    template <class T>
    Bytes& rec(const std::string& key, T value)
    {
        s += key;
        s.append(reinterpret_cast<const char*>(&value), sizeof value);
        s += "\n";
        return *this;
    }
    Bytes& b(const std::string& key, bool v) { return rec<int32_t>(key, v ? -1 : 0); }
};

inline std::string textOf(const Obj& control)
{
    auto block = host(control)->saveObjectText();
    return std::string(block.begin(), block.end());
}

// The collection record named name inside an object text.
inline std::string collectionRecord(const std::string& text, const std::string& name)
{
    std::string begin = "Begin Collection{\nName=" + name + "\n";
    auto from = text.find(begin);
    if (from == std::string::npos)
        return {};
    auto to = text.find("End Collection}\n", from);
    return text.substr(from, to + 16 - from);
}

} // namespace charttest
