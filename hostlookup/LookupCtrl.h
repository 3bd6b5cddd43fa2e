// What GetAddress and GetName share: the same properties, methods, event,
// persistence and lookup life cycle, differing in the resolver, the bitmap
// and the about box. Each control class only names those.
#pragma once
#include <memory>
#include <string>
#include "Lookup.h"
#include "fw/Handle.h"
#include "fw/ole/Control.h"

namespace lurrin {

class CLookupCtrl : public fw::ole::Control {
public:
    // What tells one lookup control from the other.
    struct Kind {
        const CLSID& clsid;
        const IID& dispatchIid;
        const IID& eventIid;
        Resolver resolve;
        UINT bitmapId;
        UINT aboutBoxId;
        const CLSID& propertyPage;
    };

    // The dispatch members (ids 1-5 and AboutBox) in dispatch-number order.
    short GetErrorNumber() const { return state_->errorNumber; }
    void SetErrorNumber(short n);
    short GetCurrentState() const { return state_->currentState; }
    void SetCurrentState(short n);
    std::wstring GetInput() const { return input_; }
    // Stores the input and starts an asynchronous lookup.
    void SetInput(const std::wstring& input);
    std::wstring GetVersion() const;
    // Stores the input and looks it up on the caller's thread; the End event
    // has fired when this returns.
    std::wstring Lookup(const std::wstring& input);
    void AboutBox();

protected:
    explicit CLookupCtrl(const Kind& kind);
    ~CLookupCtrl() override;

    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    DWORD DataVersion() const override { return MAKELONG(0, 4); }
    void OnDraw(HDC dc, const RECT& bounds) override;
    std::vector<CLSID> PropertyPages() const override { return {kind_.propertyPage}; }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Stores the input and begins a lookup; a request while one runs is
    // refused (false), and ErrorNumber and the event say so.
    bool Begin(const std::wstring& input);
    void FireEnd(const std::string& result, short error);
    void OnTimer(UINT_PTR id);

    const Kind& kind_;
    std::wstring input_;
    std::shared_ptr<LookupState> state_ = std::make_shared<LookupState>();
    fw::KernelHandle worker_;
    fw::Bitmap bitmap_;
};

}  // namespace lurrin
