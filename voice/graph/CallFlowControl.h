// CCallFlowControl: the OLE side of a vertex of the call-flow graph. Every
// call-flow control derives from it (directly, or through CVoiceControl and
// CDigitControl) and gets the base members (dispatch ids 100-119), the base
// events, the saved form with its loading repairs, host redirection of
// running calls and value access.
#pragma once
#include <array>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "Checks.h"
#include "ConditionsObject.h"
#include "Graph.h"
#include "SavedForm.h"
#include "Substitute.h"
#include "fw/ole/Control.h"

namespace kvo {

class FormFrame;

// Dispatch ids and event ids shared by every call-flow control.
enum : DISPID {
    DISPID_SETBLOCKPTR = 100,
    DISPID_GOTONODE = 101,
    DISPID_GOTOCONTROL = 102,
    DISPID_CLEARDIGITS = 103,
    DISPID_ENTRYGREETING = 105,
    DISPID_GETGREETINGNAMES = 106,
    DISPID_MAXRETRIES = 107,
    DISPID_SETNUMNODES = 108,
    DISPID_CONDITIONS = 109,
    DISPID_PAGE = 110,
    DISPID_BLOCKID = 112,
    DISPID_TAKECALL = 113,
    DISPID_CONTROLTHIS = 114,
    DISPID_VCOMMENTS = 115,
    DISPID_DISCONNECTCONTROL = 116,
    DISPID_HELPDIGITCONTROL = 117,
    DISPID_INVALIDERRORCONTROL = 118,
    DISPID_NODIGITSERRORCONTROL = 119,
};
enum : DISPID { EVENTID_ENTER = 1, EVENTID_EXIT = 101, EVENTID_VOICEERROR = 102, EVENTID_DISCONNECT = 103 };

// Joins dispatch tables at compile time: a derived class lists its own
// members after its base's.
template <size_t N, size_t M>
constexpr std::array<fw::ole::DispatchEntry, N + M> JoinDispatch(const std::array<fw::ole::DispatchEntry, N>& a,
                                                                 const std::array<fw::ole::DispatchEntry, M>& b) {
    std::array<fw::ole::DispatchEntry, N + M> out{};
    for (size_t i = 0; i < N; ++i) out[i] = a[i];
    for (size_t i = 0; i < M; ++i) out[N + i] = b[i];
    return out;
}

// The control's ambient display name, kept for readers on other threads.
class AmbientName {
public:
    // Refreshes from `control` when `id` says the name may have changed.
    void Update(const fw::ole::Control& control, DISPID id);
    std::string Get() const;

private:
    mutable std::mutex lock_;
    std::string name_;
};

class CCallFlowControl : public fw::ole::Control, public Vertex, public ValueOwner {
public:
    // What a concrete control names: its identity, nodes and inputs.
    struct Kind {
        const CLSID& clsid;
        const IID& dispatchIid;
        const IID& eventIid;
        const char* className;  // "InConn", "User", ...
        int numNodes;
        int inputCount;
    };

    // Joins the registry first: refused while the system runs.
    HRESULT Initialize();

    // Base members, in dispatch-id order.
    bool SetBlockPtr(short destNode, long blockId, long lineConnection, long flag);
    void SetGotoNode(short channel, short node);
    void SetGotoControl(short channel, const std::wstring& name);
    bool SetNumNodesMethod(short count);
    long GetPage() const { return Vertex::Page(); }
    void SetPageProperty(long page);
    long GetBlockID() const { return BlockId(); }
    void SetBlockID(long id);
    void TakeCall(short channel);
    long GetControlThis() const;
    std::wstring GetVComments() const { return comment_; }
    void SetVComments(const std::wstring& text);
    void AboutBox();

    // "InConn", "User", ... as the channel log names the class.
    const char* ClassName() const { return kind_.className; }

    // Vertex and ValueOwner
    std::string Name() const override;
    std::string NodeName(int node) const override;
    // ValueOwner (lines 0-based): a control that defines no values has no
    // names, reads empty and ignores what the user enters.
    std::optional<std::string> GetValueName(int line, int index) const override;
    std::optional<std::string> GetValueText(int line, int index) const override;
    void SetValueText(int line, std::string_view text, int index) override;
    bool ValueReady(int index) const override { return ready_.IsSet(index); }
    // All 16 ready flags: set when the control starts its work for a call,
    // cleared by the start of a test call.
    virtual void SetValueFlags(bool on) { ready_.SetAll(on); }

    // The one way values are read (through the runtime's ValueContext).
    std::optional<std::string> ReadValue(int line, int index);
    // `text` with its references replaced for the line, this control as
    // "this"; nullopt once a failure has been logged.
    std::optional<std::string> SubstituteText(int line, std::string_view text);
    // As SubstituteText; a failure ends the control's work with error type 32.
    std::string SubstituteOrRaise(int line, std::string_view text);

    // The Frame control of this control's form, or none.
    FormFrame* Frame() const;
    const std::vector<Condition>& Conditions() const { return conditions_->List(); }
    fw::ole::ComPtr<IDispatch> GetConditions() const { return conditions_->AsDispatch(); }
    bool PlacedOnPageZero() const { return placedOnPageZero_; }

    // The control's own design-time checks (Check Control, Check System and
    // StartSystem); the pass-through controls have none.
    virtual void Check(CheckReport&) {}

