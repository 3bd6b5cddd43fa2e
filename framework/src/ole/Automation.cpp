// Automation objects that are not controls.
#include "fw/ole/Automation.h"

namespace fw::ole {

Automation::Automation(const IID& dispatchIid, std::wstring source)
    : dispatchIid_(dispatchIid), source_(std::move(source)) {
    Server::LoadTypeInfo(dispatchIid_, info_.Put());
}

Automation::~Automation() = default;

STDMETHODIMP Automation::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(iid, out, {
        {IID_IUnknown, static_cast<IDispatch*>(this)},
        {IID_IDispatch, static_cast<IDispatch*>(this)},
        {dispatchIid_, static_cast<IDispatch*>(this)},
        {IID_ISupportErrorInfo, static_cast<ISupportErrorInfo*>(this)},
    });
}

STDMETHODIMP Automation::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = info_ ? 1 : 0;
    return S_OK;
}

STDMETHODIMP Automation::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !info_) return DISP_E_BADINDEX;
    *info = ComPtr<ITypeInfo>(info_).Detach();
    return S_OK;
}

STDMETHODIMP Automation::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    if (!info_) return DISP_E_UNKNOWNNAME;
    return info_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP Automation::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* excep, UINT*) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return InvokeMap(id, flags, params, result, excep);
}

STDMETHODIMP Automation::InterfaceSupportsErrorInfo(REFIID iid) {
    return (iid == dispatchIid_ || iid == IID_IDispatch) ? S_OK : S_FALSE;
}

}  // namespace fw::ole
