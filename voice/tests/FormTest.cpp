// Forms of call-flow controls in the stand-in container: the exact saved
// keys through a property bag and a stream, load order, damaged forms, and
// the host's redirection errors from the container and from a script.

#include "KvoTestSupport.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Dispatch.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"
#include "fw/testing/Process.h"
#include "fw/testing/Windows.h"
#include "fw/Window.h"

namespace kvo_test {
namespace {

using container::Variant;
using fw::ole::ComPtr;
using Keys = std::vector<std::string>;

class Forms : public ContainerTest {
protected:
    // Frame1 and the flow InConn1 -> User1 -> OutConn1 -> InConn1.
    void BuildFlow() {
        ASSERT_NE(Add(L"Zentrovo.FrameCtrl.1", L"Frame1"), nullptr);
        for (const wchar_t* name : {L"InConn1", L"User1", L"OutConn1"}) {
            const std::wstring progId = name == std::wstring(L"InConn1")  ? L"Zentrovo.InconnCtrl.1"
                                        : name == std::wstring(L"User1") ? L"Zentrovo.UserCtrl.1"
                                                                         : L"Zentrovo.OutconnCtrl.1";
            ASSERT_NE(Add(progId.c_str(), name), nullptr);
        }
        Connect(L"InConn1", L"User1");
        Connect(L"User1", L"OutConn1");
        Connect(L"OutConn1", L"InConn1");
    }
    long BlockId(const wchar_t* name) { return host_->Find(name)->Get(L"BlockID").value.Long(); }
    void Connect(const wchar_t* from, const wchar_t* to) {
        auto r = host_->Find(from)->Call(L"SetBlockPtr", {Variant(short(0)), Variant(BlockId(to)), Variant(0L), Variant(1L)});
        ASSERT_TRUE(r.Ok()) << std::hex << r.hr;
        EXPECT_TRUE(r.value.Long()) << "connected";
    }
};

const Keys kCallFlowKeys = {"NumConditions", "_Version", "_ExtentX", "_ExtentY", "_StockProps", "Pos_X", "Pos_Y",
                            "BlockId", "FramePage", "NumNodes", "Dest0BlockID", "Dest0.Conn", "Dest0.DestNode",
                            "Comment"};

TEST_F(Forms, FourControlFlowSavesTheExactKeys) {
    BuildFlow();
    container::Form form = SaveForm();
    for (const char* name : {"InConn1", "User1", "OutConn1"}) EXPECT_EQ(FormKeys(form, name), kCallFlowKeys) << name;
    EXPECT_EQ(FormValue(form, "InConn1", "Dest0BlockID"), std::to_string(BlockId(L"User1")));
    EXPECT_EQ(FormValue(form, "User1", "Dest0BlockID"), std::to_string(BlockId(L"OutConn1")));
    EXPECT_EQ(FormValue(form, "OutConn1", "Dest0BlockID"), std::to_string(BlockId(L"InConn1")));
    EXPECT_EQ(FormValue(form, "User1", "NumNodes"), "1");
    EXPECT_EQ(FormValue(form, "User1", "FramePage"), "-1") << "a new control's page is not known yet";

    EXPECT_EQ(FormKeys(form, "Frame1"),
              (Keys{"_Version", "_ExtentX", "_ExtentY", "_StockProps", "Caption", "PageList", "CurrPage", "NumFields",
                    "Playformat", "VoiceDir", "LogDir", "TimeFormat", "DateOrder", "LanguageId", "ScriptSize",
                    "NumControls", "Control0", "Control1", "Control2", "Comment"}));
    EXPECT_EQ(FormValue(form, "Frame1", "NumControls"), "3");
    EXPECT_EQ(FormValue(form, "Frame1", "Control1"), "-1,User1");
}

TEST_F(Forms, LoadingInAnyOrderKeepsIdsAndConnections) {
    BuildFlow();
    container::Form form = SaveForm();
    std::reverse(form.controls.begin(), form.controls.end());
    ASSERT_EQ(host_->Load(form), S_OK);
    container::Form again = SaveForm();
    for (const char* name : {"InConn1", "User1", "OutConn1"})
        for (const char* key : {"BlockId", "Dest0BlockID", "Dest0.Conn", "FramePage"})
            EXPECT_EQ(FormValue(again, name, key), FormValue(form, name, key)) << name << " " << key;
    EXPECT_EQ(FormValue(again, "User1", "FramePage"), "-1") << "the frame loaded after it: the stored page stays";
}

TEST_F(Forms, StreamRoundTripGivesTheSameItems) {
    BuildFlow();
    container::Form before = SaveForm();
    std::vector<std::pair<std::wstring, ComPtr<IStream>>> streams;
    for (const auto& site : host_->Sites()) {
        ComPtr<IPersistStreamInit> persist;
        ASSERT_EQ(site->Object()->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()), S_OK);
        ComPtr<IStream> stream;
        ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
        ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK) << container::ToUtf8(site->Name());
        streams.emplace_back(site->Name(), stream);
    }
    std::vector<std::pair<std::wstring, std::wstring>> names;
    for (const auto& site : host_->Sites()) names.emplace_back(site->Name(), site->ProgId());
    host_->Clear();
    for (size_t i = 0; i < names.size(); ++i) {
        container::ControlSite* site = Add(names[i].second.c_str(), names[i].first.c_str());
        ASSERT_NE(site, nullptr);
        ComPtr<IPersistStreamInit> persist;
        ASSERT_EQ(site->Object()->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()), S_OK);
        LARGE_INTEGER zero{};
        streams[i].second->Seek(zero, STREAM_SEEK_SET, nullptr);
        EXPECT_EQ(persist->Load(streams[i].second.Get()), S_OK) << container::ToUtf8(names[i].first);
    }
    container::Form after = SaveForm();
    for (const auto& c : before.controls) {
        if (c.name == "Frame1") continue;  // its inventory lists the controls living when it saved
        for (const auto& p : c.properties)
            EXPECT_EQ(FormValue(after, c.name.c_str(), p.name.c_str()), p.value) << c.name << " " << p.name;
    }
}

