#include "platform/com/DispatchCall.h"

namespace platform::com {

int basicErrorOf(HRESULT status, const ExcepInfo& exception)
{
    if (status == DISP_E_EXCEPTION)
        return exception.wCode ? exception.wCode : 440;
    if (status == DISP_E_TYPEMISMATCH)
        return errTypeMismatch;
    if (status == DISP_E_OVERFLOW)
        return errOverflow;
    if (status == DISP_E_MEMBERNOTFOUND || status == DISP_E_UNKNOWNNAME)
        return 438;
    if (status == DISP_E_BADPARAMCOUNT || status == DISP_E_PARAMNOTOPTIONAL)
        return 450;
    if (status == CTL_E_SETNOTSUPPORTED)
        return 383;
    if (status == E_OUTOFMEMORY)
        return errOutOfMemory;
    return 440;
}

Variant invoke(IDispatch* object, DispId member, uint16_t flags, std::vector<Variant> args)
{
    if (!object)
        throw BasicError(errObjectNotSet);
    Variant result;
    ExcepInfo exception;
    HRESULT status = object->Invoke(member, flags, args, &result, &exception);
    if (failed(status)) {
        int number = basicErrorOf(status, exception);
        throw BasicError(number, status == DISP_E_EXCEPTION ? exception.description : std::string());
    }
    return result;
}

ComPtr<IDispatch> objectOf(const Variant& value)
{
    const Variant& v = value.deref();
    if (v.vt() != VT_DISPATCH || !v.dispatch())
        throw BasicError(errObjectNotSet);
    return ComPtr<IDispatch>::share(v.dispatch());
}

DispId dispIdOf(IDispatch* object, const std::string& name)
{
    std::vector<DispId> ids;
    if (!object || failed(object->GetIDsOfNames({name}, ids)) || ids.empty())
        throw BasicError(438);
    return ids[0];
}

} // namespace platform::com
