// The lookup controls as a form-based host sees them: created by ProgID,
// driven by member name, answered by events on the container's thread.
#include <string>
#include "TestSupport.h"

namespace lurrin_test {
namespace {

using container::Variant;

std::string Text(const Variant& v) { return container::ToUtf8(v.Str()); }

struct Kind {
    const wchar_t* progId;
    const wchar_t* input;   // the property that starts a lookup
    const wchar_t* method;  // the synchronous lookup
    const wchar_t* event;
};
const Kind kGetAddress{L"Ostrel.GetAddress", L"HostName", L"GetHostAddress", L"EndGetHostAddress"};
const Kind kGetName{L"Ostrel.GetName", L"HostAddress", L"GetHostName", L"EndGetHostName"};

class LookupControls : public ContainerTest {
protected:
    // The last event: its control, name, result text and error number.
    void ExpectEvent(size_t index, const Kind& kind, const std::string& result, long error) {
        ASSERT_LT(index, host_->Events().size());
        const container::EventRecord& e = host_->Events()[index];
        EXPECT_EQ(e.event, kind.event);
        ASSERT_EQ(e.args.size(), 2u);
        EXPECT_EQ(Text(e.args[0]), result);
        EXPECT_EQ(e.args[1].Long(), error);
        EXPECT_EQ(e.threadId, GetCurrentThreadId()) << "events belong on the container's thread";
    }
    long Number(container::ControlSite* site, const wchar_t* property) { return site->Get(property).value.Long(); }
};

TEST_F(LookupControls, FreshControlsReportVersionAndIdleState) {
    for (const Kind* kind : {&kGetAddress, &kGetName}) {
        container::ControlSite* site = Add(kind->progId, L"Ctl");
        ASSERT_NE(site, nullptr);
        EXPECT_EQ(Text(site->Get(L"Version").value), "4.00.002");
        EXPECT_EQ(Number(site, L"ErrorNumber"), 0);
        EXPECT_EQ(Number(site, L"CurrentState"), 0);
        EXPECT_EQ(Text(site->Get(kind->input).value), "");
        host_->Remove(L"Ctl");
    }
}

TEST_F(LookupControls, VersionRefusesWritesByMode) {
    struct { bool userMode; SCODE scode; const char* note; } cases[] = {
        {true, SCODE(0x800A017E), "run mode: 382"},
        {false, SCODE(0x800A017F), "design mode: 383"},
    };
    for (const auto& c : cases) {
        host_->SetUserMode(c.userMode);
        container::ControlSite* site = Add(L"Ostrel.GetName", L"Ctl");
        ASSERT_NE(site, nullptr);
        container::CallResult r = site->Put(L"Version", Variant(std::wstring(L"9.99.999")));
        EXPECT_EQ(r.hr, DISP_E_EXCEPTION) << c.note;
        EXPECT_EQ(r.scode, c.scode) << c.note;
        EXPECT_FALSE(r.description.empty()) << c.note;
        EXPECT_EQ(r.errorInfo, r.description) << c.note;
        EXPECT_EQ(Text(site->Get(L"Version").value), "4.00.002") << c.note;
        host_->Remove(L"Ctl");
    }
}

TEST_F(LookupControls, WritableNumbersOnlyStore) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->Put(L"ErrorNumber", Variant(short(77))).Ok());
    EXPECT_TRUE(site->Put(L"CurrentState", Variant(std::wstring(L"3"))).Ok());
    EXPECT_EQ(Number(site, L"ErrorNumber"), 77);
    EXPECT_EQ(Number(site, L"CurrentState"), 3);
    EXPECT_EQ(site->Put(L"ErrorNumber", Variant(std::wstring(L"many"))).hr, DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(host_->Events().empty());
}

TEST_F(LookupControls, MalformedCallsAreRefusedWithoutSideEffects) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    struct { container::CallResult r; HRESULT hr; const char* note; } cases[] = {
        {site->Call(L"GetHostAddress"), DISP_E_BADPARAMCOUNT, "method without its argument"},
        {site->Call(L"GetHostAddress", {Variant(std::wstring(L"a")), Variant(std::wstring(L"b"))}),
         DISP_E_BADPARAMCOUNT, "one argument too many"},
        {site->Call(L"NoSuchMember"), DISP_E_UNKNOWNNAME, "unknown name"},
        {site->Put(L"GetHostAddress", Variant(std::wstring(L"x"))), DISP_E_MEMBERNOTFOUND, "assigning a method"},
        {site->Get(L"AboutBox"), DISP_E_MEMBERNOTFOUND, "reading a method without a result"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.r.hr, c.hr) << c.note;
    EXPECT_TRUE(host_->Events().empty());
    EXPECT_EQ(Number(site, L"CurrentState"), 0);
}

// Hosts pass variables by reference (a string variable, a Variant holding
// one, a number) and use the method's result as a property read.
TEST_F(LookupControls, ArgumentsByReferenceAreRead) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    fw::ole::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IDispatch, dispatch.PutVoid()), S_OK);
    fw::ole::Bstr name(L"localhost");
    BSTR text = name.Get();
    Variant inner(std::wstring(L"localhost"));
    short number = 42;
    VARIANT byString{}, byVariant{}, byShort{};
    byString.vt = VT_BSTR | VT_BYREF;
    byString.pbstrVal = &text;
    byVariant.vt = VT_VARIANT | VT_BYREF;
    byVariant.pvarVal = inner.Get();
    byShort.vt = VT_I2 | VT_BYREF;
    byShort.piVal = &number;
    for (VARIANT* arg : {&byString, &byVariant}) {
        DISPPARAMS params{arg, nullptr, 1, 0};
        Variant result;
        EXPECT_EQ(dispatch->Invoke(5, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                                   result.Get(), nullptr, nullptr), S_OK) << arg->vt;
        EXPECT_EQ(Text(result), "127.0.0.1") << arg->vt;
    }
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&byShort, &put, 1, 1};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                               nullptr), S_OK);
    EXPECT_EQ(Number(site, L"ErrorNumber"), 42);
}

