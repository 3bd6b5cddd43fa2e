// OLE control base: a control class derives from Control, passes its class,
// dispatch and event interface ids, lists its dispatch map and its persisted
// items (DoPropExchange), draws itself in OnDraw, and gets IDispatch,
// connection points, persistence, siting, in-place activation, drawing,
// property pages and errors from here.
//
//   class CDialCtrl : public fw::ole::Control {
//   public:
//       CDialCtrl() : Control(CLSID_Dial, DIID__DDial, DIID__DDialEvents) {}
//       long GetRetries() const;  void SetRetries(long n);
//   protected:
//       std::span<const fw::ole::DispatchEntry> DispatchMap() const override {
//           static const fw::ole::DispatchEntry map[] = {
//               fw::ole::Property<&CDialCtrl::GetRetries, &CDialCtrl::SetRetries>(1)};
//           return map;
//       }
//       void DoPropExchange(fw::ole::PropExchange& px) override {
//           Control::DoPropExchange(px);
//           px.Long(L"MaxRetries", retries_, 3);
//       }
//   };
//
// The library lists the class in its ClassEntry table (fw/ole/Server.h) with
// CreateObject<CDialCtrl>; its .idl gives names, its .rc the type library and
// the error strings of fw/ole/Resource.h. Events: FireEvent(id, {args...}),
// or with by-reference arguments FireEvent(id, args, {positions}).
//
// Threading: a control lives in the apartment (thread) that created it. Its
// window is made on that thread at creation and lives as long as the object:
// a message-only window while the control is not in-place active, a child of
// the container's window while it is. Workers hand results back by sending
// messages to that window.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>
#include "fw/Window.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Dispatch.h"
#include "fw/ole/Object.h"
#include "fw/ole/PropExchange.h"
#include "fw/ole/Server.h"

namespace fw::ole {

// What became of an event: the first failure a sink returned (the host's
// handler raised an error), or that nothing was sent because the container
// froze events.
struct FireResult {
    HRESULT hr = S_OK;
    std::wstring description;  // of that failure (EXCEPINFO, else IErrorInfo)
    bool delivered = true;     // false while events are frozen
    bool Ok() const { return SUCCEEDED(hr); }
};

// A control's own OLE verb (ids from 1 up; the standard verbs are negative).
struct ControlVerb {
    LONG id;
    std::wstring name;  // as a menu shows it, "&Edit"
    DWORD menuFlags = 0;
    DWORD attributes = OLEVERBATTRIB_ONCONTAINERMENU;
};

// What a hand-over to the control's own thread came to.
enum class HandOver {
    Ran,              // the call ran there (and whatever it threw was rethrown)
    HostUnavailable,  // the control's window is gone or closing: nothing ran
};

// Window class of every control window of a library (registered per module).
inline constexpr char kControlWindowClass[] = "FwOleControl";

class Control : public IDispatch,
                public IOleObject,
                public IOleControl,
                public IOleInPlaceObject,
                public IOleInPlaceActiveObject,
                public IViewObject2,
                public IConnectionPointContainer,
                public IProvideClassInfo2,
                public IPersistStreamInit,
                public IPersistPropertyBag,
                public ISpecifyPropertyPages,
                public ISupportErrorInfo,
                public DispatchTarget,
                public fw::Window {
public:
    // Called by CreateObject after construction: loads the type information
    // and makes the control's window on the creating thread.
    HRESULT Initialize();

    // IUnknown (one answer for every interface above)
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* excep, UINT* argErr) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override;
    STDMETHODIMP GetClientSite(IOleClientSite** site) override;
    STDMETHODIMP SetHostNames(LPCOLESTR app, LPCOLESTR obj) override;
    STDMETHODIMP Close(DWORD saveOption) override;
    STDMETHODIMP SetMoniker(DWORD which, IMoniker* mk) override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** mk) override;
    STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
    STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
    STDMETHODIMP DoVerb(LONG verb, LPMSG msg, IOleClientSite* site, LONG index, HWND parent,
                        LPCRECT pos) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
    STDMETHODIMP Update() override;
    STDMETHODIMP IsUpToDate() override;
    STDMETHODIMP GetUserClassID(CLSID* clsid) override;
    STDMETHODIMP GetUserType(DWORD form, LPOLESTR* type) override;
    STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
    STDMETHODIMP Advise(IAdviseSink* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** list) override;
    STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE* pal) override;

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
    STDMETHODIMP OnMnemonic(MSG* msg) override;
    STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
    STDMETHODIMP FreezeEvents(BOOL freeze) override;

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override;
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
    STDMETHODIMP ReactivateAndUndo() override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;

    // IViewObject2
    STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* td, HDC tdDc,
                      HDC dc, LPCRECTL bounds, LPCRECTL wBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                      ULONG_PTR contArg) override;
    STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* td,
                             HDC dc, LOGPALETTE** colors) override;
    STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
    STDMETHODIMP Unfreeze(DWORD freeze) override;
    STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* td, LPSIZEL size) override;

    // IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** list) override;
    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;
    STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override;

    // IPersist, IPersistStreamInit, IPersistPropertyBag
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Load(IStream* stream) override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
    STDMETHODIMP InitNew() override;
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

    // ISpecifyPropertyPages, ISupportErrorInfo
    STDMETHODIMP GetPages(CAUUID* pages) override;
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

    // Any ambient property of the client site: DISP_E_MEMBERNOTFOUND when
    // the container does not know it, E_FAIL without a site.
    HRESULT Ambient(DISPID id, Variant& value) const;
    // Ambient properties with their defaults when there is no answer.
    bool AmbientUserMode() const;        // run mode (true)
    bool AmbientUIDead() const;          // break mode: the host runs no code (false)
    std::wstring AmbientDisplayName() const;
    // The container froze events (IOleControl::FreezeEvents).
    bool EventsFrozen() const { return frozen_ > 0; }

    // Runs `call` on the control's own thread and waits for it: at once when
    // the caller is that thread, else through the control's window, so the
    // calls of one thread run in the order made, one at a time, and host
    // code only ever runs on the host's thread. An exception `call` throws
    // is rethrown to the caller. The caller must not be what that thread
    // waits for (never join a worker with a plain wait on the window thread).
    HandOver CallOnOwnThread(const std::function<void()>& call);

    // Called once for every control of the library, on its own thread, when
    // the container closes it (Close, or dropping the site) or, failing
    // that, at its last Release - before anything of it is destroyed. The
    // control's own OnClose runs right after.
    using CloseHook = void (*)(Control& control);
    static void SetCloseHook(CloseHook hook);

    void SetModified() { dirty_ = true; }
    // Control errors 382 / 383 depending on the ambient mode.
    void SetNotSupported() override;
    // Repaints the window (if any) and tells the view's advise sink.
    void InvalidateControl();

