// OLE control base: identity, the OLE object, control, in-place and view
// interfaces, and the control's window.
#include "fw/ole/Control.h"
#include <olectl.h>
#include <exception>
#include "fw/ole/Enumerator.h"
#include "fw/ole/Text.h"

namespace fw::ole {

namespace {

// Private messages of control windows, unique in the process.
UINT HandOverMessage() {
    static const UINT id = RegisterWindowMessageA("fw.ole.Control.HandOver");
    return id;
}
UINT DeleteMessage() {
    static const UINT id = RegisterWindowMessageA("fw.ole.Control.Delete");
    return id;
}

struct HandOverRequest {
    const std::function<void()>* call;
    std::exception_ptr failure;
    bool ran = false;
};

Control::CloseHook g_closeHook = nullptr;

}  // namespace

Control::Control(const CLSID& clsid, const IID& dispatchIid, const IID& eventIid)
    : clsid_(clsid), dispatchIid_(dispatchIid), eventIid_(eventIid) {}

Control::~Control() {
    events_.Clear();
    Destroy();
}

HRESULT Control::Initialize() {
    HRESULT hr = Server::LoadTypeInfo(dispatchIid_, dispatchInfo_.Put());
    if (FAILED(hr)) return hr;
    if (!fw::Window::RegisterClass(Server::Module(), kControlWindowClass, CS_HREDRAW | CS_VREDRAW,
                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return E_FAIL;
    // Message-only until a container activates us: workers can always reach
    // the control's thread through it, sited or not.
    if (!Create(Server::Module(), kControlWindowClass, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                0, HWND_MESSAGE))
        return E_FAIL;
    created_ = true;
    return S_OK;
}

STDMETHODIMP Control::QueryInterface(REFIID iid, void** out) {
    IPersistStreamInit* persistStream = this;
    return QueryInterfaceTable(iid, out, {
        {IID_IUnknown, static_cast<IDispatch*>(this)},
        {IID_IDispatch, static_cast<IDispatch*>(this)},
        {dispatchIid_, static_cast<IDispatch*>(this)},
        {IID_IOleObject, static_cast<IOleObject*>(this)},
        {IID_IOleControl, static_cast<IOleControl*>(this)},
        {IID_IOleWindow, static_cast<IOleInPlaceObject*>(this)},
        {IID_IOleInPlaceObject, static_cast<IOleInPlaceObject*>(this)},
        {IID_IOleInPlaceActiveObject, static_cast<IOleInPlaceActiveObject*>(this)},
        {IID_IViewObject, static_cast<IViewObject2*>(this)},
        {IID_IViewObject2, static_cast<IViewObject2*>(this)},
        {IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
        {IID_IProvideClassInfo, static_cast<IProvideClassInfo2*>(this)},
        {IID_IProvideClassInfo2, static_cast<IProvideClassInfo2*>(this)},
        {IID_IPersist, persistStream},
        // IPersistStream's methods are IPersistStreamInit's first four.
        {IID_IPersistStream, persistStream},
        {IID_IPersistStreamInit, persistStream},
        {IID_IPersistPropertyBag, static_cast<IPersistPropertyBag*>(this)},
        {IID_ISpecifyPropertyPages, static_cast<ISpecifyPropertyPages*>(this)},
        {IID_ISupportErrorInfo, static_cast<ISupportErrorInfo*>(this)},
    });
}

STDMETHODIMP_(ULONG) Control::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) Control::Release() {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) FinalRelease();
    return ULONG(n);
}

void Control::FinalRelease() {
    // The window belongs to the control's thread: a last reference dropped
    // elsewhere (a line thread) hands the end over to it.
    if (GetCurrentThreadId() != ownerThread_ && Handle() && IsWindow(Handle()) &&
        PostMessageA(Handle(), DeleteMessage(), 0, 0))
        return;
    EndOnOwnThread();
}

void Control::EndOnOwnThread() {
    if (!closeNotified_) {
        // The hook may take and drop references: hold one meanwhile.
        refs_ = 1;
        NotifyClose();
        if (InterlockedDecrement(&refs_) != 0) return;  // kept alive; a later Release ends it
    }
    delete this;  // inside the window's own procedure is allowed
}

void Control::SetCloseHook(CloseHook hook) { g_closeHook = hook; }

void Control::NotifyClose() {
    if (closeNotified_ || !created_) return;  // a control that never came to be was never open
    closeNotified_ = true;
    Guarded([&] {
        if (g_closeHook) g_closeHook(*this);
    });
    Guarded([&] { OnClose(); });
}

HandOver Control::CallOnOwnThread(const std::function<void()>& call) {
    if (GetCurrentThreadId() == ownerThread_) {
        call();
        return HandOver::Ran;
    }
    const HWND window = Handle();
    if (windowClosing_ || !window) return HandOver::HostUnavailable;
    HandOverRequest request{&call, nullptr};
    // Sent, not posted: the caller waits, and calls from one thread keep
    // their order. A window destroyed meanwhile lets the sender go.
    SendMessageA(window, HandOverMessage(), 0, reinterpret_cast<LPARAM>(&request));
    if (!request.ran) return HandOver::HostUnavailable;
    if (request.failure) std::rethrow_exception(request.failure);
    return HandOver::Ran;
}

// --- IOleObject -----------------------------------------------------------

STDMETHODIMP Control::SetClientSite(IOleClientSite* site) {
    if (!site && site_) NotifyClose();  // a container that drops us without Close
    if (!site) DeactivateInPlace();
    site_ = ComPtr<IOleClientSite>(site);
    OnAmbientChanged(DISPID_UNKNOWN);
    return S_OK;
}

STDMETHODIMP Control::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = ComPtr<IOleClientSite>(site_).Detach();
    return S_OK;
}

STDMETHODIMP Control::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP Control::Close(DWORD saveOption) {
    NotifyClose();
    DeactivateInPlace();
    if (site_ && dirty_ && (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE))
        site_->SaveObject();
    if (adviseHolder_) adviseHolder_->SendOnClose();
    return S_OK;
}

STDMETHODIMP Control::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
STDMETHODIMP Control::GetMoniker(DWORD, DWORD, IMoniker** mk) {
    if (mk) *mk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP Control::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
STDMETHODIMP Control::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Control::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) {
    if (site && !site_) SetClientSite(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return ActivateInPlace(parent, pos);
    case OLEIVERB_HIDE:
        DeactivateInPlace();
        return S_OK;
    case OLEIVERB_PROPERTIES: {
        std::vector<CLSID> pages = PropertyPages();
        if (pages.empty()) return OLEOBJ_S_CANNOT_DOVERB_NOW;
        IUnknown* self = static_cast<IDispatch*>(this);
        std::wstring caption = AmbientDisplayName();
        return OleCreatePropertyFrame(parent, 0, 0, caption.c_str(), 1, &self, ULONG(pages.size()),
                                      pages.data(), LOCALE_USER_DEFAULT, 0, nullptr);
    }
    default: {
        HRESULT hr = OLEOBJ_S_INVALIDVERB;
        for (const ControlVerb& v : Verbs())
            if (v.id == verb) {
                const HRESULT guarded = Guarded([&] { hr = OnVerb(verb, parent); });
                return FAILED(guarded) ? guarded : hr;
            }
        return hr;
    }
    }
}

STDMETHODIMP Control::EnumVerbs(IEnumOLEVERB** verbs) {
    if (!verbs) return E_POINTER;
    *verbs = nullptr;
    std::vector<ControlVerb> own;
    HRESULT hr = Guarded([&] { own = Verbs(); });
    if (FAILED(hr)) return hr;
    std::vector<OLEVERB> list;
    for (const ControlVerb& v : own)
        list.push_back({v.id, const_cast<LPOLESTR>(v.name.c_str()), v.menuFlags, v.attributes});
    static const wchar_t kProperties[] = L"&Properties";
    if (!PropertyPages().empty())
        list.push_back({OLEIVERB_PROPERTIES, const_cast<LPOLESTR>(kProperties), 0, OLEVERBATTRIB_ONCONTAINERMENU});
    // The enumerator copies the names: `own` may go now.
    *verbs = new (std::nothrow) Enumerator<IEnumOLEVERB, OLEVERB, IID_IEnumOLEVERB>(std::move(list));
    return *verbs ? S_OK : E_OUTOFMEMORY;
}
STDMETHODIMP Control::Update() { return S_OK; }
STDMETHODIMP Control::IsUpToDate() { return S_OK; }

STDMETHODIMP Control::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = clsid_;
    return S_OK;
}

