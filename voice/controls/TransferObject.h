// The Frame's Transfer object: Prop00 to Prop15, each a string per line,
// through which host code hands data to the call flow. It owns the values,
// so a host that keeps the object after the Frame went away reads no
// freed memory.
#pragma once
#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "SavedForm.h"
#include "fw/ole/Automation.h"

namespace kvo {

class CTransfer : public fw::ole::Automation {
public:
    CTransfer();

    // Channel 1-based; "invalid index" (381) outside 1..Lines().
    std::wstring Get(int prop, short channel) const;
    void Set(int prop, short channel, const std::wstring& value);
    // Sizes the values to `lines`: growing keeps them, shrinking drops the
    // removed lines' values.
    void Resize(int lines);
    // The channels a value may name: the voice system's lines, or every
    // possible line while none is loaded.
    static int Lines();

    template <int N> std::wstring GetProp(short channel) const { return Get(N, channel); }
    template <int N> void SetProp(short channel, const std::wstring& v) { Set(N, channel, v); }

protected:
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;

private:
    void CheckChannel(short channel) const;

    mutable std::mutex lock_;
    std::vector<std::array<std::string, kMaxTransferProps>> values_;  // [line][property]
};

}  // namespace kvo
