// The voice-control base (see VoiceControl.h).
#include "VoiceControl.h"

#include "AppSettings.h"
#include "Phrase.h"
#include "fw/ole/Text.h"

namespace kvo {

CVoiceControl::CVoiceControl(const Kind& kind) : CCallFlowControl(kind) { entry_->SetName(L"Entry"); }

std::span<const fw::ole::DispatchEntry> CVoiceControl::DispatchMap() const { return kVoiceDispatch; }

void CVoiceControl::SetClearDigits(bool on) {
    clearDigits_ = on;
    SetModified();
}

void CVoiceControl::SetEntryGreeting(const fw::ole::ComPtr<IDispatch>& greeting) {
    entry_->Copy(greeting);
    entry_->SetName(L"Entry");  // the role stays: it names the saved keys
    SetModified();
}

std::wstring CVoiceControl::GetGreetingNames(short index) const { return index == 0 ? entry_->GetName() : L""; }

void CVoiceControl::SetDisconnectControl(const std::wstring& name) { SetHandlerName(disconnectControl_, name); }
void CVoiceControl::SetHelpdigitControl(const std::wstring& name) { SetHandlerName(helpdigitControl_, name); }
Vertex* CVoiceControl::DisconnectHandler() const { return ResolveHandler(disconnectControl_); }
Vertex* CVoiceControl::HelpdigitHandler() const { return ResolveHandler(helpdigitControl_); }

std::optional<PhraseData> CVoiceControl::FirePhraseError(int line, short error, const PhraseData& failed) {
    auto copy = fw::ole::MakeAutomation<CPhrase>();
    copy->Assign(failed);
    fw::ole::Variant phrase;
    phrase.Get()->vt = VT_DISPATCH;
    phrase.Get()->pdispVal = copy->AsDispatch().Detach();
    fw::ole::Variant args[] = {fw::ole::Variant(short(line + 1)), fw::ole::Variant(error), phrase};
    HandOver(line, [&] { FireEvent(EVENTID_PHRASEERROR, args, {1}); });
    if (copy->Data() == failed && !copy->Modified()) return std::nullopt;
    return copy->Data();
}

std::optional<GreetingData> CVoiceControl::FirePlayRequest(int line, const std::string& name) {
    auto greeting = fw::ole::MakeAutomation<CGreeting>();
    greeting->SetName(L"Play");
    fw::ole::Variant object;
    object.Get()->vt = VT_DISPATCH;
    object.Get()->pdispVal = greeting->AsDispatch().Detach();
    HandOver(line, [&] {
        FireEvent(EVENTID_PLAYREQUEST, {fw::ole::Variant(short(line + 1)), fw::ole::Variant(fw::ole::Widen(name)), object});
    });
    if (greeting->GetCount() == 0) return std::nullopt;
    return greeting->Data();
}

bool CVoiceControl::HostRuns() {
    bool runs = false;
    return CallOnOwnThread([&] { runs = AmbientUserMode() && !AmbientUIDead(); }) == fw::ole::HandOver::Ran && runs;
}

void CVoiceControl::CheckGreetings(CheckReport& report) {
    const std::unique_ptr<PhraseCheckContext> context = MakeDesignCheckContext(true);
    for (CGreeting* greeting : SpokenGreetings()) {
        GreetingData data = greeting->Data();
        const long format = data.fileformat == -1 ? CurrentAppSettings().playFormat : data.fileformat;
        PhraseCheckResult result;
        const bool ok = CheckGreeting(data, format, *context, result);
        if (auto line = GreetingCheckReport(&data, fw::ole::Narrow(data.name), ok, result))
            report.Add(line->level >= 2 ? Severity::Error : Severity::Warning, line->text, 0);
    }
}

void CVoiceControl::ExchangeOwnItems(ItemExchange& ex) {
    GreetingData entry = entry_->Data();
    ExchangeGreeting(ex, entry);
    if (ex.Loading()) entry_->Assign(entry);
    ex.Bool(L"ClearDigits", clearDigits_, true);
    ExchangeHandlerName(ex, L"DisconnectControlName", disconnectControl_);
    ExchangeHandlerName(ex, L"HelpdigitControlName", helpdigitControl_);
}

}  // namespace kvo
