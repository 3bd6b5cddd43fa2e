// Events: by-reference arguments come back from the sinks, a sink's failure
// comes back to the control, and a container in break mode (ambient UIDead,
// frozen events) is seen and told about.
#include "OleTestSupport.h"

namespace fwtest {
namespace {

using fw::ole::ComPtr;
using fw::ole::Variant;

// A sink for the test control's events that answers Asked (id 2) by adding
// one to the node and "!" to the text, or fails it; any other call is a
// test failure.
class AskSink : public IDispatch {
public:
    explicit AskSink(HRESULT fail = S_OK, const wchar_t* description = L"") : fail_(fail), description_(description) {}
    int calls = 0;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IDispatch, this}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override { return --refs_; }  // lives on the test's stack
    STDMETHODIMP GetTypeInfoCount(UINT*) override { ADD_FAILURE() << "GetTypeInfoCount"; return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { ADD_FAILURE() << "GetTypeInfo"; return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        ADD_FAILURE() << "GetIDsOfNames";
        return E_NOTIMPL;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO* excep, UINT*) override {
        ++calls;
        if (id != 2 || p->cArgs != 3) {
            ADD_FAILURE() << "unexpected event " << id;
            return S_OK;
        }
        // rgvarg runs last to first: text, node, channel.
        EXPECT_EQ(p->rgvarg[2].vt, VT_I2) << "the channel goes by value";
        EXPECT_EQ(p->rgvarg[1].vt, VT_BYREF | VT_I2);
        EXPECT_EQ(p->rgvarg[0].vt, VT_BYREF | VT_BSTR);
        if (FAILED(fail_)) {
            excep->scode = fail_;
            excep->bstrDescription = SysAllocString(description_);
            return DISP_E_EXCEPTION;
        }
        *p->rgvarg[1].piVal += 1;
        std::wstring text(*p->rgvarg[0].pbstrVal);
        SysFreeString(*p->rgvarg[0].pbstrVal);
        *p->rgvarg[0].pbstrVal = SysAllocString((text + L"!").c_str());
        return S_OK;
    }

private:
    ULONG refs_ = 1;
    HRESULT fail_;
    const wchar_t* description_;
};

class Events : public OleTest {
protected:
    // Sinks outlive the form (fixture members end after TearDown).
    AskSink& Sink(HRESULT fail = S_OK, const wchar_t* description = L"") {
        return *sinks_.emplace_back(std::make_unique<AskSink>(fail, description));
    }
    std::vector<std::unique_ptr<AskSink>> sinks_;

    // Connects `sink` to the control; the cookie is dropped with the control.
    void Connect(IDispatch* control, AskSink& sink) {
        ComPtr<IConnectionPointContainer> points;
        ASSERT_EQ(control->QueryInterface(IID_IConnectionPointContainer, points.PutVoid()), S_OK);
        ComPtr<IConnectionPoint> point;
        ASSERT_EQ(points->FindConnectionPoint(DIID__DFwTestEvents, point.Put()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    }
};

TEST_F(Events, ByReferenceArgumentsComeBackFromEverySink) {
    CFwTestCtrl* control = AddControl(L"Asker");
    AskSink& first = Sink();
    AskSink& second = Sink();
    Connect(Dispatch(L"Asker"), first);
    Connect(Dispatch(L"Asker"), second);
    short node = 4;
    std::wstring text = L"hi";
    fw::ole::FireResult r = control->FireAsked(1, node, text);
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(r.delivered);
    EXPECT_EQ(node, 6) << "each sink saw what the one before stored";
    EXPECT_EQ(text, L"hi!!");

    // And through the control's own dispatch interface, into the caller's variables.
    short callerNode = 10;
    BSTR callerText = SysAllocString(L"x");
    VARIANT channel;
    VariantInit(&channel);
    channel.vt = VT_I2;
    channel.iVal = 2;
    VARIANT nodeRef, textRef;
    VariantInit(&nodeRef);
    VariantInit(&textRef);
    nodeRef.vt = VT_BYREF | VT_I2;
    nodeRef.piVal = &callerNode;
    textRef.vt = VT_BYREF | VT_BSTR;
    textRef.pbstrVal = &callerText;
    Invoked asked = InvokeByName(Dispatch(L"Asker"), L"Ask", DISPATCH_METHOD, {channel, nodeRef, textRef});
    EXPECT_EQ(asked.hr, S_OK);
    EXPECT_EQ(asked.value.Long(), S_OK);
    EXPECT_EQ(callerNode, 12);
    EXPECT_STREQ(callerText, L"x!!");
    SysFreeString(callerText);
}

TEST_F(Events, TheFirstSinkFailureComesBackAndLaterSinksStillHear) {
    CFwTestCtrl* control = AddControl(L"Asker");
    AskSink& failing = Sink(SCODE(0x800A000D), L"Type mismatch");
    AskSink& after = Sink();
    Connect(Dispatch(L"Asker"), failing);
    Connect(Dispatch(L"Asker"), after);
    short node = 0;
    std::wstring text;
    fw::ole::FireResult r = control->FireAsked(1, node, text);
    EXPECT_EQ(r.hr, SCODE(0x800A000D));
    EXPECT_EQ(r.description, L"Type mismatch");
    EXPECT_EQ(after.calls, 1);
    EXPECT_EQ(node, 1) << "what the healthy sink stored still counts";
}

TEST_F(Events, BreakModeIsSeenAnnouncedAndHoldsEvents) {
    CFwTestCtrl* control = AddControl(L"Asker");
    AskSink& sink = Sink();
    Connect(Dispatch(L"Asker"), sink);
    EXPECT_FALSE(control->AmbientUIDead());
    EXPECT_FALSE(control->EventsFrozen());
    control->ambientChanges.clear();

    host_->SetBreakMode(true);
    EXPECT_TRUE(control->AmbientUIDead());
    EXPECT_TRUE(control->EventsFrozen());
    EXPECT_EQ(control->ambientChanges, std::vector<DISPID>{DISPID_AMBIENT_UIDEAD});
    short node = 1;
    std::wstring text = L"t";
    fw::ole::FireResult held = control->FireAsked(1, node, text);
    EXPECT_FALSE(held.delivered);
    EXPECT_EQ(sink.calls, 0);
    EXPECT_EQ(node, 1);

    host_->SetBreakMode(false);
    EXPECT_FALSE(control->AmbientUIDead());
    EXPECT_FALSE(control->EventsFrozen());
    EXPECT_TRUE(control->FireAsked(1, node, text).delivered);
    EXPECT_EQ(sink.calls, 1);
}

TEST_F(Events, AnyAmbientPropertyCanBeAsked) {
    CFwTestCtrl* control = AddControl(L"Named");
    Variant v;
    ASSERT_EQ(control->Ambient(DISPID_AMBIENT_DISPLAYNAME, v), S_OK);
    EXPECT_EQ(v.Str(), L"Named");
    EXPECT_EQ(control->Ambient(DISPID_AMBIENT_USERMODE, v), S_OK);
    EXPECT_EQ(v.Type(), VT_BOOL);
    EXPECT_EQ(control->Ambient(DISPID_AMBIENT_BACKCOLOR, v), DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace fwtest
