// The Dial control (see DialCtrl.h).
#include "DialCtrl.h"

#include <algorithm>
#include <ctime>

#include "ChannelLog.h"
#include "GreetingPlayer.h"
#include "KvoResource.h"
#include "PxItems.h"
#include "RuntimeExceptions.h"
#include "VoiceSystem.h"
#include "kvo32.h"
#include "fw/ole/Text.h"

namespace kvo {

namespace {

using fw::ole::Property;
using fw::ole::ReadOnlyProperty;

const CCallFlowControl::Kind kDial{CLSID_Dial, DIID__DDial, DIID__DDialEvents, "Dial", 1, 1};

constexpr auto kDialDispatch = JoinDispatch(
    kVoiceDispatch,
    std::array{
        Property<&CDialCtrl::GetINumToDial, &CDialCtrl::SetINumToDial>(1),
        Property<&CDialCtrl::GetICustomCPL, &CDialCtrl::SetICustomCPL>(2),
        Property<&CDialCtrl::GetWaitForDialtone, &CDialCtrl::SetWaitForDialtone>(3),
        Property<&CDialCtrl::GetDetectAnsMachine, &CDialCtrl::SetDetectAnsMachine>(4),
        Property<&CDialCtrl::GetDoTransfer, &CDialCtrl::SetDoTransfer>(5),
        Property<&CDialCtrl::GetUseDatabase, &CDialCtrl::SetUseDatabase>(6),
        Property<&CDialCtrl::GetDataFind, &CDialCtrl::SetDataFind>(7),
        Property<&CDialCtrl::GetNumToDial, &CDialCtrl::SetNumToDial>(8),
        Property<&CDialCtrl::GetCPLFile, &CDialCtrl::SetCPLFile>(9),
        ReadOnlyProperty<&CDialCtrl::GetCallResult>(10),
        ReadOnlyProperty<&CDialCtrl::GetCallTime>(11),
    });

constexpr const char* kProgressNodes[] = {"NoDialTone", "Answer", "NoAnswer", "Busy", "FastBusy", "NoRinging"};

std::string CallTimeNow() {
    const std::time_t now = std::time(nullptr);
    // The C runtime keeps localtime's result per thread.
    const std::tm* local = std::localtime(&now);
    char text[32] = {};
    if (local) std::strftime(text, sizeof text, "%m/%d/%Y %H:%M", local);
    return text;
}

// Entered text as a 16-bit number: leading decimal digits, clamped; none
// gives 0.
short DecimalShort(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 32768L);
    if (negative) value = -value;
    return short(std::clamp(value, -32768L, 32767L));
}

}  // namespace

short CallProgressExit(long result) {
    switch (result) {
    case kCallNoDialTone: return 0;
    case kCallConnected: return 1;
    case kCallNoAnswer: return 2;
    case kCallBusy: return 3;
    case kCallFastBusy: return 4;
    case kCallNoRinging: return 5;
    case kCallAnsweringMachine: return 6;
    default: return kExitHangup;
    }
}

CDialCtrl::CDialCtrl() : CVoiceControl(kDial) {}

std::span<const fw::ole::DispatchEntry> CDialCtrl::DispatchMap() const { return kDialDispatch; }

// ---- design-time properties ----

void CDialCtrl::Relayout() {
    int nodes = 1;
    if (CallProgress()) nodes = detectAnsMachine_ ? 8 : 7;
    else if (waitForDialtone_) nodes = 2;
    SetNumNodes(nodes);
}

std::wstring CDialCtrl::GetINumToDial() const {
    std::lock_guard guard(textLock_);
    return number_;
}
std::wstring CDialCtrl::GetICustomCPL() const {
    std::lock_guard guard(textLock_);
    return customCpl_;
}
bool CDialCtrl::CallProgress() const {
    std::lock_guard guard(textLock_);
    return !number_.empty() && number_[0] == L'S';
}

