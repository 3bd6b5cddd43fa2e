// Self-registration of kvo32.ocx: every control it builds and the type
// library are registered by regsvr32 and removed again; nothing else is.
#include <olectl.h>

#include "KvoTestSupport.h"
#include "fw/Handle.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Server.h"
#include "fw/ole/Text.h"
#include "fw/testing/Process.h"
#include "fw/testing/Registration.h"
#include "kvo32.h"

namespace kvo_test {
namespace {

using fw::ole::ComPtr;
using fw::ole::GuidString;

using fw::testing::ClassesKeyExists;
using fw::testing::ClassesText;

struct ClassKeys {
    const CLSID* clsid;
    const char* progId;
    const char* typeName;
};

const ClassKeys kControls[] = {
    {&CLSID_InConn, "Zentrovo.InconnCtrl.1", "Kavoro InConn Control"},
    {&CLSID_OutConn, "Zentrovo.OutconnCtrl.1", "Kavoro OutConn Control"},
    {&CLSID_User, "Zentrovo.UserCtrl.1", "Kavoro User Control"},
    {&CLSID_KVOFrame, "Zentrovo.FrameCtrl.1", "Kavoro Frame Control"},
};

bool TypeLibRegistered() {
    ComPtr<ITypeLib> lib;
    return SUCCEEDED(LoadRegTypeLib(LIBID_KVO32Lib, 4, 0, LOCALE_NEUTRAL, lib.Put()));
}

TEST(Registration, Regsvr32RegistersEveryBuiltControlAndUnregisterRemovesThem) {
    const std::string path = BinPath("kvo32.ocx");
    ASSERT_EQ(fw::testing::RunToEnd("regsvr32.exe", "/s \"" + path + "\"", 60000), 0u);
    for (const ClassKeys& c : kControls) {
        SCOPED_TRACE(c.progId);
        const std::string key = "CLSID\\" + GuidString(*c.clsid);
        EXPECT_EQ(ClassesText(key), c.typeName);
        EXPECT_EQ(ClassesText(key + "\\ProgID"), c.progId);
        EXPECT_EQ(ClassesText(key + "\\InprocServer32"), path);
        EXPECT_EQ(ClassesText(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
        EXPECT_EQ(ClassesText(std::string(c.progId) + "\\CLSID"), GuidString(*c.clsid));
        EXPECT_TRUE(ClassesKeyExists(key + "\\Control"));
        EXPECT_EQ(ClassesText(key + "\\TypeLib"), GuidString(LIBID_KVO32Lib));
        EXPECT_EQ(ClassesText(key + "\\Version"), "4.0");
    }
    for (const ClassKeys& c : {ClassKeys{&CLSID_Greeting, "kvo.greeting", "Kavoro Greeting"},
                               ClassKeys{&CLSID_Phrase, "kvo.phrase", "Kavoro Phrase"}}) {
        EXPECT_EQ(ClassesText(std::string(c.progId) + "\\CLSID"), GuidString(*c.clsid));
        EXPECT_EQ(ClassesText("CLSID\\" + GuidString(*c.clsid)), c.typeName);
        EXPECT_FALSE(ClassesKeyExists("CLSID\\" + GuidString(*c.clsid) + "\\Control")) << c.progId;
    }
    EXPECT_TRUE(TypeLibRegistered());
    EXPECT_FALSE(ClassesKeyExists("Zentrovo.DigitsCtrl.1")) << "controls not built are not registered";

    ASSERT_EQ(fw::testing::RunToEnd("regsvr32.exe", "/s /u \"" + path + "\"", 60000), 0u);
    for (const ClassKeys& c : kControls) {
        EXPECT_FALSE(ClassesKeyExists("CLSID\\" + GuidString(*c.clsid))) << c.progId;
        EXPECT_FALSE(ClassesKeyExists(c.progId)) << c.progId;
    }
    EXPECT_FALSE(ClassesKeyExists("kvo.greeting"));
    EXPECT_FALSE(TypeLibRegistered());
    EXPECT_EQ(CallEntry("DllRegisterServer"), S_OK);
}

TEST(Registration, EmbeddedLibraryIdMatchesTheHeader) {
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadTypeLibEx(fw::ole::Widen(BinPath("kvo32.ocx")).c_str(), REGKIND_NONE, lib.Put()), S_OK);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, LIBID_KVO32Lib);
    EXPECT_EQ(attr->wMajorVerNum, 4);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    lib->ReleaseTLibAttr(attr);
}

TEST(Registration, StringTableHoldsTheProductNameAndHostErrors) {
    fw::Module library(LoadLibraryExA(BinPath("kvo32.ocx").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(library);
    struct { UINT id; const char* text; } strings[] = {
        {635, "Kavoro"},
        {4000, "invalid output node"},
        {4001, "control name not found"},
        {4006, "system not started: cannot perform action"},
        {4017, " line not allocated"},
        {4101, "start system during test"},
        {4107, "no frame control in system"},
    };
    for (const auto& s : strings) {
        char text[256] = {};
        LoadStringA(reinterpret_cast<HINSTANCE>(library.Get()), s.id, text, sizeof text);
        EXPECT_STREQ(text, s.text) << s.id;
    }
}

}  // namespace
}  // namespace kvo_test
