// The call-flow control base: registry membership, the saved form with its
// repairs, host redirection and value access.
#include "CallFlowControl.h"

#include <ctime>

#include "ChannelLog.h"
#include "FormFrame.h"
#include "KvoResource.h"
#include "PxItems.h"
#include "Redirection.h"
#include "References.h"
#include "RuntimeValues.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"
#include "fw/ole/Text.h"

namespace kvo {

namespace {
long Now() { return long(std::time(nullptr)); }

enum class HostState { Runs, InBreak, NotRunning };

std::array<std::atomic<bool>, kMaxLines> g_inHandOver{};

class HandOverMark {
public:
    explicit HandOverMark(int line) : line_(line) {
        if (Valid()) g_inHandOver[size_t(line_)] = true;
    }
    ~HandOverMark() {
        if (Valid()) g_inHandOver[size_t(line_)] = false;
    }
    HandOverMark(const HandOverMark&) = delete;
    HandOverMark& operator=(const HandOverMark&) = delete;

private:
    bool Valid() const { return line_ >= 0 && line_ < kMaxLines; }
    int line_;
};
}  // namespace

bool LineInHandOver(int line) { return line >= 0 && line < kMaxLines && g_inHandOver[size_t(line)]; }

void ThrowHostError(unsigned number, unsigned stringId) { fw::ole::ThrowError(number, stringId); }

CCallFlowControl::CCallFlowControl(const Kind& kind)
    : Control(kind.clsid, kind.dispatchIid, kind.eventIid),
      Vertex(ControlRegistry::Process(), kind.inputCount),
      kind_(kind) {
    SetNumNodes(kind.numNodes);
    SetInitialSize(48, 32);
}

CCallFlowControl::~CCallFlowControl() {
    if (FormFrame* frame = Frame()) frame->ForgetControl(Name());
    Registry().Remove(*this);
}

HRESULT CCallFlowControl::Initialize() {
    // A control made while lines run would change the graph under them.
    if (!Registry().Add(*this, Now())) return CLASS_E_CLASSNOTAVAILABLE;
    joined_ = true;
    return Control::Initialize();
}

std::span<const fw::ole::DispatchEntry> CCallFlowControl::DispatchMap() const { return kCallFlowDispatch; }

void AmbientName::Update(const fw::ole::Control& control, DISPID id) {
    if (id != DISPID_AMBIENT_DISPLAYNAME && id != DISPID_UNKNOWN) return;
    std::string name = fw::ole::Narrow(control.AmbientDisplayName());
    std::lock_guard guard(lock_);
    name_ = std::move(name);
}

std::string AmbientName::Get() const {
    std::lock_guard guard(lock_);
    return name_;
}

void CCallFlowControl::OnAmbientChanged(DISPID id) { name_.Update(*this, id); }

std::string CCallFlowControl::Name() const { return name_.Get(); }

void CCallFlowControl::SetHandlerName(std::wstring& field, const std::wstring& name) {
    field = name.empty() ? kDefaultHandler : name;
    SetModified();
}

Vertex* CCallFlowControl::ResolveHandler(const std::wstring& name) const {
    return Registry().ResolveHandlerName(fw::ole::Narrow(name));
}

std::string CCallFlowControl::NodeName(int node) const { return node == 0 ? "Exit" : Vertex::NodeName(node); }

void CCallFlowControl::RefuseWhileStarted() const {
    if (Registry().Started()) ThrowHostError(KVO_ERR_STATE_DOES_NOT_ALLOW, IDS_ERR_STATE_DOES_NOT_ALLOW);
}

// ---- host members ----

bool CCallFlowControl::SetBlockPtr(short destNode, long blockId, long lineConnection, long flag) {
    if (Registry().Started() || destNode < 0 || destNode >= NumNodes()) return false;
    if (blockId == 0) {
        Node(destNode).Disconnect();
    } else {
        Vertex* dest = Registry().FindByBlockId(blockId);
        if (!dest || lineConnection < 0 || lineConnection >= dest->InputCount()) return false;
        Node(destNode).Connect(dest, short(lineConnection), flag);
    }
    SetModified();
    return true;
}

bool CCallFlowControl::SetNumNodesMethod(short count) {
    if (!SetNumNodes(count)) return false;
    SetModified();
    return true;
}

void CCallFlowControl::SetPageProperty(long page) {
    SetPage(page);
    SetModified();
}

void CCallFlowControl::SetBlockID(long id) {
    RefuseWhileStarted();
    if (id == BlockId()) return;
    if (id == 0 || Registry().FindByBlockId(id)) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    Registry().ChangeBlockId(*this, id);
    SetModified();
}

long CCallFlowControl::GetControlThis() const {
    // The control's own reference, as a 32-bit value (the pointer on Win32).
    return long(reinterpret_cast<INT_PTR>(static_cast<const Vertex*>(this)));
}

void CCallFlowControl::SetVComments(const std::wstring& text) {
    comment_ = text;
    SetModified();
}

void CCallFlowControl::AboutBox() {
    std::string title = fw::LoadResString(fw::ole::Server::Module(), IDS_KAVORO);
    MessageBoxA(Handle(), ("Kavoro " + std::string(kind_.className) + " control, version 4.0").c_str(),
                title.c_str(), MB_OK | MB_ICONINFORMATION);
}

void CCallFlowControl::SetGotoNode(short channel, short node) {
    const int line = channel - 1;
    switch (CheckGotoNode(channel, NumberOfLines(), Registry().Started(), node, NumNodes())) {
    case RedirectFault::BadChannel: fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    case RedirectFault::NotStarted: ThrowHostError(KVO_ERR_SYSTEM_NOT_STARTED, IDS_ERR_SYSTEM_NOT_STARTED);
    case RedirectFault::BadNode:
        WriteLogN(line, LK_VB_BAD_NODE, node);
        ThrowHostError(KVO_ERR_INVALID_OUTPUT_NODE, IDS_ERR_INVALID_OUTPUT_NODE);
    default: break;
    }
    WriteLogN(line, LK_VB_NEW_NODE, node);
    LineRedirections::Process().RequestExit(line, node);
}

void CCallFlowControl::SetGotoControl(short channel, const std::wstring& name) {
    const int line = channel - 1;
    const std::string narrow = fw::ole::Narrow(name);
    const bool started = Registry().Started();
    Vertex* named = CheckRedirectLine(channel, NumberOfLines(), started) == RedirectFault::None
                        ? Registry().FindByName(narrow)
                        : nullptr;
    switch (CheckGotoControl(channel, NumberOfLines(), started, named)) {
    case RedirectFault::BadChannel: fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    case RedirectFault::NotStarted: ThrowHostError(KVO_ERR_SYSTEM_NOT_STARTED, IDS_ERR_SYSTEM_NOT_STARTED);
    case RedirectFault::BadControl:
        WriteLogS(line, LK_VB_BAD_CONTROL_NAME, narrow.c_str());
        ThrowHostError(KVO_ERR_CONTROL_NAME_NOT_FOUND, IDS_ERR_CONTROL_NAME_NOT_FOUND);
    default: break;
    }
    WriteLogS(line, LK_VB_NEW_CONTROL_NAME, narrow.c_str());
    LineRedirections::Process().RequestControl(line, named);
}

void CCallFlowControl::TakeCall(short channel) {
    switch (CheckRedirectLine(channel, NumberOfLines(), Registry().Started())) {
    case RedirectFault::BadChannel: fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    case RedirectFault::NotStarted: ThrowHostError(KVO_ERR_SYSTEM_NOT_STARTED, IDS_ERR_SYSTEM_NOT_STARTED);
    default: break;
    }
    LineRedirections::Process().RequestControl(channel - 1, this);
}

// ---- running on a line's thread ----

bool CCallFlowControl::Run(int line, short, short& exit, Vertex*& next) {
    if (!EnterStep(line, exit, next)) exit = 0;
    return true;
}

bool CCallFlowControl::EnterStep(int line, short& exit, Vertex*& next) {
    const short channel = short(line + 1);
    HandOver(line, [&] { FireEvent(EVENTID_ENTER, {fw::ole::Variant(channel)}); });
    return TakeHostRequest(line, exit, next);
}

bool CCallFlowControl::TakeHostRequest(int line, short& exit, Vertex*& next) {
    LineRedirections& slots = LineRedirections::Process();
    if (short node = slots.RequestedExit(line); node >= 0) {
        WriteLogN(line, LK_VB_NEW_NODE, node);
        exit = node;
        return true;
    }
    if (Vertex* control = slots.RequestedControl(line)) {
        WriteLogS(line, LK_VB_NEW_CONTROL_NAME, control->Name().c_str());
        next = control;
        return true;
    }
    return false;
}

void CCallFlowControl::HandOver(int line, const std::function<void()>& fire) {
    HandOverMark mark(line);
    HostState state = HostState::Runs;
    const auto askHost = [&] {
        state = !AmbientUserMode()                   ? HostState::NotRunning
                : AmbientUIDead() || EventsFrozen() ? HostState::InBreak
                                                     : HostState::Runs;
    };
    // The form is gone (or going): the line has no host to hand over to.
    if (CallOnOwnThread(askHost) != fw::ole::HandOver::Ran) throw new ShutdownException();
    switch (state) {
    case HostState::InBreak: throw new VBBreakException();
    case HostState::NotRunning:
        WriteLog(line, LK_STOPPED_VB_BREAK);
        throw new ControlErrorException(151, 0);
    case HostState::Runs: break;
    }
    LineRedirections::Process().Clear(line);
    if (CallOnOwnThread(fire) != fw::ole::HandOver::Ran) throw new ShutdownException();
}

short CCallFlowControl::FireExit(int line, short node) {
    fw::ole::Variant args[] = {fw::ole::Variant(short(line + 1)), fw::ole::Variant(node)};
    HandOver(line, [&] { FireEvent(EVENTID_EXIT, args, {1}); });
    return short(args[1].Long());
}

void CCallFlowControl::FireVoiceError(int line, long type, long data) {
    fw::ole::Variant processed;
    processed.Get()->vt = VT_BOOL;
    processed.Get()->boolVal = VARIANT_FALSE;
    fw::ole::Variant args[] = {fw::ole::Variant(short(line + 1)), fw::ole::Variant(type), fw::ole::Variant(data),
                               processed};
    HandOver(line, [&] { FireEvent(EVENTID_VOICEERROR, args, {3}); });
}

void CCallFlowControl::FireDisconnect(int line, long reason) {
    HandOver(line, [&] { FireEvent(EVENTID_DISCONNECT, {fw::ole::Variant(short(line + 1)), fw::ole::Variant(reason)}); });
}

// ---- frame and values ----

FormFrame* CCallFlowControl::Frame() const {
    fw::ole::ComPtr<IOleClientSite> site;
    const_cast<CCallFlowControl*>(this)->GetClientSite(site.Put());
    return FrameOfSite(site.Get());
}

STDMETHODIMP CCallFlowControl::IsDirty() { return placedOnPageZero_ ? S_OK : Control::IsDirty(); }

STDMETHODIMP CCallFlowControl::Save(IStream* stream, BOOL clearDirty) {
    HRESULT hr = Control::Save(stream, clearDirty);
    if (SUCCEEDED(hr) && clearDirty) placedOnPageZero_ = false;
    return hr;
}

STDMETHODIMP CCallFlowControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) {
    HRESULT hr = Control::Save(bag, clearDirty, saveAll);
    if (SUCCEEDED(hr) && clearDirty) placedOnPageZero_ = false;
    return hr;
}

