// OLE control base: the event connection point. Sinks sit in one array
// indexed by cookie - 1; an unadvised slot stays empty so cookies are never
// reused while the control lives.
#include <vector>
#include "fw/ole/Control.h"

namespace fw::ole {

STDMETHODIMP Control::EnumConnectionPoints(IEnumConnectionPoints** list) {
    if (!list) return E_POINTER;
    *list = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (iid != eventIid_) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

void Control::FireEvent(DISPID id, std::initializer_list<Variant> args) {
    if (frozen_ > 0) return;
    std::vector<VARIANT> reversed;
    reversed.reserve(args.size());
    for (auto it = std::rbegin(args); it != std::rend(args); ++it) reversed.push_back(*it->Get());
    DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
    events_.Fire(id, params);
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
    *list = nullptr;
    return E_NOTIMPL;
}

void Control::ConnectionPoint::Fire(DISPID id, DISPPARAMS& params) {
    // A handler may unadvise or release the control: work on a copy.
    std::vector<ComPtr<IDispatch>> sinks = sinks_;
    ComPtr<IDispatch> keepAlive(static_cast<IDispatch*>(&owner_));
    for (const auto& sink : sinks) {
        if (!sink) continue;
        Variant result;
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Get(), nullptr, nullptr);
    }
}

}  // namespace fw::ole
