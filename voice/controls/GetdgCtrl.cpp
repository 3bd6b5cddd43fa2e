// The GetDigits control (see GetdgCtrl.h).
#include "GetdgCtrl.h"

#include "ChannelLog.h"
#include "DigitEntry.h"
#include "GreetingPlayer.h"
#include "KvoResource.h"
#include "LineState.h"
#include "PxItems.h"
#include "RuntimeExceptions.h"
#include "RuntimeValues.h"
#include "VoiceSystem.h"
#include "kvo32.h"
#include "fw/ole/Text.h"

namespace kvo {

namespace {

using fw::ole::Method;
using fw::ole::Property;

enum : DISPID { EVENTID_REENTER = 2, EVENTID_CONDITION = 3 };

// Two inputs: the second is the re-entry from a handler that loops back.
const CCallFlowControl::Kind kGetdg{CLSID_Getdg, DIID__DGetdg, DIID__DGetdgEvents, "GetDigits", 5, 2};

constexpr auto kGetdgDispatch = JoinDispatch(
    kDigitDispatch,
    std::array{
        Property<&CGetdgCtrl::GetIMaxKeys, &CGetdgCtrl::SetIMaxKeys>(1),
        Property<&CGetdgCtrl::GetIMaxSil, &CGetdgCtrl::SetIMaxSil>(2),
        Property<&CGetdgCtrl::GetITermDtmf, &CGetdgCtrl::SetITermDtmf>(3),
        Property<&CGetdgCtrl::GetRetryOnSilence, &CGetdgCtrl::SetRetryOnSilence>(4),
        Property<&CGetdgCtrl::GetUseDefaultError, &CGetdgCtrl::SetUseDefaultError>(5),
        Property<&CGetdgCtrl::GetDisableHelp, &CGetdgCtrl::SetDisableHelp>(6),
        Property<&CGetdgCtrl::GetInvalidGreeting, &CGetdgCtrl::SetInvalidGreeting>(7),
        Property<&CGetdgCtrl::GetNoDigitsGreeting, &CGetdgCtrl::SetNoDigitsGreeting>(8),
        Property<&CGetdgCtrl::GetDigits, &CGetdgCtrl::SetDigits>(9),
        Property<&CGetdgCtrl::GetMaxKeys, &CGetdgCtrl::SetMaxKeys>(10),
        Property<&CGetdgCtrl::GetTermDtmf, &CGetdgCtrl::SetTermDtmf>(11),
        Property<&CGetdgCtrl::GetMaxSil, &CGetdgCtrl::SetMaxSil>(12),
    });

// Driver results that end a collection normally: nothing pending, a
// terminating key, the maximum reached, silence, the time limit.
bool CollectionEnded(long result) {
    return result == 0 || result == 9 || result == 10 || result == 12 || result == 14;
}

// Answers the digit check's questions from the live form.
class FormDigitContext : public DigitCheckContext {
public:
    explicit FormDigitContext(CCallFlowControl& self) : self_(self) {}
    bool ControlExists(std::string_view name) override {
        return FindValueOwner(RuntimeValues(), name).owner != nullptr;
    }
    bool NodeLeadsBackHere(int node) override {
        return node < self_.NumNodes() && self_.Node(node).DestBlockId() == self_.BlockId();
    }

private:
    CCallFlowControl& self_;
};

}  // namespace

CGetdgCtrl::CGetdgCtrl() : CDigitControl(kGetdg) {
    invalid_->SetName(L"Invalid");
    invalid_->InsertNamedPhrase(-1, L"kavoro.vap", L"that was not a valid entry");
    silence_->SetName(L"Silence");
    for (wchar_t key = L'0'; key <= L'4'; ++key)
        MutableConditions().push_back({std::wstring(1, key), std::wstring(1, key), false});
}

std::span<const fw::ole::DispatchEntry> CGetdgCtrl::DispatchMap() const { return kGetdgDispatch; }

// ---- design-time properties ----

void CGetdgCtrl::SetIMaxKeys(short v) {
    maxKeys_ = v;
    SetModified();
}
void CGetdgCtrl::SetIMaxSil(short v) {
    maxSil_ = v;
    SetModified();
}
void CGetdgCtrl::SetITermDtmf(long v) {
    termDtmf_ = v;
    SetModified();
}
void CGetdgCtrl::SetRetryOnSilence(bool v) {
    retryOnSilence_ = v;
    SetModified();
}
void CGetdgCtrl::SetDisableHelp(bool v) {
    disableHelp_ = v;
    SetModified();
}

void CGetdgCtrl::SetUseDefaultError(bool v) {
    if (v == useDefaultError_) return;
    // Running lines read the nodes as this setting numbers them.
    if (!SetNumNodesMethod(short(FirstConditionNode(v) + int(Conditions().size()))))
        ThrowHostError(KVO_ERR_STATE_DOES_NOT_ALLOW, IDS_ERR_STATE_DOES_NOT_ALLOW);
    useDefaultError_ = v;
    SetModified();
}

void CGetdgCtrl::SetInvalidGreeting(const fw::ole::ComPtr<IDispatch>& greeting) {
    invalid_->Copy(greeting);
    invalid_->SetName(L"Invalid");
    SetModified();
}

void CGetdgCtrl::SetNoDigitsGreeting(const fw::ole::ComPtr<IDispatch>& greeting) {
    silence_->Copy(greeting);
    silence_->SetName(L"Silence");
    SetModified();
}

std::wstring CGetdgCtrl::GetGreetingNames(short index) const {
    switch (index) {
    case 0: return CVoiceControl::GetGreetingNames(0);
    case 1: return invalid_->GetName();
    case 2: return silence_->GetName();
    default: return L"";
    }
}

DigitSettings CGetdgCtrl::Settings() const {
    DigitSettings s;
    for (const Condition& c : Conditions())
        s.conditions.push_back({fw::ole::Narrow(c.name), fw::ole::Narrow(c.data), c.useVB});
    s.maxKeys = maxKeys_;
    s.maxSil = maxSil_;
    s.termDtmf = termDtmf_;
    s.useDefaultError = useDefaultError_;
    s.disableHelp = disableHelp_;
    s.helpdigitControl = fw::ole::Narrow(GetHelpdigitControl());
    return s;
}

std::string CGetdgCtrl::NodeName(int node) const {
    return DigitNodeName(Registry().Started() ? checked_ : Settings(), node);
}

void CGetdgCtrl::ExchangeOwnItems(ItemExchange& ex) {
    for (CGreeting* g : {invalid_.Get(), silence_.Get()}) {
        GreetingData data = g->Data();
        ExchangeGreeting(ex, data);
        if (ex.Loading()) g->Assign(data);
    }
    ex.Short(L"MaxKeys", maxKeys_, 0);
    ex.Short(L"MaxSil", maxSil_, 3);
    ex.Long(L"TermDtmf", termDtmf_, 0);
    ex.Bool(L"RetryOnSilence", retryOnSilence_, false);
    ex.Bool(L"useDefaultError", useDefaultError_, true);
    ex.Bool(L"DisableHelp", disableHelp_, true);
    CDigitControl::ExchangeOwnItems(ex);
}

// ---- the line's request ----

std::wstring CGetdgCtrl::GetDigits(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineRequest& r) { return fw::ole::Widen(r.digits); });
}
void CGetdgCtrl::SetDigits(short channel, const std::wstring& digits) {
    lines_.With(ChannelIndex(channel), [&](LineRequest& r) { r.digits = fw::ole::Narrow(digits); });
}
short CGetdgCtrl::GetMaxKeys(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineRequest& r) { return short(r.request.maxKeys); });
}
void CGetdgCtrl::SetMaxKeys(short channel, short keys) {
    lines_.With(ChannelIndex(channel), [&](LineRequest& r) { r.request.maxKeys = keys; });
}
long CGetdgCtrl::GetTermDtmf(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineRequest& r) { return long(r.request.termMask); });
}
void CGetdgCtrl::SetTermDtmf(short channel, long mask) {
    lines_.With(ChannelIndex(channel), [&](LineRequest& r) { r.request.termMask = mask; });
}
short CGetdgCtrl::GetMaxSil(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineRequest& r) { return short(r.request.silence); });
}
void CGetdgCtrl::SetMaxSil(short channel, short seconds) {
    lines_.With(ChannelIndex(channel), [&](LineRequest& r) { r.request.silence = seconds; });
}