TEST_F(Forms, DamagedHandEditedFormsLoadWithBoundedValues) {
    struct Case {
        const char* note;
        const char* items;  // inside a User control's Begin block
        const char* key;
        const char* saved;  // what the control saves for `key` afterwards
    } cases[] = {
        {"negative node count", "NumNodes = -1", "NumNodes", "0"},
        {"node count beyond 16 bits", "NumNodes = 40000", "NumNodes", "1"},
        {"huge node count", "NumNodes = 32000", "NumNodes", "64"},
        {"negative condition count", "NumConditions = -5", "NumConditions", "0"},
        {"huge condition count", "NumConditions = 40000", "NumConditions", "256"},
        {"text for a number", "BlockId = \"abc\"\nNumNodes = \"x\"", "NumNodes", "1"},
        {"block id zero", "BlockId = 0", "NumNodes", "1"},
        {"destination of a node past the count", "NumNodes = 1\nDest5BlockID = 9", "NumNodes", "1"},
        {"very long comment", "Comment = \"" "0123456789012345678901234567890123456789" "\"", "NumNodes", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        const std::string text = std::string("Begin Zentrovo.UserCtrl.1 User1\n") + c.items + "\nEnd\n";
        ASSERT_EQ(LoadText(text), S_OK);
        container::Form saved = SaveForm();
        EXPECT_EQ(FormValue(saved, "User1", c.key), c.saved);
        EXPECT_NE(FormValue(saved, "User1", "BlockId"), "0");
    }
    const char* frames[] = {
        "NumControls = -1", "NumControls = 40000\nControl0 = junk\nControl1 = \",,\"", "NumFields = 99",
        "NumFields = -3\nField0 = a", "VoiceDir = \"\"\nLogDir = \"\"", "CurrPage = 99999999999",
    };
    for (const char* items : frames) {
        SCOPED_TRACE(items);
        ASSERT_EQ(LoadText(std::string("Begin Zentrovo.FrameCtrl.1 Frame1\n") + items +
                           "\nEnd\nBegin Zentrovo.UserCtrl.1 User1\nEnd\n"),
                  S_OK);
        container::Form saved = SaveForm();
        EXPECT_EQ(FormValue(saved, "Frame1", "NumControls"), "1");
        const long fields = std::stol(FormValue(saved, "Frame1", "NumFields"));
        EXPECT_TRUE(fields >= 0 && fields <= 16) << fields;
    }
}

TEST_F(Forms, RedirectionWithoutAVoiceSystemHasNoLines) {
    ASSERT_NE(Add(L"Zentrovo.UserCtrl.1", L"User1"), nullptr);
    container::ControlSite* user = host_->Find(L"User1");
    for (short channel : {0, 1}) {
        auto r = user->Call(L"TakeCall", {Variant(channel)});
        EXPECT_EQ(r.scode, SCODE(0x800A017D)) << channel;
        EXPECT_EQ(container::ToUtf8(r.description), "Invalid property array index");
    }
}

TEST_F(Forms, FrameShowsAndHidesTheSystemWindows) {
    ASSERT_NE(Add(L"Zentrovo.FrameCtrl.1", L"Frame1"), nullptr);
    container::ControlSite* frame = host_->Find(L"Frame1");
    const DWORD pid = GetCurrentProcessId();
    auto shown = [&](const char* windowClass) {
        for (HWND w : fw::testing::TopLevelWindows(pid, windowClass))
            if (IsWindowVisible(w)) return fw::WindowText(w);
        return std::string("<none>");
    };
    ASSERT_TRUE(frame->Call(L"ShowLineStatus", {Variant(short(-1))}).Ok());
    EXPECT_EQ(shown("KvoLineStatusWindow"), "Kavoro line status - stopped");
    ASSERT_TRUE(frame->Call(L"ShowLogWindow", {Variant(short(2)), Variant(short(-1))}).Ok());
    EXPECT_EQ(shown("KvoChannelLogWindow"), "Channel Log 2");
    EXPECT_EQ(frame->Call(L"ShowLogWindow", {Variant(short(0)), Variant(short(-1))}).scode, HRESULT(0x800A017D));
    EXPECT_EQ(frame->Call(L"ShowLogWindow", {Variant(short(49)), Variant(short(-1))}).scode, HRESULT(0x800A017D));
    ASSERT_TRUE(frame->Call(L"ShowLogWindow", {Variant(short(2)), Variant(short(0))}).Ok());
    ASSERT_TRUE(frame->Call(L"ShowLineStatus", {Variant(short(0))}).Ok());
    EXPECT_EQ(shown("KvoLineStatusWindow"), "<none>");
    EXPECT_EQ(shown("KvoChannelLogWindow"), "<none>");
    // Left open, they go with the form.
    ASSERT_TRUE(frame->Call(L"ShowLineStatus", {Variant(short(-1))}).Ok());
    host_->Clear();
    EXPECT_EQ(shown("KvoLineStatusWindow"), "<none>");
}

TEST(Script, RedirectionErrorsReachAScriptThroughDispatch) {
    ASSERT_EQ(CallEntry("DllRegisterServer"), S_OK);
    fw::testing::TempDir dir("kvoscript");
    const std::string out = dir.File("out.txt");
    const std::string script = dir.Write(
        "redirect.vbs",
        "Set out = CreateObject(\"Scripting.FileSystemObject\").CreateTextFile(\"" + out + "\")\r\n"
        "On Error Resume Next\r\n"
        "Set u = CreateObject(\"Zentrovo.UserCtrl.1\")\r\n"
        "u.TakeCall 0\r\n"
        "out.WriteLine Hex(Err.Number) & \" \" & Err.Description\r\n"
        "Err.Clear\r\n"
        "u.GotoNode(1) = 0\r\n"
        "out.WriteLine Hex(Err.Number)\r\n"
        "out.Close\r\n");
    EXPECT_EQ(fw::testing::RunToEnd("cscript.exe", "//nologo \"" + script + "\"", 60000), 0u);
    // No voice system is loaded in the script's process: there are no lines,
    // and the channel is checked first. Script hosts see error 381 by number.
    EXPECT_EQ(fw::testing::ReadText(out), "17D Invalid property array index\r\n17D\r\n");
}

}  // namespace
}  // namespace kvo_test

