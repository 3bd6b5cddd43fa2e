// The LineGroup control (see LineGroupCtrl.h).
#include "LineGroupCtrl.h"

#include "ChannelLog.h"
#include "Checks.h"
#include "KvoResource.h"
#include "LineState.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"
#include "kvo32.h"
#include "fw/ole/Text.h"

namespace kvo {

namespace {

using fw::ole::Method;
using fw::ole::Property;
using fw::ole::ReadOnlyProperty;

enum : DISPID { EVENTID_RING = 1, EVENTID_PREDISC = 2 };
constexpr long kModeWaitForRing = 2;
constexpr long kModeCallAfterDelay = 4;
constexpr int kHelpLineInUse = 1171;
constexpr long kDriverStopped = 18;
constexpr long kDelayRanOut = 12;
constexpr long kRingAnswered = 0;
constexpr long kRingConnected = 32;

const CCallFlowControl::Kind kLineGroup{CLSID_LineGroup, DIID__DLineGroup, DIID__DLineGroupEvents, "LineGroup", 5, 1};

constexpr auto kLineGroupDispatch = JoinDispatch(
    kCallFlowDispatch,
    std::array{
        Property<&CLineGroupCtrl::GetDelayTime, &CLineGroupCtrl::SetDelayTime>(1),
        Property<&CLineGroupCtrl::GetHelpDigit, &CLineGroupCtrl::SetHelpDigit>(2),
        Property<&CLineGroupCtrl::GetLineType, &CLineGroupCtrl::SetLineType>(3),
        Property<&CLineGroupCtrl::GetNumDIDDigits, &CLineGroupCtrl::SetNumDIDDigits>(4),
        Property<&CLineGroupCtrl::GetRingsToAnswer, &CLineGroupCtrl::SetRingsToAnswer>(5),
        Property<&CLineGroupCtrl::GetIMaxCallTime, &CLineGroupCtrl::SetIMaxCallTime>(6),
        Property<&CLineGroupCtrl::GetMode, &CLineGroupCtrl::SetMode>(7),
        Property<&CLineGroupCtrl::GetLinesInGroup, &CLineGroupCtrl::SetLinesInGroup>(8),
        Property<&CLineGroupCtrl::GetMaxCallTime, &CLineGroupCtrl::SetMaxCallTime>(9),
        ReadOnlyProperty<&CLineGroupCtrl::GetLineStatus>(10),
        ReadOnlyProperty<&CLineGroupCtrl::GetCurrentControl>(11),
        ReadOnlyProperty<&CLineGroupCtrl::GetPreviousControl>(12),
        ReadOnlyProperty<&CLineGroupCtrl::GetCallerID>(13),
        ReadOnlyProperty<&CLineGroupCtrl::GetCallerName>(14),
        Method<&CLineGroupCtrl::Connect>(15),
        Method<&CLineGroupCtrl::AddChannel>(16),
        Method<&CLineGroupCtrl::RemoveChannel>(17),
        Method<&CLineGroupCtrl::WaitForRing>(18),
        Method<&CLineGroupCtrl::StartCall>(19),
        Method<&CLineGroupCtrl::StopCall>(20),
        Method<&CLineGroupCtrl::IdleChannel>(21),
    });

std::wstring NameOf(const CCallFlowControl* c) { return c ? fw::ole::Widen(c->Name()) : L""; }

std::string OwnerName(LineHome* owner) { return owner ? owner->HomeControl().Name() : ""; }

}  // namespace

CLineGroupCtrl::CLineGroupCtrl() : CCallFlowControl(kLineGroup) { RegisterHome(*this); }

CLineGroupCtrl::~CLineGroupCtrl() {
    // Its lines' threads run in this object.
    ShutdownVoiceSystem();
    UnregisterHome(*this);
    ReleaseLines();
}

std::span<const fw::ole::DispatchEntry> CLineGroupCtrl::DispatchMap() const { return kLineGroupDispatch; }

std::string CLineGroupCtrl::NodeName(int node) const {
    static const char* const kNames[] = {"Start", "Ring", "Call stopped", "Invalid digit handler", "No digits handler",
                                         "Global help digit detected"};
    return node >= 0 && node < 6 ? kNames[node] : Vertex::NodeName(node);
}

// ---- saved properties ----

void CLineGroupCtrl::ExchangeOwnItems(ItemExchange& ex) {
    // A loaded form that lacks an item gets the old defaults (DelayTime 4,
    // Mode idle); only a new control starts with 5 and wait-for-ring.
    ex.Long(L"DelayTime", delayTime_, 4);
    ex.Long(L"HelpDigit", helpDigit_, 0);
    ex.Long(L"LineType", lineType_, 1);
    ex.Long(L"NumDIDDigits", numDIDDigits_, 0);
    ex.Long(L"RingsToAnswer", ringsToAnswer_, 1);
    ex.Short(L"MaxCallTime", maxCallTime_, 0);
    ex.Short(L"Mode", mode_, 0);
    ex.String(L"LinesInGroup", linesText_, L"");
    if (ex.Loading()) BindLines();
}

STDMETHODIMP CLineGroupCtrl::InitNew() {
    HRESULT hr = CCallFlowControl::InitNew();
    delayTime_ = 5;
    mode_ = kModeWaitForRing;
    return hr;
}

void CLineGroupCtrl::SetDelayTime(long v) {
    delayTime_ = v;
    SetModified();
}

void CLineGroupCtrl::SetHelpDigit(long v) {
    helpDigit_ = v;
    SetNumNodesMethod(short(v ? 6 : 5));
    BindLines();
    SetModified();
}

void CLineGroupCtrl::SetLineType(long v) {
    lineType_ = v;
    BindLines();
    SetModified();
}

void CLineGroupCtrl::SetNumDIDDigits(long v) {
    numDIDDigits_ = v;
    SetModified();
}

void CLineGroupCtrl::SetRingsToAnswer(long v) {
    ringsToAnswer_ = v;
    SetModified();
}

void CLineGroupCtrl::SetIMaxCallTime(short v) {
    maxCallTime_ = v;
    SetModified();
}

void CLineGroupCtrl::SetMode(short v) {
    mode_ = v;
    SetModified();
}

void CLineGroupCtrl::SetLinesInGroup(const std::wstring& text) {
    linesText_ = text;
    BindLines();
    SetModified();
}

void CLineGroupCtrl::ReleaseLines() {
    std::lock_guard guard(linesLock_);
    for (int line = 0; line < kDispatchLines; ++line)
        if (owned_.test(size_t(line))) ReleaseLine(line, this);
    owned_.reset();
}

void CLineGroupCtrl::BindLines() {
    ReleaseLines();
    wanted_ = ParseLinesInGroup(fw::ole::Narrow(linesText_));
    if (wanted_.any()) SetNumNodes(helpDigit_ ? 6 : 5);
    std::lock_guard guard(linesLock_);
    for (int line = 0; line < kDispatchLines; ++line)
        if (wanted_.test(size_t(line)) && !AssignLine(line, this, lineType_, helpDigit_)) owned_.set(size_t(line));
}

void CLineGroupCtrl::CheckLines(CheckReport& report) {
    for (int line = 0; line < kDispatchLines; ++line) {
        if (!wanted_.test(size_t(line))) continue;
        LineHome* owner = LineOwner(line);
        if (owner && owner != this) {
            char text[160];
            snprintf(text, sizeof text, "line %i already in use by %s.", line + 1, OwnerName(owner).c_str());
            report.Add(Severity::Error, text, kHelpLineInUse);
        }
    }
}

// ---- host members ----

int CLineGroupCtrl::CheckedLine(short channel) const {
    if (channel < 1 || channel > NumberOfLines() || channel > kDispatchLines)
        fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    if (!SystemStarted()) ThrowHostError(KVO_ERR_SYSTEM_NOT_STARTED, IDS_ERR_SYSTEM_NOT_STARTED);
    return channel - 1;
}

void CLineGroupCtrl::RequireWaitingHere(int line) const {
    if (CurrentControl(line) != this) ThrowHostError(KVO_ERR_CALL_NOT_IN_CONTROL, IDS_ERR_CALL_NOT_IN_CONTROL);
}

void CLineGroupCtrl::RequireOwned(int line) const {
    if (LineOwner(line) != this) ThrowHostError(KVO_ERR_LINE_NOT_ALLOCATED, IDS_ERR_LINE_NOT_ALLOCATED);
}

short CLineGroupCtrl::GetMaxCallTime(short channel) const {
    return short(callMaxTime_[size_t(CheckedLine(channel))].load());
}

void CLineGroupCtrl::SetMaxCallTime(short channel, short seconds) {
    callMaxTime_[size_t(CheckedLine(channel))] = seconds;
}

std::wstring CLineGroupCtrl::GetLineStatus(short channel) const {
    return fw::ole::Widen(LineStatusShown(CheckedLine(channel)));
}

std::wstring CLineGroupCtrl::GetCurrentControl(short channel) const {
    return NameOf(CurrentControl(CheckedLine(channel)));
}

std::wstring CLineGroupCtrl::GetPreviousControl(short channel) const {
    return NameOf(PreviousControl(CheckedLine(channel)));
}

std::optional<std::string> CLineGroupCtrl::GetValueName(int, int index) const {
    if (index == 0) return std::string("CallerID");
    if (index == 1) return std::string("CallerName");
    return std::nullopt;
}

// The simulated and supported cards deliver no caller identification.
std::wstring CLineGroupCtrl::GetCallerID(short channel) const {
    CheckedLine(channel);
    return L"";
}

std::wstring CLineGroupCtrl::GetCallerName(short channel) const {
    CheckedLine(channel);
    return L"";
}

void CLineGroupCtrl::AddChannel(short channel) {
    const int line = CheckedLine(channel);
    if (LineHome* owner = AssignLine(line, this, lineType_, helpDigit_)) {
        WriteLogSN(line, LK_TEXT_NOTE, ("Line " + std::to_string(channel) + " already in use by " + OwnerName(owner) + ".").c_str(), 0);
        ThrowHostError(KVO_ERR_LINE_IN_USE, IDS_ERR_LINE_IN_USE);
    }
    {
        std::lock_guard guard(linesLock_);
        owned_.set(size_t(line));
    }
    StartLine(line, *this);
}

void CLineGroupCtrl::RemoveChannel(short channel) {
    const int line = CheckedLine(channel);
    RequireOwned(line);
    RequireWaitingHere(line);
    request_[size_t(line)] = kLeaveGroup;
}

void CLineGroupCtrl::WaitForRing(short channel) {
    const int line = CheckedLine(channel);
    RequireWaitingHere(line);
    if (mode_ & kModeCallAfterDelay) ThrowHostError(KVO_ERR_STATE_DOES_NOT_ALLOW, IDS_ERR_STATE_DOES_NOT_ALLOW);
    request_[size_t(line)] = kWaitRing;
    if (!StartLine(line, *this)) {
        request_[size_t(line)] = kNoRequest;
        ThrowHostError(KVO_ERR_STATE_DOES_NOT_ALLOW, IDS_ERR_STATE_DOES_NOT_ALLOW);
    }
}

void CLineGroupCtrl::StartCall(short channel) {
    const int line = CheckedLine(channel);
    if (LineOwner(line) != this) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex);
    RequireWaitingHere(line);
    callMaxTime_[size_t(line)] = maxCallTime_;
    request_[size_t(line)] = kCallOut;
    const int status = LineStatusCodeOf(line);
    if (status == kStatusWaitingForRing && LineThreadRunning(line)) {
        if (CVoiceInterface* vi = VoiceInterface()) vi->StopChannel(line);
        return;
    }
    if (status == kStatusIdle && StartLine(line, *this)) return;
    request_[size_t(line)] = kNoRequest;
    ThrowHostError(KVO_ERR_STATE_DOES_NOT_ALLOW, IDS_ERR_STATE_DOES_NOT_ALLOW);
}