TEST_F(LookupControls, GetHostAddressResolvesLocalhostAndFiresFirst) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    container::CallResult r = site->Call(L"GetHostAddress", {Variant(std::wstring(L"localhost"))});
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(Text(r.value), "127.0.0.1");
    ASSERT_EQ(host_->Events().size(), 1u) << "the event fires before the method returns";
    ExpectEvent(0, kGetAddress, "127.0.0.1", 0);
    EXPECT_EQ(Number(site, L"ErrorNumber"), 0);
    EXPECT_EQ(Number(site, L"CurrentState"), 5);
    EXPECT_EQ(Text(site->Get(L"HostName").value), "localhost");
}

TEST_F(LookupControls, GetHostNameResolvesLoopback) {
    container::ControlSite* site = Add(L"Ostrel.GetName", L"Ctl");
    ASSERT_NE(site, nullptr);
    container::CallResult r = site->Call(L"GetHostName", {Variant(std::wstring(L"127.0.0.1"))});
    ASSERT_TRUE(r.Ok());
    EXPECT_FALSE(Text(r.value).empty());
    ExpectEvent(0, kGetName, Text(r.value), 0);
    EXPECT_EQ(Number(site, L"CurrentState"), 5);
}

TEST_F(LookupControls, FailedLookupsGiveEmptyResultAndErrorEvent) {
    struct { const Kind* kind; std::wstring input; long error; const char* note; } cases[] = {
        {&kGetAddress, L"no-such-host.invalid", 1001, "unknown name"},
        {&kGetAddress, std::wstring(600, L'a'), 1001, "longer than any host name: refused, not cut"},
        {&kGetAddress, std::wstring(L"localhost\0x", 11), 1001, "embedded NUL would resolve a shorter name"},
        {&kGetName, L"abc", 25, "not a dotted address"},
        {&kGetName, L"127.0.0.1" + std::wstring(60, L' '), 25, "longer than the address buffer"},
    };
    for (const auto& c : cases) {
        host_->ClearEvents();
        container::ControlSite* site = Add(c.kind->progId, L"Ctl");
        ASSERT_NE(site, nullptr);
        container::CallResult r = site->Call(c.kind->method, {Variant(c.input)});
        EXPECT_TRUE(r.Ok()) << c.note << ": a failed lookup raises no error";
        EXPECT_EQ(Text(r.value), "") << c.note;
        EXPECT_EQ(Number(site, L"ErrorNumber"), c.error) << c.note;
        EXPECT_EQ(Number(site, L"CurrentState"), 5) << c.note;
        ASSERT_EQ(host_->Events().size(), 1u) << c.note;
        EXPECT_EQ(Text(host_->Events()[0].args[0]), "") << c.note;
        EXPECT_EQ(host_->Events()[0].args[1].Long(), c.error) << c.note;
        host_->Remove(L"Ctl");
    }
}

