// The GetDigits control: says its entry greeting, collects the caller's keys
// and routes the call by the first condition the keys match, one exit node
// per condition. Silence and invalid entries are retried with their own
// greetings; when the retries run out the call goes to the error exits or
// the error handlers. The digit rules themselves live in voice/digits.
#pragma once
#include <string>

#include "DigitCheck.h"
#include "DigitControl.h"
#include "LineTables.h"
#include "PerLine.h"
#include "VoiceInterface.h"

namespace kvo {

class CGetdgCtrl : public CDigitControl {
public:
    CGetdgCtrl();

    // Design-time properties.
    short GetIMaxKeys() const { return maxKeys_; }
    void SetIMaxKeys(short v);
    short GetIMaxSil() const { return maxSil_; }
    void SetIMaxSil(short v);
    long GetITermDtmf() const { return termDtmf_; }
    void SetITermDtmf(long v);
    bool GetRetryOnSilence() const { return retryOnSilence_; }
    void SetRetryOnSilence(bool v);
    bool GetUseDefaultError() const { return useDefaultError_; }
    // Own error exits come before the conditions: the node count follows.
    void SetUseDefaultError(bool v);
    bool GetDisableHelp() const { return disableHelp_; }
    void SetDisableHelp(bool v);
    fw::ole::ComPtr<IDispatch> GetInvalidGreeting() const { return invalid_->AsDispatch(); }
    void SetInvalidGreeting(const fw::ole::ComPtr<IDispatch>& greeting);
    fw::ole::ComPtr<IDispatch> GetNoDigitsGreeting() const { return silence_->AsDispatch(); }
    void SetNoDigitsGreeting(const fw::ole::ComPtr<IDispatch>& greeting);
    std::wstring GetGreetingNames(short index) const;

    // The line's request (channel 1-based; 381 outside the lines).
    std::wstring GetDigits(short channel) const;
    void SetDigits(short channel, const std::wstring& digits);
    short GetMaxKeys(short channel) const;
    void SetMaxKeys(short channel, short keys);
    long GetTermDtmf(short channel) const;
    void SetTermDtmf(short channel, long mask);
    short GetMaxSil(short channel) const;
    void SetMaxSil(short channel, short seconds);

    std::string NodeName(int node) const override;
    std::optional<std::string> GetValueName(int line, int index) const override;
    std::optional<std::string> GetValueText(int line, int index) const override;
    void SetValueText(int line, std::string_view text, int index) override;

    void Check(CheckReport& report) override;
    bool Run(int line, short destInput, short& exit, Vertex*& next) override;

    // The design data as the digit rules read it.
    DigitSettings Settings() const;

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;
    std::vector<CGreeting*> SpokenGreetings() override { return {&EntryGreeting(), invalid_.Get(), silence_.Get()}; }

private:
    struct LineRequest {
        long errorCount = 0;
        std::string digits;
        DigitRequest request;
    };
    // The Condition event: the node the host leaves when it accepts.
    std::optional<int> AskHost(int line, int node);
    void FireReEnter(int line);

    short maxKeys_ = 0;
    short maxSil_ = 3;
    long termDtmf_ = 0;
    bool retryOnSilence_ = false;
    bool useDefaultError_ = true;
    bool disableHelp_ = true;
    fw::ole::ComPtr<CGreeting> invalid_ = fw::ole::MakeAutomation<CGreeting>();
    fw::ole::ComPtr<CGreeting> silence_ = fw::ole::MakeAutomation<CGreeting>();
    // Fixed by the check before a start and read by every line while the
    // system runs: the host's Conditions object is edited on the user
    // interface's thread and is no data for the lines.
    DigitSettings checked_;
    DigitRules rules_;

    PerLine<LineRequest> lines_;
};

}  // namespace kvo