void CDialCtrl::SetINumToDial(const std::wstring& v) {
    {
        std::lock_guard guard(textLock_);
        number_ = v;
    }
    Relayout();
    SetModified();
}
void CDialCtrl::SetICustomCPL(const std::wstring& v) {
    {
        std::lock_guard guard(textLock_);
        customCpl_ = v;
    }
    SetModified();
}
void CDialCtrl::SetWaitForDialtone(bool v) {
    waitForDialtone_ = v;
    Relayout();
    SetModified();
}
void CDialCtrl::SetDetectAnsMachine(bool v) {
    detectAnsMachine_ = v;
    Relayout();
    SetModified();
}
void CDialCtrl::SetDoTransfer(bool v) {
    doTransfer_ = v;
    SetModified();
}
void CDialCtrl::SetUseDatabase(bool v) {
    useDatabase_ = v;
    SetModified();
}
void CDialCtrl::SetDataFind(const std::wstring& v) {
    dataFind_ = v;
    SetModified();
}

std::string CDialCtrl::NodeName(int node) const {
    if (node < 0 || node >= NumNodes()) return {};
    if (CallProgress()) {
        if (node < 6) return kProgressNodes[node];
        return node == 6 && detectAnsMachine_ ? "Ans M/C" : "Fax";
    }
    if (waitForDialtone_) return node == 0 ? "NoDialTone" : "Dialled";
    return doTransfer_ ? "" : "Dialled";
}

void CDialCtrl::ExchangeOwnItems(ItemExchange& ex) {
    ex.String(L"DialNumber", number_, L"");
    ex.String(L"CustomCPL", customCpl_, L"");
    ex.Bool(L"WaitForDialtone", waitForDialtone_, false);
    ex.Bool(L"DetectAnsMachine", detectAnsMachine_, false);
    ex.Bool(L"DoTransfer", doTransfer_, false);
    ex.Bool(L"UseDatabase", useDatabase_, false);
    ex.String(L"DataFind", dataFind_, L"");
    // A form that stores no node count gets the layout its settings choose.
    if (ex.Loading()) Relayout();
    CVoiceControl::ExchangeOwnItems(ex);
}

// ---- the line's call ----

std::wstring CDialCtrl::GetNumToDial(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineCall& c) { return fw::ole::Widen(c.number); });
}
void CDialCtrl::SetNumToDial(short channel, const std::wstring& number) {
    lines_.With(ChannelIndex(channel), [&](LineCall& c) { c.number = fw::ole::Narrow(number); });
}
std::wstring CDialCtrl::GetCPLFile(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineCall& c) { return fw::ole::Widen(c.cplFile); });
}
void CDialCtrl::SetCPLFile(short channel, const std::wstring& file) {
    const size_t line = ChannelIndex(channel);
    const std::string narrow = fw::ole::Narrow(file);
    WriteLogS(int(line), LK_VB_CPL_FILE, narrow.c_str());
    lines_.With(line, [&](LineCall& c) { c.cplFile = narrow; });
}
short CDialCtrl::GetCallResult(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineCall& c) { return c.result; });
}
std::wstring CDialCtrl::GetCallTime(short channel) const {
    return lines_.With(ChannelIndex(channel), [](const LineCall& c) { return fw::ole::Widen(c.time); });
}

std::optional<std::string> CDialCtrl::GetValueName(int, int index) const {
    static const char* const kNames[] = {"CallResult", "NumToDial", "CallTime"};
    if (index < 0 || index >= 3) return std::nullopt;
    return std::string(kNames[index]);
}

std::optional<std::string> CDialCtrl::GetValueText(int line, int index) const {
    if (line < 0 || line >= kDispatchLines) return std::nullopt;
    return lines_.With(size_t(line), [&](const LineCall& call) -> std::optional<std::string> {
        switch (index) {
        case 0: return std::to_string(call.result);
        case 1: return call.number;
        case 2: return call.time;
        default: return std::nullopt;
        }
    });
}