STDMETHODIMP Control::GetUserType(DWORD form, LPOLESTR* type) { return OleRegGetUserType(clsid_, form, type); }

STDMETHODIMP Control::SetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *size;
    SetModified();
    return S_OK;
}

STDMETHODIMP Control::GetExtent(DWORD aspect, SIZEL* size) {
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP Control::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!adviseHolder_ && FAILED(CreateOleAdviseHolder(adviseHolder_.Put()))) return E_OUTOFMEMORY;
    return adviseHolder_->Advise(sink, cookie);
}

STDMETHODIMP Control::Unadvise(DWORD cookie) {
    return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP Control::EnumAdvise(IEnumSTATDATA** list) {
    if (!list) return E_POINTER;
    *list = nullptr;
    return adviseHolder_ ? adviseHolder_->EnumAdvise(list) : E_FAIL;
}

STDMETHODIMP Control::GetMiscStatus(DWORD aspect, DWORD* status) {
    if (!status) return E_POINTER;
    const ClassEntry* entry = Server::Find(clsid_);
    *status = (aspect == DVASPECT_CONTENT && entry) ? entry->miscStatus : 0;
    return S_OK;
}

STDMETHODIMP Control::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// --- IOleControl ----------------------------------------------------------

STDMETHODIMP Control::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP Control::OnMnemonic(MSG*) { return E_NOTIMPL; }

STDMETHODIMP Control::OnAmbientPropertyChange(DISPID id) {
    Guarded([&] { OnAmbientChanged(id); });
    if (id == DISPID_AMBIENT_USERMODE || id == DISPID_UNKNOWN) {
        UpdateVisibility();
        InvalidateControl();
    }
    return S_OK;
}

STDMETHODIMP Control::FreezeEvents(BOOL freeze) {
    if (freeze)
        ++frozen_;
    else if (frozen_ > 0)
        --frozen_;
    return S_OK;
}

// --- in-place -------------------------------------------------------------

HRESULT Control::ActivateInPlace(HWND parent, LPCRECT pos) {
    if (!site_) return E_UNEXPECTED;
    if (inPlace_) {
        if (pos) SetObjectRects(pos, pos);
        return S_OK;
    }
    if (FAILED(site_.As(inPlaceSite_))) return E_NOINTERFACE;
    if (inPlaceSite_->CanInPlaceActivate() != S_OK) {
        inPlaceSite_.Reset();
        return E_FAIL;
    }
    inPlaceSite_->OnInPlaceActivate();
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> doc;
    RECT where{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{};
    frameInfo.cb = sizeof frameInfo;
    inPlaceSite_->GetWindowContext(frame.Put(), doc.Put(), &where, &clip, &frameInfo);
    if (pos) where = *pos;
    if (!parent) inPlaceSite_->GetWindow(&parent);
    if (!parent) {
        inPlaceSite_->OnInPlaceDeactivate();
        inPlaceSite_.Reset();
        return E_FAIL;
    }
    SetParent(Handle(), parent);
    MoveWindow(Handle(), where.left, where.top, where.right - where.left, where.bottom - where.top, FALSE);
    inPlace_ = true;
    UpdateVisibility();
    return S_OK;
}

void Control::UpdateVisibility() {
    if (!inPlace_) return;
    const ClassEntry* entry = Server::Find(clsid_);
    const bool invisible = entry && (entry->miscStatus & OLEMISC_INVISIBLEATRUNTIME) && AmbientUserMode();
    ShowWindow(Handle(), invisible ? SW_HIDE : SW_SHOWNA);
}

void Control::DeactivateInPlace() {
    if (!inPlace_) return;
    inPlace_ = false;
    ShowWindow(Handle(), SW_HIDE);
    SetParent(Handle(), HWND_MESSAGE);
    if (inPlaceSite_) inPlaceSite_->OnInPlaceDeactivate();
    inPlaceSite_.Reset();
}

STDMETHODIMP Control::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = inPlace_ ? Handle() : nullptr;
    return inPlace_ ? S_OK : E_FAIL;
}

STDMETHODIMP Control::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP Control::InPlaceDeactivate() {
    DeactivateInPlace();
    return S_OK;
}

STDMETHODIMP Control::UIDeactivate() { return S_OK; }

STDMETHODIMP Control::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    if (inPlace_) MoveWindow(Handle(), pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
}

STDMETHODIMP Control::ReactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP Control::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP Control::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP Control::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP Control::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP Control::EnableModeless(BOOL) { return S_OK; }

// --- IViewObject2 -----------------------------------------------------------

STDMETHODIMP Control::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                           LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    OnDraw(dc, RECT{bounds->left, bounds->top, bounds->right, bounds->bottom});
    return S_OK;
}

