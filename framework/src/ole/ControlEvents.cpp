// OLE control base: the event connection point. Sinks sit in one array
// indexed by cookie - 1; an unadvised slot stays empty so cookies are never
// reused while the control lives.
#include <algorithm>
#include <vector>
#include "fw/ole/Control.h"
#include "fw/ole/Enumerator.h"

namespace fw::ole {


STDMETHODIMP Control::EnumConnectionPoints(IEnumConnectionPoints** list) {
    if (!list) return E_POINTER;
    *list = new (std::nothrow) Enumerator<IEnumConnectionPoints, IConnectionPoint*, IID_IEnumConnectionPoints>(
        {&events_});
    return *list ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP Control::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != eventIid_) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

FireResult Control::FireEvent(DISPID id, std::initializer_list<Variant> args) {
    std::vector<Variant> values(args);
    return FireEvent(id, values, {});
}

FireResult Control::FireEvent(DISPID id, std::span<Variant> args, std::initializer_list<size_t> byRef) {
    if (frozen_ > 0) return {S_OK, {}, false};
    // rgvarg runs last to first; a by-reference slot points at the value
    // inside args[i], so what a sink stores lands there.
    std::vector<VARIANT> reversed(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        VARIANT& slot = reversed[args.size() - 1 - i];
        slot = *args[i].Get();
        if (std::find(byRef.begin(), byRef.end(), i) == byRef.end()) continue;
        VARIANT* value = args[i].Get();
        if (value->vt == VT_EMPTY || (value->vt & (VT_BYREF | VT_ARRAY))) {
            slot.vt = VT_BYREF | VT_VARIANT;
            slot.pvarVal = value;
        } else {
            slot.vt = VT_BYREF | value->vt;
            slot.byref = &value->lVal;  // every member of the value union starts here
        }
    }
    DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
    return events_.Fire(id, params);
}

STDMETHODIMP Control::ConnectionPoint::QueryInterface(REFIID iid, void** out) {
    return QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IConnectionPoint, this}});
}

STDMETHODIMP Control::ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = owner_.eventIid_;
    return S_OK;
}

STDMETHODIMP Control::ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** cpc) {
    if (!cpc) return E_POINTER;
    *cpc = static_cast<IConnectionPointContainer*>(&owner_);
    owner_.AddRef();
    return S_OK;
}

STDMETHODIMP Control::ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(owner_.eventIid_, dispatch.PutVoid())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, dispatch.PutVoid())))
        return CONNECT_E_CANNOTCONNECT;
    sinks_.push_back(std::move(dispatch));
    *cookie = DWORD(sinks_.size());
    return S_OK;
}

STDMETHODIMP Control::ConnectionPoint::Unadvise(DWORD cookie) {
    if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
    sinks_[cookie - 1].Reset();
    return S_OK;
}

STDMETHODIMP Control::ConnectionPoint::EnumConnections(IEnumConnections** list) {
    if (!list) return E_POINTER;
    std::vector<CONNECTDATA> connections;
    for (size_t i = 0; i < sinks_.size(); ++i)
        if (sinks_[i]) connections.push_back({sinks_[i].Get(), DWORD(i + 1)});
    *list = new (std::nothrow) Enumerator<IEnumConnections, CONNECTDATA, IID_IEnumConnections>(std::move(connections));
    return *list ? S_OK : E_OUTOFMEMORY;
}

FireResult Control::ConnectionPoint::Fire(DISPID id, DISPPARAMS& params) {
    // A handler may unadvise or release the control: work on a copy.
    std::vector<ComPtr<IDispatch>> sinks = sinks_;
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(&owner_));
    FireResult outcome;
    for (const auto& sink : sinks) {
        if (!sink) continue;
        Variant result;
        EXCEPINFO excep{};
        SetErrorInfo(0, nullptr);
        HRESULT hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Get(),
                                  &excep, nullptr);
        if (hr == DISP_E_EXCEPTION && excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
        // The first failure is the one reported; later sinks still hear the event.
        if (FAILED(hr) && outcome.Ok()) {
            outcome.hr = hr == DISP_E_EXCEPTION && FAILED(excep.scode) ? excep.scode : hr;
            if (excep.bstrDescription) {
                outcome.description.assign(excep.bstrDescription, SysStringLen(excep.bstrDescription));
            } else {
                ComPtr<IErrorInfo> info;
                BSTR text = nullptr;
                if (GetErrorInfo(0, info.Put()) == S_OK && info && SUCCEEDED(info->GetDescription(&text)) && text)
                    outcome.description.assign(text, SysStringLen(text));
                SysFreeString(text);
            }
        }
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
    }
    return outcome;
}

}  // namespace fw::ole