std::optional<std::string> CCallFlowControl::GetValueName(int, int) const { return std::nullopt; }
std::optional<std::string> CCallFlowControl::GetValueText(int, int) const { return std::string(); }
void CCallFlowControl::SetValueText(int, std::string_view, int) {}

size_t CCallFlowControl::ChannelIndex(short channel) {
    if (channel < 1 || channel > NumberOfLines() || channel > kMaxLines)
        fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex, IDS_INVALID_INDEX);
    return size_t(channel - 1);
}

void CCallFlowControl::CheckReferenceText(std::string_view text, const char* what, CheckReport& report) {
    const auto pieces = SplitReferences(text);
    bool known = pieces.has_value();
    for (const TextPiece& piece : pieces.value_or(std::vector<TextPiece>{})) {
        if (!piece.reference) continue;
        const std::string_view control = SplitToken(piece.text).control;
        if (IsThisReference(control) || IsChannelReference(control)) continue;
        if (!FindValueOwner(RuntimeValues(), control).owner) known = false;
    }
    if (!known)
        report.Add(Severity::Error, std::string("unknown control name in ") + what + " " + std::string(text), 1399);
}

std::optional<std::string> CCallFlowControl::ReadValue(int line, int index) {
    return GetValue(RuntimeValues(), *this, line, index);
}

