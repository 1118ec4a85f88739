#pragma once
// Late binding driven by a static member table per class: name, DISPID,
// property or method, value type, read-only flag and the functions that do
// the work. The same table answers names to DISPIDs.
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "lumigra/DispIds.h"
#include "lumigra/Errors.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

using platform::com::DispId;
using platform::com::ExcepInfo;
using platform::com::HRESULT;
using platform::com::VarType;
using platform::com::Variant;
using Args = std::vector<Variant>;

// Raised inside a member; becomes the dispatch exception of its code.
class RaisedError : public std::exception {
public:
    explicit RaisedError(int code) : code_(code) {}
    int code() const { return code_; }
    const char* what() const noexcept override { return errorText(code_); }

private:
    int code_;
};
// An argument the automation layer could not convert.
struct TypeMismatch : std::exception {};

[[noreturn]] inline void raiseError(int code) { throw RaisedError(code); }

class Dispatchable;
class LgObject;

enum class MemberKind : uint8_t { Property, Method };

struct Member {
    const char* name;
    DispId id;
    MemberKind kind;
    VarType type;
    bool readOnly;
    Variant (*get)(Dispatchable&, Args&); // property get or method call
    void (*put)(Dispatchable&, Args&, const Variant&);
    uint8_t argc = 0;     // required arguments of get / method (indices of a put)
    uint8_t optional = 0; // optional arguments after them
    // A reference property: the kind it takes (0 any chart kind, -1 not a
    // reference) and its current target read without creating one, for the
    // property sheet's lists.
    int32_t refKind = -1;
    LgObject* (*peek)(Dispatchable&) = nullptr;
};

class MemberTable {
public:
    MemberTable(std::initializer_list<const std::vector<Member>*> parts);
    const Member* find(DispId id) const;
    const Member* find(std::string_view name) const; // case-insensitive
    const std::vector<Member>& all() const { return members_; }

private:
    std::vector<Member> members_;
};

class Dispatchable {
public:
    virtual ~Dispatchable() = default;
    virtual const MemberTable& members() const = 0;
    // Source of a raised error.
    virtual std::string errorSource() const = 0;
    // Chart objects raise 1008 for a read-only member; the control reports
    // the framework's status for a property that cannot be set.
    virtual bool raisesReadOnly() const { return true; }
    // Runs before every member (a detached object refuses).
    virtual void checkAlive() const {}

    HRESULT dispatchInvoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception);
    HRESULT dispatchIdsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids);

    // Last error raised, kept for the caller's exception record.
    int pendingCode = 0;
};

// Argument conversions as the dispatch layer does them (TypeMismatch on failure).
double argDouble(const Variant& v);
int32_t argI4(const Variant& v);
int16_t argI2(const Variant& v);
bool argBool(const Variant& v);
std::string argText(const Variant& v);
// Optional argument: missing or absent gives the default.
inline bool isOmitted(const Args& args, size_t i) { return i >= args.size() || args[i].deref().isMissing(); }

} // namespace lumigra
