// Property exchange: one routine per control names the items it persists;
// the same routine loads and saves through a binary stream or a property bag.
//
//   void CFoo::DoPropExchange(fw::ole::PropExchange& px) {
//       Control::DoPropExchange(px);           // stock data first
//       px.Long(L"MaxRetries", maxRetries_, 3);
//   }
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <string>

namespace fw::ole {

class PropExchange {
public:
    virtual ~PropExchange() = default;
    virtual bool IsLoading() const = 0;
    // A new control (InitNew): loading, from nothing, every item its default.
    virtual bool IsNew() const { return false; }

    // Each loads `value` (falling back to `def` when the item is missing) or
    // saves it. After the first failure of the medium the rest are skipped
    // and Failed() tells. True when a value was loaded from the medium, so
    // a load can tell an absent item from one that holds the default.
    bool Short(const wchar_t* name, short& value, short def);
    bool Long(const wchar_t* name, long& value, long def);
    bool Bool(const wchar_t* name, bool& value, bool def);
    bool String(const wchar_t* name, std::wstring& value, const std::wstring& def);
    bool Failed() const { return failed_; }

    // The version that the data was saved with; loading sees the saved one.
    DWORD LoadedVersion() const { return loadedVersion_; }
    void SetLoadedVersion(DWORD v) { loadedVersion_ = v; }

protected:
    // `value` holds the item to save, or receives the loaded item as `vt`
    // (left VT_EMPTY when the medium lacks it).
    virtual bool Exchange(const wchar_t* name, VARTYPE vt, VARIANT& value) = 0;

private:
    // Loads into or saves from `value` as `vt`; true when a value was loaded.
    bool Item(const wchar_t* name, VARTYPE vt, VARIANT& value);
    template <class T>
    bool Value(const wchar_t* name, VARTYPE vt, T& value, const T& def);

    DWORD loadedVersion_ = 0;
    bool failed_ = false;
};

// Items in exchange order, no names: the shape of IPersistStreamInit data.
class StreamExchange : public PropExchange {
public:
    StreamExchange(IStream* stream, bool loading) : stream_(stream), loading_(loading) {}
    bool IsLoading() const override { return loading_; }
protected:
    bool Exchange(const wchar_t* name, VARTYPE vt, VARIANT& value) override;
private:
    IStream* stream_;
    bool loading_;
};

class BagExchange : public PropExchange {
public:
    BagExchange(IPropertyBag* bag, IErrorLog* log, bool loading)
        : bag_(bag), log_(log), loading_(loading) {}
    bool IsLoading() const override { return loading_; }
protected:
    bool Exchange(const wchar_t* name, VARTYPE vt, VARIANT& value) override;
private:
    IPropertyBag* bag_;
    IErrorLog* log_;
    bool loading_;
};

}  // namespace fw::ole