// "127.0.1" is 127.0.0.1 to inet_addr: the reverse lookup runs and stays
// on this machine.
TEST_F(LookupControls, ThreePartAddressGoesOnToReverseLookup) {
    container::ControlSite* site = Add(L"Ostrel.GetName", L"Ctl");
    ASSERT_NE(site, nullptr);
    const std::string loopback = Text(site->Call(L"GetHostName", {Variant(std::wstring(L"127.0.0.1"))}).value);
    ASSERT_FALSE(loopback.empty());
    EXPECT_EQ(Text(site->Call(L"GetHostName", {Variant(std::wstring(L"127.0.1"))}).value), loopback);
    EXPECT_EQ(Number(site, L"ErrorNumber"), 0);
}

TEST_F(LookupControls, AsynchronousLookupAnswersOnContainerThread) {
    for (bool userMode : {true, false}) {
        host_->SetUserMode(userMode);
        host_->ClearEvents();
        container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
        ASSERT_NE(site, nullptr);
        ASSERT_TRUE(site->Put(L"HostName", Variant(std::wstring(L"localhost"))).Ok());
        ASSERT_TRUE(WaitForEvents(1)) << "user mode " << userMode;
        ExpectEvent(0, kGetAddress, "127.0.0.1", 0);
        EXPECT_EQ(Number(site, L"ErrorNumber"), 0);
        host_->Remove(L"Ctl");
    }
}

TEST_F(LookupControls, SecondRequestWhileRunningIsRefusedAndBothEventsArrive) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    ASSERT_TRUE(site->Put(L"HostName", Variant(std::wstring(L"localhost"))).Ok());
    // No messages pumped in between: the first worker cannot have finished.
    ASSERT_TRUE(site->Put(L"HostName", Variant(std::wstring(L"127.0.0.1"))).Ok());
    ASSERT_EQ(host_->Events().size(), 1u) << "the refusal fires at once";
    ExpectEvent(0, kGetAddress, "", 11000);
    EXPECT_EQ(Number(site, L"ErrorNumber"), 11000);

    // A synchronous call meanwhile is refused the same way and leaves the
    // running lookup's result alone.
    container::CallResult r = site->Call(L"GetHostAddress", {Variant(std::wstring(L"no-such-host.invalid"))});
    EXPECT_EQ(Text(r.value), "");
    ASSERT_EQ(host_->Events().size(), 2u);
    ExpectEvent(1, kGetAddress, "", 11000);

    ASSERT_TRUE(WaitForEvents(3));
    ExpectEvent(2, kGetAddress, "127.0.0.1", 0);
    EXPECT_EQ(Number(site, L"ErrorNumber"), 0);
}

// A host that starts the next lookup as soon as the last one has answered
// must not be refused: the answered lookup is over, even if its worker
// thread has not quite ended yet.
TEST_F(LookupControls, NextRequestRightAfterAnAnswerIsAccepted) {
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    for (size_t i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        if (i % 2 == 0) {
            ASSERT_TRUE(site->Put(L"HostName", Variant(std::wstring(L"localhost"))).Ok());
            ASSERT_TRUE(WaitForEvents(i + 1));
        } else {
            EXPECT_EQ(Text(site->Call(L"GetHostAddress", {Variant(std::wstring(L"localhost"))}).value), "127.0.0.1");
        }
        ExpectEvent(i, kGetAddress, "127.0.0.1", 0);
        EXPECT_EQ(Number(site, L"CurrentState"), 5) << "the answered lookup has finished";
    }
}

TEST_F(LookupControls, ControlClosedDuringLookupLeavesContainerWorking) {
    for (int round = 0; round < 3; ++round) {
        container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Doomed");
        ASSERT_NE(site, nullptr);
        ASSERT_TRUE(site->Put(L"HostName", Variant(std::wstring(L"localhost"))).Ok());
        host_->Remove(L"Doomed");
    }
    host_->PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(host_->Events().empty()) << "a closed control's late answer is dropped";

    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Alive");
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(Text(site->Call(L"GetHostAddress", {Variant(std::wstring(L"localhost"))}).value), "127.0.0.1");
}

}  // namespace
}  // namespace lurrin_test
