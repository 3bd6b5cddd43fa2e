// The graph's saved-form routines over the framework's property exchange.
#pragma once
#include "SavedForm.h"
#include "fw/ole/PropExchange.h"

namespace kvo {

class PxItems : public ItemExchange {
public:
    explicit PxItems(fw::ole::PropExchange& px) : px_(px) {}
    bool Loading() const override { return px_.IsLoading(); }
    bool New() const override { return px_.IsNew(); }
    void Short(const std::wstring& name, short& value, short def) override { px_.Short(name.c_str(), value, def); }
    void Long(const std::wstring& name, long& value, long def) override { px_.Long(name.c_str(), value, def); }
    void Bool(const std::wstring& name, bool& value, bool def) override { px_.Bool(name.c_str(), value, def); }
    void String(const std::wstring& name, std::wstring& value, const std::wstring& def) override {
        px_.String(name.c_str(), value, def);
    }

private:
    fw::ole::PropExchange& px_;
};

}  // namespace kvo
