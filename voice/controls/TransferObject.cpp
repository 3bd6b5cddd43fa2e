// The Transfer object (see TransferObject.h).
#include "TransferObject.h"

#include <algorithm>
#include <utility>

#include "KvoResource.h"
#include "Redirection.h"
#include "VoiceSystem.h"
#include "fw/ole/Text.h"
#include "kvo32.h"

namespace kvo {

namespace {
template <size_t... N>
constexpr auto TransferDispatch(std::index_sequence<N...>) {
    return std::array{fw::ole::Property<&CTransfer::GetProp<int(N)>, &CTransfer::SetProp<int(N)>>(DISPID(N + 1))...};
}
constexpr auto kTransferDispatch = TransferDispatch(std::make_index_sequence<kMaxTransferProps>());
}  // namespace

CTransfer::CTransfer() : Automation(DIID_ITransfer, L"Transfer") {}

std::span<const fw::ole::DispatchEntry> CTransfer::DispatchMap() const { return kTransferDispatch; }

int CTransfer::Lines() {
    const int lines = NumberOfLines();
    return lines > 0 ? std::min(lines, kMaxLines) : kMaxLines;
}

void CTransfer::CheckChannel(short channel) const {
    if (channel < 1 || channel > Lines())
        fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex, IDS_INVALID_INDEX);
}

std::wstring CTransfer::Get(int prop, short channel) const {
    CheckChannel(channel);
    std::lock_guard guard(lock_);
    if (prop < 0 || prop >= kMaxTransferProps || size_t(channel) > values_.size()) return {};
    return fw::ole::Widen(values_[size_t(channel - 1)][size_t(prop)]);
}

void CTransfer::Set(int prop, short channel, const std::wstring& value) {
    CheckChannel(channel);
    if (prop < 0 || prop >= kMaxTransferProps) return;
    std::lock_guard guard(lock_);
    if (values_.size() < size_t(channel)) values_.resize(size_t(channel));
    values_[size_t(channel - 1)][size_t(prop)] = fw::ole::Narrow(value);
}

void CTransfer::Resize(int lines) {
    std::lock_guard guard(lock_);
    values_.resize(size_t(std::max(lines, 0)));
}

}  // namespace kvo