protected:
    Control(const CLSID& clsid, const IID& dispatchIid, const IID& eventIid);
    ~Control() override;

    // Stock data, then the control's own items; derived classes call this first.
    virtual void DoPropExchange(PropExchange& px);
    // Version of the persisted property data: major in the high word.
    virtual DWORD DataVersion() const { return MAKELONG(0, 1); }
    virtual void OnDraw(HDC dc, const RECT& bounds);
    virtual std::vector<CLSID> PropertyPages() const { return {}; }
    virtual void OnAmbientChanged(DISPID /*id*/) {}
    // See SetCloseHook: once, before anything is destroyed.
    virtual void OnClose() {}
    // The control's own verbs (EnumVerbs lists them with Properties when
    // there are pages) and what DoVerb does with one.
    virtual std::vector<ControlVerb> Verbs() const { return {}; }
    virtual HRESULT OnVerb(LONG /*verb*/, HWND /*parent*/) { return OLEOBJ_S_INVALIDVERB; }
    std::wstring ErrorSource() const override;
    const IID& ErrorInterface() const override { return dispatchIid_; }

    // Fires event `id` to every connected sink; `args` in declaration order.
    // Dropped while the container has frozen events.
    FireResult FireEvent(DISPID id, std::initializer_list<Variant> args);
    // The same, with the arguments at `byRef` positions passed by reference:
    // afterwards they hold what the sinks stored.
    FireResult FireEvent(DISPID id, std::span<Variant> args, std::initializer_list<size_t> byRef);

    void SetInitialSize(int cx, int cy);  // pixels
    const CLSID& ClassId() const { return clsid_; }

    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class ConnectionPoint : public IConnectionPoint {
    public:
        explicit ConnectionPoint(Control& owner) : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
        STDMETHODIMP_(ULONG) AddRef() override { return owner_.AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return owner_.Release(); }
        STDMETHODIMP GetConnectionInterface(IID* iid) override;
        STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** cpc) override;
        STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
        STDMETHODIMP Unadvise(DWORD cookie) override;
        STDMETHODIMP EnumConnections(IEnumConnections** list) override;

        FireResult Fire(DISPID id, DISPPARAMS& params);
        void Clear() { sinks_.clear(); }
    private:
        Control& owner_;
        std::vector<ComPtr<IDispatch>> sinks_;  // cookie = index + 1; null once unadvised
    };

    HRESULT Exchange(PropExchange& px);
    HRESULT ActivateInPlace(HWND parent, LPCRECT pos);
    void DeactivateInPlace();
    // Invisible-at-run-time controls hide their window in user mode.
    void UpdateVisibility();

    // The last reference: closes, then deletes on the control's own thread.
    void FinalRelease();
    void EndOnOwnThread();
    void NotifyClose();

    LONG refs_ = 1;
    DWORD ownerThread_ = GetCurrentThreadId();
    bool created_ = false;
    bool closeNotified_ = false;
    bool windowClosing_ = false;
    ServerLock lock_;
    const CLSID& clsid_;
    const IID& dispatchIid_;
    const IID& eventIid_;
    ComPtr<ITypeInfo> dispatchInfo_;
    ComPtr<IOleClientSite> site_;
    ComPtr<IOleInPlaceSite> inPlaceSite_;
    ComPtr<IOleAdviseHolder> adviseHolder_;
    ComPtr<IAdviseSink> viewSink_;
    DWORD viewAspects_ = 0;
    DWORD viewFlags_ = 0;
    ConnectionPoint events_{*this};
    SIZEL extent_{2540, 2540};  // HIMETRIC
    SIZEL defaultExtent_{2540, 2540};
    bool dirty_ = false;
    bool inPlace_ = false;
    LONG frozen_ = 0;
};

}  // namespace fw::ole
