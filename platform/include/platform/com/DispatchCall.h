#pragma once
// Late-bound calls from the host: a failed call becomes a Basic error whose
// number is the exception's code and whose description is its text.
#include <initializer_list>
#include <string>

#include "platform/BasicError.h"
#include "platform/com/Dispatch.h"

namespace platform::com {

// Basic error number for a failed dispatch status (13 type mismatch, 438
// member missing, 450 wrong argument count, 383 read-only, ...).
int basicErrorOf(HRESULT status, const ExcepInfo& exception);

// Invokes and throws platform::BasicError on failure.
Variant invoke(IDispatch* object, DispId member, uint16_t flags, std::vector<Variant> args = {});
inline Variant get(IDispatch* object, DispId member, std::vector<Variant> args = {})
{
    return invoke(object, member, DISPATCH_PROPERTYGET, std::move(args));
}
inline void put(IDispatch* object, DispId member, Variant value)
{
    invoke(object, member, DISPATCH_PROPERTYPUT, {std::move(value)});
}
inline Variant call(IDispatch* object, DispId member, std::vector<Variant> args = {})
{
    return invoke(object, member, DISPATCH_METHOD, std::move(args));
}
// The object a call returned (throws error 91 when it returned none).
ComPtr<IDispatch> objectOf(const Variant& value);
DispId dispIdOf(IDispatch* object, const std::string& name);

} // namespace platform::com
