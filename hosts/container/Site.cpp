// One control on the form: its client and in-place site, its ambient
// properties, its event connection, and calls into it by member name.
#include <olectl.h>
#include "Container.h"
#include "SiteParts.h"

namespace container {

ControlSite::ControlSite(Host& host, std::wstring name, std::wstring progId, RECT where)
    : host_(host), name_(std::move(name)), progId_(std::move(progId)), where_(where) {}

ControlSite::~ControlSite() = default;

HRESULT ControlSite::Create(const std::vector<FormProperty>* properties) {
    CLSID clsid;
    // "{...}" names a class by its CLSID: classes a test program serves
    // itself are in no registry.
    HRESULT hr = progId_.starts_with(L"{") ? CLSIDFromString(progId_.c_str(), &clsid)
                                           : CLSIDFromProgID(progId_.c_str(), &clsid);
    if (FAILED(hr)) return hr;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.PutVoid());
    if (FAILED(hr)) return hr;
    object_->GetMiscStatus(DVASPECT_CONTENT, &misc_);
    const bool siteFirst = (misc_ & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst) object_->SetClientSite(this);

    ComPtr<IPersistPropertyBag> persistBag;
    ComPtr<IPersistStreamInit> persistStream;
    if (SUCCEEDED(object_.As(persistBag))) {
        if (properties) {
            ComPtr<TextBag> bag = ComPtr<TextBag>::Attach(new TextBag(*properties));
            hr = persistBag->Load(bag.Get(), nullptr);
        } else {
            hr = persistBag->InitNew();
        }
    } else if (SUCCEEDED(object_.As(persistStream))) {
        hr = persistStream->InitNew();
    }
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    extender_ = ComPtr<Extender>::Attach(new Extender(*this));
    if (!siteFirst) object_->SetClientSite(this);
    object_->SetHostNames(L"container", name_.c_str());
    if (where_.right <= where_.left || where_.bottom <= where_.top) {
        // No size on the form: the control's own extent (HIMETRIC) at 96 dpi.
        SIZEL extent{846, 846};
        object_->GetExtent(DVASPECT_CONTENT, &extent);
        // A damaged extent must not make a window of no or absurd size.
        auto pixels = [](LONG himetric) {
            const int n = MulDiv(himetric, 96, 2540);
            return n > 0 && n <= 4000 ? n : 32;
        };
        where_.right = where_.left + pixels(extent.cx);
        where_.bottom = where_.top + pixels(extent.cy);
    }
    if (FAILED(hr = object_.As(dispatch_)) || FAILED(hr = ConnectEvents())) {
        Close();
        return hr;
    }
    const bool shows = !(host_.UserMode() && (misc_ & OLEMISC_INVISIBLEATRUNTIME));
    if (shows) object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, host_.Handle(), &where_);
    return S_OK;
}

// The event interface comes from the control's own class information: the
// default source interface of its coclass.
HRESULT ControlSite::ConnectEvents() {
    ComPtr<IProvideClassInfo> classInfo;
    if (FAILED(object_.As(classInfo))) return S_OK;  // a control without events
    ComPtr<ITypeInfo> coclass;
    HRESULT hr = classInfo->GetClassInfo(coclass.Put());
    if (FAILED(hr)) return hr;
    TYPEATTR* attr = nullptr;
    if (FAILED(hr = coclass->GetTypeAttr(&attr))) return hr;
    const WORD count = attr->cImplTypes;
    coclass->ReleaseTypeAttr(attr);
    ComPtr<ITypeInfo> events;
    for (UINT i = 0; i < count && !events; ++i) {
        INT flags = 0;
        HREFTYPE ref;
        if (SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)) &&
            (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) &&
            SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref)))
            coclass->GetRefTypeInfo(ref, events.Put());
    }
    if (!events) return S_OK;
    if (FAILED(hr = events->GetTypeAttr(&attr))) return hr;
    const IID eventIid = attr->guid;
    events->ReleaseTypeAttr(attr);

    ComPtr<IConnectionPointContainer> points;
    if (FAILED(hr = object_.As(points))) return hr;
    if (FAILED(hr = points->FindConnectionPoint(eventIid, eventPoint_.Put()))) return hr;
    sink_ = ComPtr<EventSink>::Attach(new EventSink(host_, name_, eventIid, events));
    hr = eventPoint_->Advise(static_cast<IDispatch*>(sink_.Get()), &eventCookie_);
    if (FAILED(hr)) eventPoint_.Reset();
    return hr;
}

void ControlSite::Close() {
    if (extender_) extender_->Disconnect();
    extender_.Reset();
    if (eventPoint_) eventPoint_->Unadvise(eventCookie_);
    eventPoint_.Reset();
    if (sink_) sink_->Disconnect();
    sink_.Reset();
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    dispatch_.Reset();
    object_.Reset();
}

HRESULT ControlSite::SaveProperties(std::vector<FormProperty>& properties) {
    ComPtr<IPersistPropertyBag> persist;
    HRESULT hr = object_.As(persist);
    if (FAILED(hr)) return hr;
    ComPtr<TextBag> bag = ComPtr<TextBag>::Attach(new TextBag({}));
    hr = persist->Save(bag.Get(), TRUE, TRUE);
    if (SUCCEEDED(hr)) properties = bag->Properties();
    return hr;
}

void ControlSite::AmbientChanged(DISPID id) {
    ComPtr<IOleControl> control;
    if (object_ && SUCCEEDED(object_.As(control))) control->OnAmbientPropertyChange(id);
}

void ControlSite::FreezeEvents(bool freeze) {
    ComPtr<IOleControl> control;
    if (object_ && SUCCEEDED(object_.As(control))) control->FreezeEvents(freeze);
}