void CLineGroupCtrl::StopCall(short channel) { StopLineCall(CheckedLine(channel)); }

void CLineGroupCtrl::IdleChannel(short channel) {
    const int line = CheckedLine(channel);
    RequireOwned(line);
    RequireWaitingHere(line);
    request_[size_t(line)] = kGoIdle;
    if (CVoiceInterface* vi = VoiceInterface()) vi->StopChannel(line);
}

// ---- on the line's thread ----

long CLineGroupCtrl::CallMaxTime(int line) const {
    return line >= 0 && line < kDispatchLines ? callMaxTime_[size_t(line)].load() : 0;
}

void CLineGroupCtrl::NoteDisconnect(int line, long reason) {
    HandOver(line, [&] {
        FireEvent(EVENTID_PREDISC, {fw::ole::Variant(short(line + 1)), fw::ole::Variant(reason)});
    });
}

bool CLineGroupCtrl::FireRing(int line) {
    fw::ole::Variant noOffHook;
    noOffHook.Get()->vt = VT_BOOL;
    noOffHook.Get()->boolVal = VARIANT_FALSE;
    fw::ole::Variant args[] = {fw::ole::Variant(short(line + 1)), noOffHook};
    HandOver(line, [&] { FireEvent(EVENTID_RING, args, {1}); });
    return args[1].Long() != 0;
}