namespace kvo_test {
namespace {

using container::Variant;

class Objects : public ContainerTest {};

TEST_F(Objects, TransferValuesArePerChannelAndChannelZeroIsInvalid) {
    auto frame = AsDispatch(Add(L"Zentrovo.FrameCtrl.1", L"Frame1"));
    auto transfer = ObjectProperty(frame.Get(), L"Transfer");
    ASSERT_TRUE(transfer);
    EXPECT_TRUE(Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYPUT, {Variant(short(1)), Variant(std::wstring(L"205"))}).Ok());
    EXPECT_TRUE(Dispatch(transfer.Get(), L"Prop15", DISPATCH_PROPERTYPUT, {Variant(short(2)), Variant(std::wstring(L"x"))}).Ok());
    EXPECT_EQ(Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYGET, {Variant(short(1))}).value.Str(), L"205");
    EXPECT_EQ(Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYGET, {Variant(short(2))}).value.Str(), L"");
    EXPECT_EQ(Dispatch(transfer.Get(), L"Prop15", DISPATCH_PROPERTYGET, {Variant(short(2))}).value.Str(), L"x");
    auto zero = Dispatch(transfer.Get(), L"Prop00", DISPATCH_PROPERTYGET, {Variant(short(0))});
    EXPECT_EQ(zero.scode, SCODE(0x800A017D));
    EXPECT_EQ(container::ToUtf8(zero.description), "invalid index");

    EXPECT_TRUE(Dispatch(frame.Get(), L"NumProps", DISPATCH_PROPERTYPUT, {Variant(2L)}).Ok());
    EXPECT_TRUE(Dispatch(frame.Get(), L"PropName", DISPATCH_PROPERTYPUT, {Variant(1L), Variant(std::wstring(L"Account"))}).Ok());
    EXPECT_EQ(Dispatch(frame.Get(), L"PropName", DISPATCH_PROPERTYGET, {Variant(1L)}).value.Str(), L"Account");
    EXPECT_EQ(Dispatch(frame.Get(), L"PropName", DISPATCH_PROPERTYGET, {Variant(5L)}).value.Str(), L"") << "past NumProps";
    EXPECT_EQ(Dispatch(frame.Get(), L"NumProps", DISPATCH_PROPERTYPUT, {Variant(17L)}).scode, SCODE(0x800A017C));
    container::Form form = SaveForm();
    EXPECT_EQ(FormValue(form, "Frame1", "NumFields"), "2");
    EXPECT_EQ(FormValue(form, "Frame1", "Field1"), "Account");
}