std::optional<std::string> CGetdgCtrl::GetValueName(int, int index) const {
    static const char* const kNames[] = {"Digits", "MaxKeys", "TermDtmf", "MaxSil"};
    if (index < 0 || index >= 4) return std::nullopt;
    return std::string(kNames[index]);
}

std::optional<std::string> CGetdgCtrl::GetValueText(int line, int index) const {
    if (index != 0 || line < 0 || line >= kDispatchLines) return std::nullopt;
    return lines_.With(size_t(line), [](const LineRequest& r) { return std::optional<std::string>(r.digits); });
}

void CGetdgCtrl::SetValueText(int line, std::string_view text, int index) {
    if (index != 0 || line < 0 || line >= kDispatchLines) return;
    lines_.With(size_t(line), [&](LineRequest& r) { r.digits = text; });
    MarkValueReady(index);
}

// ---- check and run ----

void CGetdgCtrl::Check(CheckReport& report) {
    FormDigitContext context(*this);
    checked_ = Settings();
    rules_ = CheckDigitSettings(checked_, context, report);
}

void CGetdgCtrl::FireReEnter(int line) {
    HandOver(line, [&] { FireEvent(EVENTID_REENTER, {fw::ole::Variant(short(line + 1))}); });
}

std::optional<int> CGetdgCtrl::AskHost(int line, int node) {
    fw::ole::Variant accept;
    accept.Get()->vt = VT_BOOL;
    accept.Get()->boolVal = VARIANT_FALSE;
    fw::ole::Variant args[] = {fw::ole::Variant(short(line + 1)), fw::ole::Variant(short(node)), accept};
    HandOver(line, [&] { FireEvent(EVENTID_CONDITION, args, {1, 2}); });
    if (args[2].Get()->vt != VT_BOOL || args[2].Get()->boolVal == VARIANT_FALSE) return std::nullopt;
    const long chosen = args[1].Long();
    // A node the host made up is no exit of this control: it leaves as an
    // unconnected node would, never as an index into the node list.
    if (chosen < 0 || chosen >= NumNodes()) {
        WriteLogN(line, LK_VB_BAD_NODE, chosen);
        return NumNodes();
    }
    return int(chosen);
}

