// The type library read back with LoadTypeLib / ITypeInfo, not our tables:
// every dispatch id, member name, coclass and enumeration value hosts use.
#include <map>

#include "KvoTestSupport.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Text.h"
#include "kvo32.h"

namespace kvo_test {
namespace {

using fw::ole::ComPtr;
using Members = std::vector<std::pair<DISPID, std::wstring>>;

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LoadTypeLibEx(fw::ole::Widen(BinPath("kvo32.ocx")).c_str(), REGKIND_NONE, lib_.Put()), S_OK);
    }
    ComPtr<ITypeInfo> Named(const wchar_t* name) {
        ComPtr<ITypeInfo> found;
        for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
            BSTR n = nullptr;
            lib_->GetDocumentation(INT(i), &n, nullptr, nullptr, nullptr);
            const bool match = n && std::wstring(n) == name;
            SysFreeString(n);
            if (match) lib_->GetTypeInfo(i, found.Put());
        }
        return found;
    }
    // Every member id has the name, by the type information's own lookup.
    void ExpectMembers(const IID& iid, const Members& members) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(lib_->GetTypeInfoOfGuid(iid, info.Put()), S_OK);
        for (const auto& [id, name] : members) {
            LPOLESTR names[] = {const_cast<LPOLESTR>(name.c_str())};
            DISPID found = 0;
            EXPECT_EQ(info->GetIDsOfNames(names, 1, &found), S_OK) << fw::ole::Narrow(name);
            EXPECT_EQ(found, id) << fw::ole::Narrow(name);
        }
    }
    ComPtr<ITypeLib> lib_;
};

const Members kCallFlowMembers = {
    {100, L"SetBlockPtr"}, {101, L"GotoNode"},  {102, L"GotoControl"}, {108, L"SetNumNodes"},
    {109, L"Conditions"},  {110, L"Page"},      {112, L"BlockID"},     {113, L"TakeCall"},
    {114, L"ControlThis"}, {115, L"VComments"}, {-552, L"AboutBox"},
};
const Members kCallFlowEvents = {{1, L"Enter"}, {101, L"Exit"}, {102, L"VoiceError"}, {103, L"Disconnect"}};

TEST_F(TypeLibrary, CallFlowControlsCarryTheBaseMembersAndEvents) {
    for (const IID* iid : {&DIID__DInConn, &DIID__DOutConn, &DIID__DUser}) ExpectMembers(*iid, kCallFlowMembers);
    for (const IID* iid : {&DIID__DInConnEvents, &DIID__DOutConnEvents, &DIID__DUserEvents})
        ExpectMembers(*iid, kCallFlowEvents);
}

TEST_F(TypeLibrary, FrameGreetingPhraseAndTransferMembers) {
    ExpectMembers(DIID__DKVOFrame, {{-518, L"Caption"}, {1, L"Page"}, {2, L"VoiceDirectory"}, {3, L"LogDirectory"},
                                    {4, L"TimeFormat"}, {5, L"DateOrder"}, {6, L"LanguageId"}, {7, L"ScriptSize"},
                                    {8, L"VComments"}, {9, L"NumProps"}, {10, L"Transfer"}, {11, L"FrameThis"},
                                    {12, L"PropName"}, {13, L"CurrentDirectory"}, {14, L"StartSystem"},
                                    {15, L"StopSystem"}, {16, L"ShowLineStatus"}, {17, L"ShowLogWindow"},
                                    {18, L"LineStatGrid"}, {-552, L"AboutBox"}});
    ExpectMembers(DIID_IGreeting, {{1, L"Name"}, {2, L"TermOnDTMF"}, {3, L"Fileformat"}, {4, L"Count"},
                                   {5, L"Phrase"}, {6, L"InsertNamedPhrase"}, {7, L"InsertIndexPhrase"},
                                   {8, L"InsertFile"}, {9, L"InsertSysPhrase"}, {10, L"AddNewPhrse"},
                                   {11, L"RemoveAt"}, {12, L"RemoveAll"}, {13, L"GetNameAt"}, {14, L"Copy"}});
    ExpectMembers(DIID_IPhrase, {{1, L"Filename"}, {2, L"Phrasename"}, {3, L"Type"}, {4, L"PhrsType"},
                                 {5, L"Format"}, {6, L"CreateWavePhrase"}, {7, L"CreateSysPhrase"},
                                 {8, L"CreateNamedPhrase"}, {9, L"CreateIndexPhrase"}, {10, L"Copy"},
                                 {11, L"CheckPhrase"}});
    ExpectMembers(DIID_ITransfer, {{1, L"Prop00"}, {10, L"Prop09"}, {16, L"Prop15"}});
}

