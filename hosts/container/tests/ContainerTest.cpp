// The stand-in container running forms: member paths, several arguments,
// the extender, scripted handlers answering by-reference arguments, break
// and design modes, unloading, waits, verbs, dialog boxes answered, the form
// as an OLE container, and controls at their saved places.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>
#include "Container.h"
#include "Script.h"
#include "TestControl.h"

namespace container {
namespace {

using fwtest::CFwTestCtrl;
using fwtest::TestServer;

class ContainerScript : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        server_ = std::make_unique<TestServer>();
        host_ = std::make_unique<Host>();
        ASSERT_TRUE(host_->Create());
        script_ = std::make_unique<Script>(*host_, [this](const std::string& line) { lines_.push_back(line); });
    }
    void TearDown() override {
        host_->Clear();
        script_.reset();
        host_.reset();
        server_.reset();
        OleUninitialize();
    }

    // Loads `controls` (Begin blocks naming "{FwTest}" for the test control)
    // and the handlers of `text`, then runs its steps.
    bool RunForm(std::string text) {
        const std::string clsid = ToUtf8(TestServer::ControlClsid());
        for (size_t at; (at = text.find("{FwTest}")) != std::string::npos;) text.replace(at, 8, clsid);
        ParseError error = ParseForm(text, form_);
        EXPECT_FALSE(error) << error.line << ": " << error.message;
        if (error) return false;
        script_->Attach(form_);
        EXPECT_EQ(host_->Load(form_), S_OK);
        lines_.clear();
        return script_->Run(form_.steps);
    }
    CFwTestCtrl* Control(const wchar_t* name) {
        ControlSite* site = host_->Find(name);
        if (!site) return nullptr;
        IDispatch* d = nullptr;
        site->Object()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d));
        d->Release();  // the site keeps it
        return static_cast<CFwTestCtrl*>(d);
    }
    bool Printed(const std::string& line) const {
        return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
    }
    std::string AllLines() const {
        std::string all;
        for (const std::string& l : lines_) all += l + "\n";
        return all;
    }

    std::unique_ptr<TestServer> server_;
    std::unique_ptr<Host> host_;
    std::unique_ptr<Script> script_;
    std::vector<std::string> lines_;
    Form form_;
};

