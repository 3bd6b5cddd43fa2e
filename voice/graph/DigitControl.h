// CDigitControl: base of the digit-collecting controls: retries and the
// controls that handle invalid digits and no digits.
#pragma once
#include "VoiceControl.h"

namespace kvo {

class CDigitControl : public CVoiceControl {
public:
    long GetMaxRetries() const { return maxRetries_; }
    void SetMaxRetries(long n);
    std::wstring GetInvalidErrorControl() const { return invalidErrorControl_; }
    void SetInvalidErrorControl(const std::wstring& name);
    std::wstring GetNoDigitsErrorControl() const { return noDigitsErrorControl_; }
    void SetNoDigitsErrorControl(const std::wstring& name);

    Vertex* InvalidDigitsHandler() const;
    Vertex* NoDigitsHandler() const;

protected:
    explicit CDigitControl(const Kind& kind) : CVoiceControl(kind) {}
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void ExchangeOwnItems(ItemExchange& ex) override;

private:
    short maxRetries_ = 3;
    std::wstring invalidErrorControl_ = kDefaultHandler;
    std::wstring noDigitsErrorControl_ = kDefaultHandler;
};

inline constexpr auto kDigitDispatch = JoinDispatch(
    kVoiceDispatch,
    std::array{
        fw::ole::Property<&CDigitControl::GetMaxRetries, &CDigitControl::SetMaxRetries>(DISPID_MAXRETRIES),
        fw::ole::Property<&CDigitControl::GetInvalidErrorControl, &CDigitControl::SetInvalidErrorControl>(
            DISPID_INVALIDERRORCONTROL),
        fw::ole::Property<&CDigitControl::GetNoDigitsErrorControl, &CDigitControl::SetNoDigitsErrorControl>(
            DISPID_NODIGITSERRORCONTROL),
    });

}  // namespace kvo