bool CGetdgCtrl::Run(int line, short destInput, short& exit, Vertex*& next) {
    if (line < 0 || line >= kDispatchLines) return false;
    CVoiceInterface* vi = VoiceInterface();
    if (!vi) throw new ShutdownException();
    // Copies: the user interface may edit the design data while lines run.
    GreetingData entry = GreetingCopy(EntryGreeting(), this);
    GreetingData invalidGreeting = GreetingCopy(*invalid_.Get(), this);
    GreetingData silenceGreeting = GreetingCopy(*silence_.Get(), this);
    const DigitSettings& settings = checked_;
    const DigitRules& rules = rules_;
    lines_.With(size_t(line), [&](LineRequest& r) {
        r.errorCount = 0;
        r.digits.clear();
        r.request = DigitRequest{};
        r.request.silence = settings.maxSil;
        r.request.maxKeys = rules.maxKeys;
        r.request.termMask = rules.mask;
        r.request.helpFlag = settings.disableHelp ? 1 : 0;
    });
    SetValueFlags(true);

    const auto countError = [&] { lines_.With(size_t(line), [](LineRequest& r) { ++r.errorCount; }); };
    const auto keepDigits = [&](const std::string& digits) {
        lines_.With(size_t(line), [&](LineRequest& r) { r.digits = digits; });
    };
    if (destInput == 1) {
        countError();
        FireReEnter(line);
        if (TakeHostRequest(line, exit, next)) return true;
    } else if (EnterStep(line, exit, next)) {
        return true;
    }
    if (GetClearDigits()) vi->ClearDTMFQueue(line);

    const long maxRetries = GetMaxRetries();
    int result = kExitNoDigits;
    bool lastInvalid = false;
    const auto resolve = [&](std::string_view pattern) { return SubstituteText(line, pattern); };
    std::string digits;
    // The host deciding a condition reads the keys through Digits(channel).
    const auto decide = [&](int node) {
        keepDigits(digits);
        return AskHost(line, node);
    };
    for (;;) {
        auto [errors, request] =
            lines_.With(size_t(line), [](const LineRequest& r) { return std::pair(r.errorCount, r.request); });
        if (errors > maxRetries) break;
        if (errors > 0) {
            vi->ClearDTMFQueue(line);
            WriteLogN(line, LK_INVALID_COUNT, errors);
            SpeakGreeting(line, lastInvalid ? invalidGreeting : silenceGreeting, *this);
        }
        SpeakGreeting(line, entry, *this);
        WriteLogNN(line, LK_WAIT_DIGITS, request.maxKeys, request.termMask);
        SetLineStatusText(line, kStatusWaitingForDigits, "");
        digits.clear();
        const long r = vi->GetDTMFString(line, request, digits);
        if (!CollectionEnded(r)) throw new ControlErrorException(34, r);
        const ExitChoice choice = ChooseExit(digits, settings, rules, resolve, decide);
        keepDigits(digits);
        if (choice.substitutionFailed) throw new ControlErrorException(kErrorTypeSubstitution, 0);
        result = choice.node;
        if (result >= 0) break;
        if (result == kExitNoDigits && !retryOnSilence_) break;
        lastInvalid = result == kExitInvalid;
        countError();
    }

    if (result >= 0 || settings.useDefaultError) {
        exit = short(result);
        return true;
    }
    const bool silence = result == kExitNoDigits;
    WriteLogN(line, silence ? LK_SILENCE_COUNT_EXCEEDED : LK_ERROR_COUNT_EXCEEDED, maxRetries);
    exit = silence ? 0 : 1;
    return true;
}

}  // namespace kvo