    // ---- running on a line's thread ----
    // The run contract: called on the line's thread (0-based) with `exit`
    // preset to -5 and `next` to none; the control names an exit node, a
    // special exit or the next control. False when the control cannot run
    // (the dispatcher then ends the call). The base runs the enter step and
    // takes node 0: the pass-through controls.
    virtual bool Run(int line, short destInput, short& exit, Vertex*& next);
    // Fires `fire` on the control's own thread and waits for it. The host is
    // asked first whether it runs code: break mode raises VBBreakException,
    // a host not in run mode logs " stopped - VB in break mode" and raises
    // ControlErrorException 151. The line's requested exit and control are
    // cleared before the event, so what the host sets is what the line sees.
    void HandOver(int line, const std::function<void()>& fire);
    // The Exit event (channel, node by reference); the node the host left.
    short FireExit(int line, short node);
    // VoiceError (channel, type, data, processed by reference).
    void FireVoiceError(int line, long type, long data);
    void FireDisconnect(int line, long reason);

    // A load that had to correct the page leaves the control changed.
    STDMETHODIMP IsDirty() override;
    STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
    STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

protected:
    explicit CCallFlowControl(const Kind& kind);
    ~CCallFlowControl() override;

    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;

    // Stores a handler control's name ("[Default]" for none) and marks the control changed.
    void SetHandlerName(std::wstring& field, const std::wstring& name);
    // Resolves a handler name through the registry; none: the default processing.
    Vertex* ResolveHandler(const std::wstring& name) const;

    // Items of the derived classes, most derived first; each override
    // exchanges its own and then calls its base's.
    virtual void ExchangeOwnItems(ItemExchange&) {}
    void OnAmbientChanged(DISPID id) override;
    void OnDraw(HDC dc, const RECT& bounds) override;

    // The common enter step: Enter (channel) on the host's thread; true when
    // the host settled the exit (GotoNode) or named the next control.
    bool EnterStep(int line, short& exit, Vertex*& next);
    // Takes what the host asked for during an event: an exit node (logged
    // 5019) or a control (logged 5017). True when it asked for either.
    bool TakeHostRequest(int line, short& exit, Vertex*& next);
    // The 0-based line of a host's 1-based channel for the per-line
    // properties; "invalid index" (381) outside the lines.
    static size_t ChannelIndex(short channel);
    // Reports each reference in `text` that names no control or Frame:
    // "unknown control name in <what> <text>" (help topic 1399).
    static void CheckReferenceText(std::string_view text, const char* what, CheckReport& report);
    // Controls that route by conditions set their defaults here.
    std::vector<Condition>& MutableConditions() { return conditions_->List(); }
    // A value of this control is ready (kept or produced for the call).
    void MarkValueReady(int index) { ready_.Set(index); }

    const Kind& kind_;

private:
    void DoPropExchange(fw::ole::PropExchange& px) final;
    void ExchangeBaseItems(ItemExchange& ex);
    // Raises 0x800A7D05 while the system runs: the graph is read by lines.
    void RefuseWhileStarted() const;

    ValueReadyFlags ready_;
    AmbientName name_;
    bool joined_ = false;
    long posX_ = 0;
    long posY_ = 0;
    std::wstring comment_;
    fw::ole::ComPtr<CConditions> conditions_ = fw::ole::MakeAutomation<CConditions>();
    bool placedOnPageZero_ = false;  // until the next save
};

// The base members, for the dispatch maps of the derived classes.
inline constexpr auto kCallFlowDispatch = std::array{
    fw::ole::Method<&CCallFlowControl::SetBlockPtr>(DISPID_SETBLOCKPTR),
    fw::ole::WriteOnlyProperty<&CCallFlowControl::SetGotoNode>(DISPID_GOTONODE),
    fw::ole::WriteOnlyProperty<&CCallFlowControl::SetGotoControl>(DISPID_GOTOCONTROL),
    fw::ole::ReadOnlyProperty<&CCallFlowControl::GetConditions>(DISPID_CONDITIONS),
    fw::ole::Method<&CCallFlowControl::SetNumNodesMethod>(DISPID_SETNUMNODES),
    fw::ole::Property<&CCallFlowControl::GetPage, &CCallFlowControl::SetPageProperty>(DISPID_PAGE),
    fw::ole::Property<&CCallFlowControl::GetBlockID, &CCallFlowControl::SetBlockID>(DISPID_BLOCKID),
    fw::ole::Method<&CCallFlowControl::TakeCall>(DISPID_TAKECALL),
    fw::ole::ReadOnlyProperty<&CCallFlowControl::GetControlThis>(DISPID_CONTROLTHIS),
    fw::ole::Property<&CCallFlowControl::GetVComments, &CCallFlowControl::SetVComments>(DISPID_VCOMMENTS),
    fw::ole::Method<&CCallFlowControl::AboutBox>(DISPID_ABOUTBOX),
};

// True while line `line` waits for one of its events to be handled on the
// host's thread: a user-interface thread that waited for that line would
// never let the event finish.
bool LineInHandOver(int line);

// Raises host error `number` (0x800A0000 + number) with string `stringId`.
[[noreturn]] void ThrowHostError(unsigned number, unsigned stringId);

}  // namespace kvo