void CLineGroupCtrl::LeaveGroup(int line) {
    {
        std::lock_guard guard(linesLock_);
        owned_.reset(size_t(line));
    }
    ReleaseLine(line, this);
    throw new KillThreadException();
}

void CLineGroupCtrl::CallOut(int line, short& exit) {
    StartCallClock(line);
    WriteLog(line, LK_CALL_OUT);
    exit = 0;
}

bool CLineGroupCtrl::Run(int line, short, short& exit, Vertex*& next) {
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) throw new ShutdownException();
    std::atomic<int>& request = request_[size_t(line)];
    vi->ClearDTMFQueue(line);
    vi->OnHook(line);

    if (mode_ & kModeCallAfterDelay) {
        WriteLog(line, LK_INTER_CALL_DELAY);
        SetLineStatusText(line, kStatusPrecallDelay, "");
        const long r = vi->DelayChannel(line, delayTime_, 0, 0);
        if (KillChannelsRequested()) throw new KillThreadException();
        if (r == kDriverStopped) {
            switch (request.exchange(kNoRequest)) {
            case kCallOut: break;
            case kLeaveGroup: LeaveGroup(line);
            case kGoIdle: throw new KillThreadException();
            default: return false;
            }
        } else if (r != kDelayRanOut && r != 0) {
            return false;
        }
        CallOut(line, exit);
        return true;
    }

    if (request == kCallOut) {
        request = kNoRequest;
        CallOut(line, exit);
        return true;
    }
    if (!(mode_ & kModeWaitForRing) && request != kWaitRing) throw new KillThreadException();
    // A stop that came while the line was busy found nothing to interrupt.
    if (KillChannelsRequested()) throw new KillThreadException();
    request = kNoRequest;
    SetLineStatusText(line, kStatusWaitingForRing, "");
    WriteLog(line, LK_WAITING_FOR_RING);
    const long r = vi->WaitForRing(line, ringsToAnswer_);
    if (KillChannelsRequested()) throw new KillThreadException();
    if (r == kRingAnswered || r == kRingConnected) {
        callMaxTime_[size_t(line)] = maxCallTime_;
        StartCallClock(line);
        const bool noOffHook = FireRing(line);
        const bool connected = r == kRingConnected;
        if (TakeHostRequest(line, exit, next)) {
            // The host took the call elsewhere: it is still answered first.
            if (!noOffHook && !connected) vi->OffHook(line);
            return true;
        }
        WriteLog(line, LK_CALL_IN);
        if (noOffHook) {
            WriteLog(line, LK_NO_OFFHOOK_IN_RING);
            vi->RefuseCall(line);
            next = this;
            return true;
        }
        if (!connected && vi->OffHook(line) != 0 && vi->IsVoiceCard()) return false;
        exit = 1;
        return true;
    }
    if (r == kDriverStopped) {
        switch (request.exchange(kNoRequest)) {
        case kLeaveGroup: LeaveGroup(line);
        case kCallOut: CallOut(line, exit); return true;
        case kGoIdle: throw new KillThreadException();
        default: return false;
        }
    }
    return false;
}

}  // namespace kvo