TEST_F(ContainerScript, StepsReachMembersThroughPathsIndexesAndTheExtender) {
    EXPECT_FALSE(RunForm(R"(
Begin {FwTest} Grid
End
Begin {FwTest} Other 100 10 40 30
End
Run
    Set Grid.Cell(0, 1) = b
    Get Grid.Cell(0, 1)
    Set Grid.Item.Tag(2) = "blue"
    Get Grid.Item.Tag(2)
    Get Grid.Item.Name
    Call Grid.Join "a", "b c"
    Call Grid.Join "a"
    Get Grid.Name
    Get Other.Left
    Set Other.Top = 20
    Get Grid.Cell(5, 1)
    Get Grid.Count
End
)")) << "the out-of-range index fails the run";
    const std::vector<std::string> expected = {
        R"(Grid.Cell("0", "1") := "b")",
        R"(Grid.Cell("0", "1") = "b")",
        R"(Grid.Item.Tag("2") := "blue")",
        R"(Grid.Item.Tag("2") = "blue")",
        R"(Grid.Item.Name = "first")",
        R"(Grid.Join("a", "b c") = "a|b c|-")",
        R"(Grid.Join("a") = "a|-|-")",
        R"(Grid.Name = "Grid")",
        R"(Other.Left = 100)",
        R"(Other.Top := "20")",
        R"(Grid.Cell("5", "1") failed: error 381: Invalid property array index)",
    };
    EXPECT_EQ(lines_, expected) << AllLines();
    EXPECT_EQ(host_->Find(L"Other")->Where().top, 20);
}

TEST_F(ContainerScript, HandlersRunOnTheContainerThreadAndAnswerByReference) {
    ASSERT_TRUE(RunForm(R"(
Begin {FwTest} Grid
End
Begin {FwTest} Other
End
On Grid.Asked
    Set $2 = 7
    Set $3 = "answered"
    Call Other.Join $3, $1
End
)"));
    short node = 4;
    std::wstring text = L"q";
    EXPECT_TRUE(Control(L"Grid")->FireAsked(3, node, text).Ok());
    EXPECT_EQ(node, 7);
    EXPECT_EQ(text, L"answered");
    const std::vector<std::string> expected = {
        R"(event Grid.Asked(3, 4, "q"))",
        R"(  $2 := "7")",
        R"(  $3 := "answered")",
        R"(  Other.Join("answered", 3) = "answered|3|-")",
    };
    EXPECT_EQ(lines_, expected) << AllLines();
    ASSERT_EQ(host_->Events().size(), 1u);
    EXPECT_EQ(host_->Events()[0].threadId, GetCurrentThreadId());
}

TEST_F(ContainerScript, ABadHandlerStepIsReportedAndTheEventStillReturns) {
    ASSERT_TRUE(RunForm(R"(
Begin {FwTest} Grid
End
On Grid.Asked
    Set $9 = 1
    Call Nobody.Join "x"
    Set $2 = "not a number"
End
)"));
    short node = 4;
    std::wstring text = L"q";
    EXPECT_TRUE(Control(L"Grid")->FireAsked(1, node, text).Ok());
    EXPECT_EQ(node, 4) << "a value the variable cannot take leaves it alone";
    EXPECT_TRUE(Printed("  Set: no event argument $9")) << AllLines();
    EXPECT_TRUE(Printed("  Call: no control Nobody on the form")) << AllLines();
    EXPECT_TRUE(script_->Failed());
}

TEST_F(ContainerScript, BreakModeDesignModeWaitsAndUnloading) {
    ASSERT_FALSE(RunForm(R"(
Begin {FwTest} Grid
End
Begin {FwTest} Other
End
Run
    Break
    Set Grid.Count = 5
    Continue
    Set Grid.Count = 6
    Set Grid.Count = 7
    Wait Grid.Changed 2 2000
    Mode design
    Verb Grid -1
    Unload Other
    Wait Grid.Changed 1 100
End
)"));
    EXPECT_TRUE(Printed("break mode")) << AllLines();
    EXPECT_TRUE(Printed("run mode, continued"));
    EXPECT_TRUE(Printed("event Grid.Changed(6)"));
    EXPECT_TRUE(Printed("event Grid.Changed(7)"));
    EXPECT_FALSE(Printed("event Grid.Changed(5)")) << "frozen while in break mode";
    EXPECT_TRUE(Printed("design mode"));
    EXPECT_TRUE(Printed("verb Grid -1"));
    EXPECT_TRUE(Printed("unloaded Other"));
    EXPECT_TRUE(Printed("timed out waiting for Grid.Changed"));
    EXPECT_FALSE(Control(L"Grid")->AmbientUserMode());
    EXPECT_EQ(host_->Find(L"Other"), nullptr);

    lines_.clear();
    script_->Run({{"Unload", {}, {}}});  // the run as a whole has failed already
    EXPECT_TRUE(host_->Sites().empty());
    EXPECT_EQ(lines_, std::vector<std::string>{"unloaded the form"});
}

TEST_F(ContainerScript, DialogAndMessageBoxesAreReportedAndAnswered) {
    ASSERT_TRUE(RunForm(R"(
Begin {FwTest} Grid
End
Run
    Answer "Name?" "Ann"
    Call Grid.Prompt "Name?"
    Answer "FwTest" No
    Call Grid.Confirm "Sure?"
    Answer "FwTest" Yes
    Call Grid.Confirm "Really?"
    Call Grid.Prompt "Unexpected"
End
)"));
    const std::vector<std::string> expected = {
        R"(box "Name?":  -> "Ann")",
        R"(Grid.Prompt("Name?") = "Ann")",
        R"(box "FwTest": Sure? -> No)",
        R"(Grid.Confirm("Sure?") = 7)",
        R"(box "FwTest": Really? -> Yes)",
        R"(Grid.Confirm("Really?") = 6)",
        R"(box "Unexpected":  -> Cancel (no answer given))",
        R"x(Grid.Prompt("Unexpected") = "(cancelled)")x",
    };
    EXPECT_EQ(lines_, expected) << AllLines();
}

TEST_F(ContainerScript, ControlsFindTheirFormThroughTheSite) {
    ASSERT_TRUE(RunForm("Begin {FwTest} A\nEnd\nBegin {FwTest} B\nEnd\nBegin {FwTest} C\nEnd\n"));
    ComPtr<IOleClientSite> site;
    ComPtr<IOleObject> object;
    ASSERT_EQ(host_->Find(L"B")->Object()->QueryInterface(IID_IOleObject, object.PutVoid()), S_OK);
    ASSERT_EQ(object->GetClientSite(site.Put()), S_OK);
    ComPtr<IOleContainer> form;
    ASSERT_EQ(site->GetContainer(form.Put()), S_OK);
    ComPtr<IEnumUnknown> all;
    ASSERT_EQ(form->EnumObjects(OLECONTF_EMBEDDINGS, all.Put()), S_OK);
    IUnknown* found[4] = {};
    ULONG count = 0;
    EXPECT_EQ(all->Next(4, found, &count), S_FALSE);
    ASSERT_EQ(count, 3u);
    for (ULONG i = 0; i < count; ++i) {
        EXPECT_EQ(found[i], host_->Sites()[i]->Object()) << i;
        found[i]->Release();
    }
    // The extender names the control as the form does.
    ComPtr<IOleControlSite> controlSite;
    ASSERT_EQ(site.As(controlSite), S_OK);
    ComPtr<IDispatch> extender;
    ASSERT_EQ(controlSite->GetExtendedControl(extender.Put()), S_OK);
    std::vector<Variant> none;
    EXPECT_EQ(InvokeMember(extender.Get(), L"name", DISPATCH_PROPERTYGET, none).value.Str(), L"B");
}

TEST_F(ContainerScript, ControlsSitAtTheirSavedPlacesAndTheFormShows) {
    ASSERT_TRUE(RunForm("Begin {FwTest} A 12 40 50 20\nEnd\nBegin {FwTest} B 80 8\nEnd\n"));
    host_->Show();
    EXPECT_TRUE(IsWindowVisible(host_->Handle()));
    HWND a = nullptr;
    ComPtr<IOleWindow> window;
    ASSERT_EQ(host_->Find(L"A")->Object()->QueryInterface(IID_IOleWindow, window.PutVoid()), S_OK);
    ASSERT_EQ(window->GetWindow(&a), S_OK);
    RECT r;
    GetWindowRect(a, &r);
    MapWindowPoints(nullptr, host_->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 12);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 50);
    EXPECT_EQ(r.bottom - r.top, 20);
    RECT client;
    GetClientRect(host_->Handle(), &client);
    EXPECT_GE(client.bottom, 60) << "the form is big enough for its controls";
    const RECT& b = host_->Find(L"B")->Where();
    EXPECT_EQ(b.right - b.left, 32) << "no size: the control's own extent";

    Form saved;
    ASSERT_EQ(host_->Save(saved), S_OK);
    EXPECT_TRUE(saved.controls[0].placed);
    EXPECT_EQ(FormatForm(saved).substr(0, FormatForm(saved).find('\n')),
              "Begin " + ToUtf8(TestServer::ControlClsid()) + " A 12 40 50 20");
}

TEST_F(ContainerScript, DamagedPropertyValuesLoadWithDefaults) {
    ASSERT_TRUE(RunForm("Begin {FwTest} A\n  Count = \"lots\"\n  Text = 1\n  _ExtentX = -99999999\nEnd\n"));
    EXPECT_EQ(Control(L"A")->GetCount(), 0);
    EXPECT_EQ(Control(L"A")->text, L"1");
}

}  // namespace
}  // namespace container