TEST_F(Objects, ConditionsAreSavedWithTheControl) {
    auto user = AsDispatch(Add(L"Zentrovo.UserCtrl.1", L"User1"));
    auto conditions = ObjectProperty(user.Get(), L"Conditions");
    ASSERT_TRUE(conditions);
    EXPECT_EQ(Dispatch(conditions.Get(), L"Add", DISPATCH_METHOD,
                       {Variant(std::wstring(L"one")), Variant(std::wstring(L"1#")), Variant(short(-1))}).value.Long(), 0);
    EXPECT_TRUE(Dispatch(conditions.Get(), L"Data", DISPATCH_PROPERTYPUT, {Variant(0L), Variant(std::wstring(L"12#"))}).Ok());
    EXPECT_EQ(Dispatch(conditions.Get(), L"Name", DISPATCH_PROPERTYGET, {Variant(3L)}).scode, SCODE(0x800A017D));
    container::Form form = SaveForm();
    EXPECT_EQ(FormValue(form, "User1", "NumConditions"), "1");
    EXPECT_EQ(FormValue(form, "User1", "Condition0.Name"), "one");
    EXPECT_EQ(FormValue(form, "User1", "Condition0.Data"), "12#");
    ASSERT_EQ(host_->Load(form), S_OK);
    auto loaded = ObjectProperty(AsDispatch(host_->Find(L"User1")).Get(), L"Conditions");
    EXPECT_EQ(Dispatch(loaded.Get(), L"Count", DISPATCH_PROPERTYGET).value.Long(), 1);
    EXPECT_EQ(Dispatch(loaded.Get(), L"UseVB", DISPATCH_PROPERTYGET, {Variant(0L)}).value.Long(), -1);
}

TEST_F(Objects, GotoNodeIsAnIndexedPutThatChecksTheChannelFirst) {
    auto user = AsDispatch(Add(L"Zentrovo.UserCtrl.1", L"User1"));
    auto r = Dispatch(user.Get(), L"GotoNode", DISPATCH_PROPERTYPUT, {Variant(short(1)), Variant(short(0))});
    EXPECT_EQ(r.scode, SCODE(0x800A017D)) << "no voice system: no lines";
    auto name = Dispatch(user.Get(), L"GotoControl", DISPATCH_PROPERTYPUT, {Variant(short(1)), Variant(std::wstring(L"x"))});
    EXPECT_EQ(name.scode, SCODE(0x800A017D));
}

}  // namespace
}  // namespace kvo_test

namespace kvo_test {
namespace {

using container::Variant;
using fw::ole::ComPtr;

class GreetingObject : public ContainerTest {
protected:
    ComPtr<IDispatch> Create(const wchar_t* progId) {
        CLSID clsid;
        ComPtr<IDispatch> object;
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.PutVoid()), S_OK);
        return object;
    }
    static Variant Text(const wchar_t* s) { return Variant(std::wstring(s)); }
};

