// The framework's test control and the item object it hands out: small,
// but with every kind of member the framework serves (indexed, object-valued,
// optional and out-arguments, events with by-reference arguments), so each
// feature is tested on its own, not only through a product's control.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include "FwTest.h"
#include "fw/Exception.h"
#include "fw/ole/Automation.h"
#include "fw/ole/Control.h"

namespace fwtest {

using fw::ole::ComPtr;

// A heap exception with its own OLE mapping; counts live objects so tests
// can tell that a boundary deleted what it caught.
class TestException : public fw::Exception {
public:
    TestException(long status, std::wstring text);
    ~TestException() override;
    long ErrorStatus() const override { return status_; }
    std::wstring ErrorDescription() const override { return text_; }
    static long Live();

private:
    long status_;
    std::wstring text_;
};

class CFwTestItem : public fw::ole::Automation {
public:
    explicit CFwTestItem(std::wstring name);
    std::wstring GetName() const { return name_; }
    void SetName(const std::wstring& name) { name_ = name; }
    long GetSerial() const { return serial_; }
    void SetSerial(long serial) { serial_ = serial; }
    std::wstring GetTag(short index) const;
    void SetTag(short index, const std::wstring& tag);
    static long Live();

protected:
    ~CFwTestItem() override;
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;

private:
    std::wstring name_;
    long serial_;
    std::wstring tags_[4];
};

class CFwTestCtrl : public fw::ole::Control {
public:
    CFwTestCtrl();

    // Dispatch members, in dispatch-id order.
    long GetCount() const { return count_; }
    void SetCount(long count);
    std::wstring GetCell(short row, short column) const;
    void SetCell(short row, short column, const std::wstring& value);
    ComPtr<IDispatch> GetItem();
    void SetItem(ComPtr<IDispatch> item) { item_ = std::move(item); }
    ComPtr<IDispatch> NewItem(const std::wstring& name);
    std::wstring Join(const std::wstring& first, std::optional<std::wstring> second,
                      std::optional<std::wstring> third);
    long Divide(long dividend, long divisor, fw::ole::Ref<long> remainder);
    // 0 control error 380, 1 mapped heap exception, 2 unmapped heap
    // exception, 3 std::exception, 4 anything else.
    void Raise(short kind);
    // Fires Asked with node and text by reference, hands back what the
    // sinks stored, and answers the sinks' status.
    long Ask(short channel, fw::ole::Ref<short> node, fw::ole::Ref<std::wstring> text);
    // A modal dialog titled `title` with an edit field: its text on OK,
    // "(cancelled)" otherwise.
    std::wstring Prompt(const std::wstring& title);
    // A Yes/No message box titled "FwTest": the button's id.
    long Confirm(const std::wstring& text);
    void AboutBox() {}

    // The same as Ask, for C++ callers.
    fw::ole::FireResult FireAsked(short channel, short& node, std::wstring& text);

    // What the tests watch: the thread the object was destroyed on, the
    // ambient changes it heard, the persisted items and how they loaded.
    static std::atomic<DWORD> destroyedOn;
    static std::atomic<DWORD> closedOn;
    int greeted = 0;
    std::vector<DISPID> ambientChanges;
    std::wstring text = L"text";
    bool textLoaded = false;
    bool loadedAsNew = false;

protected:
    ~CFwTestCtrl() override;
    std::span<const fw::ole::DispatchEntry> DispatchMap() const override;
    void DoPropExchange(fw::ole::PropExchange& px) override;
    void OnAmbientChanged(DISPID id) override { ambientChanges.push_back(id); }
    void OnClose() override { closedOn = GetCurrentThreadId(); }
    // 1 "&Greet" counts; 2 "&Fail" throws.
    std::vector<fw::ole::ControlVerb> Verbs() const override;
    HRESULT OnVerb(LONG verb, HWND parent) override;

private:
    long count_ = 0;
    std::wstring cells_[3][3];
    ComPtr<IDispatch> item_;
};

// Makes this program the server of the test classes (type library from its
// own resources) and offers the control to CoCreateInstance in the calling
// apartment; the container creates it by its CLSID, "{...}".
class TestServer {
public:
    TestServer();
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    static std::wstring ControlClsid();

private:
    DWORD cookie_ = 0;
};

}  // namespace fwtest