STDMETHODIMP Control::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
    if (!colors) return E_POINTER;
    *colors = nullptr;
    return S_FALSE;
}

STDMETHODIMP Control::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP Control::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP Control::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    viewSink_ = ComPtr<IAdviseSink>(sink);
    viewAspects_ = aspects;
    viewFlags_ = flags;
    return S_OK;
}

STDMETHODIMP Control::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) *sink = ComPtr<IAdviseSink>(viewSink_).Detach();
    return S_OK;
}

STDMETHODIMP Control::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

// --- drawing and the window ---------------------------------------------------

void Control::OnDraw(HDC dc, const RECT& bounds) {
    FillRect(dc, &bounds, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    FrameRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void Control::InvalidateControl() {
    if (inPlace_) InvalidateRect(Handle(), nullptr, TRUE);
    if (viewSink_ && (viewAspects_ & DVASPECT_CONTENT)) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

void Control::SetInitialSize(int cx, int cy) {
    HDC screen = GetDC(nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    extent_.cx = MulDiv(cx, 2540, dpiX > 0 ? dpiX : 96);
    extent_.cy = MulDiv(cy, 2540, dpiY > 0 ? dpiY : 96);
    defaultExtent_ = extent_;
}

LRESULT Control::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == HandOverMessage() && lp) {
        auto* request = reinterpret_cast<HandOverRequest*>(lp);
        try {
            (*request->call)();
        } catch (...) {
            request->failure = std::current_exception();
        }
        request->ran = true;
        return 1;
    }
    if (msg == DeleteMessage()) {
        // Posted by a last Release on another thread.
        EndOnOwnThread();
        return 0;
    }
    if (msg == WM_DESTROY) windowClosing_ = true;
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT bounds;
        GetClientRect(Handle(), &bounds);
        OnDraw(dc, bounds);
        EndPaint(Handle(), &ps);
        return 0;
    }
    return DefaultMessage(msg, wp, lp);
}

// --- property pages -------------------------------------------------------------

STDMETHODIMP Control::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    std::vector<CLSID> ids = PropertyPages();
    pages->cElems = 0;
    pages->pElems = nullptr;
    if (ids.empty()) return S_OK;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(ids.size() * sizeof(GUID)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    for (size_t i = 0; i < ids.size(); ++i) pages->pElems[i] = ids[i];
    pages->cElems = ULONG(ids.size());
    return S_OK;
}

}  // namespace fw::ole
