#include "model/Dispatchable.h"

#include <cctype>
#include <new>

namespace lumigra {

using namespace platform::com;

MemberTable::MemberTable(std::initializer_list<const std::vector<Member>*> parts)
{
    for (auto* part : parts)
        members_.insert(members_.end(), part->begin(), part->end());
}

const Member* MemberTable::find(DispId id) const
{
    for (auto& m : members_)
        if (m.id == id)
            return &m;
    return nullptr;
}

const Member* MemberTable::find(std::string_view name) const
{
    for (auto& m : members_) {
        std::string_view n(m.name);
        if (n.size() != name.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < n.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(n[i])) == std::tolower(static_cast<unsigned char>(name[i]));
        if (same)
            return &m;
    }
    return nullptr;
}

HRESULT Dispatchable::dispatchIdsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids)
{
    ids.assign(names.size(), DISPID_UNKNOWN);
    if (names.empty())
        return S_OK;
    const Member* m = members().find(names[0]);
    if (!m)
        return DISP_E_UNKNOWNNAME;
    ids[0] = m->id;
    // Named arguments are not supported: the members take positional ones.
    return names.size() > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT Dispatchable::dispatchInvoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception)
{
    pendingCode = 0;
    const Member* m = members().find(id);
    if (!m)
        return DISP_E_MEMBERNOTFOUND;
    bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    try {
        checkAlive();
        if (isPut) {
            if (m->kind != MemberKind::Property)
                return DISP_E_MEMBERNOTFOUND;
            if (args.size() != static_cast<size_t>(m->argc) + 1)
                return DISP_E_BADPARAMCOUNT;
            if (m->readOnly || !m->put) {
                if (!raisesReadOnly())
                    return CTL_E_SETNOTSUPPORTED;
                raiseError(lgErrReadOnly);
            }
            Variant value = args.back().deref();
            Args index(args.begin(), args.end() - 1);
            m->put(*this, index, value);
            return S_OK;
        }
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        if (args.size() < m->argc || args.size() > static_cast<size_t>(m->argc) + m->optional) {
            return args.size() < m->argc ? DISP_E_PARAMNOTOPTIONAL : DISP_E_BADPARAMCOUNT;
        }
        Variant value = m->get(*this, args);
        if (result)
            *result = std::move(value);
        return S_OK;
    } catch (const TypeMismatch&) {
        return DISP_E_TYPEMISMATCH;
    } catch (const RaisedError& e) {
        pendingCode = e.code();
    } catch (const std::bad_alloc&) {
        pendingCode = lgErrOutOfMemory;
    } catch (const std::length_error&) {
        pendingCode = lgErrOutOfMemory;
    }
    if (exception) {
        exception->wCode = static_cast<uint16_t>(pendingCode);
        exception->description = errorText(pendingCode);
        std::string source = errorSource();
        exception->source = source.empty() ? "Undefined" : source;
        exception->scode = errorStatus(pendingCode);
    }
    return DISP_E_EXCEPTION;
}

double argDouble(const Variant& v)
{
    auto x = v.toDouble();
    if (!x)
        throw TypeMismatch();
    return *x;
}

int32_t argI4(const Variant& v)
{
    auto x = v.toI4();
    if (!x)
        throw TypeMismatch();
    return *x;
}

int16_t argI2(const Variant& v)
{
    auto x = v.toI2();
    if (!x)
        throw TypeMismatch();
    return *x;
}

bool argBool(const Variant& v)
{
    auto x = v.toBool();
    if (!x)
        throw TypeMismatch();
    return *x;
}

std::string argText(const Variant& v)
{
    auto x = v.toText();
    if (!x)
        throw TypeMismatch();
    return *x;
}

} // namespace lumigra
