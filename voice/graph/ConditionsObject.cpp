// The Conditions object (see ConditionsObject.h).
#include "ConditionsObject.h"

#include <array>

#include "KvoResource.h"
#include "kvo32.h"

namespace kvo {

namespace {
using fw::ole::Method;
using fw::ole::Property;
using fw::ole::ReadOnlyProperty;

constexpr auto kConditionsDispatch = std::array{
    ReadOnlyProperty<&CConditions::GetCount>(1),
    Property<&CConditions::GetName, &CConditions::SetName>(2),
    Property<&CConditions::GetData, &CConditions::SetData>(3),
    Property<&CConditions::GetUseVB, &CConditions::SetUseVB>(4),
    Method<&CConditions::Add>(5),
    Method<&CConditions::Remove>(6),
    Method<&CConditions::Clear>(7),
};
}  // namespace

CConditions::CConditions() : Automation(DIID_IConditions, L"Conditions") {}

std::span<const fw::ole::DispatchEntry> CConditions::DispatchMap() const { return kConditionsDispatch; }

Condition& CConditions::At(long index) {
    if (index < 0 || size_t(index) >= list_.size())
        fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyArrayIndex, IDS_INVALID_INDEX);
    return list_[size_t(index)];
}

const Condition& CConditions::At(long index) const { return const_cast<CConditions*>(this)->At(index); }

long CConditions::Add(const std::wstring& name, const std::wstring& data, bool useVB) {
    if (list_.size() >= size_t(kMaxConditions)) fw::ole::ThrowError(fw::ole::kCtlInvalidPropertyValue);
    list_.push_back({name, data, useVB});
    return long(list_.size() - 1);
}

void CConditions::Remove(long index) {
    At(index);
    list_.erase(list_.begin() + index);
}

}  // namespace kvo
