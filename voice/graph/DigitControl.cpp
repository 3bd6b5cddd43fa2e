// The digit-control base (see DigitControl.h).
#include "DigitControl.h"

#include "fw/ole/Text.h"

namespace kvo {

std::span<const fw::ole::DispatchEntry> CDigitControl::DispatchMap() const { return kDigitDispatch; }

void CDigitControl::SetMaxRetries(long n) {
    // Saved as 16 bits: a larger count would not come back.
    if (n < 0 || n > 32767) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    maxRetries_ = short(n);
    SetModified();
}

void CDigitControl::SetInvalidErrorControl(const std::wstring& name) {
    invalidErrorControl_ = name.empty() ? kDefaultHandler : name;
    SetModified();
}

void CDigitControl::SetNoDigitsErrorControl(const std::wstring& name) {
    noDigitsErrorControl_ = name.empty() ? kDefaultHandler : name;
    SetModified();
}

Vertex* CDigitControl::InvalidDigitsHandler() const {
    return Registry().ResolveHandlerName(fw::ole::Narrow(invalidErrorControl_));
}

Vertex* CDigitControl::NoDigitsHandler() const {
    return Registry().ResolveHandlerName(fw::ole::Narrow(noDigitsErrorControl_));
}

void CDigitControl::ExchangeOwnItems(ItemExchange& ex) {
    ex.Short(L"maxRetries", maxRetries_, 3);
    ExchangeHandlerName(ex, L"InvalidErrorControlName", invalidErrorControl_);
    ExchangeHandlerName(ex, L"NoDigitsErrorControlName", noDigitsErrorControl_);
    CVoiceControl::ExchangeOwnItems(ex);
}

}  // namespace kvo
