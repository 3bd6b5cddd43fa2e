// The stand-in control container: a form window on the calling thread that
// creates controls by ProgID only, sites them (client site, in-place site,
// ambient UserMode and DisplayName), sinks every event through the event
// interface's type information, drives controls by member name through
// IDispatch, and saves and loads forms as text property bags.
//
// Everything here runs on the thread that made the Host (an STA thread);
// events from a control's worker arrive there through the message loop.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <functional>
#include <string>
#include <vector>
#include "FormFile.h"
#include "fw/Window.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Object.h"
#include "fw/ole/Text.h"

namespace container {

using fw::ole::ComPtr;
using fw::ole::Variant;

struct EventRecord {
    std::wstring control;  // the control's name on the form
    std::wstring event;    // from the event interface's type information
    std::vector<Variant> args;  // in declaration order; handlers may change
                                // them, and by-reference ones go back
    DWORD threadId;        // the thread the sink ran on
};

struct CallResult {
    HRESULT hr = E_FAIL;
    Variant value;
    SCODE scode = 0;            // from EXCEPINFO when hr is DISP_E_EXCEPTION
    std::wstring description;   // EXCEPINFO's description
    std::wstring errorInfo;     // the thread's IErrorInfo description, if any
    bool Ok() const { return SUCCEEDED(hr); }
};

class Host;
class EventSink;
class Extender;
class FormObjects;

// IDispatch::Invoke of `member` by name; `args` in call order (a put's value
// last), EXCEPINFO and IErrorInfo read back.
CallResult InvokeMember(IDispatch* object, const std::wstring& member, WORD flags, std::vector<Variant>& args);

// An IDispatch that answers names from a table of its own and offers no
// type information (the ambient properties, the extender).
class UntypedDispatch : public IDispatch {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return DISP_E_BADINDEX;
    }
};

class ControlSite : public IOleClientSite, public IOleInPlaceSite, public IOleControlSite, public UntypedDispatch {
public:
    // `where` in the form's client pixels; an empty size takes the
    // control's own extent.
    ControlSite(Host& host, std::wstring name, std::wstring progId, RECT where);

    const std::wstring& Name() const { return name_; }
    const std::wstring& ProgId() const { return progId_; }
    IUnknown* Object() const { return object_.Get(); }
    DWORD MiscStatus() const { return misc_; }
    const RECT& Where() const { return where_; }
    void MoveTo(const RECT& where);

    // Creates the control, sites it, loads `properties` (a fresh control
    // when null), connects its events and activates it if it shows.
    HRESULT Create(const std::vector<FormProperty>* properties);
    // Disconnects and closes the control; the site stays usable for nothing.
    void Close();
    HRESULT SaveProperties(std::vector<FormProperty>& properties);

    CallResult Get(const std::wstring& member);
    CallResult Put(const std::wstring& member, const Variant& value);
    CallResult Call(const std::wstring& member, std::vector<Variant> args = {});
    // A member of the control, else of its extender (Name, Object, Left,
    // Top, Width, Height), as the host's code sees them.
    CallResult Invoke(const std::wstring& member, WORD flags, std::vector<Variant>& args);
    HRESULT DoVerb(LONG verb);

    void AmbientChanged(DISPID id);
    void FreezeEvents(bool freeze);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** mk) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL show) override;
    STDMETHODIMP RequestNewObjectLayout() override;
    // IOleWindow, IOleInPlaceSite
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE extent) override;
    STDMETHODIMP OnUIDeactivate(BOOL undoable) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override;
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL lock) override;
    STDMETHODIMP GetExtendedControl(IDispatch** extender) override;
    STDMETHODIMP TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg, DWORD modifiers) override;
    STDMETHODIMP OnFocus(BOOL gotFocus) override;
    STDMETHODIMP ShowPropertyFrame() override;
    // IDispatch: the ambient properties
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

private:
    virtual ~ControlSite();
    HRESULT ConnectEvents();

    friend class fw::ole::RefCount;
    fw::ole::RefCount refs_;
    Host& host_;
    std::wstring name_;
    std::wstring progId_;
    RECT where_;
    DWORD misc_ = 0;
    ComPtr<IOleObject> object_;
    ComPtr<IDispatch> dispatch_;
    ComPtr<IConnectionPoint> eventPoint_;
    ComPtr<EventSink> sink_;
    ComPtr<Extender> extender_;
    DWORD eventCookie_ = 0;
};

class Host : public fw::Window {
public:
    // May change the event's arguments (by-reference ones go back).
    using EventHandler = std::function<void(EventRecord&)>;

    Host();
    ~Host() override;

    // Makes the form window; false when it cannot be made.
    bool Create();

    // Design mode (false) or run mode (true); controls are told at once.
    void SetUserMode(bool userMode);
    bool UserMode() const { return userMode_; }
    // Break mode: the host runs no code (ambient UIDead) and holds every
    // control's events (FreezeEvents) until it continues.
    void SetBreakMode(bool inBreak);
    bool BreakMode() const { return breakMode_; }

    // Adds a control by ProgID under `name`; null with `*hr` set on failure.
    // `where` places it (pixels); by default controls go in a row.
    ControlSite* Add(const std::wstring& progId, const std::wstring& name,
                     const std::vector<FormProperty>* properties = nullptr, HRESULT* hr = nullptr,
                     const RECT* where = nullptr);
    ControlSite* Find(const std::wstring& name) const;
    // Closes and drops one control, or all of them.
    void Remove(const std::wstring& name);
    void Clear();
    const std::vector<ComPtr<ControlSite>>& Sites() const { return sites_; }

    // Replaces the form's controls with those of `form` (steps are not run).
    HRESULT Load(const Form& form);
    // The form as it is now: every control with its saved property bag.
    HRESULT Save(Form& form);
    bool LoadFile(const std::wstring& path, Form& form, std::string& error);
    bool SaveFile(const std::wstring& path, std::string& error);

    // Shows the form, sized to hold its controls.
    void Show();

    // The form as the container its controls live in (IOleContainer).
    IOleContainer* Container() const;

    // Every event so far, oldest first, as it arrived; handlers run as
    // events arrive and may change `record`'s arguments.
    const std::vector<EventRecord>& Events() const { return events_; }
    void ClearEvents() { events_.clear(); }
    void OnEvent(EventHandler handler) { handlers_.push_back(std::move(handler)); }
    void RecordEvent(EventRecord& record);

    // Runs the message loop until `done` holds or `timeoutMs` passes.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();

private:
    std::vector<ComPtr<ControlSite>> sites_;
    ComPtr<FormObjects> objects_;
    std::vector<EventRecord> events_;
    std::vector<EventHandler> handlers_;
    bool userMode_ = true;
    bool breakMode_ = false;
};

// Text of UTF-16 for the UTF-8 form files and back.
inline std::string ToUtf8(const std::wstring& w) { return fw::ole::Narrow(w, CP_UTF8); }
inline std::wstring FromUtf8(const std::string& s) { return fw::ole::Widen(s, CP_UTF8); }

}  // namespace container