void CDialCtrl::SetValueText(int line, std::string_view text, int index) {
    if (index < 0 || index > 2 || line < 0 || line >= kDispatchLines) return;
    lines_.With(size_t(line), [&](LineCall& call) {
        switch (index) {
        case 0: call.result = DecimalShort(text); break;
        case 1: call.number = text; break;
        default: call.time = text; break;
        }
    });
    MarkValueReady(index);
}

// ---- check and run ----

void CDialCtrl::Check(CheckReport& report) {
    const std::string number = fw::ole::Narrow(GetINumToDial());
    if (number.empty() && !useDatabase_) report.Add(Severity::Error, "no dial number specified", 0);
    else CheckReferenceText(number, "dial number", report);
    if (!doTransfer_ && EntryGreeting().GetCount() > 0)
        report.Add(Severity::Error, "entry greeting is not empty in a dial control without transfer set", 0);
    // The data controls are not part of this library: no DataFind of that
    // name can be found, so its number can never be read.
    if (useDatabase_)
        report.Add(Severity::Error, "DataFind control not found: " + fw::ole::Narrow(dataFind_), 0);
}

short CDialCtrl::DialWithProgress(int line, const std::string& number) {
    CVoiceInterface& vi = *VoiceInterface();
    const long r = doTransfer_ ? vi.TransferSupervised(line, number, waitForDialtone_)
                               : vi.DialOut(line, number, waitForDialtone_, 0);
    lines_.With(size_t(line), [&](LineCall& c) { c.result = short(r); });
    return CallProgressExit(r);
}

short CDialCtrl::DialWithoutProgress(int line, const std::string& number) {
    CVoiceInterface& vi = *VoiceInterface();
    const long r = doTransfer_ ? vi.TransferBlind(line, number, waitForDialtone_)
                               : vi.DialNoProgress(line, number, waitForDialtone_);
    if (waitForDialtone_ && r == kCallNoDialTone) return 0;
    if (r != 0) throw new ControlErrorException(34, r);
    // A blind transfer hands the caller on: this line's call is over.
    if (doTransfer_) return kExitHangup;
    return waitForDialtone_ ? 1 : 0;
}

bool CDialCtrl::Run(int line, short, short& exit, Vertex*& next) {
    if (line < 0 || line >= kDispatchLines) return false;
    if (!VoiceInterface()) throw new ShutdownException();
    // The number is the line's before the host sees the call in Enter.
    const std::string built = SubstituteOrRaise(line, fw::ole::Narrow(GetINumToDial()));
    const std::wstring customCpl = GetICustomCPL();
    const std::string cpl = customCpl.empty() ? Settings().defaultCpl : fw::ole::Narrow(customCpl);
    lines_.With(size_t(line), [&](LineCall& c) { c = LineCall{built, cpl, 0, ""}; });
    SetValueFlags(true);
    GreetingData entry = GreetingCopy(EntryGreeting(), this);
    if (EnterStep(line, exit, next)) return true;
    const std::string number = lines_.With(size_t(line), [](const LineCall& c) { return c.number; });
    WriteLogS(line, LK_NUMBER_TO_DIAL, number.c_str());
    SpeakGreeting(line, entry, *this);

    const bool progress = !number.empty() && number[0] == 'S';
    // The "S" alone is no number either: nothing would be called.
    const std::string dialled = progress ? number.substr(1) : number;
    if (dialled.empty()) {
        if (doTransfer_) {
            exit = kExitHangup;
            return true;
        }
        // Node 0 says "Dialled" in this layout: an empty number is a failed
        // reference, not a call.
        if (!CallProgress() && !waitForDialtone_) throw new ControlErrorException(kErrorTypeSubstitution, 0);
        exit = 0;
        return true;
    }
    lines_.With(size_t(line), [](LineCall& c) { c.time = CallTimeNow(); });
    exit = progress ? DialWithProgress(line, dialled) : DialWithoutProgress(line, dialled);
    return true;
}

}  // namespace kvo
