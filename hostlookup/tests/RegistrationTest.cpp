// Self-registration of LURRIN32.ocx: the keys containers read, the type
// library, and their removal.
#include <olectl.h>
#include <string>
#include "LURRIN32.h"
#include "TestSupport.h"
#include "fw/Handle.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Server.h"
#include "fw/ole/Text.h"
#include "fw/testing/Process.h"
#include "fw/testing/Registration.h"

namespace lurrin_test {
namespace {

using fw::ole::ComPtr;
using fw::ole::GuidString;

using fw::testing::ClassesKeyExists;
using fw::testing::ClassesText;

DWORD RunRegsvr32(const std::string& options) {
    return fw::testing::RunToEnd("regsvr32.exe", "/s " + options + " \"" + BinPath("LURRIN32.ocx") + "\"", 60000);
}

struct ClassKeys {
    const CLSID* clsid;
    const char* progId;
    const char* typeName;
    bool control;
    const char* toolbox;  // ", n" suffix, or null
    bool insertable;
};

const CLSID kGetAdrsPage = {0xB99BD23F, 0xA33E, 0x4A83, {0xB7, 0x22, 0xB4, 0xF0, 0xA0, 0x78, 0x3D, 0xD3}};
const CLSID kGetNamePage = {0xBDD56595, 0x3BEC, 0x472F, {0xAB, 0x1D, 0x00, 0x54, 0x5F, 0x98, 0xD9, 0x79}};

const ClassKeys kClasses[] = {
    {&CLSID_GetAdrs, "Ostrel.GetAddress", "Ostrel Internet GetAddress Control", true, ", 2", false},
    {&CLSID_GetName, "Ostrel.GetName", "Ostrel Internet GetName Control", true, ", 1", true},
    {&kGetAdrsPage, "Ostrel.GetAddress.PropPage", "Ostrel Internet GetAddress Property Page", false, nullptr, false},
    {&kGetNamePage, "Ostrel.GetName.PropPage", "Ostrel Internet GetName Property Page", false, nullptr, false},
};

bool TypeLibRegistered() {
    ComPtr<ITypeLib> lib;
    return SUCCEEDED(LoadRegTypeLib(LIBID_LURRIN32Lib, 4, 0, LOCALE_NEUTRAL, lib.Put()));
}

TEST(Registration, Regsvr32WritesEveryKeyAndUnregisterRemovesThem) {
    ASSERT_EQ(RunRegsvr32(""), 0u);
    const std::string path = BinPath("LURRIN32.ocx");
    for (const ClassKeys& c : kClasses) {
        SCOPED_TRACE(c.progId);
        const std::string key = "CLSID\\" + GuidString(*c.clsid);
        EXPECT_EQ(ClassesText(key), c.typeName);
        EXPECT_EQ(ClassesText(key + "\\ProgID"), c.progId);
        EXPECT_EQ(ClassesText(key + "\\InprocServer32"), path);
        EXPECT_EQ(ClassesText(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
        EXPECT_EQ(ClassesText(std::string(c.progId) + "\\CLSID"), GuidString(*c.clsid));
        EXPECT_EQ(ClassesKeyExists(key + "\\Control"), c.control);
        EXPECT_EQ(ClassesText(key + "\\MiscStatus\\1"), c.control ? "198032" : "<missing>");
        EXPECT_EQ(ClassesText(key + "\\TypeLib"), c.control ? GuidString(LIBID_LURRIN32Lib) : "<missing>");
        EXPECT_EQ(ClassesText(key + "\\Version"), c.control ? "4.0" : "<missing>");
        EXPECT_EQ(ClassesText(key + "\\ToolboxBitmap32"), c.toolbox ? path + c.toolbox : "<missing>");
        EXPECT_EQ(ClassesKeyExists(key + "\\Insertable"), c.insertable);
        EXPECT_EQ(ClassesKeyExists(std::string(c.progId) + "\\Insertable"), c.insertable);
    }
    EXPECT_TRUE(TypeLibRegistered());

    ASSERT_EQ(RunRegsvr32("/u"), 0u);
    for (const ClassKeys& c : kClasses) {
        EXPECT_FALSE(ClassesKeyExists("CLSID\\" + GuidString(*c.clsid))) << c.progId;
        EXPECT_FALSE(ClassesKeyExists(c.progId)) << c.progId;
    }
    EXPECT_FALSE(TypeLibRegistered());
}

TEST(Registration, EntryPointsReportSuccessAndUnregisterTwiceIsHarmless) {
    EXPECT_EQ(CallEntry("DllRegisterServer"), S_OK);
    EXPECT_EQ(CallEntry("DllRegisterServer"), S_OK) << "registering again rewrites the same keys";
    EXPECT_EQ(CallEntry("DllUnregisterServer"), S_OK);
    EXPECT_EQ(CallEntry("DllUnregisterServer"), S_OK);
    CLSID clsid;
    EXPECT_TRUE(FAILED(CLSIDFromProgID(L"Ostrel.GetName", &clsid)));
    EXPECT_EQ(CallEntry("DllRegisterServer"), S_OK);
    EXPECT_EQ(CLSIDFromProgID(L"Ostrel.GetName", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_GetName);
}

// widl once wrote a wrong LIBID into a library like ours; check what is embedded.
TEST(Registration, EmbeddedTypeLibraryMatchesTheHeaderInDispatchOrder) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadTypeLibEx(fw::ole::Widen(BinPath("LURRIN32.ocx")).c_str(), REGKIND_NONE, lib.Put()), S_OK);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, LIBID_LURRIN32Lib);
    EXPECT_EQ(attr->wMajorVerNum, 4);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    lib->ReleaseTLibAttr(attr);

    struct { const IID* iid; std::vector<std::pair<DISPID, std::wstring>> members; } interfaces[] = {
        {&DIID__DGetAdrs, {{1, L"ErrorNumber"}, {2, L"CurrentState"}, {3, L"HostName"}, {4, L"Version"},
                           {5, L"GetHostAddress"}, {-552, L"AboutBox"}}},
        {&DIID__DGetName, {{1, L"ErrorNumber"}, {2, L"CurrentState"}, {3, L"HostAddress"}, {4, L"Version"},
                           {5, L"GetHostName"}, {-552, L"AboutBox"}}},
        {&DIID__DGetAdrsEvents, {{1, L"EndGetHostAddress"}}},
        {&DIID__DGetNameEvents, {{1, L"EndGetHostName"}}},
    };
    for (const auto& i : interfaces) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(lib->GetTypeInfoOfGuid(*i.iid, info.Put()), S_OK);
        for (const auto& [id, name] : i.members) {
            LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
            DISPID found = 0;
            EXPECT_EQ(info->GetIDsOfNames(names, 1, &found), S_OK) << fw::ole::Narrow(name);
            EXPECT_EQ(found, id) << fw::ole::Narrow(name);
        }
    }
}

TEST(Registration, LibraryUnloadsOnlyWhenNothingIsAlive) {
    ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK);
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        fw::Module library(LoadLibraryA(BinPath("LURRIN32.ocx").c_str()));
        auto canUnload = fw::ProcAddress<HRESULT(STDAPICALLTYPE*)()>(library.Get(), "DllCanUnloadNow");
        ASSERT_NE(canUnload, nullptr);
        // Wine keeps the class objects it marshalled for a multithreaded
        // client (another test of this program) until the process ends.
        if (canUnload() != S_OK) {
            OleUninitialize();
            GTEST_SKIP() << "an earlier test in this process still holds a class object";
        }
        ComPtr<IDispatch> control;
        ASSERT_EQ(CoCreateInstance(CLSID_GetAdrs, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid()), S_OK);
        EXPECT_EQ(canUnload(), S_FALSE);
        control.Reset();
        EXPECT_EQ(canUnload(), S_OK);

        // An enumerator handed out is a live object of the library too, even
        // once the control that made it is gone.
        ASSERT_EQ(CoCreateInstance(CLSID_GetAdrs, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, control.PutVoid()), S_OK);
        ComPtr<IConnectionPointContainer> points;
        ComPtr<IConnectionPoint> point;
        ComPtr<IEnumConnections> connections;
        ASSERT_EQ(control.As(points), S_OK);
        ASSERT_EQ(points->FindConnectionPoint(DIID__DGetAdrsEvents, point.Put()), S_OK);
        ASSERT_EQ(point->EnumConnections(connections.Put()), S_OK);
        control.Reset();
        points.Reset();
        point.Reset();
        EXPECT_EQ(canUnload(), S_FALSE);
        connections.Reset();
        EXPECT_EQ(canUnload(), S_OK);
    }
    OleUninitialize();
}

}  // namespace
}  // namespace lurrin_test
