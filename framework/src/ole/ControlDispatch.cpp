// OLE control base: IDispatch over the dispatch map, class information,
// error information and the ambient properties of the site.
#include <olectl.h>
#include <algorithm>
#include <new>
#include <vector>
#include "fw/ole/Control.h"
#include "fw/ole/Text.h"

namespace fw::ole {

STDMETHODIMP Control::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

STDMETHODIMP Control::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *info = ComPtr<ITypeInfo>(dispatchInfo_).Detach();
    return S_OK;
}

STDMETHODIMP Control::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    return dispatchInfo_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP Control::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* excep, UINT*) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params) return E_INVALIDARG;
    for (const DispatchEntry& entry : DispatchMap()) {
        if (entry.id != id) continue;
        try {
            return InvokeEntry(entry, flags, params, result);
        } catch (const ControlError& error) {
            if (HRESULT_FACILITY(error.scode) != FACILITY_CONTROL) return error.scode;
            const ClassEntry* c = Server::Find(clsid_);
            ReportError(error, c ? Widen(c->progId) : std::wstring(), dispatchIid_, excep);
            return DISP_E_EXCEPTION;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;  // nothing may unwind into the container
        }
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Control::InvokeEntry(const DispatchEntry& entry, WORD flags, DISPPARAMS* params, VARIANT* result) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (!entry.put) return DISP_E_MEMBERNOTFOUND;
        if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        entry.put(*this, params->rgvarg[0]);
        return S_OK;
    }
    Variant scratch;
    if (!result) result = scratch.Get();
    VariantInit(result);
    if ((flags & DISPATCH_METHOD) && entry.call) {
        if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
        // rgvarg holds the arguments last to first.
        std::vector<VARIANT> args(params->rgvarg, params->rgvarg + params->cArgs);
        std::reverse(args.begin(), args.end());
        entry.call(*this, args, result);
        return S_OK;
    }
    if ((flags & DISPATCH_PROPERTYGET) && entry.get) {
        if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        entry.get(*this, result);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP Control::GetClassInfo(ITypeInfo** info) { return Server::LoadTypeInfo(clsid_, info); }

STDMETHODIMP Control::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = eventIid_;
    return S_OK;
}

STDMETHODIMP Control::InterfaceSupportsErrorInfo(REFIID iid) {
    return (iid == dispatchIid_ || iid == IID_IDispatch) ? S_OK : S_FALSE;
}

HRESULT Control::AmbientProperty(DISPID id, VARIANT* value) const {
    if (!site_) return E_FAIL;
    ComPtr<IDispatch> ambient;
    if (FAILED(site_.As(ambient))) return E_NOINTERFACE;
    DISPPARAMS none{};
    return ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value,
                           nullptr, nullptr);
}

bool Control::AmbientUserMode() const {
    Variant v;
    if (FAILED(AmbientProperty(DISPID_AMBIENT_USERMODE, v.Get()))) return true;
    Variant b;
    if (FAILED(VariantChangeType(b.Get(), v.Get(), 0, VT_BOOL))) return true;
    return b.Get()->boolVal != VARIANT_FALSE;
}

std::wstring Control::AmbientDisplayName() const {
    Variant v;
    if (FAILED(AmbientProperty(DISPID_AMBIENT_DISPLAYNAME, v.Get()))) return {};
    return v.Str();
}

}  // namespace fw::ole