std::optional<std::string> CCallFlowControl::SubstituteText(int line, std::string_view text) {
    return Substitute(RuntimeValues(), this, text, line);
}

std::string CCallFlowControl::SubstituteOrRaise(int line, std::string_view text) {
    std::optional<std::string> out = SubstituteText(line, text);
    if (!out) throw new ControlErrorException(kErrorTypeSubstitution, 0);
    return std::move(*out);
}

// ---- saved form ----

void CCallFlowControl::DoPropExchange(fw::ole::PropExchange& px) {
    PxItems ex(px);
    ExchangeOwnItems(ex);
    ExchangeConditions(ex, conditions_->List());
    Control::DoPropExchange(px);
    ExchangeBaseItems(ex);
}

void CCallFlowControl::ExchangeBaseItems(ItemExchange& ex) {
    ex.Long(L"Pos_X", posX_, 0);
    ex.Long(L"Pos_Y", posY_, 0);

    long blockId = BlockId();
    ex.Long(L"BlockId", blockId, 0);
    if (ex.Loading()) Registry().AdoptStoredBlockId(*this, blockId, Now());

    long page = Page();
    ex.Long(L"FramePage", page, -1);
    if (ex.Loading()) {
        SetPage(page);
        placedOnPageZero_ = false;
        // A new control has no stored page to check against the inventory.
        FormFrame* frame = ex.New() ? nullptr : Frame();
        if (frame && frame->InventoryLoaded()) {
            if (std::optional<long> stored = frame->TakeInventoryPage(Name())) {
                SetPage(*stored);
            } else {
                // Missing from the frame's list: show it on the first page
                // and have the form saved again.
                SetPage(0);
                frame->ShowOnPage(Name(), 0);
                placedOnPageZero_ = true;
            }
        }
    }

    ExchangeNodes(ex, *this);

    // Comments are kept in design mode only; at run time they are read past.
    if (!AmbientUserMode()) {
        ex.String(L"Comment", comment_, L"");
    } else {
        std::wstring dropped;
        ex.String(L"Comment", dropped, L"");
    }
}

void CCallFlowControl::OnDraw(HDC dc, const RECT& bounds) {
    FillRect(dc, &bounds, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    FrameRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT text = bounds;
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, kind_.className, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace kvo