TEST_F(GreetingObject, InsertsBeforeAnIndexAndRefusesOnesBeyondTheCount) {
    auto greeting = Create(L"kvo.greeting");
    ASSERT_TRUE(greeting);
    EXPECT_EQ(Dispatch(greeting.Get(), L"Fileformat", DISPATCH_PROPERTYGET).value.Long(), -1);
    EXPECT_EQ(Dispatch(greeting.Get(), L"TermOnDTMF", DISPATCH_PROPERTYGET).value.Long(), -1);
    EXPECT_TRUE(Dispatch(greeting.Get(), L"InsertFile", DISPATCH_METHOD, {Variant(short(-1)), Text(L"b.vox")}).Ok());
    EXPECT_TRUE(Dispatch(greeting.Get(), L"InsertFile", DISPATCH_METHOD, {Variant(short(0)), Text(L"a.vox")}).Ok());
    EXPECT_TRUE(Dispatch(greeting.Get(), L"InsertSysPhrase", DISPATCH_METHOD, {Variant(short(-1)), Variant(short(5))}).Ok())
        << "the data arguments may be left out";
    auto beyond = Dispatch(greeting.Get(), L"InsertFile", DISPATCH_METHOD, {Variant(short(4)), Text(L"c.vox")});
    EXPECT_EQ(beyond.scode, SCODE(0x800A017D));
    EXPECT_EQ(container::ToUtf8(beyond.description), "invalid index");
    EXPECT_EQ(Dispatch(greeting.Get(), L"RemoveAt", DISPATCH_METHOD, {Variant(short(3))}).scode, SCODE(0x800A017D));
    EXPECT_EQ(Dispatch(greeting.Get(), L"Count", DISPATCH_PROPERTYGET).value.Long(), 3);

    auto first = Dispatch(greeting.Get(), L"Phrase", DISPATCH_PROPERTYGET, {Variant(short(0))});
    ASSERT_EQ(first.value.Type(), VT_DISPATCH);
    IDispatch* phrase = first.value.Get()->pdispVal;
    EXPECT_EQ(Dispatch(phrase, L"Filename", DISPATCH_PROPERTYGET).value.Str(), L"a.vox");
    EXPECT_EQ(Dispatch(phrase, L"PhrsType", DISPATCH_PROPERTYGET).value.Long(), 1);
    EXPECT_EQ(Dispatch(phrase, L"Type", DISPATCH_PROPERTYGET).value.Long(), -1);
    auto sys = Dispatch(greeting.Get(), L"Phrase", DISPATCH_PROPERTYGET, {Variant(short(2))});
    EXPECT_EQ(Dispatch(sys.value.Get()->pdispVal, L"Type", DISPATCH_PROPERTYGET).value.Long(), 5);
    EXPECT_EQ(Dispatch(sys.value.Get()->pdispVal, L"Filename", DISPATCH_PROPERTYGET).value.Str(), L"");

    auto copy = Create(L"kvo.greeting");
    Variant source;
    fw::ole::VariantValue<ComPtr<IDispatch>>::To(greeting, source.Put());
    EXPECT_TRUE(Dispatch(copy.Get(), L"Copy", DISPATCH_METHOD, {source}).Ok());
    EXPECT_EQ(Dispatch(copy.Get(), L"Count", DISPATCH_PROPERTYGET).value.Long(), 3);
    EXPECT_EQ(Dispatch(copy.Get(), L"GetNameAt", DISPATCH_METHOD, {Variant(short(1))}).value.Str(), L"b.vox");

    // A greeting copied onto itself stays as it was.
    EXPECT_TRUE(Dispatch(greeting.Get(), L"Copy", DISPATCH_METHOD, {source}).Ok());
    EXPECT_EQ(Dispatch(greeting.Get(), L"Count", DISPATCH_PROPERTYGET).value.Long(), 3);
    EXPECT_EQ(Dispatch(greeting.Get(), L"GetNameAt", DISPATCH_METHOD, {Variant(short(0))}).value.Str(), L"a.vox");
}

