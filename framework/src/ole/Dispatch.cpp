// IDispatch::Invoke over a dispatch map, shared by controls and automation
// objects: flags and arguments sorted out, every throw turned into a status.
#include "fw/ole/Dispatch.h"
#include <algorithm>
#include <vector>

namespace fw::ole {

void DispatchTarget::SetNotSupported() { ThrowError(kCtlSetNotSupported); }

HRESULT DispatchTarget::InvokeMap(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* excep) {
    if (!params) return E_INVALIDARG;
    for (const DispatchEntry& entry : DispatchMap()) {
        if (entry.id != id) continue;
        try {
            return InvokeEntry(entry, flags, params, result);
        } catch (...) {
            // Nothing may unwind into the caller, and nothing thrown may leak.
            const ControlError error = CurrentError();
            if (HRESULT_FACILITY(error.scode) != FACILITY_CONTROL && error.description.empty())
                return error.scode;
            ReportError(error, ErrorSource(), ErrorInterface(), excep);
            return DISP_E_EXCEPTION;
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT DispatchTarget::InvokeEntry(const DispatchEntry& entry, WORD flags, DISPPARAMS* params,
                                    VARIANT* result) {
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    // Only the new value of a put may be named (DISPID_PROPERTYPUT).
    if (params->cNamedArgs > (put ? 1u : 0u)) return DISP_E_NONAMEDARGS;
    if (put && params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
        return DISP_E_PARAMNOTFOUND;
    if (params->cArgs && !params->rgvarg) return E_INVALIDARG;
    // rgvarg holds the arguments last to first; a put's value is rgvarg[0].
    std::vector<VARIANT> args(params->rgvarg, params->rgvarg + params->cArgs);
    std::reverse(args.begin(), args.end());
    if (put) {
        if (!entry.put) return DISP_E_MEMBERNOTFOUND;
        if (args.empty()) return DISP_E_BADPARAMCOUNT;
        entry.put(*this, args);
        return S_OK;
    }
    Variant scratch;
    if (!result) result = scratch.Get();
    VariantInit(result);
    if ((flags & DISPATCH_METHOD) && entry.call) {
        entry.call(*this, args, result);
        return S_OK;
    }
    if ((flags & DISPATCH_PROPERTYGET) && entry.get) {
        entry.get(*this, args, result);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace fw::ole
