// CFrameCtrl: the Frame control of a voice application's form. It holds the
// application-wide settings (voice and log directories, play format,
// language defaults, prompt-name length), the transfer properties host code
// hands to the call flow, the inventory of the form's controls and pages,
// and the entry points that start, stop and show the system.
#pragma once
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CallFlowControl.h"
#include "FormFrame.h"
#include "TransferObject.h"
#include "SavedForm.h"
#include "Substitute.h"
#include "fw/ole/Control.h"

namespace kvo {

class CFrameCtrl : public fw::ole::Control, public FormFrame, public ValueOwner {
public:
    CFrameCtrl();

    // Host members.
    std::wstring GetCaption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    long GetCurrPage() const { return currPage_; }
    void SetCurrPage(long page);
    std::wstring GetVoiceDirectory() const;
    void SetVoiceDirectory(const std::wstring& dir);
    std::wstring GetLogDirectory() const;
    void SetLogDirectory(const std::wstring& dir);
    long GetTimeFormat() const;
    void SetTimeFormat(long v);
    long GetDateOrder() const;
    void SetDateOrder(long v);
    long GetLanguageId() const;
    void SetLanguageId(long v);
    long GetScriptSize() const;
    void SetScriptSize(long v);
    std::wstring GetVComments() const { return comment_; }
    void SetVComments(const std::wstring& text);
    long GetNumProps() const;
    void SetNumProps(long n);
    std::wstring GetPropName(long index) const;
    void SetPropName(long index, const std::wstring& name);
    long GetFrameThis() const;
    std::wstring GetCurrentDirectory(short channel) const;
    fw::ole::ComPtr<IDispatch> GetTransfer() const;
    // The dispatcher's entry points; the status and log windows are not
    // available in this library yet.
    void StartSystem(short flag);
    short StopSystem(short flag);
    void ShowLineStatus(short flag);
    void ShowLogWindow(short line, short flag);
    void LineStatGrid(const fw::ole::Variant& grid);
    void AboutBox();

    // FormFrame
    IUnknown* Identity() override { return static_cast<IDispatch*>(this); }
    std::string FrameName() const override;
    bool InventoryLoaded() const override;
    std::optional<long> TakeInventoryPage(const std::string& control) override;
    void ShowOnPage(const std::string& control, long page) override;
    void ForgetControl(const std::string& control) override;
    std::optional<std::string> AskValue(const std::string& prompt) override;
    ValueOwner& FrameValues() override { return *this; }
    bool LayoutChanged() const;

    STDMETHODIMP Close(DWORD saveOption) override;

    // ValueOwner (lines 0-based): CurrentDirectory, then the transfer
    // properties.
    std::string Name() const override { return FrameName(); }
    std::optional<std::string> GetValueName(int line, int index) const override;
    std::optional<std::string> GetValueText(int line, int index) const override;
    void SetValueText(int line, std::string_view text, int index) override;
    bool ValueReady(int index) const override { return ready_.IsSet(index); }
    void SetValueFlags(bool on) { ready_.SetAll(on); }

protected:
    ~CFrameCtrl() override;
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void DoPropExchange(fw::ole::PropExchange& px) override;
    void OnAmbientChanged(DISPID id) override;
    void OnDraw(HDC dc, const RECT& bounds) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool IsApplyingFrame() const;
    void ExchangeSettings(ItemExchange& ex);
    // The language defaults change together.
    void SetLanguageDefaults(long timeFormat, long dateOrder, long languageId);

    mutable std::mutex lock_;  // transfer values and the inventory
    AmbientName name_;
    std::wstring caption_;
    std::wstring pageList_;
    long currPage_ = 0;
    std::vector<std::wstring> fields_;  // transfer property names, at most 16
    fw::ole::ComPtr<CTransfer> transfer_ = fw::ole::MakeAutomation<CTransfer>();
    std::wstring comment_;
    std::vector<InventoryEntry> inventory_;
    bool inventoryLoaded_ = false;
    bool layoutChanged_ = false;
    ValueReadyFlags ready_;
};

}  // namespace kvo
