// The generic event sink, the extender and the text property bag.
#include "SiteParts.h"
#include <algorithm>
#include <cwctype>
#include "fw/ole/Dispatch.h"
#include "fw/ole/Enumerator.h"

namespace container {

EventSink::EventSink(Host& host, std::wstring control, const IID& eventIid, ComPtr<ITypeInfo> eventInfo)
    : host_(&host), control_(std::move(control)), eventIid_(eventIid), eventInfo_(std::move(eventInfo)) {}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IDispatch, this}, {eventIid_, this}});
}
STDMETHODIMP_(ULONG) EventSink::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) EventSink::Release() { return refs_.Release(this); }

STDMETHODIMP EventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = eventInfo_ ? 1 : 0;
    return S_OK;
}

STDMETHODIMP EventSink::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0 || !eventInfo_) return DISP_E_BADINDEX;
    *info = ComPtr<ITypeInfo>(eventInfo_).Detach();
    return S_OK;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!eventInfo_) return DISP_E_UNKNOWNNAME;
    return eventInfo_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO*, UINT*) {
    if (result) VariantInit(result);
    if (!host_) return S_OK;
    EventRecord record{control_, L"#" + std::to_wstring(id), {}, GetCurrentThreadId()};
    BSTR name = nullptr;
    UINT found = 0;
    if (eventInfo_ && SUCCEEDED(eventInfo_->GetNames(id, &name, 1, &found)) && found == 1) {
        record.event = name;
        SysFreeString(name);
    }
    // By-reference arguments point into the caller's frame: keep values.
    if (params)
        for (UINT i = params->cArgs; i-- > 0;) {
            Variant arg;
            VariantCopyInd(arg.Get(), &params->rgvarg[i]);
            record.args.push_back(arg);
        }
    host_->RecordEvent(record);
    // What a handler stored in a by-reference argument goes back to the control.
    if (params)
        for (UINT i = 0; i < params->cArgs && i < record.args.size(); ++i) {
            VARIANT& slot = params->rgvarg[params->cArgs - 1 - i];
            if (!(slot.vt & VT_BYREF)) continue;
            try {
                fw::ole::StoreByRef(slot, *record.args[i].Get());
            } catch (const fw::ole::ControlError&) {
                // A value the control's variable cannot take leaves it as it was.
            }
        }
    return S_OK;
}

// --- the extender ---------------------------------------------------------------

namespace {
struct ExtenderMember {
    const wchar_t* name;
    DISPID id;
};
constexpr ExtenderMember kExtenderMembers[] = {
    {L"Name", 1}, {L"Object", 2}, {L"Left", 3}, {L"Top", 4}, {L"Width", 5}, {L"Height", 6},
};
}  // namespace

STDMETHODIMP Extender::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IDispatch, this}});
}
STDMETHODIMP_(ULONG) Extender::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) Extender::Release() { return refs_.Release(this); }


STDMETHODIMP Extender::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count != 1) return DISP_E_UNKNOWNNAME;
    for (const ExtenderMember& m : kExtenderMembers)
        if (_wcsicmp(m.name, names[0]) == 0) {
            ids[0] = m.id;
            return S_OK;
        }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP Extender::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO*, UINT*) {
    if (!site_) return E_UNEXPECTED;
    if (!params) return E_INVALIDARG;
    RECT where = site_->Where();
    const LONG width = where.right - where.left, height = where.bottom - where.top;
    if (flags & DISPATCH_PROPERTYPUT) {
        if (params->cArgs != 1 || id < 3) return DISP_E_MEMBERNOTFOUND;
        Variant value;
        if (FAILED(VariantChangeType(value.Get(), &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
        const LONG n = value.Get()->lVal;
        switch (id) {
        case 3: where = RECT{n, where.top, n + width, where.bottom}; break;
        case 4: where = RECT{where.left, n, where.right, n + height}; break;
        case 5: where.right = where.left + n; break;
        default: where.bottom = where.top + n; break;
        }
        site_->MoveTo(where);
        return S_OK;
    }
    if (!(flags & DISPATCH_PROPERTYGET) || params->cArgs != 0) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
    case 1:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(site_->Name().c_str());
        return S_OK;
    case 2:
        result->vt = VT_DISPATCH;
        return site_->Object() ? site_->Object()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&result->pdispVal))
                               : E_UNEXPECTED;
    case 3: case 4: case 5: case 6:
        result->vt = VT_I4;
        result->lVal = id == 3 ? where.left : id == 4 ? where.top : id == 5 ? width : height;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// --- the form as a container ---------------------------------------------------

STDMETHODIMP FormObjects::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {
        {IID_IUnknown, this}, {IID_IParseDisplayName, this}, {IID_IOleContainer, this}});
}
STDMETHODIMP_(ULONG) FormObjects::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) FormObjects::Release() { return refs_.Release(this); }

STDMETHODIMP FormObjects::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG* eaten, IMoniker** out) {
    if (eaten) *eaten = 0;
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP FormObjects::EnumObjects(DWORD, IEnumUnknown** out) {
    if (!out) return E_POINTER;
    std::vector<IUnknown*> objects;
    if (host_)
        for (const auto& site : host_->Sites())
            if (site->Object()) objects.push_back(site->Object());
    *out = new (std::nothrow) fw::ole::Enumerator<IEnumUnknown, IUnknown*, IID_IEnumUnknown>(std::move(objects));
    return *out ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP FormObjects::LockContainer(BOOL) { return S_OK; }

STDMETHODIMP TextBag::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IPropertyBag, this}});
}
STDMETHODIMP_(ULONG) TextBag::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) TextBag::Release() { return refs_.Release(this); }

namespace {
bool SameName(const std::string& a, const std::wstring& b) {
    std::wstring wa = FromUtf8(a);
    return wa.size() == b.size() &&
           std::equal(wa.begin(), wa.end(), b.begin(), [](wchar_t x, wchar_t y) { return towlower(x) == towlower(y); });
}
}  // namespace

std::vector<FormProperty>::iterator TextBag::Find(LPCOLESTR name) {
    return std::find_if(properties_.begin(), properties_.end(),
                        [&](const FormProperty& p) { return SameName(p.name, name); });
}

STDMETHODIMP TextBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    auto it = Find(name);
    if (it == properties_.end()) return E_INVALIDARG;
    const VARTYPE wanted = value->vt;
    Variant text(FromUtf8(it->value));
    VariantInit(value);
    if (wanted == VT_EMPTY || wanted == VT_BSTR) return VariantCopy(value, text.Get());
    return VariantChangeType(value, text.Get(), 0, wanted);
}

STDMETHODIMP TextBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    Variant text;
    HRESULT hr = VariantChangeType(text.Get(), value, 0, VT_BSTR);
    if (FAILED(hr)) return hr;
    const std::string utf8 = ToUtf8(text.Str());
    auto it = Find(name);
    if (it != properties_.end())
        it->value = utf8;
    else
        properties_.push_back({ToUtf8(name), utf8});
    return S_OK;
}

}  // namespace container
