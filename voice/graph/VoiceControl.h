// CVoiceControl: base of the call-flow controls that speak to the caller and
// listen for digits. It owns the entry greeting and names the controls that
// handle a disconnect and the help digit ("[Default]": the default handling).
#pragma once
#include "CallFlowControl.h"
#include "Greeting.h"

namespace kvo {

constexpr DISPID EVENTID_PHRASEERROR = 104;
constexpr DISPID EVENTID_PLAYREQUEST = 105;

class CVoiceControl : public CCallFlowControl {
public:
    bool GetClearDigits() const { return clearDigits_; }
    void SetClearDigits(bool on);
    fw::ole::ComPtr<IDispatch> GetEntryGreeting() const { return entry_->AsDispatch(); }
    // Takes another greeting's settings and phrases (the object stays ours).
    void SetEntryGreeting(const fw::ole::ComPtr<IDispatch>& greeting);
    // The greetings this control owns, by index; empty after the last.
    virtual std::wstring GetGreetingNames(short index) const;
    std::wstring GetDisconnectControl() const { return disconnectControl_; }
    void SetDisconnectControl(const std::wstring& name);
    std::wstring GetHelpdigitControl() const { return helpdigitControl_; }
    void SetHelpdigitControl(const std::wstring& name);

    // Handler look-ups; none means the default processing.
    Vertex* DisconnectHandler() const;
    Vertex* HelpdigitHandler() const;
    CGreeting& EntryGreeting() { return *entry_.Get(); }
    // PhraseError (channel, error type by reference, a copy of the phrase):
    // the phrase as host code repaired it, or none when it left it as it was.
    std::optional<PhraseData> FirePhraseError(int line, short error, const PhraseData& failed);
    // PlayRequest (channel, phrase name, an empty greeting for host code to
    // fill): the phrases host code put in, none when it added nothing.
    std::optional<GreetingData> FirePlayRequest(int line, const std::string& name);
    // Whether the container runs host code now (asked on the control's thread).
    bool HostRuns();

    // The phrase and greeting checks of every greeting the control says,
    // each reported under the greeting's name.
    void CheckGreetings(CheckReport& report);

protected:
    explicit CVoiceControl(const Kind& kind);
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;
    // The greetings the control says on a call: the entry greeting and those
    // a control adds.
    virtual std::vector<CGreeting*> SpokenGreetings() { return {entry_.Get()}; }

private:
    fw::ole::ComPtr<CGreeting> entry_ = fw::ole::MakeAutomation<CGreeting>();
    bool clearDigits_ = true;
    std::wstring disconnectControl_ = kDefaultHandler;
    std::wstring helpdigitControl_ = kDefaultHandler;
};

inline constexpr auto kVoiceDispatch = JoinDispatch(
    kCallFlowDispatch,
    std::array{
        fw::ole::Property<&CVoiceControl::GetClearDigits, &CVoiceControl::SetClearDigits>(DISPID_CLEARDIGITS),
        fw::ole::Property<&CVoiceControl::GetEntryGreeting, &CVoiceControl::SetEntryGreeting>(DISPID_ENTRYGREETING),
        fw::ole::Method<&CVoiceControl::GetGreetingNames>(DISPID_GETGREETINGNAMES),
        fw::ole::Property<&CVoiceControl::GetDisconnectControl, &CVoiceControl::SetDisconnectControl>(
            DISPID_DISCONNECTCONTROL),
        fw::ole::Property<&CVoiceControl::GetHelpdigitControl, &CVoiceControl::SetHelpdigitControl>(
            DISPID_HELPDIGITCONTROL),
    });

}  // namespace kvo