CallResult InvokeMember(IDispatch* object, const std::wstring& member, WORD flags, std::vector<Variant>& args) {
    CallResult r;
    if (!object) return r;
    DISPID id;
    LPOLESTR name = const_cast<LPOLESTR>(member.c_str());
    if (FAILED(r.hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return r;
    std::vector<VARIANT> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (put) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO excep{};
    SetErrorInfo(0, nullptr);
    r.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, put ? nullptr : r.value.Get(), &excep,
                          nullptr);
    if (r.hr == DISP_E_EXCEPTION) {
        if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
        r.scode = excep.scode;
        if (excep.bstrDescription) r.description = excep.bstrDescription;
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.Put()) == S_OK && info) {
            BSTR text = nullptr;
            if (SUCCEEDED(info->GetDescription(&text)) && text) r.errorInfo = text;
            SysFreeString(text);
        }
    }
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    return r;
}

CallResult ControlSite::Invoke(const std::wstring& member, WORD flags, std::vector<Variant>& args) {
    CallResult r = InvokeMember(dispatch_.Get(), member, flags, args);
    if (r.hr != DISP_E_UNKNOWNNAME || !extender_) return r;
    return InvokeMember(extender_.Get(), member, flags, args);
}

HRESULT ControlSite::DoVerb(LONG verb) {
    if (!object_) return E_UNEXPECTED;
    return object_->DoVerb(verb, nullptr, this, 0, host_.Handle(), &where_);
}

void ControlSite::MoveTo(const RECT& where) {
    where_ = where;
    ComPtr<IOleInPlaceObject> inPlace;
    if (object_ && SUCCEEDED(object_.As(inPlace))) inPlace->SetObjectRects(&where_, &where_);
}

CallResult ControlSite::Get(const std::wstring& member) {
    std::vector<Variant> none;
    return Invoke(member, DISPATCH_PROPERTYGET, none);
}

CallResult ControlSite::Put(const std::wstring& member, const Variant& value) {
    std::vector<Variant> args{value};
    return Invoke(member, DISPATCH_PROPERTYPUT, args);
}

CallResult ControlSite::Call(const std::wstring& member, std::vector<Variant> args) {
    return Invoke(member, DISPATCH_METHOD, args);
}

// --- COM identity -----------------------------------------------------------

STDMETHODIMP ControlSite::QueryInterface(REFIID iid, void** out) {
    return fw::ole::QueryInterfaceTable(iid, out, {
        {IID_IUnknown, static_cast<IOleClientSite*>(this)},
        {IID_IOleClientSite, static_cast<IOleClientSite*>(this)},
        {IID_IOleWindow, static_cast<IOleInPlaceSite*>(this)},
        {IID_IOleInPlaceSite, static_cast<IOleInPlaceSite*>(this)},
        {IID_IOleControlSite, static_cast<IOleControlSite*>(this)},
        {IID_IDispatch, static_cast<IDispatch*>(this)},  // the ambient properties
    });
}

STDMETHODIMP_(ULONG) ControlSite::AddRef() { return refs_.AddRef(); }
STDMETHODIMP_(ULONG) ControlSite::Release() { return refs_.Release(this); }

// --- IOleClientSite ---------------------------------------------------------

STDMETHODIMP ControlSite::SaveObject() { return S_OK; }
STDMETHODIMP ControlSite::GetMoniker(DWORD, DWORD, IMoniker** mk) {
    if (mk) *mk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlSite::GetContainer(IOleContainer** c) {
    if (!c) return E_POINTER;
    *c = host_.Container();
    if (!*c) return E_NOINTERFACE;
    (*c)->AddRef();
    return S_OK;
}
STDMETHODIMP ControlSite::ShowObject() { return S_OK; }
STDMETHODIMP ControlSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP ControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// --- IOleInPlaceSite --------------------------------------------------------

STDMETHODIMP ControlSite::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = host_.Handle();
    return *hwnd ? S_OK : E_FAIL;
}
STDMETHODIMP ControlSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP ControlSite::OnInPlaceActivate() { return S_OK; }
STDMETHODIMP ControlSite::OnUIActivate() { return S_OK; }

// The stand-in has no frame or document windows, no menus and no toolbars.
STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                           LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    if (frame) *frame = nullptr;
    if (doc) *doc = nullptr;
    if (pos) *pos = where_;
    if (clip) *clip = where_;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = host_.Handle();
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}
STDMETHODIMP ControlSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP ControlSite::OnInPlaceDeactivate() { return S_OK; }
STDMETHODIMP ControlSite::DiscardUndoState() { return S_OK; }
STDMETHODIMP ControlSite::DeactivateAndUndo() { return S_OK; }
STDMETHODIMP ControlSite::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    where_ = *pos;
    return S_OK;
}

// --- IOleControlSite --------------------------------------------------------

STDMETHODIMP ControlSite::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP ControlSite::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::GetExtendedControl(IDispatch** extender) {
    if (!extender) return E_POINTER;
    *extender = ComPtr<IDispatch>(extender_.Get()).Detach();
    return *extender ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP ControlSite::TransformCoords(POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP ControlSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }
STDMETHODIMP ControlSite::OnFocus(BOOL) { return S_OK; }
STDMETHODIMP ControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

// --- ambient properties -----------------------------------------------------

STDMETHODIMP ControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        result->vt = VT_BOOL;
        result->boolVal = host_.UserMode() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_UIDEAD:
        result->vt = VT_BOOL;
        result->boolVal = host_.BreakMode() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(name_.c_str());
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace container
