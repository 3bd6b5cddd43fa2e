// The digit-control base (see DigitControl.h).
#include "DigitControl.h"

namespace kvo {

std::span<const fw::ole::DispatchEntry> CDigitControl::DispatchMap() const { return kDigitDispatch; }

void CDigitControl::SetMaxRetries(long n) {
    // Saved as 16 bits: a larger count would not come back.
    if (n < 0 || n > 32767) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    maxRetries_ = short(n);
    SetModified();
}

void CDigitControl::SetInvalidErrorControl(const std::wstring& name) { SetHandlerName(invalidErrorControl_, name); }
void CDigitControl::SetNoDigitsErrorControl(const std::wstring& name) { SetHandlerName(noDigitsErrorControl_, name); }
Vertex* CDigitControl::InvalidDigitsHandler() const { return ResolveHandler(invalidErrorControl_); }
Vertex* CDigitControl::NoDigitsHandler() const { return ResolveHandler(noDigitsErrorControl_); }

void CDigitControl::ExchangeOwnItems(ItemExchange& ex) {
    ex.Short(L"maxRetries", maxRetries_, 3);
    ExchangeHandlerName(ex, L"InvalidErrorControlName", invalidErrorControl_);
    ExchangeHandlerName(ex, L"NoDigitsErrorControlName", noDigitsErrorControl_);
    CVoiceControl::ExchangeOwnItems(ex);
}

}  // namespace kvo