TEST_F(TypeLibrary, CoclassesHaveTheirNames) {
    struct { const CLSID* clsid; const wchar_t* name; } classes[] = {
        {&CLSID_KVOFrame, L"KVOFrame"}, {&CLSID_InConn, L"InConn"}, {&CLSID_OutConn, L"OutConn"},
        {&CLSID_User, L"User"},         {&CLSID_Greeting, L"Greeting"}, {&CLSID_Phrase, L"Phrase"},
    };
    for (const auto& c : classes) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(lib_->GetTypeInfoOfGuid(*c.clsid, info.Put()), S_OK);
        BSTR name = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        EXPECT_EQ(std::wstring(name ? name : L""), c.name);
        SysFreeString(name);
    }
}

TEST_F(TypeLibrary, EnumerationsHoldEveryValueAsPublished) {
    const std::map<std::wstring, std::vector<std::pair<std::wstring, long>>> enums = {
        {L"kvoFileFormatConstants", {{L"kvoULAW_8K", 0}, {L"kvoOKI_8K", 1}, {L"kvoULAW_6K", 2}, {L"kvoOKI_6K", 3}}},
        {L"kvoPhraseTypeConstants", {{L"NOPHRASE", 0}, {L"kvoWAVEFILE", 1}, {L"kvoSYSPHRASE", 2}, {L"kvoUSERVAPPHRASE", 4}}},
        {L"kvoSysPhraseConstants",
         {{L"kvoNumFiles", 0}, {L"kvoFileCustom", 1}, {L"kvoFileSize", 2}, {L"kvoFileDate", 3}, {L"kvoFileTime", 4},
          {L"kvoSayNumber", 5}, {L"kvoSayNumberShort", 6}, {L"kvoDigits", 7}, {L"kvoMoney", 8}, {L"kvoVBPhrase", 9},
          {L"kvoFileDateTime", 10}, {L"kvoInitialGreeting", 11}, {L"kvoSayTime", 12}, {L"kvoSayDate", 13},
          {L"kvoTimeNow", 14}, {L"kvoDateToday", 15}, {L"kvoVAPPhrase", 16}, {L"kvoVAPPhraseIndex", 17},
          {L"kvoNumberOrdinal", 18}, {L"kvoCustom", 19}, {L"kvoSayText", 20}}},
        {L"kvoPhraseErrorConstants",
         {{L"kvoFileOpenError", 0}, {L"kvoPhraseNotFound", 1}, {L"kvoControlNotFound", 2}, {L"kvoBadTimeSpec", 3},
          {L"kvoBadNumber", 4}, {L"kvoBadDate", 5}, {L"kvoPhraseNameNotFound", 6}}},
        {L"kvoCheckPhraseConstants",
         {{L"kvoBadControlName", 32200}, {L"kvoVapPhraseNotFound", 32201}, {L"kvoVapPhraseSizeError", 32202},
          {L"kvoFileOpenError", 32202}, {L"kvoFileSizeError", 32203}, {L"kvoNoPhraseData", 32204},
          {L"kvoAmbiguousName", 32205}, {L"kvoFileFormatEror", 32306}}},
        {L"kvoDisconnectConstants",
         {{L"kvoControlHangup", 0}, {L"kvoSysErrorHangup", 1}, {L"kvoCallerHangup", 2}, {L"kvoInvalidHangup", 3},
          {L"kvoSysStopping", 4}}},
        {L"kvoTimeFormatConstants", {{L"kvoTime12", 0}, {L"kvoTime24", 1}}},
        {L"kvoDateOrderConstants", {{L"ddmmyy", 0}, {L"yymmdd", 1}, {L"yyddmm", 2}, {L"mmddyy", 3}}},
    };
    for (const auto& [enumName, values] : enums) {
        SCOPED_TRACE(fw::ole::Narrow(enumName));
        ComPtr<ITypeInfo> info = Named(enumName.c_str());
        ASSERT_TRUE(info);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(attr->typekind, TKIND_ENUM);
        ASSERT_EQ(attr->cVars, values.size());
        for (UINT i = 0; i < attr->cVars; ++i) {
            VARDESC* var = nullptr;
            ASSERT_EQ(info->GetVarDesc(i, &var), S_OK);
            BSTR name = nullptr;
            info->GetDocumentation(var->memid, &name, nullptr, nullptr, nullptr);
            EXPECT_EQ(std::wstring(name ? name : L""), values[i].first);
            EXPECT_EQ(var->lpvarValue->lVal, values[i].second) << fw::ole::Narrow(values[i].first);
            SysFreeString(name);
            info->ReleaseVarDesc(var);
        }
        info->ReleaseTypeAttr(attr);
    }
}

}  // namespace
}  // namespace kvo_test
