// The event connection point every control gets from the framework: several
// sinks, cookies that stay unique, and refusals of what cannot connect.
#include <olectl.h>
#include <algorithm>
#include <vector>
#include "TestSupport.h"
#include "fw/ole/Object.h"

namespace lurrin_test {
namespace {

using container::Variant;
using fw::ole::ComPtr;

// Counts the events it gets; answers only IDispatch.
class CountingSink : public IDispatch {
public:
    int calls = 0;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IDispatch, this}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the test's stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        ++calls;
        return S_OK;
    }
};

// Answers nothing but IUnknown: cannot be an event sink.
class DeafObject : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return fw::ole::QueryInterfaceTable(iid, out, {{IID_IUnknown, this}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
};

class Events : public ContainerTest {};

TEST_F(Events, EverySinkHearsUntilItUnadvises) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IProvideClassInfo2, info.PutVoid()), S_OK);
    IID eventIid;
    ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventIid), S_OK);
    ComPtr<IConnectionPointContainer> points;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IConnectionPointContainer, points.PutVoid()), S_OK);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(points->FindConnectionPoint(IID_IPropertyNotifySink, point.Put()), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(points->FindConnectionPoint(eventIid, point.Put()), S_OK);

    CountingSink a, b;
    DeafObject deaf;
    DWORD cookieA = 0, cookieB = 0, cookieDeaf = 0;
    ASSERT_EQ(point->Advise(&a, &cookieA), S_OK);
    ASSERT_EQ(point->Advise(&b, &cookieB), S_OK);
    EXPECT_NE(cookieA, cookieB);
    EXPECT_EQ(point->Advise(&deaf, &cookieDeaf), CONNECT_E_CANNOTCONNECT);

    auto lookup = [&] { site->Call(L"GetHostAddress", {Variant(std::wstring(L"localhost"))}); };
    lookup();
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(b.calls, 1);
    EXPECT_EQ(host_->Events().size(), 1u) << "the container's own sink hears it too";

    EXPECT_EQ(point->Unadvise(cookieA), S_OK);
    EXPECT_EQ(point->Unadvise(cookieA), CONNECT_E_NOCONNECTION) << "a cookie works once";
    EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(9999), CONNECT_E_NOCONNECTION);
    DWORD cookieC = 0;
    ASSERT_EQ(point->Advise(&a, &cookieC), S_OK);
    EXPECT_NE(cookieC, cookieA) << "cookies are not reused";
    EXPECT_EQ(point->Unadvise(cookieC), S_OK);

    lookup();
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(b.calls, 2);

    // The enumerations show the same: one point, the live connections.
    ComPtr<IEnumConnectionPoints> pointList;
    ASSERT_EQ(points->EnumConnectionPoints(pointList.Put()), S_OK);
    IConnectionPoint* listed[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pointList->Next(2, listed, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    IID listedIid{};
    listed[0]->GetConnectionInterface(&listedIid);
    EXPECT_EQ(listedIid, eventIid);
    listed[0]->Release();

    ComPtr<IEnumConnections> connections;
    ASSERT_EQ(point->EnumConnections(connections.Put()), S_OK);
    ComPtr<IEnumConnections> copy;
    ASSERT_EQ(connections->Clone(copy.Put()), S_OK);
    std::vector<DWORD> cookies;
    CONNECTDATA data;
    while (copy->Next(1, &data, nullptr) == S_OK) {
        cookies.push_back(data.dwCookie);
        data.pUnk->Release();
    }
    EXPECT_EQ(cookies.size(), 2u) << "the container's sink and b";
    EXPECT_NE(std::find(cookies.begin(), cookies.end(), cookieB), cookies.end());
    EXPECT_EQ(std::find(cookies.begin(), cookies.end(), cookieA), cookies.end());
    EXPECT_EQ(point->Unadvise(cookieB), S_OK);
}

TEST_F(Events, FrozenEventsAreNotDelivered) {
    container::ControlSite* site = Add(L"Ostrel.GetName", L"Ctl");
    ASSERT_NE(site, nullptr);
    ComPtr<IOleControl> control;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IOleControl, control.PutVoid()), S_OK);
    control->FreezeEvents(TRUE);
    site->Call(L"GetHostName", {Variant(std::wstring(L"abc"))});
    EXPECT_TRUE(host_->Events().empty());
    control->FreezeEvents(FALSE);
    site->Call(L"GetHostName", {Variant(std::wstring(L"abc"))});
    EXPECT_EQ(host_->Events().size(), 1u);
}

// A container's handler that makes the control fire again (here a request
// refused because the answering lookup is still in its handler) still sees
// its own event intact afterwards.
TEST_F(Events, HandlerThatCausesMoreEventsKeepsItsOwn) {
    container::ControlSite* site = Add(L"Ostrel.GetName", L"Ctl");
    ASSERT_NE(site, nullptr);
    bool nested = false;
    std::wstring event;
    std::vector<long> errors;
    host_->OnEvent([&](const container::EventRecord& e) {
        if (nested) return;
        nested = true;
        for (int i = 0; i < 4; ++i) site->Call(L"GetHostName", {Variant(std::wstring(L"127.0.0.1"))});
        event = e.event;
        for (const Variant& arg : e.args) errors.push_back(arg.Long());
    });
    site->Call(L"GetHostName", {Variant(std::wstring(L"abc"))});
    EXPECT_EQ(host_->Events().size(), 5u);
    EXPECT_EQ(event, L"EndGetHostName");
    EXPECT_EQ(errors, (std::vector<long>{0, 25}));
    for (size_t i = 1; i < host_->Events().size(); ++i)
        EXPECT_EQ(host_->Events()[i].args[1].Long(), 11000) << "refused inside the handler";
}

}  // namespace
}  // namespace lurrin_test
