// The Conditions object of a call-flow control: the list of (name, data,
// host-decides) entries the routing controls match against, as an
// automation object the host can change. The control keeps a reference and
// saves the list with its own items.
#pragma once
#include <vector>

#include "SavedForm.h"
#include "fw/ole/Automation.h"

namespace kvo {

class CConditions : public fw::ole::Automation {
public:
    CConditions();

    long GetCount() const { return long(list_.size()); }
    std::wstring GetName(long index) const { return At(index).name; }
    void SetName(long index, const std::wstring& v) { At(index).name = v; }
    std::wstring GetData(long index) const { return At(index).data; }
    void SetData(long index, const std::wstring& v) { At(index).data = v; }
    bool GetUseVB(long index) const { return At(index).useVB; }
    void SetUseVB(long index, bool v) { At(index).useVB = v; }
    long Add(const std::wstring& name, const std::wstring& data, bool useVB);
    void Remove(long index);
    void Clear() { list_.clear(); }

    std::vector<Condition>& List() { return list_; }

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;

private:
    // "invalid index" (381) outside the list.
    Condition& At(long index);
    const Condition& At(long index) const;

    std::vector<Condition> list_;
};

}  // namespace kvo
