// Dispatch maps through late-bound IDispatch calls: indexed properties,
// object-valued properties and automation objects, optional arguments,
// out-arguments, and every kind of throw mapped to an OLE error.
#include "OleTestSupport.h"
#include "fw/ole/Server.h"

namespace fwtest {
namespace {

using fw::ole::ComPtr;
using fw::ole::Variant;

VARIANT I2(short n) { VARIANT v; VariantInit(&v); v.vt = VT_I2; v.iVal = n; return v; }
VARIANT I4(long n) { VARIANT v; VariantInit(&v); v.vt = VT_I4; v.lVal = n; return v; }
VARIANT Missing() { VARIANT v; VariantInit(&v); v.vt = VT_ERROR; v.scode = DISP_E_PARAMNOTFOUND; return v; }
VARIANT Ref(VARTYPE vt, void* where) { VARIANT v; VariantInit(&v); v.vt = VT_BYREF | vt; v.byref = where; return v; }

// The strings of a call's arguments live as long as the test's Variants.
struct Text {
    Variant v;
    explicit Text(const wchar_t* s) : v(std::wstring(s)) {}
    operator VARIANT() const { return *v.Get(); }
};

constexpr WORD kGet = DISPATCH_PROPERTYGET;
constexpr WORD kPut = DISPATCH_PROPERTYPUT;
constexpr WORD kCall = DISPATCH_METHOD;
constexpr WORD kVbGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;  // how Basic reads x = obj.P(i)

class DispatchMembers : public OleTest {};

TEST_F(DispatchMembers, IndexedPropertiesTakeTheirIndexesBeforeTheValue) {
    AddControl(L"Grid");
    IDispatch* grid = Dispatch(L"Grid");
    Text b(L"b"), c(L"c");
    ASSERT_EQ(InvokeByName(grid, L"Cell", kPut, {I2(0), I2(2), b}).hr, S_OK);
    ASSERT_EQ(InvokeByName(grid, L"Cell", kPut, {I2(2), I2(0), c}).hr, S_OK);
    EXPECT_EQ(InvokeByName(grid, L"Cell", kGet, {I2(0), I2(2)}).value.Str(), L"b");
    EXPECT_EQ(InvokeByName(grid, L"Cell", kVbGet, {I2(2), I2(0)}).value.Str(), L"c");
    EXPECT_EQ(InvokeByName(grid, L"Cell", kGet, {I2(1), I2(1)}).value.Str(), L"");

    struct { std::vector<VARIANT> args; WORD flags; HRESULT hr; SCODE scode; const char* note; } cases[] = {
        {{I2(3), I2(0)}, kGet, DISP_E_EXCEPTION, SCODE(0x800A017D), "row out of range"},
        {{I2(0), I2(-1), b}, kPut, DISP_E_EXCEPTION, SCODE(0x800A017D), "column out of range on put"},
        {{I2(0)}, kGet, DISP_E_BADPARAMCOUNT, 0, "one index short"},
        {{I2(0), I2(0), I2(0)}, kGet, DISP_E_BADPARAMCOUNT, 0, "one index too many"},
        {{I2(0), b}, kPut, DISP_E_BADPARAMCOUNT, 0, "put without its second index"},
        {{b, I2(0)}, kGet, DISP_E_TYPEMISMATCH, 0, "index that is not a number"},
    };
    for (auto& c : cases) {
        Invoked r = InvokeByName(grid, L"Cell", c.flags, c.args);
        EXPECT_EQ(r.hr, c.hr) << c.note;
        EXPECT_EQ(r.scode, c.scode) << c.note;
    }
}

TEST_F(DispatchMembers, ObjectValuedPropertiesHandOutAutomationObjects) {
    const LONG locksBefore = fw::ole::Server::LockCount();
    AddControl(L"Owner");
    IDispatch* owner = Dispatch(L"Owner");
    const long itemsBefore = CFwTestItem::Live();
    {
        Invoked first = InvokeByName(owner, L"Item", kGet, {});
        ASSERT_EQ(first.hr, S_OK);
        ASSERT_EQ(first.value.Type(), VT_DISPATCH);
        IDispatch* item = first.value.Get()->pdispVal;
        EXPECT_EQ(InvokeByName(item, L"Name", kGet, {}).value.Str(), L"first");
        Invoked again = InvokeByName(owner, L"Item", kGet, {});
        EXPECT_EQ(again.value.Get()->pdispVal, item) << "the property keeps its object";

        // An indexed property on an object that is not a control.
        Text tag(L"blue");
        EXPECT_EQ(InvokeByName(item, L"Tag", kPut, {I2(3), tag}).hr, S_OK);
        EXPECT_EQ(InvokeByName(item, L"Tag", kGet, {I2(3)}).value.Str(), L"blue");
        EXPECT_EQ(InvokeByName(item, L"Tag", kGet, {I2(4)}).scode, SCODE(0x800A017D));

        // Type information comes from the library, under the item's own interface.
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(item->GetTypeInfo(0, 0, info.Put()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
        EXPECT_TRUE(attr->guid == DIID__DFwTestItem);
        info->ReleaseTypeAttr(attr);

        Text name(L"second");
        Invoked made = InvokeByName(owner, L"NewItem", kCall, {name});
        ASSERT_EQ(made.value.Type(), VT_DISPATCH);
        EXPECT_NE(made.value.Get()->pdispVal, item);
        EXPECT_EQ(CFwTestItem::Live(), itemsBefore + 2);
        EXPECT_GT(fw::ole::Server::LockCount(), locksBefore) << "live objects hold the server";

        // putref replaces the object the property holds.
        EXPECT_EQ(InvokeByName(owner, L"Item", DISPATCH_PROPERTYPUTREF, {*made.value.Get()}).hr, S_OK);
        EXPECT_EQ(InvokeByName(InvokeByName(owner, L"Item", kGet, {}).value.Get()->pdispVal, L"Name", kGet, {})
                      .value.Str(),
                  L"second");
    }
    host_->Clear();
    EXPECT_EQ(CFwTestItem::Live(), itemsBefore) << "every item went with its last reference";
    EXPECT_EQ(fw::ole::Server::LockCount(), locksBefore);
}

TEST_F(DispatchMembers, OptionalArgumentsMayBeLeftOut) {
    AddControl(L"Joiner");
    IDispatch* joiner = Dispatch(L"Joiner");
    Text a(L"a"), b(L"b"), c(L"c");
    struct { std::vector<VARIANT> args; HRESULT hr; const wchar_t* result; const char* note; } cases[] = {
        {{a}, S_OK, L"a|-|-", "both optional arguments left out"},
        {{a, b}, S_OK, L"a|b|-", "the last one left out"},
        {{a, Missing(), c}, S_OK, L"a|-|c", "one in the middle marked missing"},
        {{a, b, c}, S_OK, L"a|b|c", "all given"},
        {{}, DISP_E_BADPARAMCOUNT, L"", "the required one left out"},
        {{a, b, c, a}, DISP_E_BADPARAMCOUNT, L"", "one too many"},
    };
    for (auto& k : cases) {
        Invoked r = InvokeByName(joiner, L"Join", kCall, k.args);
        EXPECT_EQ(r.hr, k.hr) << k.note;
        if (SUCCEEDED(r.hr)) {
            EXPECT_EQ(r.value.Str(), k.result) << k.note;
        }
    }
}

TEST_F(DispatchMembers, OutArgumentsReachTheCallersVariable) {
    AddControl(L"Calc");
    IDispatch* calc = Dispatch(L"Calc");
    long asLong = -1;
    Invoked r = InvokeByName(calc, L"Divide", kCall, {I4(17), I4(5), Ref(VT_I4, &asLong)});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(r.value.Long(), 3);
    EXPECT_EQ(asLong, 2);

    short asShort = 0;  // converted to the caller's type
    EXPECT_EQ(InvokeByName(calc, L"Divide", kCall, {I4(-7), I4(2), Ref(VT_I2, &asShort)}).hr, S_OK);
    EXPECT_EQ(asShort, -1);

    Variant asVariant;  // a Variant variable takes the member's own type
    EXPECT_EQ(InvokeByName(calc, L"Divide", kCall, {I4(9), I4(4), Ref(VT_VARIANT, asVariant.Get())}).hr, S_OK);
    EXPECT_EQ(asVariant.Type(), VT_I4);
    EXPECT_EQ(asVariant.Long(), 1);

    BSTR asText = SysAllocString(L"old");  // the old string is freed, the new one is ours
    EXPECT_EQ(InvokeByName(calc, L"Divide", kCall, {I4(8), I4(3), Ref(VT_BSTR, &asText)}).hr, S_OK);
    EXPECT_STREQ(asText, L"2");
    SysFreeString(asText);

    EXPECT_EQ(InvokeByName(calc, L"Divide", kCall, {I4(8), I4(3), I4(0)}).value.Long(), 2)
        << "passed by value: nothing to write back, and no failure";
}

TEST_F(DispatchMembers, EveryThrowBecomesAnOleErrorAndNothingLeaks) {
    AddControl(L"Thrower");
    IDispatch* thrower = Dispatch(L"Thrower");
    struct { short kind; HRESULT hr; SCODE scode; const wchar_t* description; const char* note; } cases[] = {
        {0, DISP_E_EXCEPTION, SCODE(0x800A017C), L"Invalid property value", "framework control error"},
        {1, DISP_E_EXCEPTION, SCODE(0x800A7D00), L"mapped failure", "heap exception with its own mapping"},
        {2, E_FAIL, 0, L"", "heap exception without one"},
        {3, DISP_E_EXCEPTION, E_FAIL, L"standard failure", "std::exception keeps its text"},
        {4, E_UNEXPECTED, 0, L"", "anything else"},
    };
    for (auto& c : cases) {
        Invoked r = InvokeByName(thrower, L"Raise", kCall, {I2(c.kind)});
        EXPECT_EQ(r.hr, c.hr) << c.note;
        EXPECT_EQ(r.scode, c.scode) << c.note;
        EXPECT_EQ(r.description, c.description) << c.note;
        EXPECT_EQ(TestException::Live(), 0) << c.note << ": the caught object was deleted";
    }
    long remainder = 0;
    Invoked r = InvokeByName(thrower, L"Divide", kCall, {I4(1), I4(0), Ref(VT_I4, &remainder)});
    EXPECT_EQ(r.scode, SCODE(0x800A000B));
    EXPECT_EQ(r.description, L"division by zero");
    EXPECT_EQ(TestException::Live(), 0);
}

TEST_F(DispatchMembers, TheTypeLibraryIsLoadedOncePerProcess) {
    for (const wchar_t* name : {L"One", L"Two", L"Three"}) AddControl(name);
    for (const wchar_t* name : {L"One", L"Two", L"Three"}) InvokeByName(Dispatch(name), L"NewItem", kCall, {Text(L"x")});
    EXPECT_EQ(fw::ole::Server::TypeLibraryLoads(), 1);
    ComPtr<ITypeInfo> a, b;
    ASSERT_EQ(Dispatch(L"One")->GetTypeInfo(0, 0, a.Put()), S_OK);
    ASSERT_EQ(Dispatch(L"Two")->GetTypeInfo(0, 0, b.Put()), S_OK);
    EXPECT_EQ(a.Get(), b.Get());
}

}  // namespace
}  // namespace fwtest