TEST_F(GreetingObject, PhraseCreateMethodsSetTheKindsAsPublished) {
    auto phrase = Create(L"kvo.phrase");
    ASSERT_TRUE(phrase);
    struct Step {
        const wchar_t* method;
        std::vector<Variant> args;
        long phrsType, type;
        const wchar_t* file;
        const wchar_t* name;
    } steps[] = {
        {L"CreateNamedPhrase", {Text(L"menu.vap"), Text(L"main")}, 4, -1, L"menu.vap", L"main"},
        {L"CreateNamedPhrase", {Text(L"other.vap")}, 4, -1, L"menu.vap", L"main"},  // both needed to change
        {L"CreateIndexPhrase", {Text(L"menu.vap"), Variant(short(3))}, 4, 3, L"menu.vap", L"main"},
        {L"CreateSysPhrase", {Variant(short(13)), Text(L"12/25/2026")}, 2, 13, L"12/25/2026", L""},
        {L"CreateWavePhrase", {}, 1, 13, L"12/25/2026", L""},  // no file: only the kind changes
        {L"CreateWavePhrase", {Text(L"hi.vox")}, 1, -1, L"hi.vox", L""},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(container::ToUtf8(s.method));
        ASSERT_TRUE(Dispatch(phrase.Get(), s.method, DISPATCH_METHOD, s.args).Ok());
        EXPECT_EQ(Dispatch(phrase.Get(), L"PhrsType", DISPATCH_PROPERTYGET).value.Long(), s.phrsType);
        EXPECT_EQ(Dispatch(phrase.Get(), L"Type", DISPATCH_PROPERTYGET).value.Long(), s.type);
        EXPECT_EQ(Dispatch(phrase.Get(), L"Filename", DISPATCH_PROPERTYGET).value.Str(), s.file);
        EXPECT_EQ(Dispatch(phrase.Get(), L"Phrasename", DISPATCH_PROPERTYGET).value.Str(), s.name);
    }
}

}  // namespace
}  // namespace kvo_test

namespace kvo_test {
namespace {

using container::Variant;

// Frames read [Directories] Voice of KVO32.INI; each test sets it.
class FrameSettings : public ContainerTest {
protected:
    void SetUp() override {
        ContainerTest::SetUp();
        WritePrivateProfileStringA("Directories", "Voice", "c:\\kvo32", "KVO32.INI");
    }
    void TearDown() override {
        WritePrivateProfileStringA("Directories", nullptr, nullptr, "KVO32.INI");
        ContainerTest::TearDown();
    }
    std::wstring Get(const wchar_t* frame, const wchar_t* member) {
        return host_->Find(frame)->Get(member).value.Str();
    }
};

TEST_F(FrameSettings, VoiceDirectoryResolvesAgainstTheSystemDirectory) {
    ASSERT_NE(Add(L"Zentrovo.FrameCtrl.1", L"Frame1"), nullptr);
    struct { const wchar_t* value; const wchar_t* expected; } cases[] = {
        {L"prompts", L"c:\\kvo32\\prompts\\"},
        {L"d:\\voice", L"d:\\voice\\"},
        {L"", L"c:\\kvo32\\"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(host_->Find(L"Frame1")->Put(L"VoiceDirectory", Variant(std::wstring(c.value))).Ok());
        EXPECT_EQ(Get(L"Frame1", L"VoiceDirectory"), c.expected) << container::ToUtf8(c.value);
    }
}

TEST_F(FrameSettings, OnlyTheFirstFrameAppliesItsSettingsAndTheLogDirectoryIsMade) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string logs = std::string(temp) + "kvo-frame-logs\\day\\";
    RemoveDirectoryA(logs.c_str());
    ASSERT_EQ(LoadText("Begin Zentrovo.FrameCtrl.1 Frame1\n VoiceDir = prompts\n LogDir = " +
                       container::QuoteValue(std::string(temp) + "kvo-frame-logs\\day") + "\n TimeFormat = 1\nEnd\n"),
              S_OK);
    container::Host other;
    ASSERT_TRUE(other.Create());
    container::Form second;
    ASSERT_FALSE(container::ParseForm("Begin Zentrovo.FrameCtrl.1 Frame2\n VoiceDir = elsewhere\n TimeFormat = 0\nEnd\n", second));
    ASSERT_EQ(other.Load(second), S_OK);
    EXPECT_EQ(Get(L"Frame1", L"VoiceDirectory"), L"c:\\kvo32\\prompts\\");
    EXPECT_EQ(other.Find(L"Frame2")->Get(L"VoiceDirectory").value.Str(), L"c:\\kvo32\\prompts\\");
    EXPECT_EQ(Get(L"Frame1", L"TimeFormat"), L"1");
    EXPECT_EQ(container::ToUtf8(Get(L"Frame1", L"LogDirectory")), logs);
    const DWORD attributes = GetFileAttributesA(logs.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << logs;
    RemoveDirectoryA(logs.c_str());
    RemoveDirectoryA((std::string(temp) + "kvo-frame-logs").c_str());
}

}  // namespace
}  // namespace kvo_test
